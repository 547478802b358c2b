// The administration command: creates the configuration and company databases on
// the configured engine, fills the demo, and draws document numbers for checks.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/DemoBuilder.h"
#include "db/ServerProcedures.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: qlxdb create-demo [--replace] [--products N] [--customers N]\n"
                 "       qlxdb create-config NAME | create-company NAME | drop NAME | list\n"
                 "       qlxdb draw-numbers COMPANY CODE YEAR COUNT | menu-id KEYWORD | demo-exists\n"
                 "Databases go to the engine of qlxhost.ini in the current folder (QLX_DB_ENGINE, QLX_DATA_DIR, QLX_PG_* override it).\n");
    return 2;
}

int intOption(const QStringList &a, const QString &name, int fallback)
{
    const int i = a.indexOf(name);
    return i >= 0 && i + 1 < a.size() ? a.at(i + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    if (a.isEmpty())
        return usage();
    const QString cmd = a.first();
    try {
        if (cmd == QLatin1String("create-demo")) {
            DemoBuilder::Options o;
            o.products = intOption(a, QStringLiteral("--products"), 0);
            o.customers = intOption(a, QStringLiteral("--customers"), 0);
            QElapsedTimer t;
            t.start();
            DemoBuilder::createDemo(o, a.contains(QLatin1String("--replace")));
            std::printf("demo databases created on %s in %lld ms\n", qPrintable(DbSettings::current().engineName()),
                        static_cast<long long>(t.elapsed()));
        } else if (cmd == QLatin1String("demo-exists")) {
            return DemoBuilder::demoExists() ? 0 : 1;
        } else if ((cmd == QLatin1String("create-config") || cmd == QLatin1String("create-company")) && a.size() == 2) {
            Engine::createDatabase(a.at(1));
            Connection c(QStringLiteral("admin"));
            c.setDatabaseName(a.at(1));
            DemoBuilder::createSchema(c, cmd == QLatin1String("create-config") ? DbRole::Config : DbRole::Company);
        } else if (cmd == QLatin1String("drop") && a.size() == 2) {
            Engine::dropDatabase(a.at(1));
        } else if (cmd == QLatin1String("menu-id") && a.size() == 2) {
            // The demo's menu entry of a keyword, for starting the host as the menu would.
            Connection c(QStringLiteral("DmCfg"));
            c.setDatabaseName(DemoBuilder::configDb);
            const QVariant id = c.scalar(QStringLiteral("SELECT MIN(Id) FROM Menu WHERE MenuOption = :k"), {{QStringLiteral("k"), a.at(1)}});
            if (id.isNull())
                return 1;
            std::printf("%d\n", id.toInt());
        } else if (cmd == QLatin1String("list")) {
            for (const auto &n : Engine::listDatabases())
                std::printf("%s\n", qPrintable(n));
        } else if (cmd == QLatin1String("draw-numbers") && a.size() == 5) {
            Connection c(QStringLiteral("DMDATA"));
            c.setDatabaseName(a.at(1));
            const int year = a.at(3).toInt();
            const int count = a.at(4).toInt();
            for (int i = 0; i < count; ++i) {
                // Each number in its own transaction, as a save does.
                Transaction tx(c);
                const QString no = ServerProc::NewDocumentNo(c, a.at(2), year);
                tx.commit();
                std::printf("%s\n", qPrintable(no));
            }
            std::fflush(stdout);
        } else {
            return usage();
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "qlxdb: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
