// The administration command: creates the configuration and company databases on
// the configured engine, fills the demo, and draws document numbers for checks.
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/DemoBuilder.h"
#include "db/ServerProcedures.h"
#include "report/ReportEngine.h"
#include "report/ReportRender.h"
#include "services/DemoPictures.h"
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QElapsedTimer>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: qlxdb create-demo [--replace] [--products N] [--customers N]\n"
                 "       qlxdb create-config NAME | create-company NAME | drop NAME | list\n"
                 "       qlxdb draw-numbers COMPANY CODE YEAR COUNT | menu-id KEYWORD | demo-exists\n"
                 "       qlxdb render COMPANY LAYOUT [--var NAME=VALUE]... --pdf OUT.pdf [--prepare]\n"
                 "Databases go to the engine of qlxhost.ini in the current folder (QLX_DB_ENGINE, QLX_DATA_DIR, QLX_PG_* override it).\n");
    return 2;
}

int intOption(const QStringList &a, const QString &name, int fallback)
{
    const int i = a.indexOf(name);
    return i >= 0 && i + 1 < a.size() ? a.at(i + 1).toInt() : fallback;
}

// Renders a layout for one document into PDF, as the print dialog would print it.
int render(const QStringList &a)
{
    if (a.size() < 3)
        return usage();
    const QString company = a.at(1);
    const QString layoutPath = a.at(2);
    QString pdf;
    bool prepare = false;
    std::vector<std::pair<QString, QString>> vars;
    for (int i = 3; i < a.size(); ++i) {
        if (a.at(i) == QLatin1String("--pdf") && i + 1 < a.size()) {
            pdf = a.at(++i);
        } else if (a.at(i) == QLatin1String("--prepare")) {
            prepare = true;
        } else if (a.at(i) == QLatin1String("--var") && i + 1 < a.size()) {
            const QString nv = a.at(++i);
            const int eq = nv.indexOf(QLatin1Char('='));
            if (eq <= 0)
                return usage();
            vars.emplace_back(nv.left(eq), nv.mid(eq + 1));
        } else {
            return usage();
        }
    }
    if (pdf.isEmpty())
        return usage();
    Connection c(QStringLiteral("DMDATA"));
    c.setDatabaseName(company);
    ReportEngine engine(&c);
    engine.loadLayout(layoutPath);
    // Document numbers and codes are text even when they are all digits; other
    // whole numbers (DocYear) are numbers.
    static const QRegularExpression integer(QStringLiteral("^-?\\d{1,9}$"));
    static const QStringList textVars = {QStringLiteral("DOCNO"), QStringLiteral("USERCODE"), QStringLiteral("PRINTCODE")};
    QString docNo;
    int docYear = QDate::currentDate().year();
    for (const auto &[name, value] : vars) {
        if (!textVars.contains(name.toUpper()) && integer.match(value).hasMatch())
            engine.setVariableValue(name, RValue::number(Decimal(value.toLongLong())));
        else
            engine.setVariableValue(name, RValue::fromText(value));
        if (name.compare(QLatin1String("DocNo"), Qt::CaseInsensitive) == 0)
            docNo = value.trimmed();
        if (name.compare(QLatin1String("DocYear"), Qt::CaseInsensitive) == 0)
            docYear = value.toInt();
    }
    QElapsedTimer t;
    t.start();
    if (prepare) {
        // The preparation procedure of the print form that uses this layout.
        upgradeSystemForm(c);
        auto q = c.exec(QStringLiteral("SELECT SpName, DocCode FROM SystemForm WHERE UPPER(TRIM(FrfName)) = UPPER(:f) "
                                       "AND TRIM(COALESCE(SpName, '')) <> '' ORDER BY FormOrderNo"),
                        {{QStringLiteral("f"), QFileInfo(layoutPath).fileName()}});
        if (!q.next()) {
            std::fprintf(stderr, "qlxdb: no print form with a preparation procedure uses %s\n", qPrintable(QFileInfo(layoutPath).fileName()));
            return 1;
        }
        ServerProc::RunPrintPreparation(c, dbText(q.value(0)), docNo, docYear, dbText(q.value(1)).trimmed());
    }
    const PreparedReport report = engine.prepare();
    const qint64 prepared = t.elapsed();
    ReportRender::writePdf(report, pdf);
    std::printf("%d page(s) to %s: prepared in %lld ms, written in %lld ms\n", int(report.pages.size()), qPrintable(pdf),
                static_cast<long long>(prepared), static_cast<long long>(t.elapsed() - prepared));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering and the demo's pictures need fonts, so a GUI application; without a
    // display it works offscreen.
    const bool paints = argc > 1 && (qstrcmp(argv[1], "render") == 0 || qstrcmp(argv[1], "create-demo") == 0);
    if (paints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> appHolder(paints ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication &app = *appHolder;
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
            // The layouts belong beside the databases: the print dialog opens them
            // from the current folder.
            ReportLayouts::installDemoLayouts(QDir::currentPath());
            // So are the products' pictures (the demo's picture folder is relative).
            installDemoPictures(QDir::currentPath());
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
        } else if (cmd == QLatin1String("render")) {
            return render(a);
        } else {
            return usage();
        }
    } catch (const DbError &e) {
        std::fprintf(stderr, "qlxdb: %s\n", e.message().toUtf8().constData());
        return 1;
    } catch (const ReportError &e) {
        std::fprintf(stderr, "qlxdb: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
