#include "TDMConfig.h"
#include "UserDialogs.h"
#include "db/ServerProcedures.h"

namespace {
TDMConfig *g_config = nullptr;
}

QSqlRecord takeRecord(const QSqlQuery &q)
{
    return q.record();
}

QVector<QSqlRecord> takeAll(QSqlQuery &q)
{
    QVector<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    return rows;
}

TDMConfig::TDMConfig() : m_cfg(std::make_unique<Connection>(QStringLiteral("DmCfg")))
{
    g_config = this;
    m_cfg->beforeConnect = [this](Connection &c) { DmCfgBeforeConnect(c); };
    m_cfg->afterConnect = [this](Connection &c) { DmCfgAfterConnect(c); };
}

TDMConfig::~TDMConfig()
{
    if (g_config == this)
        g_config = nullptr;
}

TDMConfig *TDMConfig::instance() { return g_config; }

void TDMConfig::DmCfgBeforeConnect(Connection &c)
{
    // The server's catalogue decides between the two configuration databases; the
    // name is compared as the server does, without regard to case.
    const bool hwz = !Engine::resolveDatabase(QStringLiteral("QLX_Config_HWZ")).isEmpty();
    c.setDatabaseName(hwz ? QStringLiteral("QLX_CONFIG_HWZ") : QStringLiteral("QLX_CONFIG"));
}

void TDMConfig::DmCfgAfterConnect(Connection &c)
{
    upgradeConfigSchema(c);
    openSoftwareConfig();
}

void TDMConfig::openSoftwareConfig()
{
    auto q = m_cfg->exec(QStringLiteral("SELECT * FROM softwareconfig"));
    m_softwareConfig = takeAll(q);
}

bool TDMConfig::GetCompanyConfig(const QString &databaseName)
{
    CompanyCode = databaseName.toUpper();
    const Params p{{QStringLiteral("GetName"), CompanyCode}};
    auto q = m_cfg->exec(QStringLiteral(
        "SELECT C.Company, C.PicturePath, C.Public_Price_IE, C.DefaultWh, C.POS1_Wh, C.POS1_TaxCode, C.POS1_Price_IE, "
        "C.POS1_PriceType, C.POS1_SumDetail, C.DefaultPosComPort, C.DefaultTax, C.DefaultPosMenuId, M.Command, M.MenuOption, "
        "O.Description, O.YearNo, P.Id, P.Code, P.Password, P.NameThai, P.NameEng, P.ShortName, P.Address1, P.Address2, "
        "P.Address3, P.Address4, P.Province, P.Zip, P.Telephone, P.Fax, P.EMail, P.Logo, P.TaxNo, P.InstallDate, P.RunYear, "
        "P.LocalServer, P.FUNDNAME, P.TaxBranchHead, P.TaxBranchCode, P.TaxBranchName "
        "FROM CompanyConfig C INNER JOIN DatabaseList O ON O.Company = C.Company "
        "INNER JOIN Company P ON P.Id = O.Company LEFT OUTER JOIN Menu M ON M.Id = C.DefaultPosMenuId "
        "WHERE O.DatabaseName = :GetName"), p);
    if (!q.next()) {
        ShowMessage(QStringLiteral("Not Found Database : ") + CompanyCode);
        return false;
    }
    m_companySettings = q.record();
    CompanyName = dbText(q.value(QStringLiteral("NameThai")));

    auto r = m_cfg->exec(QStringLiteral(
        "SELECT ID, CODE, PASSWORD, NAMETHAI, NAMEENG, SHORTNAME, ADDRESS1, ADDRESS2, ADDRESS3, ADDRESS4, PROVINCE, ZIP, "
        "TELEPHONE, FAX, EMAIL, LOGO, TAXNO, RUNYEAR, FUNDNAME, COALESCE(TaxBranchHead, 'N') AS TaxBranchHead, "
        "COALESCE(TaxBranchCode, '') AS TaxBranchCode, TaxBranchName FROM COMPANY "
        "WHERE Id IN (SELECT DISTINCT Company FROM DatabaseList WHERE DatabaseName = :GetName)"), p);
    m_companyRow = r.next() ? r.record() : QSqlRecord();
    openSoftwareConfig();
    return true;
}

void TDMConfig::CheckRight(int menuId, int userId)
{
    const auto m = ServerProc::MENUCAPTION(*m_cfg, menuId, userId);
    MenuCaption = m.caption.trimmed();
    UserCode = m.userCode;
    SalesId = m.salesId;
    // Only the exact one-letter "Y" counts.
    CanAccess = m.access == QLatin1String("Y");
    CanAdd = m.add == QLatin1String("Y");
    CanModify = m.modify == QLatin1String("Y");
    CanDelete = m.del == QLatin1String("Y");

    auto q = m_cfg->exec(QStringLiteral(
        "SELECT Code, fullname, languageno, EditSalePrice, Approve_Quo, Approve_SO, Approve_IV, Approve_PO, Approved_PORQ, "
        "ApproveTranWH, ApproveTranBranch, ApproveWorkOrder, CanSeeCost, CanSeeSalePrice, CanModifyCusSale, Approve_PreIs, "
        "CanModifyCusSale AS CanModifyCusSale2, ApproveCustomerDropUse, ApproveCustomerDropCredit, CanModifyCredit, "
        "CanSetProductBlock, CanSetProductMinus, CanSaleCreditOnReturnCheque, UserSeeImport, UserSeeCost "
        "FROM UserName WHERE id = :uid"), {{QStringLiteral("uid"), userId}});
    if (q.next()) {
        m_userRow = q.record();
        IsThai = q.value(QStringLiteral("languageno")).toInt() == 1;
        UserSeeImport = dbText(q.value(QStringLiteral("UserSeeImport"))) == QLatin1String("Y");
    } else {
        m_userRow = QSqlRecord();
        IsThai = false;
        UserSeeImport = false;
    }
    ConfirmSaveText = IsThai ? QStringLiteral("จัดเก็บข้อมูล ?") : QStringLiteral("Save Data ?");
    ConfirmDeleteText = IsThai ? QStringLiteral("ลบข้อมูล ?") : QStringLiteral("Delete Data ?");
    ConfirmExitText = IsThai ? QStringLiteral("ออกจากโปรแกรม ?") : QStringLiteral("Exit Program ?");
}

bool TDMConfig::CheckVersion(int programVersion)
{
    Connection &c = *m_cfg;
    const Dialect &d = c.dialect();
    if (!d.hasColumn(c, QStringLiteral("MENU"), QStringLiteral("VERSION")))
        d.addColumn(c, QStringLiteral("Menu"), {QStringLiteral("Version"), ColType::Integer});
    c.exec(QStringLiteral("Update Menu Set Version = 3 Where Version Is Null And Command Is Not Null"));
    // Every entry that runs the same command moves up with this build, so an older
    // build started from any of them is refused afterwards.
    c.exec(QStringLiteral("UPDATE Menu SET Version = :GetVersion WHERE COALESCE(Version, 0) < :GetVersion2 "
                          "AND TRIM(COALESCE(Command, '')) <> '' "
                          "AND UPPER(TRIM(Command)) = (SELECT UPPER(TRIM(M2.Command)) FROM Menu M2 WHERE M2.Id = :MenuId)"),
           {{QStringLiteral("GetVersion"), programVersion}, {QStringLiteral("GetVersion2"), programVersion},
            {QStringLiteral("MenuId"), MenuId}});
    auto q = c.exec(QStringLiteral("Select Version From Menu Where Id = :MenuId"), {{QStringLiteral("MenuId"), MenuId}});
    const bool ok = q.next() && programVersion >= q.value(0).toInt();
    if (!ok)
        ShowMessage(QStringLiteral("กรุณา อัพเดท โปรแกรม Version ใหม่ด้วยค่ะ !!"));
    return ok;
}

QString TDMConfig::saveQuestion()
{
    const TDMConfig *cfg = instance();
    if (cfg && !cfg->ConfirmSaveText.isEmpty())
        return cfg->ConfirmSaveText;
    return cfg && !cfg->IsThai ? QStringLiteral("Save Data ?") : QStringLiteral("จัดเก็บข้อมูล ?");
}

QString TDMConfig::deleteQuestion()
{
    const TDMConfig *cfg = instance();
    if (cfg && !cfg->ConfirmDeleteText.isEmpty())
        return cfg->ConfirmDeleteText;
    return cfg && !cfg->IsThai ? QStringLiteral("Delete Data ?") : QStringLiteral("ลบข้อมูล ?");
}
