#include "TDM.h"
#include "db/ServerProcedures.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"

namespace {
TDM *g_dm = nullptr;
}

TDM::TDM() : m_data(std::make_unique<Connection>(QStringLiteral("DMDATA"))), DialogColor(0, 0, 255)
{
    g_dm = this;
    m_data->beforeConnect = [this](Connection &c) { DMdataBeforeConnect(c); };
    m_data->afterConnect = [this](Connection &c) { DMdataAfterConnect(c); };
}

TDM::~TDM()
{
    if (g_dm == this)
        g_dm = nullptr;
}

TDM *TDM::instance() { return g_dm; }

void TDM::DMdataBeforeConnect(Connection &c)
{
    CompanyDbName = m_companyArgument.trimmed();
    c.setDatabaseName(CompanyDbName);
}

void TDM::DMdataAfterConnect(Connection &c)
{
    Q_UNUSED(c);
    ReopenConfig();
    auto p = m_data->exec(QStringLiteral("SELECT * FROM accountperiod ORDER BY accountyear DESC"));
    m_periods = takeAll(p);
    MainCurrencyId = m_config.value(QStringLiteral("MainCurrencyId")).toInt();
    MainCurrencyName = dbText(m_config.value(QStringLiteral("MainCurrencyName")));
    destroySplash();
    reopenCurrencies();
}

void TDM::destroySplash()
{
    delete m_splash.data();
    m_splash = nullptr;
}

void TDM::ensureOpen()
{
    if (!m_data->isOpen())
        m_data->open();
}

void TDM::ReopenConfig()
{
    auto q = m_data->exec(QStringLiteral("SELECT C.*, M.Code AS MainCurrencyCode, M.Description AS MainCurrencyName "
                                         "FROM Config C LEFT JOIN Misc M ON M.Id = C.MainCurrencyId"));
    m_config = q.next() ? q.record() : QSqlRecord();
    m_configOpen = true;
}

const QSqlRecord &TDM::ConfigRow()
{
    ensureOpen();
    if (!m_configOpen)
        ReopenConfig();
    return m_config;
}

QVariant TDM::config(const QString &field)
{
    return ConfigRow().value(field);
}

void TDM::reopenCurrencies()
{
    // One ranking over the whole rate table: only rates of the newest date count, so
    // a currency without a rate on that date shows none.
    auto q = m_data->exec(QStringLiteral(
        "SELECT M.Id, M.Code, M.Description, M.OrderNo, X.PurcScrap, X.PurcPart, X.PurcRate, X.SaleScrap, X.SalePart, X.SaleRate "
        "FROM Misc M LEFT JOIN (SELECT Currency, PurcScrap, PurcPart, PurcRate, SaleScrap, SalePart, SaleRate, "
        "RANK() OVER (ORDER BY ExchangeDate DESC) AS RateRank FROM CurrencyEx) X ON X.Currency = M.Id AND X.RateRank = 1 "
        "WHERE M.GroupCode = 'CURRENCY' ORDER BY M.OrderNo"));
    m_currencies = takeAll(q);
}

bool TDM::Confirm(const QString &message)
{
    return UserDialogs::instance().askYesNo(message, DialogColor, Qt::white);
}

QString TDM::GetNewDocumentNo(const QString &docCode, const QDate &docDate)
{
    return ServerProc::NewDocumentNo(DMDATA(), docCode, docDate.year());
}

int TDM::GetDocumentLength(const QString &docCode)
{
    const int runYear = config(QStringLiteral("RunYear")).toInt();
    const Params p{{QStringLiteral("c"), docCode}, {QStringLiteral("y"), runYear}};
    auto conv = m_data->exec(QStringLiteral("SELECT D.DocumentLength FROM DocNoConvert V INNER JOIN DocumentNo D ON D.Id = V.DocumentNo "
                                            "WHERE V.Code = :c AND V.DocYear = :y"), p);
    if (conv.next())
        return conv.value(0).toInt();
    auto q = m_data->exec(QStringLiteral("SELECT DocumentLength, AutoRun FROM DocumentNo WHERE Code = :c AND DocYear = :y ORDER BY Id"), p);
    if (!q.next()) {
        ShowMessage(QStringLiteral("ไม่พบรหัสเอกสาร ") + docCode + QLatin1Char('\n') + QStringLiteral("ปี ") + QString::number(runYear));
        AutoRunFlag = false;
        return 0;
    }
    AutoRunFlag = dbText(q.value(1)) == QLatin1String("Y");
    return q.value(0).toInt();
}

void TDM::AddActionLog(int functionListId, int documentId, const QString &remark)
{
    const TDMConfig *cfg = TDMConfig::instance();
    ServerProc::UserAddLog(DMDATA(), cfg ? cfg->UserId : 0, cfg ? cfg->MenuId : 0, functionListId, documentId, remark);
}

QDateTime TDM::GetServerTime()
{
    return ServerProc::ServerTime(DMDATA());
}
