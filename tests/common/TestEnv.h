#pragma once
#include "db/Connection.h"
#include "db/DemoBuilder.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

// A fresh set of demo databases on the engine chosen by QLX_DB_ENGINE, in a folder
// (SQLite) or under a name prefix (PostgreSQL) of its own, removed afterwards.
class TestEnv
{
public:
    explicit TestEnv(bool withDemo = true, const DemoBuilder::Options &options = {});
    ~TestEnv();

    static bool wantsPostgres();
    // False (with the reason) when the engine asked for cannot be used here.
    static bool available(QString *why);

    const DbSettings &settings() const { return m_settings; }
    QString folder() const { return m_dir.path(); }
    // Environment for a child process that should see the same databases.
    QProcessEnvironment processEnvironment() const;
    // A connection to one of the databases by name.
    std::unique_ptr<Connection> connect(const QString &database) const;

private:
    QTemporaryDir m_dir;
    DbSettings m_settings;
    QString m_previousDir;
};

// The three service objects of a running host, with scripted dialogs.
struct TestSession
{
    explicit TestSession(int menuId = 8, int userId = 1, const QString &company = QStringLiteral("DEMO"));
    ~TestSession();
    ScriptedDialogs *dialogs = nullptr;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TDMConfig> cfg;
    std::unique_ptr<TDmProduct> product;
    std::unique_ptr<UserDialogs> previousDialogs;
};

// Skips (or, with QLX_REQUIRE_PG=1, fails) a suite whose engine is not reachable.
#define QLX_REQUIRE_ENGINE()                                   \
    do {                                                       \
        QString why_;                                          \
        if (!TestEnv::available(&why_)) {                      \
            if (qEnvironmentVariable("QLX_REQUIRE_PG") == QLatin1String("1")) \
                QFAIL(qPrintable(why_));                       \
            QSKIP(qPrintable(why_));                           \
        }                                                      \
    } while (0)
