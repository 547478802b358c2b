// Benchmarks: start-up time, document numbers drawn by concurrent processes, the
// large demo build, and the per-line text functions of printed documents.
#include "db/Connection.h"
#include "db/DemoBuilder.h"
#include "services/TextUtils.h"
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

int intOption(const QStringList &a, const QString &name, int fallback)
{
    const int i = a.indexOf(name);
    return i >= 0 && i + 1 < a.size() ? a.at(i + 1).toInt() : fallback;
}

QString strOption(const QStringList &a, const QString &name, const QString &fallback)
{
    const int i = a.indexOf(name);
    return i >= 0 && i + 1 < a.size() ? a.at(i + 1) : fallback;
}

// A demo of its own in a temporary folder, or under a prefix on the server.
struct BenchDemo
{
    QTemporaryDir dir;
    DbSettings settings;
    explicit BenchDemo(const DemoBuilder::Options &o = {})
    {
        QDir::setCurrent(dir.path());
        settings = DbSettings::load(dir.path());
        settings.dataDir = QDir(dir.path()).filePath(QStringLiteral("data"));
        if (settings.engine == EngineKind::Postgres)
            settings.dbPrefix = QStringLiteral("bench%1_").arg(QCoreApplication::applicationPid());
        DbSettings::setCurrent(settings);
        DemoBuilder::createDemo(o, true);
    }
    ~BenchDemo()
    {
        if (settings.engine == EngineKind::Postgres)
            for (const auto &n : Engine::listDatabases(settings))
                Engine::dropDatabase(n, settings);
    }
    QProcessEnvironment env() const
    {
        auto e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("QLX_DB_ENGINE"), settings.engineName());
        e.insert(QStringLiteral("QLX_DATA_DIR"), settings.dataDir);
        e.insert(QStringLiteral("QLX_DB_PREFIX"), settings.dbPrefix);
        return e;
    }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int numbering(const QStringList &a)
{
    const int procs = intOption(a, QStringLiteral("--procs"), 4);
    const int count = intOption(a, QStringLiteral("--count"), 500);
    BenchDemo demo;
    const int year = QDate::currentDate().year();
    std::vector<std::unique_ptr<QProcess>> ps;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < procs; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(demo.env());
        p->start(QStringLiteral(QLXDB_PATH), {QStringLiteral("draw-numbers"), QStringLiteral("DEMO"), QStringLiteral("PJ-GEN"),
                                               QString::number(year), QString::number(count)});
        ps.push_back(std::move(p));
    }
    QStringList all;
    int failed = 0;
    for (auto &p : ps) {
        p->waitForFinished(-1);
        if (p->exitCode() != 0) {
            ++failed;
            std::fprintf(stderr, "%s", p->readAllStandardError().constData());
        }
        all += QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    const double secs = t.elapsed() / 1000.0;
    const QSet<QString> unique(all.begin(), all.end());
    std::printf("numbering %s: %d processes x %d numbers: %lld drawn in %.2f s = %.0f numbers/s, duplicates %lld, failed processes %d\n",
                qPrintable(demo.settings.engineName()), procs, count, static_cast<long long>(all.size()), secs, all.size() / secs,
                static_cast<long long>(all.size() - unique.size()), failed);
    return all.size() == unique.size() && failed == 0 ? 0 : 1;
}

int startup(const QStringList &a)
{
    const int runs = intOption(a, QStringLiteral("--runs"), 21);
    const QString keyword = strOption(a, QStringLiteral("--keyword"), QStringLiteral("PROJECT"));
    BenchDemo demo;
    auto env = demo.env();
    env.insert(QStringLiteral("QLXHOST_QUIT_AFTER_SHOW"), QStringLiteral("1"));
    env.insert(QStringLiteral("QLXHOST_UNATTENDED"), QStringLiteral("1"));
    env.insert(QStringLiteral("QLXHOST_TRACE_STARTUP"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    std::vector<double> total, splash, shown;
    static const QRegularExpression splashRe(QStringLiteral("qlxhost: splash (\\d+)"));
    static const QRegularExpression shownRe(QStringLiteral("qlxhost: shown \\S+ (\\d+)"));
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral(QLXHOST_PATH), {QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("DEMO"), QStringLiteral("X"), keyword,
                                                QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))});
        p.waitForFinished(-1);
        total.push_back(t.elapsed());
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        if (auto m = splashRe.match(out); m.hasMatch())
            splash.push_back(m.captured(1).toDouble());
        if (auto m = shownRe.match(out); m.hasMatch())
            shown.push_back(m.captured(1).toDouble());
    }
    std::printf("startup %s keyword %s, %d runs: median process time %.0f ms, median splash painted at %.0f ms",
                qPrintable(demo.settings.engineName()), qPrintable(keyword), runs, median(total), median(splash));
    if (!shown.empty())
        std::printf(", median window shown at %.0f ms", median(shown));
    else
        std::printf(", no module window for this keyword");
    std::printf("\n");
    return 0;
}

int demoBuild(const QStringList &a)
{
    DemoBuilder::Options o;
    o.products = intOption(a, QStringLiteral("--products"), 200000);
    o.customers = intOption(a, QStringLiteral("--customers"), 100000);
    QElapsedTimer t;
    t.start();
    BenchDemo demo(o);
    std::printf("demo %s with %d products and %d customers built in %.1f s\n", qPrintable(demo.settings.engineName()), o.products,
                o.customers, t.elapsed() / 1000.0);
    return 0;
}

int words(const QStringList &a)
{
    const int n = intOption(a, QStringLiteral("--count"), 200000);
    QElapsedTimer t;
    t.start();
    qsizetype sink = 0;
    for (int i = 0; i < n; ++i)
        sink += ThaiBahtText(2, 1234567.25 + i).size();
    const double baht = n / (t.nsecsElapsed() / 1e9);
    t.restart();
    double acc = 0;
    for (int i = 0; i < n; ++i)
        acc += RoundValue(15, 2, 2.675 + i * 0.001);
    const double round = n / (t.nsecsElapsed() / 1e9);
    std::printf("ThaiBahtText %.0f calls/s, RoundValue %.0f calls/s (checksum %lld %.2f)\n", baht, round, static_cast<long long>(sink), acc);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments().mid(1);
    const QString cmd = a.value(0);
    try {
        if (cmd == QLatin1String("numbering"))
            return numbering(a);
        if (cmd == QLatin1String("startup"))
            return startup(a);
        if (cmd == QLatin1String("demo"))
            return demoBuild(a);
        if (cmd == QLatin1String("words"))
            return words(a);
    } catch (const DbError &e) {
        std::fprintf(stderr, "qlxbench: %s\n", e.message().toUtf8().constData());
        return 1;
    }
    std::fprintf(stderr, "usage: qlxbench numbering [--procs N --count N] | startup [--runs N --keyword K] | "
                         "demo [--products N --customers N] | words [--count N]\n"
                         "The engine is chosen as for qlxhost (QLX_DB_ENGINE=postgres with QLX_PG_HOST for the server).\n");
    return 2;
}
