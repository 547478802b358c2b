#include "TFrBranch.h"
#include "db/Connection.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include <QTableView>

namespace {

const QString ListSql = QStringLiteral(
    "Select ID, DelFlag, BranchCode, BranchName, BranchDatabase From Branch Where Coalesce(DelFlag, 'N') <> 'Y' Order By BranchCode");
const QString InsertSql = QStringLiteral(
    "Insert Into Branch (DelFlag, BranchCode, BranchName, BranchDatabase) Values (:DelFlag, :BranchCode, :BranchName, :BranchDatabase)");
const QString UpdateSql = QStringLiteral(
    "Update Branch Set DelFlag = :DelFlag, BranchCode = :BranchCode, BranchName = :BranchName, BranchDatabase = :BranchDatabase"
    " Where ID = :OLD_ID");
const QString DeleteSql = QStringLiteral("Delete From Branch Where ID = :OLD_ID");

const QString F_Code = QStringLiteral("BranchCode");

bool right(bool TDMConfig::*flag) { return TDMConfig::instance() && TDMConfig::instance()->*flag; }

} // namespace

TFrBranch::TFrBranch(QWidget *parent) : TFrCodeGrid(parent)
{
    setObjectName(QStringLiteral("TFrBranch"));
    buildGrid({{"BranchCode", QStringLiteral("รหัส"), 15},
               {"BranchName", QStringLiteral("รายฃื่อสาขา"), 35},
               {"BranchDatabase", QStringLiteral("ชื่อ Database"), 20}},
              QColor(240, 250, 255));
    Model->setKeyFields({QStringLiteral("ID")});
    CodeField = F_Code;
    RequiredFields = {F_Code};
    Model->setNewRowDefaults({{QStringLiteral("DelFlag"), QStringLiteral("N")}});
    textCell(F_Code, 20, true);
    textCell(QStringLiteral("BranchName"), 200);
    textCell(QStringLiteral("BranchDatabase"), 50, true);
    setWindowTitle(QStringLiteral("แฟ้มข้อมูลสาขา"));
}

void TFrBranch::FormShow()
{
    try {
        ensureTable(QStringLiteral("Branch"));
        Model->load(companyDb(), ListSql);
    } catch (const std::exception &e) {
        report(e);
    }
    AcNew->setEnabled(right(&TDMConfig::CanAdd));
    applyRights();
}

void TFrBranch::applyRights()
{
    // Adding is saving too: the add right alone lets a new branch be stored.
    AcSave->setEnabled(right(&TDMConfig::CanAdd) || right(&TDMConfig::CanModify));
    AcDel->setEnabled(right(&TDMConfig::CanDelete) && Model->rowCount() > 0);
    Model->canModifyStored = right(&TDMConfig::CanModify);
}

void TFrBranch::AcNewExecute()
{
    if (!AcNew->isEnabled())
        return;
    TFrCodeGrid::AcNewExecute();
    // One empty row to type into is enough.
    const int last = Model->rowCount() - 1;
    if (last >= 0 && Model->rowState(last) == CachedGridModel::RowState::Inserted
        && dbText(Model->value(last, F_Code)).trimmed().isEmpty())
        focusCell(last, F_Code);
    else
        appendRowAtCode();
    applyRights();
}

void TFrBranch::AcDelExecute()
{
    if (!AcDel->isEnabled())
        return;
    m_editRefused = false;
    const int r = currentRow();
    if (r < 0 || !confirmDelete())
        return;
    Model->removeRows(r, 1);
    if (Model->rowCount() > 0)
        focusCell(qMin(r, Model->rowCount() - 1), F_Code);
}

void TFrBranch::AcSaveExecute()
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
        return c.insertReturningId(InsertSql, row.paramsFor(InsertSql), QStringLiteral("ID"));
    };
    if (writePending(st))
        AcNew->trigger();
    else
        applyRights();
}
