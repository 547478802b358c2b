#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TF_SearchCustomer.h"
#include "lookup/TF_SearchCustomerPos.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaGetCustomer.h"
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// A module window holding the customer frame and one more box to leave it for.
struct Host : QWidget
{
    TFaGetCustomer *Frame;
    QLineEdit *Next;
    Host()
    {
        auto *lay = new QVBoxLayout(this);
        Frame = new TFaGetCustomer(this);
        Next = new QLineEdit(this);
        lay->addWidget(Frame);
        lay->addWidget(Next);
    }
};
} // namespace

class TstCustomerSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;

    Connection &db() { return s->dm->DMDATA(); }
    static QStringList codes(TFrSearch *d)
    {
        QStringList out;
        for (int r = 0; r < d->result()->rowCount(); ++r)
            out << dbText(d->result()->value(r, QStringLiteral("Code"))).trimmed();
        return out;
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void filters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("includeBlocked");
        QTest::addColumn<QStringList>("found");
        const QStringList open{QStringLiteral("C0001"), QStringLiteral("C0002"), QStringLiteral("C0003"), QStringLiteral("C0004"),
                               QStringLiteral("C0005")};
        QTest::newRow("all blank: every unblocked customer") << QString() << QString() << false << open;
        QTest::newRow("include blocked") << QString() << QString() << true << (open + QStringList{QStringLiteral("C0006")});
        QTest::newRow("Thai name contains") << QStringLiteral("EdName") << QStringLiteral("ขอนแก่น") << false << QStringList{QStringLiteral("C0003")};
        QTest::newRow("English name contains") << QStringLiteral("EdNameEng") << QStringLiteral("C0002") << false << QStringList{QStringLiteral("C0002")};
        QTest::newRow("code prefix") << QStringLiteral("EdCusCode") << QStringLiteral("c0004") << false << QStringList{QStringLiteral("C0004")};
        QTest::newRow("code is a prefix, not contained") << QStringLiteral("EdCusCode") << QStringLiteral("0004") << false << QStringList{};
        QTest::newRow("phone contains") << QStringLiteral("EdPhone") << QStringLiteral("555-015") << false << QStringList{QStringLiteral("C0005")};
        QTest::newRow("salesman prefix") << QStringLiteral("EdSalesman") << QStringLiteral("S0") << false << open;
        QTest::newRow("other salesman") << QStringLiteral("EdSalesman") << QStringLiteral("S002") << false << QStringList{};
        QTest::newRow("province") << QStringLiteral("EdProvince") << QStringLiteral("01") << false
                                  << QStringList{QStringLiteral("C0001"), QStringLiteral("C0004")};
        QTest::newRow("quote is a value") << QStringLiteral("EdName") << QStringLiteral("' OR ''='") << false << QStringList{};
    }
    void filters()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(bool, includeBlocked);
        QFETCH(QStringList, found);
        TF_SearchCustomer d;
        d.IncludeBlocked = includeBlocked;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(QApplication::focusWidget(), d.EdName);
        QLineEdit *target = box == QLatin1String("EdProvince") ? d.FaProvince->EdCode : d.findChild<QLineEdit *>(box);
        if (target) {
            target->clear();
            target->setFocus();
            typeText(target, text);
            QTest::keyClick(target, Qt::Key_Return);
        } else {
            d.EdName->clear();
            QTest::keyClick(d.EdName, Qt::Key_Return);
        }
        QCOMPARE(codes(&d), found);
        if (found.isEmpty())
            return;
        QCOMPARE(QApplication::focusWidget(), d.DgSearch);
        QTest::keyClick(d.DgSearch, Qt::Key_Return);
        QCOMPARE(d.ReturnValue, found.first());
        QCOMPARE(d.ReturnName, dbText(db().scalar(QStringLiteral("SELECT Name FROM Customer WHERE Code = :c"), {{QStringLiteral("c"), found.first()}})));
    }

    void addressAndSalesmanShown()
    {
        db().exec(QStringLiteral("UPDATE Customer SET Address1 = ' 12 ถนนพระราม 4 ', Address2 = NULL, Address3 = 'แขวงคลองเตย' WHERE Code = 'C0001'"));
        TF_SearchCustomer d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClicks(d.EdCusCode, QStringLiteral("C0001"));
        d.EdCusCode->setFocus();
        QTest::keyClick(d.EdCusCode, Qt::Key_Return);
        QCOMPARE(codes(&d), QStringList{QStringLiteral("C0001")});
        QCOMPARE(dbText(d.result()->value(0, QStringLiteral("Description"))), QStringLiteral("12 ถนนพระราม 4  แขวงคลองเตย กรุงเทพมหานคร"));
        QCOMPARE(dbText(d.result()->value(0, QStringLiteral("SalesName"))), QStringLiteral("สมชาย ใจดี"));
        d.grab().save(QDir::temp().filePath(QStringLiteral("qlx_customer_search.png")));
        QTest::keyClick(d.DgSearch, Qt::Key_Escape);
        QVERIFY(d.ReturnValue.isEmpty());
        QVERIFY(d.ReturnName.isEmpty());
    }

    void leavingTheFrame_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("codeTax");
        QTest::newRow("open customer") << QStringLiteral("C0001") << false << QStringLiteral("V7");
        QTest::newRow("blocked customer") << QStringLiteral("C0006") << true << QString();
        QTest::newRow("typed in lower case") << QStringLiteral("c0003") << false << QStringLiteral("V7");
    }
    void leavingTheFrame()
    {
        QFETCH(QString, code);
        QFETCH(bool, refused);
        QFETCH(QString, codeTax);
        Host h;
        h.show();
        QVERIFY(QTest::qWaitForWindowActive(&h));
        h.Frame->EdCode->setFocus();
        QVERIFY(h.Frame->BtSearch->isEnabled());
        QTest::keyClicks(h.Frame->EdCode, code);
        QTest::keyClick(h.Frame->EdCode, Qt::Key_Tab);
        QCOMPARE(s->dialogs->contains(TFaGetCustomer::blockedMessage()), refused);
        QVERIFY(!h.Frame->BtSearch->isEnabled() || refused);
        if (refused) {
            QVERIFY(h.Frame->EdCode->text().isEmpty());
            QVERIFY(h.Frame->CustomerRow.isEmpty());
            QTRY_COMPARE(QApplication::focusWidget(), h.Frame->EdCode);
        } else {
            QCOMPARE(h.Frame->EdCode->text(), code.toUpper());
            QCOMPARE(h.Frame->LbName->text(), dbText(db().scalar(QStringLiteral("SELECT Name FROM Customer WHERE Code = :c"), {{QStringLiteral("c"), code.toUpper()}})));
            QCOMPARE(dbText(h.Frame->CustomerRow.value(QStringLiteral("CodeTax"))), codeTax);
            QCOMPARE(dbText(h.Frame->CustomerRow.value(QStringLiteral("SalesmanCode"))), QStringLiteral("S001"));
            QVERIFY(h.Frame->id() > 0);
        }
    }

    // The head office is the second demo company; the choice is copied into DEMO.
    void headOfficeCopy_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("localId");
        QTest::newRow("new customer") << QStringLiteral("H0001") << QStringLiteral("บริษัท สุรินทร์ค้าส่ง จำกัด") << qint64(0);
        QTest::newRow("existing customer keeps its id") << QStringLiteral("C0002") << QStringLiteral("ห้างเชียงใหม่วัสดุ (สำนักงานใหญ่)") << qint64(2);
    }
    void headOfficeCopy()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(qint64, localId);
        auto head = env->connect(DemoBuilder::secondCompany);
        const qint64 province = head->insertReturningId(QStringLiteral("INSERT INTO Misc (GroupCode, Code, Description) VALUES ('PROVINCE', '77', 'สุรินทร์')"));
        const qint64 salesman = head->insertReturningId(QStringLiteral("INSERT INTO Salesman (Code, Name, Blocked) VALUES ('S009', 'สมปอง ภาคอีสาน', 'N')"));
        const qint64 group = head->insertReturningId(QStringLiteral("INSERT INTO CustomerGroup (Code, Description) VALUES ('EAST', 'ภาคตะวันออก')"));
        head->exec(QStringLiteral("INSERT INTO Customer (Code, Name, EngName, Province, Salesman, CustomerGroup, CreditLimit, CreditDays, Blocked, DelFlag) "
                                  "VALUES ('H0001', 'บริษัท สุรินทร์ค้าส่ง จำกัด', 'Surin Wholesale', :p, :s, :g, 150000.5, 45, 'N', 'N')"),
                   {{QStringLiteral("p"), province}, {QStringLiteral("s"), salesman}, {QStringLiteral("g"), group}});
        head->exec(QStringLiteral("UPDATE Customer SET Name = 'ห้างเชียงใหม่วัสดุ (สำนักงานใหญ่)', CreditLimit = 7.25 WHERE Code = 'C0002'"));
        db().exec(QStringLiteral("UPDATE Config SET UseCustomerLinkHead = 'Y', MainDbName = :n, MainServerIP = ''"), {{QStringLiteral("n"), DemoBuilder::secondCompany}});
        s->dm->ReopenConfig();
        const qint64 localProvinces = db().scalar(QStringLiteral("SELECT Count(*) FROM Misc")).toLongLong();

        Host h;
        h.show();
        QVERIFY(QTest::qWaitForWindowActive(&h));
        h.Frame->EdCode->setFocus();
        QString title;
        bool typed = false;
        QTimer::singleShot(300, [&] {
            auto *d = qobject_cast<TF_SearchCustomerPos *>(QApplication::activeModalWidget());
            if (!d)
                return;
            title = d->windowTitle();
            d->EdCusCode->setFocus();
            QTest::keyClicks(d->EdCusCode, code);
            QTest::keyClick(d->EdCusCode, Qt::Key_Return);
            typed = true;
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
        });
        QVERIFY(h.Frame->BtSearch->isEnabled());
        QTest::mouseClick(h.Frame->BtSearch, Qt::LeftButton);
        QVERIFY(typed);
        QCOMPARE(title, TF_SearchCustomerPos::onlineTitle());
        QCOMPARE(h.Frame->EdCode->text(), code);

        auto q = db().exec(QStringLiteral("SELECT C.Id, C.Name, C.CreditLimit, P.Code, P.Description, P.Blocked, S.Id, C.CustomerGroup FROM Customer C "
                                          "LEFT JOIN Misc P ON P.Id = C.Province LEFT JOIN Salesman S ON S.Id = C.Salesman WHERE C.Code = :c"),
                           {{QStringLiteral("c"), code}});
        QVERIFY(q.next());
        if (localId)
            QCOMPARE(q.value(0).toLongLong(), localId);
        QCOMPARE(dbText(q.value(1)), name);
        if (localId == 0) {
            QCOMPARE(Decimal::fromString(q.value(2).toString()).toString().toDouble(), 150000.5);
            QCOMPARE(dbText(q.value(3)), QStringLiteral("77"));
            QCOMPARE(dbText(q.value(4)), QStringLiteral("สุรินทร์"));
            QCOMPARE(dbText(q.value(5)), QStringLiteral("N"));
            QCOMPARE(db().scalar(QStringLiteral("SELECT Count(*) FROM Misc")).toLongLong(), localProvinces + 1);
            // Salesman S009 and group EAST are unknown here: the lowest local ids.
            QCOMPARE(q.value(6).toLongLong(), db().scalar(QStringLiteral("SELECT Min(Id) FROM Salesman")).toLongLong());
            QCOMPARE(q.value(7).toLongLong(), db().scalar(QStringLiteral("SELECT Min(Id) FROM CustomerGroup")).toLongLong());
        } else {
            QCOMPARE(db().scalar(QStringLiteral("SELECT Count(*) FROM Customer WHERE Code = :c"), {{QStringLiteral("c"), code}}).toInt(), 1);
            QCOMPARE(db().scalar(QStringLiteral("SELECT Count(*) FROM Misc")).toLongLong(), localProvinces);
        }
        // Leaving the box reads the copied row from the company database.
        QTest::keyClick(h.Frame->EdCode, Qt::Key_Tab);
        QCOMPARE(h.Frame->LbName->text(), name);
        QVERIFY(h.Frame->id() > 0);
    }

    void headOfficeUnavailable_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("searchOpens");
        QTest::newRow("head-office database missing") << QStringLiteral("NO_SUCH_HQ") << QString() << false;
        if (TestEnv::wantsPostgres()) // the server listens on 127.0.0.1 only
            QTest::newRow("server does not answer: offline") << DemoBuilder::secondCompany << QStringLiteral("127.0.0.2") << true;
    }
    void headOfficeUnavailable()
    {
        QFETCH(QString, database);
        QFETCH(QString, server);
        QFETCH(bool, searchOpens);
        db().exec(QStringLiteral("UPDATE Config SET UseCustomerLinkHead = 'Y', MainDbName = :n, MainServerIP = :s"),
                  {{QStringLiteral("n"), database}, {QStringLiteral("s"), server}});
        s->dm->ReopenConfig();
        const qint64 customers = db().scalar(QStringLiteral("SELECT Count(*) FROM Customer")).toLongLong();
        Host h;
        h.show();
        QVERIFY(QTest::qWaitForWindowActive(&h));
        h.Frame->EdCode->setFocus();
        QString title;
        QTimer::singleShot(300, [&] {
            auto *d = qobject_cast<TF_SearchCustomerPos *>(QApplication::activeModalWidget());
            if (!d)
                return;
            title = d->windowTitle();
            d->EdCusCode->setFocus();
            QTest::keyClicks(d->EdCusCode, QStringLiteral("C0003"));
            QTest::keyClick(d->EdCusCode, Qt::Key_Return);
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
        });
        QTest::mouseClick(h.Frame->BtSearch, Qt::LeftButton);
        if (!searchOpens) {
            QTest::qWait(400);
            QVERIFY(title.isEmpty());
            QVERIFY(!s->dialogs->entries.isEmpty()); // the database's error was reported
            QVERIFY(h.Frame->EdCode->text().isEmpty());
            return;
        }
        QCOMPARE(title, TF_SearchCustomerPos::offlineTitle());
        QCOMPARE(h.Frame->EdCode->text(), QStringLiteral("C0003"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT Count(*) FROM Customer")).toLongLong(), customers);
    }

    void headOfficeProbe()
    {
        QVERIFY(TFaGetCustomer::headOfficeReachable(QString(), DemoBuilder::secondCompany, 1));
        if (TestEnv::wantsPostgres()) // the server listens on 127.0.0.1 only
            QVERIFY(!TFaGetCustomer::headOfficeReachable(QStringLiteral("127.0.0.2"), DemoBuilder::secondCompany, 2));
        else
            QVERIFY(!TFaGetCustomer::headOfficeReachable(QString(), QStringLiteral("NO_SUCH_HEAD_OFFICE"), 4));
    }
};

QTEST_MAIN(TstCustomerSearch)
#include "tst_customersearch.moc"
