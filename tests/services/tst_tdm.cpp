#include "TestEnv.h"
#include "core/Decimal.h"
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

class TstTdm : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    int year = QDate::currentDate().year();

    QString yy(int y) const { return QString::number(y % 100).rightJustified(2, QLatin1Char('0')); }
    const QSqlRecord *currency(const QString &code)
    {
        for (const auto &r : s->dm->CurrencyList())
            if (r.value(QStringLiteral("Code")).toString() == code)
                return &r;
        return nullptr;
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>(8, 1, QStringLiteral("  DEMO  "));
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void connectLoadsTheCompany()
    {
        auto *splash = new QWidget;
        QPointer<QWidget> watch(splash);
        s->dm->setSplash(splash);
        QVERIFY(!s->dm->DMDATA().isOpen());
        QCOMPARE(s->dm->DMDATA().scalar(QStringLiteral("SELECT COUNT(*) FROM NullTable")).toInt(), 1);
        // Blanks around the command-line name are dropped, its case kept.
        QCOMPARE(s->dm->CompanyDbName, QStringLiteral("DEMO"));
        QVERIFY(watch.isNull());
        QCOMPARE(s->dm->MainCurrencyName, QStringLiteral("บาท"));
        QCOMPARE(s->dm->config(QStringLiteral("MainCurrencyCode")).toString(), QStringLiteral("THB"));
        QCOMPARE(s->dm->config(QStringLiteral("RunYear")).toInt(), year);
        QVERIFY(s->dm->MainCurrencyId > 0);
        QCOMPARE(s->dm->AccountPeriods().size(), 2);
        QCOMPARE(s->dm->AccountPeriods().first().value(QStringLiteral("accountyear")).toInt(), year);
    }

    void currencyListTakesTheNewestDateOnly()
    {
        const auto &list = s->dm->CurrencyList();
        QCOMPARE(list.size(), 4);
        QCOMPARE(list.at(0).value(QStringLiteral("Code")).toString(), QStringLiteral("THB"));
        QCOMPARE(decimalFromVariant(currency(QStringLiteral("USD"))->value(QStringLiteral("PurcRate"))), Decimal::fromString(u"34.50"));
        QCOMPARE(decimalFromVariant(currency(QStringLiteral("JPY"))->value(QStringLiteral("SaleRate"))), Decimal::fromString(u"0.2420"));
        // EUR's newest rate is older than the newest of all: no rate at all.
        QVERIFY(currency(QStringLiteral("EUR"))->value(QStringLiteral("PurcRate")).isNull());
    }

    void currencyRanksTiesTogether()
    {
        auto c = env->connect(QStringLiteral("DEMO"));
        const int eur = c->scalar(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = 'CURRENCY' AND Code = 'EUR'")).toInt();
        c->exec(QStringLiteral("INSERT INTO CurrencyEx (Currency, ExchangeDate, PurcRate, SaleRate) VALUES (:c, :d, 38.5, 39)"),
                {{QStringLiteral("c"), eur}, {QStringLiteral("d"), QDate(year, 1, 15)}});
        QCOMPARE(decimalFromVariant(currency(QStringLiteral("EUR"))->value(QStringLiteral("PurcRate"))), Decimal::fromString(u"38.5"));
        QVERIFY(!currency(QStringLiteral("USD"))->value(QStringLiteral("PurcRate")).isNull());
        // A newer rate for one currency alone leaves the others without rates.
        c->exec(QStringLiteral("INSERT INTO CurrencyEx (Currency, ExchangeDate, PurcRate, SaleRate) VALUES (:c, :d, 39, 40)"),
                {{QStringLiteral("c"), eur}, {QStringLiteral("d"), QDate(year, 2, 1)}});
        s->dm->DMDATA().close();
        s->dm->DMDATA().open();
        QVERIFY(currency(QStringLiteral("USD"))->value(QStringLiteral("PurcRate")).isNull());
        QVERIFY(currency(QStringLiteral("THB"))->value(QStringLiteral("PurcRate")).isNull());
        QCOMPARE(decimalFromVariant(currency(QStringLiteral("EUR"))->value(QStringLiteral("PurcRate"))), Decimal(39));
    }

    void documentLength_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("autoRun");
        QTest::addColumn<bool>("message");
        QTest::newRow("automatic") << QStringLiteral("PJCODE") << 10 << true << false;
        QTest::newRow("month form") << QStringLiteral("PJ03-MON") << 10 << true << false;
        QTest::newRow("manual") << QStringLiteral("PJ-MAN") << 8 << false << false;
        QTest::newRow("unknown") << QStringLiteral("XX-1") << 0 << false << true;
    }
    void documentLength()
    {
        QFETCH(QString, code);
        QFETCH(int, length);
        QFETCH(bool, autoRun);
        QFETCH(bool, message);
        s->dm->AutoRunFlag = !autoRun;
        QCOMPARE(s->dm->GetDocumentLength(code), length);
        QCOMPARE(s->dm->AutoRunFlag, autoRun);
        if (message)
            QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("ไม่พบรหัสเอกสาร %1\nปี %2").arg(code).arg(year)});
        else
            QVERIFY(s->dialogs->entries.isEmpty());
    }

    void documentLengthConversionFirst()
    {
        // A numbering row of the same code exists, but the conversion row wins and
        // leaves the automatic flag alone.
        auto c = env->connect(QStringLiteral("DEMO"));
        c->exec(QStringLiteral("INSERT INTO DocumentNo (Code, Prefix, LastNo, DocumentLength, AutoRun, DocYear) VALUES ('PJ-OLD', 'X', 0, 5, 'N', :y)"),
                {{QStringLiteral("y"), year}});
        s->dm->AutoRunFlag = true;
        QCOMPARE(s->dm->GetDocumentLength(QStringLiteral("PJ-OLD")), 10);
        QVERIFY(s->dm->AutoRunFlag);
        s->dm->AutoRunFlag = false;
        QCOMPARE(s->dm->GetDocumentLength(QStringLiteral("PJ-OLD")), 10);
        QVERIFY(!s->dm->AutoRunFlag);
    }

    void newDocumentNoUsesTheDatesYear()
    {
        QCOMPARE(s->dm->GetNewDocumentNo(QStringLiteral("PJ-GEN"), QDate(year, 6, 30)), QStringLiteral("PG") + yy(year) + QStringLiteral("000001"));
        QCOMPARE(s->dm->GetNewDocumentNo(QStringLiteral("PJ-GEN"), QDate(year - 1, 12, 31)), QStringLiteral("PG") + yy(year - 1) + QStringLiteral("000001"));
        QCOMPARE(s->dm->GetNewDocumentNo(QStringLiteral("PJ-GEN"), QDate(year, 1, 1)), QStringLiteral("PG") + yy(year) + QStringLiteral("000002"));
    }

    void actionLog()
    {
        s->cfg->UserId = 3;
        s->cfg->MenuId = 8;
        s->dm->AddActionLog(TDM::LogNew, 0, QStringLiteral("PJ26000001"));
        s->dm->AddActionLog(TDM::LogPreview, 0, QStringLiteral("ใบโครงการ"));
        auto q = s->dm->DMDATA().exec(QStringLiteral("SELECT UserId, MenuId, FunctionListId, DocumentId, Remark, LogDate FROM UserLog ORDER BY Id"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 3);
        QCOMPARE(q.value(1).toInt(), 8);
        QCOMPARE(q.value(2).toInt(), 1);
        QCOMPARE(q.value(3).toInt(), 0);
        QCOMPARE(q.value(4).toString(), QStringLiteral("PJ26000001"));
        QVERIFY(dbDateTime(q.value(5)).isValid());
        QVERIFY(q.next());
        QCOMPARE(q.value(2).toInt(), 10);
        QCOMPARE(q.value(4).toString(), QStringLiteral("ใบโครงการ"));
    }

    void serverTime()
    {
        const QDateTime t = s->dm->GetServerTime();
        QVERIFY(t.isValid());
        QVERIFY(qAbs(t.secsTo(QDateTime::currentDateTime())) < 120);
    }

    void confirmKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("answer");
        QTest::newRow("enter") << int(Qt::Key_Return) << true;
        QTest::newRow("escape") << int(Qt::Key_Escape) << false;
    }
    void confirmKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, answer);
        auto previous = UserDialogs::install(std::make_unique<WindowDialogs>());
        QColor seen;
        QTimer::singleShot(50, [&] {
            QWidget *w = QApplication::activeModalWidget();
            QVERIFY(w);
            seen = w->palette().color(QPalette::Window);
            QTest::keyClick(w, Qt::Key(key));
        });
        const bool result = s->dm->Confirm(QStringLiteral("จัดเก็บข้อมูล ?"));
        UserDialogs::install(std::move(previous));
        QCOMPARE(result, answer);
        QCOMPARE(seen, QColor(0, 0, 255));
    }
};

QTEST_MAIN(TstTdm)
#include "tst_tdm.moc"
