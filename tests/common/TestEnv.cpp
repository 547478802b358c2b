#include "TestEnv.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {
int g_counter = 0;

// The demo is built once per test program and copied for every test: far cheaper
// than building it again, above all on the server engine.
struct DemoTemplate
{
    QTemporaryDir dir;
    DbSettings settings;
    bool built = false;
    ~DemoTemplate()
    {
        if (built && settings.engine == EngineKind::Postgres) {
            try {
                for (const auto &n : Engine::listDatabases(settings))
                    Engine::dropDatabase(n, settings);
            } catch (...) {
            }
        }
    }
};

DemoTemplate &demoTemplate(const DbSettings &like)
{
    static DemoTemplate t;
    if (!t.built) {
        t.settings = like;
        t.settings.dataDir = QDir(t.dir.path()).filePath(QStringLiteral("data"));
        if (t.settings.engine == EngineKind::Postgres)
            t.settings.dbPrefix = QStringLiteral("t%1_tpl_").arg(QCoreApplication::applicationPid());
        const DbSettings previous = DbSettings::current();
        DbSettings::setCurrent(t.settings);
        DemoBuilder::createDemo({}, true);
        DbSettings::setCurrent(previous);
        t.built = true;
    }
    return t;
}
}

bool TestEnv::wantsPostgres()
{
    return qEnvironmentVariable("QLX_DB_ENGINE").compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0;
}

bool TestEnv::available(QString *why)
{
    if (!wantsPostgres())
        return true;
    if (qEnvironmentVariable("QLX_PG_HOST").isEmpty()) {
        *why = QStringLiteral("QLX_PG_HOST is not set: no PostgreSQL server for this run");
        return false;
    }
    try {
        DbSettings s = DbSettings::load();
        Engine::listDatabases(s);
    } catch (const DbError &e) {
        *why = QStringLiteral("PostgreSQL not reachable: ") + e.message();
        return false;
    }
    return true;
}

TestEnv::TestEnv(bool withDemo, const DemoBuilder::Options &options)
{
    m_previousDir = QDir::currentPath();
    // Server.Dat and qlxhost.ini are read from the current folder.
    QDir::setCurrent(m_dir.path());
    m_settings = DbSettings::load(m_dir.path());
    m_settings.dataDir = QDir(m_dir.path()).filePath(QStringLiteral("data"));
    if (m_settings.engine == EngineKind::Postgres)
        m_settings.dbPrefix = QStringLiteral("t%1_%2_").arg(QCoreApplication::applicationPid()).arg(++g_counter);
    DbSettings::setCurrent(m_settings);
    const bool plainDemo = options.products == 0 && options.customers == 0 && options.year == 0;
    if (withDemo && plainDemo) {
        const DemoTemplate &t = demoTemplate(m_settings);
        for (const QString &n : {DemoBuilder::configDb, DemoBuilder::demoCompany, DemoBuilder::secondCompany})
            Engine::copyDatabase(n, n, t.settings, m_settings);
    } else if (withDemo) {
        DemoBuilder::createDemo(options, true);
    }
}

TestEnv::~TestEnv()
{
    if (m_settings.engine == EngineKind::Postgres) {
        try {
            for (const auto &n : Engine::listDatabases(m_settings))
                Engine::dropDatabase(n, m_settings);
        } catch (...) {
        }
    }
    QDir::setCurrent(m_previousDir);
}

QProcessEnvironment TestEnv::processEnvironment() const
{
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QLX_DB_ENGINE"), m_settings.engineName());
    env.insert(QStringLiteral("QLX_DATA_DIR"), m_settings.dataDir);
    env.insert(QStringLiteral("QLX_DB_PREFIX"), m_settings.dbPrefix);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

std::unique_ptr<Connection> TestEnv::connect(const QString &database) const
{
    auto c = std::make_unique<Connection>(QStringLiteral("test_") + database);
    c->setDatabaseName(database);
    return c;
}

TestSession::TestSession(int menuId, int userId, const QString &company)
{
    auto d = std::make_unique<ScriptedDialogs>();
    dialogs = d.get();
    previousDialogs = UserDialogs::install(std::move(d));
    dm = std::make_unique<TDM>();
    cfg = std::make_unique<TDMConfig>();
    product = std::make_unique<TDmProduct>();
    cfg->MenuId = menuId;
    cfg->UserId = userId;
    dm->setCompanyArgument(company);
}

TestSession::~TestSession()
{
    product.reset();
    cfg.reset();
    dm.reset();
    UserDialogs::install(std::move(previousDialogs));
}
