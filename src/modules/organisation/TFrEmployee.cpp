#include "TFrEmployee.h"
#include "db/Connection.h"
#include "lookup/TFrSearchUser.h"
#include "lookup/edit/EditWidgets.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>

namespace {

using Kind = CachedGridModel::Kind;

const QString ListSql = QStringLiteral(
    "Select E.Id, E.Code, E.Name, E.Address1, E.PhoneNo, E.Department, E.EmpPosition, E.Status, E.UserCode, M.Code DepCode"
    " From Employee E Left Join Misc M On M.Id = E.Department And M.GroupCode = 'DEPARTMENT' Order By E.Code");
const QString InsertSql = QStringLiteral(
    "Insert Into Employee (Code, Name, Department, Status, Address1, PhoneNo, EmpPosition, UserCode)"
    " Values (:Code, :Name, :Department, :Status, :Address1, :PhoneNo, :EmpPosition, :UserCode)");
const QString UpdateSql = QStringLiteral(
    "Update Employee Set Code = :Code, Name = :Name, Department = :Department, Status = :Status, Address1 = :Address1,"
    " PhoneNo = :PhoneNo, EmpPosition = :EmpPosition, UserCode = :UserCode Where Id = :OLD_Id");
const QString DeleteSql = QStringLiteral("Delete From Employee Where Id = :OLD_Id");

const QString F_Code = QStringLiteral("Code"), F_Name = QStringLiteral("Name"), F_DepCode = QStringLiteral("DepCode"),
              F_Department = QStringLiteral("Department"), F_UserCode = QStringLiteral("UserCode");

} // namespace

TFrEmployee::TFrEmployee(QWidget *parent) : TFrCodeGrid(parent)
{
    setObjectName(QStringLiteral("TFrEmployee"));
    buildGrid({{"Code", QStringLiteral("รหัส"), 15},
               {"Name", QStringLiteral("ชื่อ"), 20},
               {"Address1", QStringLiteral("ที่อยู่"), 35},
               {"PhoneNo", QStringLiteral("เบอร์โทร"), 20},
               {"DepCode", QStringLiteral("รหัสแผนก"), 15},
               {"EmpPosition", QStringLiteral("ตำแหน่ง"), 15, Kind::Integer},
               {"UserCode", QStringLiteral("รหัสผู้ใช้"), 15},
               {"Status", QStringLiteral("สถานะงาน"), 7}},
              QColor(240, 250, 255));
    CodeField = F_Code;
    RequiredFields = {F_Code, F_Name, F_DepCode};
    Model->setNewRowDefaults({{QStringLiteral("EmpPosition"), 0}, {QStringLiteral("Status"), QStringLiteral("Y")}});

    textCell(F_Code, 20, true);
    textCell(F_Name, 200);
    textCell(QStringLiteral("Address1"), 200);
    textCell(QStringLiteral("PhoneNo"), 50);

    DepartmentCell = new CodeComboDelegate(this);
    DepartmentCell->headers = {QStringLiteral("รหัสแผนก"), QStringLiteral("ชื่อแผนก")};
    DepartmentCell->visibleItems = 20;
    DepartmentCell->resolve = [this](const QModelIndex &i, const QString &code) { resolveDepartment(i.row(), code); };
    setCell(F_DepCode, DepartmentCell);

    PositionCell = new ValueMapDelegate(this);
    PositionCell->enterMovesToNextCell = true;
    setCell(QStringLiteral("EmpPosition"), PositionCell);

    StatusCell = new ValueMapDelegate(this);
    StatusCell->enterMovesToNextCell = true;
    StatusCell->items = {{QStringLiteral("Y"), QStringLiteral("ทำงาน")}, {QStringLiteral("N"), QStringLiteral("ลาออก")}};
    setCell(QStringLiteral("Status"), StatusCell);

    auto *user = new ResolvingCodeCell(this);
    user->resolve = [this](int row, const QString &code) { return resolveUser(row, code); };
    UserCell = user;
    UserCell->enterMovesToNextCell = true;
    UserCell->commitAfterLookup = true;
    UserCell->lookup = [this](const QModelIndex &, const QString &) {
        TFrSearchUser d(this);
        d.KeyFieldName = QStringLiteral("Code");
        const QString code = d.exec() == QDialog::Accepted ? d.ReturnValue.trimmed() : QString();
        activateWindow();
        return code;
    };
    setCell(F_UserCode, UserCell);

    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption.trimmed() : QString()) + QStringLiteral(" Version ") + QLatin1String(Version));
}

void TFrEmployee::FormShow()
{
    try {
        companyDb().open();
        if (const TDMConfig *cfg = TDMConfig::instance())
            StatusPanel0->setText(cfg->CompanyName);
        ensureColumns(QStringLiteral("Employee"), {QStringLiteral("Address1"), QStringLiteral("PhoneNo"), QStringLiteral("EmpPosition"),
                                                   QStringLiteral("UserCode")});
        loadLists();
        Model->load(companyDb(), ListSql);
    } catch (const std::exception &e) {
        report(e);
    }
    if (Model->rowCount() > 0)
        focusCell(0, F_Code);
}

void TFrEmployee::loadLists()
{
    Connection &c = companyDb();
    DepartmentCell->items.clear();
    QSqlQuery q = c.exec(QStringLiteral("Select Id, Code, Description From Misc Where GroupCode = 'DEPARTMENT' Order By Code"));
    while (q.next())
        DepartmentCell->items.append({dbText(q.value(1)).trimmed(), dbText(q.value(2))});
    PositionCell->items = {{QVariant(qlonglong(0)), QStringLiteral("-")}};
    QSqlQuery p = c.exec(QStringLiteral("Select Id, Description From Misc Where GroupCode = 'EMPPOSITION' Order By Code"));
    while (p.next())
        PositionCell->items.append({QVariant(p.value(0).toLongLong()), dbText(p.value(1))});
}

void TFrEmployee::applyRights()
{
    const TDMConfig *cfg = TDMConfig::instance();
    const bool add = cfg && cfg->CanAdd, modify = cfg && cfg->CanModify, del = cfg && cfg->CanDelete;
    AcSave->setEnabled(add || modify);
    AcDel->setEnabled(del);
    Model->canModifyStored = modify;
}

void TFrEmployee::AcNewExecute()
{
    TFrCodeGrid::AcNewExecute();
    applyRights();
    // The New that ends the show only sets the buttons: the list is open.
    if (!m_shown) {
        m_shown = true;
        return;
    }
    if (!(TDMConfig::instance() && TDMConfig::instance()->CanAdd)) {
        ShowMessage(noAddRightMessage());
        return;
    }
    appendRowAtCode();
}

void TFrEmployee::resolveDepartment(int row, const QString &code)
{
    QVariant id, found;
    if (!code.isEmpty()) {
        try {
            QSqlQuery q = companyDb().exec(QStringLiteral("Select Id, Code From Misc Where Code = :code And GroupCode = 'DEPARTMENT'"),
                                           {{QStringLiteral("code"), code}});
            if (q.next()) {
                id = q.value(0).toLongLong();
                found = dbText(q.value(1)).trimmed();
            }
        } catch (const std::exception &e) {
            report(e);
            return;
        }
    }
    Model->setValue(row, F_DepCode, found);
    Model->setValue(row, F_Department, id);
}

QString TFrEmployee::resolveUser(int row, const QString &code)
{
    QString stored;
    const QString wanted = code.trimmed().toUpper();
    if (!wanted.isEmpty()) {
        try {
            QSqlQuery q = TDMConfig::instance()->DmCfg().exec(QStringLiteral("Select Code From UserName Where Upper(Code) = :code"),
                                                            {{QStringLiteral("code"), wanted}});
            if (q.next())
                stored = dbText(q.value(0)).trimmed();
        } catch (const std::exception &e) {
            report(e);
            return dbText(Model->value(row, F_UserCode));
        }
    }
    Model->setValue(row, F_UserCode, stored);
    return stored;
}

bool TFrEmployee::gridKey(int key, Qt::KeyboardModifiers mods)
{
    if (key == Qt::Key_F5 && mods == Qt::NoModifier && currentField() == F_UserCode) {
        const QModelIndex at = Grid->currentIndex();
        if (!(at.flags() & Qt::ItemIsEditable))
            return true;
        Grid->edit(at);
        if (auto *edit = qobject_cast<CodeEdit *>(QApplication::focusWidget()))
            edit->runLookup();
        return true;
    }
    // The grid's own insert and delete keys: held until Save.
    if (key == Qt::Key_Insert && mods == Qt::NoModifier) {
        if (AcNew->isEnabled())
            AcNew->trigger();
        return true;
    }
    if (key == Qt::Key_Delete && mods == Qt::ControlModifier) {
        const int r = currentRow();
        if (r >= 0 && AcDel->isEnabled() && confirmDelete())
            Model->removeRows(r, 1);
        return true;
    }
    return TFrCodeGrid::gridKey(key, mods);
}

CachedGridModel::Statements TFrEmployee::statements() const
{
    CachedGridModel::Statements st;
    st.remove = [](Connection &c, const CachedGridModel::Row &row) { c.exec(DeleteSql, row.paramsFor(DeleteSql)); };
    st.update = [](Connection &c, const CachedGridModel::Row &row) { c.exec(UpdateSql, row.paramsFor(UpdateSql)); };
    st.insert = [](Connection &c, const CachedGridModel::Row &row) -> QVariant { return c.insertReturningId(InsertSql, row.paramsFor(InsertSql)); };
    return st;
}

void TFrEmployee::AcSaveExecute()
{
    if (!AcSave->isEnabled())
        return;
    if (m_editRefused) {
        m_editRefused = false;
        return;
    }
    if (!confirmSave())
        return;
    writePending(statements());
}

void TFrEmployee::AcDelExecute()
{
    if (!AcDel->isEnabled())
        return;
    m_editRefused = false;
    const int r = currentRow();
    if (r < 0 || !confirmDelete())
        return;
    // The deletion is written at once, with whatever else is pending.
    const QString field = currentField();
    Model->removeRows(r, 1);
    writePending(statements());
    if (Model->rowCount() > 0)
        focusCell(qMin(r, Model->rowCount() - 1), field.isEmpty() ? F_Code : field);
}

void TFrEmployee::closeEvent(QCloseEvent *e)
{
    TFrCodeGrid::closeEvent(e);
    if (!e->isAccepted())
        return;
    companyDb().close();
    if (TDMConfig *cfg = TDMConfig::instance())
        cfg->DmCfg().close();
}
