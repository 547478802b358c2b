#include "TFrDepartment.h"
#include "db/Connection.h"
#include "lookup/TFrSearchAcNoDetail.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QLabel>
#include <QSqlQuery>
#include <QTableView>

namespace {

using Kind = CachedGridModel::Kind;

const QString ListSql = QStringLiteral(
    "Select m.id, m.groupcode, m.code, m.description, d.costno, c.code As costcode, c.id As costid, 'Y' As OldRecord,"
    " a.code As accode, a.namethai As acname, d.accountchart, m.ismfg"
    " From misc m Left Join departmentcostno d On d.department = m.id"
    " Left Join misc c On c.id = d.costno And c.groupcode = 'COSTNO'"
    " Left Join accountchart a On a.id = d.accountchart"
    " Where m.groupcode = 'DEPARTMENT' Order By m.code");
const QString InsertSql = QStringLiteral(
    "Insert Into misc (groupcode, code, description, ismfg) Values (:groupcode, :code, :description, :ismfg)");
const QString UpdateSql = QStringLiteral(
    "Update misc Set groupcode = :groupcode, code = :code, description = :description, ismfg = :ismfg Where id = :OLD_id");
const QString DeleteSql = QStringLiteral("Delete From misc Where id = :OLD_id");
const QString LinkSql = QStringLiteral(
    "Insert Into departmentcostno (department, costno, accountchart) Values (:department, :costno, :accountchart)");

const QString F_Code = QStringLiteral("code"), F_CostCode = QStringLiteral("costcode"), F_CostId = QStringLiteral("costid"),
              F_AcCode = QStringLiteral("accode"), F_AcName = QStringLiteral("acname"), F_Account = QStringLiteral("accountchart");

bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }

} // namespace

TFrDepartment::TFrDepartment(QWidget *parent) : TFrCodeGrid(parent)
{
    setObjectName(QStringLiteral("TFrDepartment"));
    buildGrid({{"code", QStringLiteral("รหัสแผนก"), 10},
               {"description", QStringLiteral("คำอธิบายแผนก"), 50},
               {"ismfg", QStringLiteral("เกี่ยวกับระบบผลิต"), 1, Kind::Flag},
               {"costcode", QStringLiteral("Cost Center No"), 15},
               {"accode", QStringLiteral("บัญชีค่าใช้จ่าย"), 15}},
              QColor(192, 220, 192));
    Model->setKeyFields({QStringLiteral("id")});
    CodeField = F_Code;
    RequiredFields = {F_Code};
    Model->setNewRowDefaults({{QStringLiteral("groupcode"), QStringLiteral("DEPARTMENT")}, {QStringLiteral("ismfg"), QStringLiteral("N")}});

    textCell(F_Code, 20, true);
    textCell(QStringLiteral("description"), 200);
    MfgCell = new CheckCellDelegate(this);
    setCell(QStringLiteral("ismfg"), MfgCell);

    CostCell = new CodeComboDelegate(this);
    CostCell->headers = {QStringLiteral("รหัส"), QStringLiteral("รายละเอียด/ชื่อแผนก")};
    CostCell->hint = QStringLiteral("เลือก Cost Center No ที่ต้องการ");
    CostCell->resolve = [this](const QModelIndex &i, const QString &code) { resolveCostCentre(i.row(), code); };
    setCell(F_CostCode, CostCell);

    AccountCell = new ResolvingCodeCell(this);
    AccountCell->commitAfterLookup = true;
    AccountCell->lookup = [this](const QModelIndex &, const QString &) {
        TFrSearchAcNoDetail d(this);
        d.AcType = QStringLiteral("D");
        const QString code = d.exec() == QDialog::Accepted ? d.ReturnValue.trimmed() : QString();
        activateWindow();
        return code;
    };
    AccountCell->resolve = [this](int row, const QString &code) { return resolveAccount(row, code); };
    setCell(F_AcCode, AccountCell);

    // The second panel shows the expense account's Thai name.
    StatusPanel1->setFixedWidth(320);
    setWindowTitle(QStringLiteral("กำหนดรหัสแผนก"));
}

void TFrDepartment::FormShow() { load(); }

void TFrDepartment::load()
{
    const TDMConfig *cfg = TDMConfig::instance();
    Model->canModifyStored = cfg && cfg->CanModify;
    try {
        Connection &c = companyDb();
        ensureColumns(QStringLiteral("Misc"), {QStringLiteral("ismfg")});
        ensureTable(QStringLiteral("departmentcostno"));
        CostCell->items.clear();
        QSqlQuery q = c.exec(QStringLiteral("Select id, code, description From misc Where groupcode = 'COSTNO' Order By code"));
        while (q.next())
            CostCell->items.append({dbText(q.value(1)).trimmed(), dbText(q.value(2))});
        Model->load(c, ListSql);
    } catch (const std::exception &e) {
        report(e);
    }
    if (Model->rowCount() > 0)
        focusCell(0, F_Code);
}

void TFrDepartment::AcNewExecute()
{
    TFrCodeGrid::AcNewExecute();
    AcSave->setEnabled(true);
    AcDel->setEnabled(true);
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

void TFrDepartment::resolveCostCentre(int row, const QString &code)
{
    QVariant id;
    QString found;
    if (!code.isEmpty()) {
        try {
            QSqlQuery q = companyDb().exec(QStringLiteral("select id, code from misc where code=:getcode and groupcode='COSTNO'"),
                                           {{QStringLiteral("getcode"), code}});
            if (q.next()) {
                id = q.value(0).toLongLong();
                found = dbText(q.value(1)).trimmed();
            }
        } catch (const std::exception &e) {
            report(e);
            return;
        }
    }
    Model->setValue(row, F_CostId, id);
    Model->setValue(row, F_CostCode, found);
}

QString TFrDepartment::resolveAccount(int row, const QString &code)
{
    QVariant id;
    QString found, name;
    if (!code.isEmpty()) {
        try {
            QSqlQuery q = companyDb().exec(QStringLiteral("Select Id, Code, NameThai From AccountChart Where (Code = :GetCode) And (AcType = 'D')"),
                                           {{QStringLiteral("GetCode"), code}});
            if (q.next()) {
                id = q.value(0).toLongLong();
                found = dbText(q.value(1)).trimmed();
                name = dbText(q.value(2));
            }
        } catch (const std::exception &e) {
            report(e);
            return dbText(Model->value(row, F_AcCode));
        }
    }
    Model->setValue(row, F_Account, id);
    Model->setValue(row, F_AcName, name);
    Model->setValue(row, F_AcCode, found);
    if (currentRow() == row && currentField() == F_AcCode)
        StatusPanel1->setText(name);
    return found;
}

void TFrDepartment::currentCellChanged(const QModelIndex &now)
{
    const bool account = now.isValid() && now.column() == Model->columnOf(F_AcCode);
    StatusPanel1->setText(account ? dbText(Model->value(now.row(), F_AcName)) : QString());
}

void TFrDepartment::AcDelExecute()
{
    const int r = currentRow();
    if (r < 0)
        return;
    m_editRefused = false;
    const bool stored = dbText(Model->value(r, QStringLiteral("OldRecord"))) == QLatin1String("Y");
    if (stored && !(TDMConfig::instance() && TDMConfig::instance()->CanDelete)) {
        ShowMessage(noDeleteRightMessage());
        return;
    }
    if (!confirmDelete())
        return;
    Model->removeRows(r, 1);
    if (Model->rowCount() > 0)
        focusCell(qMin(r, Model->rowCount() - 1), F_Code);
}

void TFrDepartment::writeLinks(Connection &c)
{
    // The links are rebuilt from every department shown; a department added
    // in this save is found by its code, now that it has been written.
    c.exec(QStringLiteral("delete from departmentcostno"));
    for (int r = 0; r < Model->rowCount(); ++r) {
        const QVariant cost = Model->value(r, F_CostId), account = Model->value(r, F_Account);
        if (isNull(cost) && isNull(account))
            continue;
        QVariant id = Model->value(r, QStringLiteral("id"));
        if (isNull(id) || Model->rowState(r) == CachedGridModel::RowState::Inserted)
            id = c.scalar(QStringLiteral("Select id From misc Where groupcode = 'DEPARTMENT' And code = :code"),
                          {{QStringLiteral("code"), dbText(Model->value(r, F_Code)).trimmed()}});
        c.exec(LinkSql, {{QStringLiteral("department"), id}, {QStringLiteral("costno"), cost}, {QStringLiteral("accountchart"), account}});
    }
}

void TFrDepartment::AcSaveExecute()
{
    if (!AcSave->isEnabled())
        return;
    if (m_editRefused) {
        m_editRefused = false;
        return;
    }
    if (!confirmSave())
        return;
    CachedGridModel::Statements st;
    st.remove = [](Connection &c, const CachedGridModel::Row &row) { c.exec(DeleteSql, row.paramsFor(DeleteSql)); };
    st.update = [](Connection &c, const CachedGridModel::Row &row) { c.exec(UpdateSql, row.paramsFor(UpdateSql)); };
    st.insert = [](Connection &c, const CachedGridModel::Row &row) -> QVariant {
        return c.insertReturningId(InsertSql, row.paramsFor(InsertSql), QStringLiteral("id"));
    };
    if (writePending(st, [this](Connection &c) { writeLinks(c); }))
        load();
}
