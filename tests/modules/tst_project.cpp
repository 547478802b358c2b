#include "TestEnv.h"
#include "TypeText.h"
#include "db/ServerProcedures.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFrSearch.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBuffer.h"
#include "app/Startup.h"
#include "modules/Modules.h"
#include "modules/projects/TFrProject.h"
#include "report/TReportPreview.h"
#include "report/ReportLayout.h"
#include "report/TFrPrintForm.h"
#include <QTreeWidget>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QtTest>

// The project register driven as a user drives it: type into the boxes, press
// Enter to move on, F5, F6, F8, F10; then read the rows.
namespace {

struct Printed
{
    QString docNo;
    int year = 0;
    QString code;
};

void grant(TestSession &s)
{
    s.cfg->CanAccess = s.cfg->CanAdd = s.cfg->CanModify = s.cfg->CanDelete = true;
    s.cfg->IsThai = true;
    s.cfg->MenuCaption = QStringLiteral("หน่วยงานโครงการ");
    s.cfg->CompanyName = QStringLiteral("บริษัท ตัวอย่าง จำกัด");
}

// Types into a box (its old text replaced) and presses Enter to leave it.
void enter(QWidget *box, const QString &text)
{
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
    if (auto *combo = qobject_cast<QComboBox *>(box))
        combo->lineEdit()->selectAll();
    else if (auto *e = qobject_cast<QLineEdit *>(box))
        e->selectAll();
    typeText(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

// Date, sub type and code (empty: drawn at save), then name and department.
void startProject(TFrProject &w, const QString &date, const QString &subType, const QString &code, const QString &name)
{
    enter(w.EdInputDate, date);
    enter(w.CbSubType, subType);
    enter(w.EdCode, code);
    enter(w.EdDescription, name);
    enter(w.FaDepartment->EdCode, QStringLiteral("D04"));
}

int year() { return QDate::currentDate().year(); }
QString yy() { return QString::number(year() % 100).rightJustified(2, QLatin1Char('0')); }
QString dateIn(int month, int day = 15) { return QStringLiteral("%1/%2/%3").arg(day, 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year()); }

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
int count(const QString &sql, const Params &p = {}) { return one(sql, p).toInt(); }
int lastNo(const QString &docCode)
{
    return count(QStringLiteral("Select LastNo From DocumentNo Where Code = :c And DocYear = :y"), {{"c", docCode}, {"y", year()}});
}

// Answers the next modal look-up with the row of the given code.
void answerLookup(const QString &code)
{
    QTimer::singleShot(0, [code] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d) {
            answerLookup(code);
            return;
        }
        QTRY_VERIFY(d->result()->rowCount() > 0);
        for (int r = 0; r < d->result()->rowCount(); ++r)
            if (dbText(d->result()->value(r, QStringLiteral("Code"))).trimmed() == code)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
    });
}

// A child process: saves new general projects as fast as it can and prints their codes.
int runSaver(int projects)
{
    TestSession s;
    grant(s);
    TFrProject w;
    w.PrintDocument = nullptr;
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        return 2;
    for (int i = 0; i < projects; ++i) {
        startProject(w, dateIn(2), QStringLiteral("GEN"), QString(), QStringLiteral("งานพร้อมกัน %1").arg(i));
        press(Qt::Key_F10);
        if (w.codePending() == false)
            return 3;
    }
    return 0;
}

} // namespace

class TstProject : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrProject> w;
    QList<Printed> printed;

    void open(bool realPrintDialog = false)
    {
        w = std::make_unique<TFrProject>();
        if (!realPrintDialog)
            w->PrintDocument = [this](const QString &no, int y, const QString &code) { printed.append({no, y, code}); };
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdInputDate));
    }
    QString savedCode(const QString &name)
    {
        return dbText(one(QStringLiteral("Select Code From Project Where Description = :d"), {{"d", name}})).trimmed();
    }
    qint64 idOf(const QString &table, const QString &code)
    {
        return one(QStringLiteral("Select Id From %1 Where Code = :c").arg(table), {{"c", code}}).toLongLong();
    }
    // A project with two jobs of three lines, closed and partly finished.
    qint64 makeSource()
    {
        Connection &c = company();
        const qint64 id = c.insertReturningId(
            QStringLiteral("Insert Into Project (Code, Description, InputDate, SubType, Department, CurrencyId, Rate, Total, ProjectPrice,"
                           " Hire, Closed, CloseDate, QuantityFinish, Blocked, JobType, IncludeVAT, LockHaveIssue)"
                           " Values ('SRC01', 'ต้นแบบ', :d, 'GEN', :dept, :cur, 1, 5000, 5000, 'คุณต้นแบบ', 'Y', :d, 5, 'N', 'N', 'Y', 'N')"),
            {{"d", QDate(year(), 1, 5)}, {"dept", idOf(QStringLiteral("Misc"), QStringLiteral("D02"))}, {"cur", TDM::instance()->MainCurrencyId}});
        const qint64 p1 = idOf(QStringLiteral("Product"), QStringLiteral("P0001"));
        for (const char *job : {"A1", "B2"}) {
            const qint64 hd = c.insertReturningId(QStringLiteral("Insert Into ProjectItemHD (Project, Code, Description, Amount) Values (:p, :c, :d, 300)"),
                                                  {{"p", id}, {"c", QString::fromLatin1(job)}, {"d", QStringLiteral("งาน ") + QLatin1String(job)}});
            for (int line = 1; line <= 3; ++line)
                c.exec(QStringLiteral("Insert Into ProjectItemDt (ProjectItemHD, DetailType, ItemOrderNo, Product, Description, Quantity, Price,"
                                      " Labour, AmountM, AmountL, Total) Values (:h, 'M', :n, :p, 'บรรทัด', 1, 100, 0, 100, 0, 100)"),
                       {{"h", hd}, {"n", line}, {"p", p1}});
        }
        return id;
    }

private slots:
    void initTestCase()
    {
        QLX_REQUIRE_ENGINE();
        registerModules();
    }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        grant(*s);
        printed.clear();
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    void opensWithCaptionSubTypesAndUpgrade()
    {
        company().exec(QStringLiteral("Update Project Set Blocked = ''"));
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("หน่วยงานโครงการ [MFG18.09.10]"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        // Every sub type with a sequence this year, whether numbered per year or per month.
        QStringList items;
        for (int i = 0; i < w->CbSubType->count(); ++i)
            items << w->CbSubType->itemText(i);
        QCOMPARE(items, (QStringList{QStringLiteral("GEN = โครงการทั่วไป"), QStringLiteral("MAN = โครงการกำหนดเลขเอง"),
                                     QStringLiteral("MON = โครงการรายเดือน")}));
        QCOMPARE(w->defaultSubType(), QStringLiteral("GEN"));
        QCOMPARE(w->QrProject->text(QStringLiteral("SubType")), QStringLiteral("GEN"));
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Blocked <> 'N' Or Blocked Is Null")), 0);
        QVERIFY(w->codePending());
        QVERIFY(!w->AcSave->isEnabled());
        QVERIFY(!w->AcDel->isEnabled());
        QCOMPARE(w->LbProjectPrice->text(), QStringLiteral("ราคางาน (บาท)"));
    }

    void drawsUnderTheSubTypesSequence_data()
    {
        QTest::addColumn<QString>("subType");
        QTest::addColumn<int>("month");
        QTest::addColumn<QString>("docCode");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("per year") << "GEN" << 7 << "PJ-GEN" << QStringLiteral("PG") + yy();
        QTest::newRow("per month, March") << "MON" << 3 << "PJ03-MON" << QStringLiteral("PM") + yy() + QStringLiteral("03");
        QTest::newRow("per month, December") << "MON" << 12 << "PJ12-MON" << QStringLiteral("PM") + yy() + QStringLiteral("12");
    }
    void drawsUnderTheSubTypesSequence()
    {
        QFETCH(QString, subType);
        QFETCH(int, month);
        QFETCH(QString, docCode);
        QFETCH(QString, prefix);
        open();
        startProject(*w, dateIn(month), subType, QString(), QStringLiteral("อาคารใหม่"));
        QVERIFY(w->autoNumbering());
        QCOMPARE(w->subTypeDocCode(), docCode);
        press(Qt::Key_F10);
        const QString code = savedCode(QStringLiteral("อาคารใหม่"));
        QVERIFY2(code.startsWith(prefix), qPrintable(code));
        QCOMPARE(lastNo(docCode), 1);
        QCOMPARE(count(QStringLiteral("Select Count(*) From UserLog Where FunctionListId = 1 And Remark = :c"), {{"c", code}}), 1);
        QCOMPARE(dbText(one(QStringLiteral("Select SubType From Project Where Code = :c"), {{"c", code}})).trimmed(), subType);
        QCOMPARE(dbDate(one(QStringLiteral("Select InputDate From Project Where Code = :c"), {{"c", code}})), QDate(year(), month, 15));
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed[0].docNo, code);
        QCOMPARE(printed[0].year, year());
        QCOMPARE(printed[0].code, QStringLiteral("PJCODE"));
        QVERIFY(s->dialogs->contains(QStringLiteral("ยืนยันจัดเก็บข้อมูลโครงการ ?")));
        // Save ends in New.
        QVERIFY(w->codePending());
        QVERIFY(w->EdCode->text().isEmpty());
    }

    void typedUnknownCodeIsReplacedByTheDrawnNumber()
    {
        open();
        startProject(*w, dateIn(2), QStringLiteral("GEN"), QStringLiteral("ZZZ-1"), QStringLiteral("รหัสพิมพ์เอง"));
        QVERIFY(w->isNewRecord());
        QVERIFY(w->EdCode->text().isEmpty());
        QVERIFY(!w->EdCode->isEnabled());
        press(Qt::Key_F10);
        QVERIFY(savedCode(QStringLiteral("รหัสพิมพ์เอง")).startsWith(QStringLiteral("PG") + yy()));
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Code = 'ZZZ-1'")), 0);
    }

    void dateChangedToAnotherMonthClearsTheCode()
    {
        open();
        // A code typed under manual numbering, then a sub type numbered per month.
        startProject(*w, dateIn(3), QStringLiteral("MAN"), QStringLiteral("M-001"), QStringLiteral("ย้ายเดือน"));
        QCOMPARE(w->QrProject->text(QStringLiteral("Code")), QStringLiteral("M-001"));
        enter(w->CbSubType, QStringLiteral("MON"));
        enter(w->EdInputDate, dateIn(5));
        QVERIFY(w->EdCode->text().isEmpty());
        QVERIFY(w->QrProject->text(QStringLiteral("Code")).isEmpty());
        press(Qt::Key_F10);
        QVERIFY(savedCode(QStringLiteral("ย้ายเดือน")).startsWith(QStringLiteral("PM") + yy() + QStringLiteral("05")));
        QCOMPARE(lastNo(QStringLiteral("PJ03-MON")), 0);
        QCOMPARE(lastNo(QStringLiteral("PJ05-MON")), 1);
    }

    void manualNumberingNeedsACode()
    {
        open();
        enter(w->EdInputDate, dateIn(4));
        enter(w->CbSubType, QStringLiteral("MAN"));
        QVERIFY(!w->autoNumbering());
        enter(w->EdCode, QString());
        QVERIFY(s->dialogs->contains(QStringLiteral("ท่านไม่ได้ป้อนเลขที่\nขณะนี้อยู่ในระบบที่ต้องกำหนดเลขเอง")));
        // The entry restarts.
        QVERIFY(w->codePending());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdInputDate));
    }

    void enteringTheNameLoadsAPendingCode()
    {
        open();
        w->EdCode->setFocus();
        typeText(w->EdCode, QStringLiteral("PJDEMO0001"));
        // A click straight into the name box.
        QTest::mouseClick(w->EdDescription, Qt::LeftButton);
        QTRY_VERIFY(!w->codePending());
        QVERIFY(!w->isNewRecord());
        QCOMPARE(w->EdDescription->text(), QStringLiteral("ปรับปรุงอาคารสำนักงานใหญ่ ชั้น 5 และงานระบบไฟฟ้า"));
        QCOMPARE(w->FaCustomer->code(), QStringLiteral("C0001"));
        QCOMPARE(w->FaDepartment->code(), QStringLiteral("D04"));
        QVERIFY(!w->CbSubType->isEnabled());
        QVERIFY(w->AcDel->isEnabled());
        QVERIFY(!w->AcCopy->isEnabled());
        QVERIFY(w->RbJobSub->isChecked());
        QVERIFY(w->EdJobName->isEnabled());
    }

    void storedUnitMustBelongToTheProduct_data()
    {
        QTest::addColumn<QString>("unitOf");
        QTest::addColumn<bool>("kept");
        QTest::newRow("its own unit") << "P0001" << true;
        QTest::newRow("another product's unit") << "P0002" << false;
    }
    void storedUnitMustBelongToTheProduct()
    {
        QFETCH(QString, unitOf);
        QFETCH(bool, kept);
        const qint64 unit = one(QStringLiteral("Select Min(U.Id) From ProductUnits U Join Product P On P.Id = U.Product Where P.Code = :c"), {{"c", unitOf}}).toLongLong();
        company().exec(QStringLiteral("Update Project Set Product = :p, ProductUnits = :u, ProdQuantity = 12 Where Code = 'PJ0001'"),
                       {{"p", idOf(QStringLiteral("Product"), QStringLiteral("P0001"))}, {"u", unit}});
        open();
        enter(w->EdCode, QStringLiteral("PJ0001"));
        QCOMPARE(w->EdProductCode->text(), QStringLiteral("P0001"));
        QVERIFY(w->CbUnit->count() > 0);
        QCOMPARE(w->QrProject->isNull(QStringLiteral("ProductUnits")), !kept);
        QCOMPARE(w->QrProject->isNull(QStringLiteral("UnitName")), !kept);
        QCOMPARE(w->CbUnit->currentIndex() >= 0, kept);
        if (kept)
            QCOMPARE(w->CbUnit->currentData().toLongLong(), unit);
    }

    void productCodeTakesTheSmallestUnit()
    {
        open();
        startProject(*w, dateIn(2), QStringLiteral("GEN"), QString(), QStringLiteral("ผลิตสินค้า"));
        w->PageControl->setCurrentWidget(w->TsOther);
        enter(w->EdProductCode, QStringLiteral("p0001"));
        QCOMPARE(w->EdProductCode->text(), QStringLiteral("P0001"));
        const qint64 smallest = one(QStringLiteral("Select U.Id From ProductUnits U Join Product P On P.Id = U.Product Where P.Code = 'P0001'"
                                                   " Order By U.Fraction, U.Id")).toLongLong();
        QCOMPARE(w->QrProject->integer(QStringLiteral("ProductUnits")), smallest);
        QCOMPARE(w->CbUnit->currentData().toLongLong(), smallest);
        QVERIFY(!w->LbProductName->text().isEmpty());
        // An unknown code empties product and units.
        enter(w->EdProductCode, QStringLiteral("NOPE"));
        QVERIFY(w->QrProject->isNull(QStringLiteral("Product")));
        QVERIFY(w->QrProject->isNull(QStringLiteral("ProductUnits")));
        QCOMPARE(w->CbUnit->count(), 0);
    }

    void currencyRateAndPrice()
    {
        open();
        startProject(*w, dateIn(2), QStringLiteral("GEN"), QString(), QStringLiteral("งานต่างประเทศ"));
        w->PageControl->setCurrentWidget(w->TsCompany2);
        QCOMPARE(w->QrProject->integer(QStringLiteral("CurrencyId")), qint64(TDM::instance()->MainCurrencyId));
        QVERIFY(!w->EdRate->isEnabled());
        enter(w->EdTotal, QStringLiteral("1000"));
        // USD: the latest purchase rate, price × rate.
        w->CbCurrency->setFocus();
        const int usd = w->CbCurrency->findText(QStringLiteral("USD"), Qt::MatchStartsWith);
        while (w->CbCurrency->currentIndex() != usd)
            QTest::keyClick(w->CbCurrency, w->CbCurrency->currentIndex() < usd ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(w->QrProject->decimal(QStringLiteral("Rate")), Decimal::fromString(u"34.50"));
        QVERIFY(w->EdRate->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdRate));
        QCOMPARE(w->QrProject->decimal(QStringLiteral("ProjectPrice")), Decimal(34500));
        enter(w->EdRate, QStringLiteral("35.125"));
        QCOMPARE(w->QrProject->decimal(QStringLiteral("ProjectPrice")), Decimal(35125));
        // Back to baht: rate 1, box locked.
        w->CbCurrency->setFocus();
        while (w->CbCurrency->currentIndex() != 0)
            QTest::keyClick(w->CbCurrency, Qt::Key_Up);
        QCOMPARE(w->QrProject->decimal(QStringLiteral("Rate")), Decimal(1));
        QVERIFY(!w->EdRate->isEnabled());
        QCOMPARE(w->QrProject->decimal(QStringLiteral("ProjectPrice")), Decimal(1000));
        press(Qt::Key_F10);
        QCOMPARE(decimalFromVariant(one(QStringLiteral("Select ProjectPrice From Project Where Description = 'งานต่างประเทศ'"))), Decimal(1000));
    }

    void incompleteProjectsAreRefused_data()
    {
        QTest::addColumn<bool>("department");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("message");
        QTest::newRow("no department") << false << "" << "ท่านยังไม่ได้ป้อนแผนก";
        QTest::newRow("zero rate") << true << "0" << "ยังไม่กำหนดอัตราแลกเปลี่ยน";
    }
    void incompleteProjectsAreRefused()
    {
        QFETCH(bool, department);
        QFETCH(QString, rate);
        QFETCH(QString, message);
        open();
        enter(w->EdInputDate, dateIn(2));
        enter(w->EdCode, QString());
        enter(w->EdDescription, QStringLiteral("ไม่ครบ"));
        if (department)
            enter(w->FaDepartment->EdCode, QStringLiteral("D01"));
        if (!rate.isEmpty()) {
            w->PageControl->setCurrentWidget(w->TsCompany2);
            w->CbCurrency->setFocus();
            QTest::keyClick(w->CbCurrency, Qt::Key_Down);
            enter(w->EdRate, rate);
        }
        press(Qt::Key_F10);
        QVERIFY(s->dialogs->contains(message));
        QVERIFY(!s->dialogs->contains(QStringLiteral("ยืนยันจัดเก็บข้อมูลโครงการ ?")));
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Description = 'ไม่ครบ'")), 0);
        QCOMPARE(lastNo(QStringLiteral("PJ-GEN")), 0);
        if (!rate.isEmpty())
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdRate));
    }

    void failedSaveRollsBackAndKeepsTheScreen()
    {
        open();
        startProject(*w, dateIn(2), QStringLiteral("GEN"), QString(), QStringLiteral("ชนเลขที่"));
        // Another workstation already holds the next number.
        const QString next = ServerProc::NewDocumentNo(company(), QStringLiteral("PJ-GEN"), year());
        company().exec(QStringLiteral("Update DocumentNo Set LastNo = 0 Where Code = 'PJ-GEN' And DocYear = :y"), {{"y", year()}});
        company().exec(QStringLiteral("Insert Into Project (Code, Description) Values (:c, 'ถือเลขไว้')"), {{"c", next}});
        press(Qt::Key_F10);
        QVERIFY(s->dialogs->contains(QStringLiteral("CANNOT INSERT DUPLICATE KEY ROW.")));
        QCOMPARE(lastNo(QStringLiteral("PJ-GEN")), 0);
        QCOMPARE(count(QStringLiteral("Select Count(*) From UserLog Where FunctionListId = 1")), 0);
        QVERIFY(!company().inTransaction());
        QCOMPARE(w->EdDescription->text(), QStringLiteral("ชนเลขที่"));
        QVERIFY(w->QrProject->text(QStringLiteral("Code")).isEmpty());
        QVERIFY(w->AcSave->isEnabled());
        // The blocking row goes; the next save draws again.
        company().exec(QStringLiteral("Delete From Project Where Code = :c"), {{"c", next}});
        press(Qt::Key_F10);
        QCOMPARE(savedCode(QStringLiteral("ชนเลขที่")), next);
        QCOMPARE(lastNo(QStringLiteral("PJ-GEN")), 1);
    }

    void failedSaveKeepsATypedCode()
    {
        open();
        startProject(*w, dateIn(2), QStringLiteral("MAN"), QStringLiteral("M-777"), QStringLiteral("เลขเอง"));
        company().exec(QStringLiteral("Insert Into Project (Code, Description) Values ('M-777', 'บันทึกก่อน')"));
        press(Qt::Key_F10);
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Code = 'M-777'")), 1);
        QCOMPARE(w->QrProject->text(QStringLiteral("Code")), QStringLiteral("M-777"));
        QCOMPARE(w->EdCode->text(), QStringLiteral("M-777"));
        company().exec(QStringLiteral("Delete From Project Where Code = 'M-777'"));
        press(Qt::Key_F10);
        QCOMPARE(savedCode(QStringLiteral("เลขเอง")), QStringLiteral("M-777"));
    }

    void copyTakesJobsAndLinesButNotTheClosingState()
    {
        const qint64 source = makeSource();
        open();
        enter(w->EdInputDate, dateIn(6));
        enter(w->EdCode, QString());
        QVERIFY(w->AcCopy->isEnabled());
        answerLookup(QStringLiteral("SRC01"));
        press(Qt::Key_F6);
        QCOMPARE(w->copySource(), source);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdDescription));
        QCOMPARE(w->EdHire->text(), QStringLiteral("คุณต้นแบบ"));
        QCOMPARE(w->FaDepartment->code(), QStringLiteral("D02"));
        QCOMPARE(w->QrProject->text(QStringLiteral("Closed")), QStringLiteral("N"));
        enter(w->EdDescription, QStringLiteral("สำเนาโครงการ"));
        press(Qt::Key_F10);
        const QString code = savedCode(QStringLiteral("สำเนาโครงการ"));
        QVERIFY(!code.isEmpty());
        const qint64 copy = idOf(QStringLiteral("Project"), code);
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemHD Where Project = :p"), {{"p", copy}}), 2);
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemDt D Join ProjectItemHD H On H.Id = D.ProjectItemHD Where H.Project = :p"), {{"p", copy}}), 6);
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemDt D Join ProjectItemHD H On H.Id = D.ProjectItemHD"
                                      " Where H.Project = :p And H.Code = 'B2' And D.ItemOrderNo = 3 And D.Total = 100"), {{"p", copy}}), 1);
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemHD Where Project = :p"), {{"p", source}}), 2);
        QSqlQuery q = company().exec(QStringLiteral("Select Closed, QuantityFinish, CloseDate, InputDate, Hire From Project Where Id = :p"), {{"p", copy}});
        QVERIFY(q.next());
        QCOMPARE(dbText(q.value(0)), QStringLiteral("N"));
        QCOMPARE(decimalFromVariant(q.value(1)), Decimal(0));
        QVERIFY(q.value(2).isNull());
        QCOMPARE(dbText(q.value(4)), QStringLiteral("คุณต้นแบบ"));
    }

    void deleteLeavesJobsAndLogs()
    {
        const qint64 id = idOf(QStringLiteral("Project"), QStringLiteral("PJDEMO0001"));
        const int jobs = count(QStringLiteral("Select Count(*) From ProjectItemHD Where Project = :p"), {{"p", id}});
        QVERIFY(jobs > 0);
        open();
        enter(w->EdCode, QStringLiteral("PJDEMO0001"));
        press(Qt::Key_F8);
        QVERIFY(s->dialogs->contains(QStringLiteral("ยืนยัน ข้อมูลโครงการปัจจุบัน ?")));
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Id = :p"), {{"p", id}}), 0);
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemHD Where Project = :p"), {{"p", id}}), jobs);
        QCOMPARE(count(QStringLiteral("Select Count(*) From UserLog Where FunctionListId = 3 And DocumentId = :p And Remark = 'PJDEMO0001'"), {{"p", id}}), 1);
        QVERIFY(w->codePending());
    }

    void editingAStoredProjectUpdatesItInPlace()
    {
        open();
        enter(w->EdCode, QStringLiteral("PJDEMO0001"));
        enter(w->EdRefNo, QStringLiteral("สัญญาแก้ไข"));
        w->PageControl->setCurrentWidget(w->TsOther);
        w->MmDescMemo->setFocus();
        QTRY_VERIFY(!w->keyPreview());
        typeText(w->MmDescMemo, QStringLiteral("บรรทัดหนึ่ง"));
        QTest::keyClick(w->MmDescMemo, Qt::Key_Return);
        typeText(w->MmDescMemo, QStringLiteral("บรรทัดสอง"));
        press(Qt::Key_F10);
        QSqlQuery q = company().exec(QStringLiteral("Select RefNo, DescMemo, Closed From Project Where Code = 'PJDEMO0001'"));
        QVERIFY(q.next());
        QCOMPARE(dbText(q.value(0)), QStringLiteral("สัญญาแก้ไข"));
        QCOMPARE(dbText(q.value(1)), QStringLiteral("บรรทัดหนึ่ง\nบรรทัดสอง"));
        QCOMPARE(count(QStringLiteral("Select Count(*) From Project Where Code = 'PJDEMO0001'")), 1);
        // The code was not empty: no log entry.
        QCOMPARE(count(QStringLiteral("Select Count(*) From UserLog")), 0);
    }

    void rightsEnableSaveAndDelete_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("modify");
        QTest::addColumn<bool>("del");
        QTest::addColumn<bool>("saveOn");
        QTest::addColumn<bool>("deleteOn");
        QTest::newRow("new, add only") << "" << true << false << false << true << false;
        QTest::newRow("new, no add") << "" << false << true << true << false << false;
        QTest::newRow("stored, modify") << "PJ0002" << false << true << false << true << false;
        QTest::newRow("stored, delete only") << "PJ0002" << true << false << true << false << true;
    }
    void rightsEnableSaveAndDelete()
    {
        QFETCH(QString, code);
        QFETCH(bool, add);
        QFETCH(bool, modify);
        QFETCH(bool, del);
        QFETCH(bool, saveOn);
        QFETCH(bool, deleteOn);
        s->cfg->CanAdd = add;
        s->cfg->CanModify = modify;
        s->cfg->CanDelete = del;
        open();
        enter(w->EdCode, code);
        QCOMPARE(w->AcSave->isEnabled(), saveOn);
        QCOMPARE(w->AcDel->isEnabled(), deleteOn);
    }

    void enterMovesBetweenPages()
    {
        open();
        enter(w->EdCode, QString());
        w->PageControl->setCurrentWidget(w->TsHire);
        enter(w->EdFax, QStringLiteral("02-111-2222"));
        QCOMPARE(w->PageControl->currentWidget(), w->TsCompany1);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdUnitNo));
        enter(w->EdCompSecurity_Phone, QStringLiteral("089-000-0000"));
        QCOMPARE(w->PageControl->currentWidget(), w->TsCompany2);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdBeginDate));
        QCOMPARE(w->QrProject->text(QStringLiteral("Fax")), QStringLiteral("02-111-2222"));
        // The subcontractor's name only for subcontracted work.
        QVERIFY(!w->EdJobName->isEnabled());
        w->RbJobSub->click();
        QVERIFY(w->EdJobName->isEnabled());
        QCOMPARE(w->QrProject->text(QStringLiteral("JobType")), QStringLiteral("N"));
    }

    void pictureFolder()
    {
        QTemporaryDir pics;
        open();
        enter(w->EdCode, QString());
        s->dialogs->folders << pics.path();
        w->BtBrowse->click();
        // The stored folder does not exist yet: the picker opens at home.
        QCOMPARE(s->dialogs->entries.last().text, QStringLiteral("Select a folder|") + QDir::homePath());
        QCOMPARE(w->EdPicPath->text(), QDir::toNativeSeparators(pics.path()));
        w->BtBrowse->click(); // cancelled: the folder stays
        QCOMPARE(s->dialogs->entries.last().text, QStringLiteral("Select a folder|") + QDir::toNativeSeparators(pics.path()));
        QCOMPARE(w->EdPicPath->text(), QDir::toNativeSeparators(pics.path()));
        w->BtOpenFolder->click();
        QCOMPARE(s->dialogs->entries.last().kind, QStringLiteral("open"));
        w->QrProject->setValue(QStringLiteral("PicPath01"), pics.path() + QStringLiteral("/gone"));
        w->BtOpenFolder->click();
        QCOMPARE(s->dialogs->entries.last().text, QStringLiteral("ไม่พบ Path : \"") + pics.path() + QStringLiteral("/gone\""));
        w->BtClear->click();
        QVERIFY(w->EdPicPath->text().isEmpty());
    }

    void saveOpensThePrintDialogOfTheProject()
    {
        open(true);
        startProject(*w, dateIn(8), QStringLiteral("GEN"), QString(), QStringLiteral("พิมพ์ใบโครงการ"));
        int forms = -1;
        QString docNo;
        QTimer::singleShot(0, [&] {
            std::function<void()> look = [&] {
                auto *d = qobject_cast<TFrPrintForm *>(QApplication::activeModalWidget());
                if (!d) {
                    QTimer::singleShot(20, look);
                    return;
                }
                forms = d->formCount();
                docNo = d->DocNo;
                d->reject();
            };
            look();
        });
        press(Qt::Key_F10);
        QCOMPARE(forms, 2);
        QCOMPARE(docNo, savedCode(QStringLiteral("พิมพ์ใบโครงการ")));
    }

    // The whole road from the menu program's arguments: start-up, the window, a
    // new project saved, its sheet previewed, the window closed.
    void roadOfOneRequest()
    {
        s.reset(); // the host makes its own services
        ReportLayouts::installDemoLayouts(env->folder());
        auto *d = new ScriptedDialogs;
        auto previous = UserDialogs::install(std::unique_ptr<UserDialogs>(d));
        bool previewed = false;
        QString drove;
        std::function<void()> drive = [&] {
            TFrProject *win = nullptr;
            for (QWidget *t : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<TFrProject *>(t); p && p->isVisible())
                    win = p;
            if (!win || !QTest::qWaitForWindowActive(win)) {
                QTimer::singleShot(20, drive);
                return;
            }
            // The print dialog: preview the first form, then close the preview and the dialog.
            QTimer::singleShot(0, [&] {
                std::function<void()> print = [&] {
                    auto *pf = qobject_cast<TFrPrintForm *>(QApplication::activeModalWidget());
                    if (!pf) {
                        QTimer::singleShot(20, print);
                        return;
                    }
                    QTimer::singleShot(0, [&] {
                        std::function<void()> closePreview = [&] {
                            auto *pv = qobject_cast<TReportPreview *>(QApplication::activeModalWidget());
                            if (!pv) {
                                QTimer::singleShot(20, closePreview);
                                return;
                            }
                            previewed = true;
                            pv->close();
                        };
                        closePreview();
                    });
                    pf->formList()->setCurrentItem(pf->formList()->topLevelItem(0));
                    pf->BDisplayClick();
                    pf->reject();
                };
                print();
            });
            startProject(*win, dateIn(9), QStringLiteral("GEN"), QString(), QStringLiteral("ทางเดินของคำขอ"));
            enter(win->FaCustomer->EdCode, QStringLiteral("C0001"));
            drove = win->windowTitle();
            press(Qt::Key_F10);
            win->close(); // the exit question is answered yes
        };
        QTimer::singleShot(0, drive);
        QElapsedTimer t;
        t.start();
        const int rc = runHost({QString::number(8), QStringLiteral("1"), QStringLiteral("DEMO"), QStringLiteral("-"), QStringLiteral("PROJECT"),
                                QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))}, t);
        const QStringList texts = d->texts();
        UserDialogs::install(std::move(previous));
        QCOMPARE(rc, 0);
        QVERIFY(drove.endsWith(QStringLiteral(" [MFG18.09.10]")));
        QVERIFY(previewed);
        QVERIFY2(texts.contains(QStringLiteral("ยืนยันจัดเก็บข้อมูลโครงการ ?")), qPrintable(texts.join(QLatin1Char('|'))));
        auto c = env->connect(DemoBuilder::demoCompany);
        const QString code = dbText(c->scalar(QStringLiteral("Select Code From Project Where Description = 'ทางเดินของคำขอ'"))).trimmed();
        QVERIFY(code.startsWith(QStringLiteral("PG") + yy()));
        QCOMPARE(c->scalar(QStringLiteral("Select Count(*) From UserLog Where FunctionListId = 1 And Remark = :c And MenuId = 8 And UserId = 1"), {{"c", code}}).toInt(), 1);
        QCOMPARE(c->scalar(QStringLiteral("Select Count(*) From Project P Join Customer C On C.Id = P.Customer Where P.Code = :c And C.Code = 'C0001'"),
                           {{"c", code}}).toInt(), 1);
        // The print form's procedure prepared the sheet of the new project.
        QCOMPARE(c->scalar(QStringLiteral("Select Count(*) From RpProjectSheet Where DocNo = :c"), {{"c", code}}).toInt(), 1);
    }

    void twoProcessesNeverShareACode()
    {
        const int each = 40;
        QList<QProcess *> children;
        for (int i = 0; i < 2; ++i) {
            auto *p = new QProcess(this);
            auto e = env->processEnvironment();
            e.insert(QStringLiteral("QLX_PROJECT_SAVER"), QString::number(each));
            p->setProcessEnvironment(e);
            p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p->start(QCoreApplication::applicationFilePath(), {});
            children << p;
        }
        for (QProcess *p : children) {
            QVERIFY(p->waitForFinished(240000));
            QCOMPARE(p->exitCode(), 0);
        }
        QSqlQuery q = company().exec(QStringLiteral("Select Code From Project Where Description Like 'งานพร้อมกัน%'"));
        QSet<QString> codes;
        int rows = 0;
        while (q.next()) {
            ++rows;
            codes.insert(dbText(q.value(0)));
        }
        QCOMPARE(rows, 2 * each);
        QCOMPARE(codes.size(), 2 * each);
        QCOMPARE(lastNo(QStringLiteral("PJ-GEN")), 2 * each);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString saver = qEnvironmentVariable("QLX_PROJECT_SAVER");
    if (!saver.isEmpty())
        return runSaver(saver.toInt());
    TstProject t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_project.moc"
