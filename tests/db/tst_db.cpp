#include "TestEnv.h"
#include "core/Decimal.h"
#include "db/ServerProcedures.h"
#include <QProcess>
#include <QSet>
#include <QtTest>

class TstDb : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<Connection> company;
    int year = QDate::currentDate().year();

    QString yy(int y) const { return QString::number(y % 100).rightJustified(2, QLatin1Char('0')); }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        company = env->connect(QStringLiteral("DEMO"));
    }
    void cleanup()
    {
        company.reset();
        env.reset();
    }

    void namesMatchWithoutCase()
    {
        QCOMPARE(Engine::resolveDatabase(QStringLiteral("demo")).toUpper(), QStringLiteral("DEMO"));
        QVERIFY(Engine::resolveDatabase(QStringLiteral("NOSUCH")).isEmpty());
        auto c = env->connect(QStringLiteral("  Demo "));
        QCOMPARE(c->scalar(QStringLiteral("SELECT COUNT(*) FROM Config")).toInt(), 1);
        // Codes compare without regard to case, as on the suite's server.
        QCOMPARE(c->scalar(QStringLiteral("SELECT Code FROM Product WHERE Code = :c"), {{QStringLiteral("c"), QStringLiteral("p0001")}}).toString(),
                 QStringLiteral("P0001"));
    }

    void schemaChecks()
    {
        const Dialect &d = company->dialect();
        QVERIFY(d.hasTable(*company, QStringLiteral(" product ")));
        QVERIFY(!d.hasTable(*company, QStringLiteral("NoSuchTable")));
        QVERIFY(d.hasColumn(*company, QStringLiteral("PRODUCT"), QStringLiteral("thainame")));
        QVERIFY(!d.hasColumn(*company, QStringLiteral("Product"), QStringLiteral("NewFlag")));
        const ColumnDef flag{QStringLiteral("NewFlag"), ColType::CharFlag, 1};
        d.addColumn(*company, QStringLiteral("Product"), flag);
        d.addColumn(*company, QStringLiteral("Product"), flag); // a second run changes nothing
        QVERIFY(d.hasColumn(*company, QStringLiteral("Product"), QStringLiteral("NEWFLAG")));
        company->exec(QStringLiteral("UPDATE Product SET NewFlag = 'Y' WHERE Code = 'P0001'"));
        QCOMPARE(company->scalar(QStringLiteral("SELECT NewFlag FROM Product WHERE Code = 'P0001'")).toString(), QStringLiteral("Y"));
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<QString>("rate");
        QTest::newRow("six decimals") << QStringLiteral("34.123456");
        QTest::newRow("large") << QStringLiteral("12345678.654321");
        QTest::newRow("negative") << QStringLiteral("-0.000001");
        QTest::newRow("binary inexact") << QStringLiteral("2.675");
    }
    void valuesRoundTrip()
    {
        QFETCH(QString, rate);
        const Decimal v = Decimal::fromString(rate);
        const qint64 id = company->insertReturningId(
            QStringLiteral("INSERT INTO CurrencyEx (Currency, ExchangeDate, PurcRate) VALUES (1, :d, :r)"),
            {{QStringLiteral("d"), QDate(2026, 2, 28)}, {QStringLiteral("r"), QVariant::fromValue(v)}});
        QVERIFY(id > 0);
        auto q = company->exec(QStringLiteral("SELECT PurcRate, ExchangeDate FROM CurrencyEx WHERE Id = :id"), {{QStringLiteral("id"), id}});
        QVERIFY(q.next());
        QCOMPARE(decimalFromVariant(q.value(0)), v);
        QCOMPARE(dbDate(q.value(1)), QDate(2026, 2, 28));
    }

    void errorsCarryServerWording_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("duplicate") << QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH01', 'x')")
                                   << QStringLiteral("Cannot insert duplicate");
        QTest::newRow("null warehouse") << QStringLiteral("INSERT INTO UserWarehouse (UserName) VALUES (1)")
                                        << QStringLiteral("Cannot insert the value NULL into column 'Warehouse'");
        QTest::newRow("null vendor") << QStringLiteral("INSERT INTO PartSource (ProductUnits) VALUES (1)")
                                     << QStringLiteral("Cannot insert the value NULL into column 'Vendor'");
    }
    void errorsCarryServerWording()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        try {
            company->exec(sql);
            QFAIL("the statement should have failed");
        } catch (const DbError &e) {
            // The explanations are matched in upper case, so only the letters count.
            QVERIFY2(e.message().toUpper().contains(expected.toUpper()), qPrintable(e.message()));
        }
    }

    void lostConnectionIsANetworkError()
    {
        if (company->engine() == EngineKind::Postgres) {
            company->scalar(QStringLiteral("SELECT 1"));
            auto killer = env->connect(QStringLiteral("DEMO"));
            const int pid = company->scalar(QStringLiteral("SELECT pg_backend_pid()")).toInt();
            killer->exec(QStringLiteral("SELECT pg_terminate_backend(:p)"), {{QStringLiteral("p"), pid}});
            QTest::qWait(100);
            try {
                company->scalar(QStringLiteral("SELECT 1"));
                QFAIL("the statement should have failed");
            } catch (const DbError &e) {
                QVERIFY2(e.message().toUpper().contains(QStringLiteral("POSSIBLE NETWORK ERROR")), qPrintable(e.message()));
            }
            // The next statement connects again.
            QCOMPARE(company->scalar(QStringLiteral("SELECT 1")).toInt(), 1);
        } else {
            auto missing = env->connect(QStringLiteral("GONE"));
            QVERIFY_THROWS_EXCEPTION(DbError, missing->scalar(QStringLiteral("SELECT 1")));
            try {
                missing->scalar(QStringLiteral("SELECT 1"));
            } catch (const DbError &e) {
                QVERIFY(e.message().startsWith(QStringLiteral("Possible network error")));
            }
        }
    }

    void newDocumentNo()
    {
        const QString p = QStringLiteral("PG") + yy(year);
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-GEN"), year), p + QStringLiteral("000001"));
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("pj-gen"), year), p + QStringLiteral("000002"));
        // The old code is converted and draws from the same series.
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-OLD"), year), p + QStringLiteral("000003"));
        // Last year's series is its own.
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-GEN"), year - 1), QStringLiteral("PG") + yy(year - 1) + QStringLiteral("000001"));
        // No prefix: the number alone, padded to the whole length.
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-MAN"), year), QStringLiteral("00000001"));
        QVERIFY_THROWS_EXCEPTION(DbError, ServerProc::NewDocumentNo(*company, QStringLiteral("NOPE"), year));
        QVERIFY_THROWS_EXCEPTION(DbError, ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-GEN"), year + 5));
    }

    void numberLongerThanItsLength()
    {
        company->exec(QStringLiteral("UPDATE DocumentNo SET LastNo = 999999 WHERE Code = 'PJ-GEN' AND DocYear = :y"), {{QStringLiteral("y"), year}});
        // Never cut: the number grows past the length instead of repeating.
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJ-GEN"), year), QStringLiteral("PG") + yy(year) + QStringLiteral("1000000"));
    }

    void rolledBackNumberIsDrawnAgain()
    {
        {
            Transaction tx(*company);
            QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJCODE"), year), QStringLiteral("PJ") + yy(year) + QStringLiteral("000001"));
        } // rolled back
        QVERIFY(!company->inTransaction());
        QCOMPARE(ServerProc::NewDocumentNo(*company, QStringLiteral("PJCODE"), year), QStringLiteral("PJ") + yy(year) + QStringLiteral("000001"));
    }

    void concurrentProcessesNeverShareANumber()
    {
        const int procs = 4, count = 60;
        std::vector<std::unique_ptr<QProcess>> ps;
        for (int i = 0; i < procs; ++i) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env->processEnvironment());
            p->start(QStringLiteral(QLXDB_PATH), {QStringLiteral("draw-numbers"), QStringLiteral("DEMO"), QStringLiteral("PJ-GEN"),
                                                   QString::number(year), QString::number(count)});
            ps.push_back(std::move(p));
        }
        QStringList all;
        for (auto &p : ps) {
            QVERIFY(p->waitForFinished(120000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            all += QString::fromUtf8(p->readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        QCOMPARE(all.size(), procs * count);
        const QSet<QString> unique(all.begin(), all.end());
        QCOMPARE(unique.size(), procs * count);
        // And none was skipped: the series ends exactly at the count drawn.
        QCOMPARE(company->scalar(QStringLiteral("SELECT LastNo FROM DocumentNo WHERE Code = 'PJ-GEN' AND DocYear = :y"), {{QStringLiteral("y"), year}}).toInt(),
                 procs * count);
    }

    void insertReturnsNewId()
    {
        const qint64 a = company->insertReturningId(QStringLiteral("INSERT INTO Misc (GroupCode, Code, Description) VALUES ('T', 'A', 'ก')"));
        const qint64 b = company->insertReturningId(QStringLiteral("INSERT INTO Misc (GroupCode, Code, Description) VALUES ('T', 'B', 'ข')"));
        QVERIFY(b > a);
        QCOMPARE(company->scalar(QStringLiteral("SELECT Description FROM Misc WHERE Id = :i"), {{QStringLiteral("i"), b}}).toString(), QStringLiteral("ข"));
    }

    void largeDemoIsGenerated()
    {
        DemoBuilder::generate(*company, {500, 300, 0});
        QCOMPARE(company->scalar(QStringLiteral("SELECT COUNT(*) FROM Product WHERE Code LIKE 'G%'")).toInt(), 500);
        QCOMPARE(company->scalar(QStringLiteral("SELECT COUNT(*) FROM ProductUnits U JOIN Product P ON P.Id = U.Product WHERE P.Code LIKE 'G%'")).toInt(), 1500);
        QCOMPARE(company->scalar(QStringLiteral("SELECT COUNT(*) FROM Customer WHERE Code LIKE 'K%'")).toInt(), 300);
        QCOMPARE(company->scalar(QStringLiteral("SELECT ThaiName FROM Product WHERE Code = 'G0000042'")).toString(),
                 QStringLiteral("สินค้าทดสอบ 42 ขนาดมาตรฐาน"));
    }
};

QTEST_GUILESS_MAIN(TstDb)
#include "tst_db.moc"
