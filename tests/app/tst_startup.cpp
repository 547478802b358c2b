#include "TestEnv.h"
#include "app/Startup.h"
#include "lookup/ModuleRegistry.h"
#include <QApplication>
#include <QProcess>
#include <QtTest>

namespace {
// Stands in for a module window: remembers the mode it had when first shown.
class ProbeWindow : public QWidget
{
public:
    static inline QVariant modeAtShow;
    static inline int created = 0;
    ProbeWindow() { ++created; }

protected:
    void showEvent(QShowEvent *e) override
    {
        modeAtShow = property("Mode");
        QWidget::showEvent(e);
    }
};
}

class TstStartup : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    QString today = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

    int menuOf(const char *keyword)
    {
        auto c = env->connect(DemoBuilder::configDb);
        return c->scalar(QStringLiteral("SELECT Id FROM Menu WHERE MenuOption = :k"), {{QStringLiteral("k"), QLatin1String(keyword)}}).toInt();
    }

    struct Run
    {
        int exitCode = -1;
        QString out, err;
        qint64 ms = 0;
    };
    Run runProcess(const QStringList &args)
    {
        QProcess p;
        auto e = env->processEnvironment();
        e.insert(QStringLiteral("QLXHOST_UNATTENDED"), QStringLiteral("1"));
        e.insert(QStringLiteral("QLXHOST_QUIT_AFTER_SHOW"), QStringLiteral("1"));
        p.setProcessEnvironment(e);
        p.setWorkingDirectory(env->folder());
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral(QLXHOST_PATH), args);
        Run r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            return r;
        }
        r.ms = t.elapsed();
        r.exitCode = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

private slots:
    void initTestCase()
    {
        QLX_REQUIRE_ENGINE();
        ModuleRegistry::add(QStringLiteral("TFrCloseProject"), [] { return new ProbeWindow; });
        ModuleRegistry::add(QStringLiteral("TFrJobTran"), [] { return new ProbeWindow; });
        ModuleRegistry::add(QStringLiteral("TFrProductQuota"), [] { return new ProbeWindow; });
        ModuleRegistry::add(QStringLiteral("TFrCommTable"), [] { return new ProbeWindow; });
        qputenv("QLXHOST_QUIT_AFTER_SHOW", "1");
    }
    void init()
    {
        env = std::make_unique<TestEnv>();
        ProbeWindow::modeAtShow = QVariant();
        ProbeWindow::created = 0;
    }
    void cleanup() { env.reset(); }

    void processFailures_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrHas");
        const QString d = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
        QTest::newRow("no argument") << QStringList{} << 0 << QString();
        QTest::newRow("bad date") << QStringList{"8", "1", "DEMO", "x", "PROJECT", "31/02/2026"} << 1 << QStringLiteral("qlxhost: error: '31/02/2026' is not a valid date");
        QTest::newRow("two-digit year") << QStringList{"8", "1", "DEMO", "x", "PROJECT", "01/12/26"} << 1 << QStringLiteral("is not a valid date");
        QTest::newRow("menu id not a number") << QStringList{"8a", "1", "DEMO", "x", "PROJECT", d} << 1 << QStringLiteral("'8a' is not a valid integer value");
        QTest::newRow("user id not a number") << QStringList{"8", "", "DEMO", "x", "PROJECT", d} << 1 << QStringLiteral("'' is not a valid integer value");
        QTest::newRow("too few arguments") << QStringList{"8"} << 1 << QStringLiteral("is not a valid date");
        QTest::newRow("unknown company") << QStringList{"8", "1", "nope", "x", "PROJECT", d} << 0 << QStringLiteral("qlxhost: information: Not Found Database : NOPE");
        QTest::newRow("unknown keyword") << QStringList{"8", "1", "DEMO", "x", "NOSUCH", d} << 0 << QString();
    }
    void processFailures()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrHas);
        const Run r = runProcess(args);
        QCOMPARE(r.exitCode, exitCode);
        if (stderrHas.isEmpty())
            QVERIFY2(!r.err.contains(QLatin1String("qlxhost:")), qPrintable(r.err));
        else
            QVERIFY2(r.err.contains(stderrHas), qPrintable(r.err));
        QVERIFY2(!r.out.contains(QLatin1String("shown")), qPrintable(r.out));
    }

    void unreachableServerEndsWithTheMessage()
    {
        if (!TestEnv::wantsPostgres())
            QSKIP("a server engine only");
        auto e = env->processEnvironment();
        QProcess p;
        e.insert(QStringLiteral("QLXHOST_UNATTENDED"), QStringLiteral("1"));
        e.insert(QStringLiteral("QLX_PG_PORT"), QStringLiteral("1")); // nothing listens there
        p.setProcessEnvironment(e);
        p.start(QStringLiteral(QLXHOST_PATH), {QStringLiteral("8"), QStringLiteral("1"), QStringLiteral("DEMO"), QStringLiteral("x"), QStringLiteral("PROJECT"), today});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(QLatin1String("qlxhost: error: Possible network error")), qPrintable(err));
        QVERIFY(!err.contains(QLatin1String("marlitov")));
    }

    void keywordSetsTheMode_data()
    {
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QVariant>("mode");
        QTest::newRow("close") << QByteArray("CLOSEPROJECT") << QVariant(QStringLiteral("CLOSE"));
        QTest::newRow("cancel") << QByteArray("CANCELPROJECT") << QVariant(QStringLiteral("CANCEL"));
        QTest::newRow("job receipt") << QByteArray("JOBTRAN") << QVariant(0);
        QTest::newRow("job repair") << QByteArray("JOBFIX") << QVariant(1);
        QTest::newRow("no mode") << QByteArray("QUOTA") << QVariant();
    }
    void keywordSetsTheMode()
    {
        QFETCH(QByteArray, keyword);
        QFETCH(QVariant, mode);
        ScriptedDialogs *d = new ScriptedDialogs;
        auto previous = UserDialogs::install(std::unique_ptr<UserDialogs>(d));
        QElapsedTimer t;
        t.start();
        const int rc = runHost({QString::number(menuOf(keyword.constData())), QStringLiteral("1"), QStringLiteral("DEMO"),
                                QStringLiteral("anything"), QString::fromLatin1(keyword), today}, t);
        const QStringList texts = d->texts();
        UserDialogs::install(std::move(previous));
        QCOMPARE(rc, 0);
        QCOMPARE(ProbeWindow::created, 1);
        QCOMPARE(ProbeWindow::modeAtShow, mode);
        QVERIFY2(texts.isEmpty(), qPrintable(texts.join(QLatin1Char('|'))));
        // The services are gone with the host.
        QVERIFY(!TDM::instance());
        QVERIFY(!TDMConfig::instance());
    }

    void nothingOpens_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<int>("userId");
        QTest::addColumn<int>("menuVersion"); // 0: as built
        QTest::addColumn<QString>("message");
        QTest::newRow("lower-case keyword") << QStringLiteral("quota") << 1 << 0 << QString();
        QTest::newRow("prefix of a keyword") << QStringLiteral("QUOT") << 1 << 0 << QString();
        QTest::newRow("no access") << QStringLiteral("COMMISSION") << 3 << 0 << QString();
        QTest::newRow("newer version") << QStringLiteral("QUOTA") << 1 << 4 << QStringLiteral("กรุณา อัพเดท โปรแกรม Version ใหม่ด้วยค่ะ !!");
    }
    void nothingOpens()
    {
        QFETCH(QString, keyword);
        QFETCH(int, userId);
        QFETCH(int, menuVersion);
        QFETCH(QString, message);
        const int menu = menuOf(keyword.toUpper() == QLatin1String("QUOT") ? "QUOTA" : keyword.toUpper().toLatin1().constData());
        auto c = env->connect(DemoBuilder::configDb);
        // Version left empty: the check must still run for a user without access.
        c->exec(QStringLiteral("UPDATE Menu SET Version = :v WHERE Id = :m"),
                {{QStringLiteral("v"), menuVersion ? QVariant(menuVersion) : QVariant()}, {QStringLiteral("m"), menu}});
        auto *d = new ScriptedDialogs;
        auto previous = UserDialogs::install(std::unique_ptr<UserDialogs>(d));
        QElapsedTimer t;
        t.start();
        const int rc = runHost({QString::number(menu), QString::number(userId), QStringLiteral("DEMO"), QStringLiteral("x"), keyword, today}, t);
        const QStringList texts = d->texts();
        UserDialogs::install(std::move(previous));
        QCOMPARE(rc, 0);
        QCOMPARE(ProbeWindow::created, 0);
        QCOMPARE(texts, message.isEmpty() ? QStringList{} : QStringList{message});
        QCOMPARE(c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Id = :m"), {{QStringLiteral("m"), menu}}).toInt(),
                 menuVersion ? menuVersion : 3);
        // Returned at once: no event loop waited for input.
        QVERIFY(t.elapsed() < 20000);
    }

    void shownWindowIsReportedWithItsTime()
    {
        // The probe is not in the real program, so use the process only for a
        // keyword the program builds; here the report line comes from runHost.
        ScriptedDialogs *d = new ScriptedDialogs;
        auto previous = UserDialogs::install(std::unique_ptr<UserDialogs>(d));
        QElapsedTimer t;
        t.start();
        const int rc = runHost({QString::number(menuOf("QUOTA")), QStringLiteral("1"), QStringLiteral("DEMO"), QStringLiteral("x"),
                                QStringLiteral("QUOTA"), today}, t);
        UserDialogs::install(std::move(previous));
        QCOMPARE(rc, 0);
        QCOMPARE(ProbeWindow::created, 1);
        // No splash is left behind once the window has been shown.
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), w->metaObject()->className());
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
