#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFaGetEmployee.h"
#include "lookup/TFrSearchContract.h"
#include "lookup/TFrSearchJobTran.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBuffer.h"
#include "modules/Modules.h"
#include "modules/service/TFrJobTran.h"
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

// The service matters window driven as a user drives it, in both of its modes.
namespace {

void grant(TestSession &s)
{
    s.cfg->CanAccess = s.cfg->CanAdd = s.cfg->CanModify = s.cfg->CanDelete = true;
    s.cfg->IsThai = true;
    s.cfg->MenuCaption = QStringLiteral(" รับเรื่องจากลูกค้า ");
    s.cfg->CompanyName = QStringLiteral("บริษัท ตัวอย่าง จำกัด");
    s.cfg->UserCode = QStringLiteral("E002");
    s.cfg->ConfirmDeleteText = QStringLiteral("ลบข้อมูล ?");
}

// Types into a box (its old text replaced) and presses Enter to leave it.
void enter(QWidget *box, const QString &text)
{
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
    if (auto *e = qobject_cast<QLineEdit *>(box))
        e->selectAll();
    typeText(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods); }

int year() { return QDate::currentDate().year(); }
QString yy() { return QString::number(year() % 100).rightJustified(2, QLatin1Char('0')); }
QString number(const QString &type, int n) { return QStringLiteral("J") + type + yy() + QString::number(n).rightJustified(6, QLatin1Char('0')); }

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
QString text(const QString &sql, const Params &p = {}) { return dbText(one(sql, p)).trimmed(); }
qint64 idOf(const QString &table, const QString &code) { return one(QStringLiteral("Select Id From %1 Where Code = :c").arg(table), {{"c", code}}).toLongLong(); }
qint64 miscId(const QString &group, const QString &code)
{
    return one(QStringLiteral("Select Id From Misc Where GroupCode = :g And Code = :c"), {{"g", group}, {"c", code}}).toLongLong();
}
int lastNo(const QString &type)
{
    return one(QStringLiteral("Select LastNo From DocumentNo Where Code = :c And DocYear = :y"), {{"c", QStringLiteral("JOBNO-") + type}, {"y", year()}}).toInt();
}
QString column(const QString &col, const QString &no) { return text(QStringLiteral("Select %1 From jobtran Where JobNo = :n").arg(col), {{"n", no}}); }

// Answers the next modal look-up with the row whose key column holds the value.
void answerLookup(const QString &key, const QString &value)
{
    QTimer::singleShot(0, [key, value] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d) {
            answerLookup(key, value);
            return;
        }
        d->Search();
        for (int r = 0; r < d->result()->rowCount(); ++r)
            if (dbText(d->result()->value(r, key)).trimmed() == value)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        // A refused choice keeps the dialog open: leave it.
        if (d->isVisible())
            QTest::keyClick(d->DgSearch, Qt::Key_Escape);
    });
}

} // namespace

class TstJobTran : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrJobTran> w;

    void open(int mode)
    {
        w = std::make_unique<TFrJobTran>();
        w->setProperty("Mode", mode);
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->CbJobType));
    }
    // Picks the type by its letter, moves on to the number box and leaves it.
    void startMatter(const QString &type, const QString &no)
    {
        w->CbJobType->setFocus();
        QTest::keyClick(w->CbJobType, type.at(0).toLatin1());
        QCOMPARE(w->jobType(), type);
        press(Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdJobNo));
        QVERIFY(!w->CbJobType->isEnabled());
        enter(w->EdJobNo, no);
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
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    void receivesANewMatterUnderItsTypesSequence_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("drawn");
        // The demo holds two problems and one suggestion already.
        QTest::newRow("problem") << "A" << 3;
        QTest::newRow("suggestion") << "B" << 2;
        QTest::newRow("complaint") << "C" << 1;
    }
    void receivesANewMatterUnderItsTypesSequence()
    {
        QFETCH(QString, type);
        QFETCH(int, drawn);
        open(TFrJobTran::ReceivingMode);
        QCOMPARE(w->windowTitle(), QStringLiteral("รับเรื่องจากลูกค้า Version 1.05.04.28"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        QVERIFY(!w->AcSave->isEnabled());
        startMatter(type, QStringLiteral("77"));
        QVERIFY(w->matterStarted());
        QVERIFY(w->isNewRecord());
        QVERIFY(w->AcSave->isEnabled());
        QVERIFY(!w->AcDel->isEnabled());
        // New-matter defaults on screen.
        QCOMPARE(w->EdJobDate->date(), TDM::instance()->GetServerTime().date());
        QCOMPARE(w->EdJobTime->text().size(), 5);
        QCOMPARE(w->EdCusAttn->text(), QStringLiteral("."));
        QCOMPARE(w->FaRcptEmployee->code(), QStringLiteral("E002"));
        QCOMPARE(w->CbJobStatus->currentData().toLongLong(), miscId("JOBSTATUS", "N"));

        enter(w->FaCustomer->EdCode, QStringLiteral("C0001"));
        QCOMPARE(w->DgContact->rowCount(), 3);
        QCOMPARE(w->DgContact->item(2, 1)->checkState(), Qt::Unchecked);
        enter(w->EdCusAttn, QStringLiteral("khun wipa"));
        QCOMPARE(w->EdCusAttn->text(), QStringLiteral("KHUN WIPA"));
        enter(w->EdJobTitle, QStringLiteral("จอภาพไม่ติด"));
        w->MmJobDetail->setFocus();
        typeText(w->MmJobDetail, QStringLiteral("เปิดเครื่องแล้ว"));
        QTest::keyClick(w->MmJobDetail, Qt::Key_Return);
        typeText(w->MmJobDetail, QStringLiteral("จอดำ"));
        press(Qt::Key_F10);

        const QString no = number(type, drawn);
        QCOMPARE(lastNo(type), drawn);
        QVERIFY(s->dialogs->contains(QStringLiteral("จัดเก็บข้อมูล ?")));
        QCOMPARE(column(QStringLiteral("JobType"), no), type);
        QCOMPARE(column(QStringLiteral("JobTitle"), no), QStringLiteral("จอภาพไม่ติด"));
        QCOMPARE(column(QStringLiteral("JobDetail"), no), QStringLiteral("เปิดเครื่องแล้ว\nจอดำ"));
        QCOMPARE(column(QStringLiteral("CusAttn"), no), QStringLiteral("KHUN WIPA"));
        QCOMPARE(column(QStringLiteral("Customer"), no).toLongLong(), idOf(QStringLiteral("Customer"), QStringLiteral("C0001")));
        QCOMPARE(column(QStringLiteral("RcptEmployee"), no).toLongLong(), idOf(QStringLiteral("Employee"), QStringLiteral("E002")));
        QCOMPARE(column(QStringLiteral("JobStatus"), no).toLongLong(), miscId("JOBSTATUS", "N"));
        QCOMPARE(column(QStringLiteral("DelFlag") + QStringLiteral(" || Clear || RefJob || ActionBack || Warning"), no), QStringLiteral("NNNNY"));
        QCOMPARE(dbDate(one(QStringLiteral("Select JobDate From jobtran Where JobNo = :n"), {{"n", no}})), QDate::currentDate());
        // Dates never entered stay empty.
        QVERIFY(one(QStringLiteral("Select FixDate From jobtran Where JobNo = :n"), {{"n", no}}).isNull());
        QCOMPARE(one(QStringLiteral("Select Count(*) From jobtran Where Trim(JobNo) = '77'")).toInt(), 0);
        // Save ends in New.
        QVERIFY(!w->matterStarted());
        QVERIFY(w->EdJobNo->text().isEmpty());
        QVERIFY(w->CbJobType->isEnabled());
    }

    void typedNumberIsFittedToTheNumberLength_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("short: padded on the left") << "42" << "    42";
        QTest::newRow("long: cut") << "12345678" << "123456";
    }
    void typedNumberIsFittedToTheNumberLength()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        company().exec(QStringLiteral("Update DocumentNo Set DocumentLength = 6 Where Code = 'JOBNO-B'"));
        company().exec(QStringLiteral("Insert Into jobtran (DelFlag, JobType, JobNo, JobTitle) Values ('N', 'B', :n, 'เลขสั้น')"), {{"n", shown}});
        open(TFrJobTran::FixingMode);
        // The type picked from the opened list with the mouse; the number box is next.
        w->CbJobType->showPopup();
        QAbstractItemView *list = w->CbJobType->view();
        QTRY_VERIFY(list->isVisible());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->EdJobNo));
        QCOMPARE(w->jobType(), QStringLiteral("B"));
        enter(w->EdJobNo, typed);
        QCOMPARE(w->numberLength(), 6);
        QCOMPARE(w->EdJobNo->text(), shown);
        QVERIFY(!w->isNewRecord());
        QCOMPARE(w->EdJobTitle->text(), QStringLiteral("เลขสั้น"));
    }

    void fixingModeRecordsTheResolutionAndCallBack()
    {
        const QString no = number(QStringLiteral("A"), 2);
        open(TFrJobTran::FixingMode);
        startMatter(QStringLiteral("A"), no);
        QVERIFY(!w->isNewRecord());
        QVERIFY(w->AcDel->isEnabled());
        QCOMPARE(w->FaCustomer->code(), QStringLiteral("C0002"));
        QCOMPARE(w->DgContact->rowCount(), 1);
        // The receiving part cannot be changed.
        for (QLineEdit *e : {static_cast<QLineEdit *>(w->EdJobDate), static_cast<QLineEdit *>(w->EdJobTitle), w->EdCusAttn})
            QVERIFY2(e->isReadOnly(), qPrintable(e->objectName()));
        QVERIFY(w->MmJobDetail->isReadOnly());
        for (QWidget *f : {static_cast<QWidget *>(w->FaCustomer), static_cast<QWidget *>(w->FaRcptEmployee), static_cast<QWidget *>(w->CbJobStatus),
                           static_cast<QWidget *>(w->CbRefJob)})
            QVERIFY2(!f->isEnabled(), qPrintable(f->objectName()));
        w->EdJobTitle->setFocus();
        typeText(w->EdJobTitle, QStringLiteral("แก้ไม่ได้"));
        QCOMPARE(w->EdJobTitle->text(), QStringLiteral("เข้าระบบจากสาขาไม่ได้"));

        w->PageControl->setCurrentWidget(w->TsFix);
        w->MmFixDetail->setFocus();
        typeText(w->MmFixDetail, QStringLiteral("ตั้งค่าเราเตอร์ใหม่"));
        enter(w->FaFixEmployee->EdCode, QStringLiteral("E001"));
        enter(w->EdFixDate, QStringLiteral("05/02/%1").arg(year()));
        enter(w->EdFixTime, QStringLiteral("0930"));
        QCOMPARE(w->EdFixTime->text(), QStringLiteral("09:30"));
        enter(w->EdFixtime2, QStringLiteral("1045"));
        w->CbJobStatus2->setCurrentIndex(w->CbJobStatus2->findData(miscId("JOBSTATUS", "F")));
        QTest::mouseClick(w->CbClear, Qt::LeftButton, {}, QPoint(4, w->CbClear->height() / 2));
        enter(w->FaFixProblem->EdCode, QStringLiteral("F02"));
        w->PageControl->setCurrentWidget(w->TsActionBack);
        QTest::mouseClick(w->CbActionBack, Qt::LeftButton, {}, QPoint(4, w->CbActionBack->height() / 2));
        enter(w->EdActionBackAttn, QStringLiteral("khun manop"));
        enter(w->EdActionBackDate, QStringLiteral("06/02/%1").arg(year()));
        enter(w->FaActionBackBy->EdCode, QStringLiteral("E002"));
        press(Qt::Key_F10);

        QCOMPARE(column(QStringLiteral("FixDetail"), no), QStringLiteral("ตั้งค่าเราเตอร์ใหม่"));
        QCOMPARE(column(QStringLiteral("FixEmployee"), no).toLongLong(), idOf(QStringLiteral("Employee"), QStringLiteral("E001")));
        QCOMPARE(dbDate(one(QStringLiteral("Select FixDate From jobtran Where JobNo = :n"), {{"n", no}})), QDate(year(), 2, 5));
        QCOMPARE(column(QStringLiteral("FixTime || '-' || Fixtime2"), no), QStringLiteral("09:30-10:45"));
        QCOMPARE(column(QStringLiteral("JobStatus"), no).toLongLong(), miscId("JOBSTATUS", "F"));
        QCOMPARE(column(QStringLiteral("fixproblem"), no).toLongLong(), miscId("FIXPROBLEM", "F02"));
        QCOMPARE(column(QStringLiteral("Clear || ActionBack"), no), QStringLiteral("YY"));
        QCOMPARE(column(QStringLiteral("ActionBackAttn"), no), QStringLiteral("KHUN MANOP"));
        QCOMPARE(column(QStringLiteral("ActionBackBy"), no).toLongLong(), idOf(QStringLiteral("Employee"), QStringLiteral("E002")));
        // The receiving part as it was.
        QCOMPARE(column(QStringLiteral("JobTitle"), no), QStringLiteral("เข้าระบบจากสาขาไม่ได้"));
        QCOMPARE(column(QStringLiteral("JobTime"), no), QStringLiteral("14:40"));
        QCOMPARE(one(QStringLiteral("Select Count(*) From jobtran")).toInt(), 3);
        QVERIFY(!w->matterStarted());
    }

    void fixingModeNeedsAStoredLiveMatter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("unknown number") << "JA99999999";
        QTest::newRow("empty number") << "";
        QTest::newRow("deleted matter") << number(QStringLiteral("A"), 1);
    }
    void fixingModeNeedsAStoredLiveMatter()
    {
        QFETCH(QString, typed);
        company().exec(QStringLiteral("Update jobtran Set DelFlag = 'Y' Where JobNo = :n"), {{"n", number(QStringLiteral("A"), 1)}});
        open(TFrJobTran::FixingMode);
        startMatter(QStringLiteral("A"), typed);
        QCOMPARE(s->dialogs->texts().count(QStringLiteral("กรุณาป้อนเลขที่เอกสาร")), 1);
        // The entry restarts; nothing can be saved.
        QVERIFY(!w->matterStarted());
        QVERIFY(!w->AcSave->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->CbJobType));
        QCOMPARE(lastNo(QStringLiteral("A")), 2);
    }

    void deleteMarksTheMatterWhichTheLookupStillLists()
    {
        const QString no = number(QStringLiteral("B"), 1);
        open(TFrJobTran::ReceivingMode);
        startMatter(QStringLiteral("B"), no);
        QVERIFY(!w->isNewRecord());
        press(Qt::Key_F8);
        QVERIFY(s->dialogs->contains(QStringLiteral("ลบข้อมูล ?")));
        QCOMPARE(column(QStringLiteral("DelFlag"), no), QStringLiteral("Y"));
        QVERIFY(!w->matterStarted());
        // By number it is gone: the same number starts a new matter.
        startMatter(QStringLiteral("B"), no);
        QVERIFY(w->isNewRecord());
        QVERIFY(w->EdJobTitle->text().isEmpty());
        AcNewFromKeyboard();
        // The look-up lists it but refuses it.
        w->EdJobNo->setFocus();
        answerLookup(QStringLiteral("JobNo"), no);
        press(Qt::Key_F5);
        QTRY_VERIFY(s->dialogs->contains(QStringLiteral("เอกสารถูกยกเลิกแล้ว")));
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(w->EdJobNo->text().isEmpty());
    }

    void problemCodeFillsAnEmptySubject_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("kept");
        QTest::newRow("empty subject") << "" << "โปรแกรมค้างระหว่างบันทึก";
        QTest::newRow("typed subject") << "บันทึกใบสั่งขายไม่ได้" << "บันทึกใบสั่งขายไม่ได้";
    }
    void problemCodeFillsAnEmptySubject()
    {
        QFETCH(QString, subject);
        QFETCH(QString, kept);
        open(TFrJobTran::ReceivingMode);
        startMatter(QStringLiteral("A"), QString());
        enter(w->EdJobTitle, subject);
        enter(w->FaProblem->EdCode, QStringLiteral("P02"));
        QCOMPARE(w->EdJobTitle->text(), kept);
        QCOMPARE(w->QrJobTran->integer(QStringLiteral("problem")), miscId("PROBLEM", "P02"));
    }

    void contractMustBeALiveContractOfTheCustomer_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("taken");
        QTest::newRow("live, this customer") << "CT-0002" << true;
        QTest::newRow("cancelled") << "CT-0001" << false;
        QTest::newRow("another customer's") << "CT-0003" << false;
    }
    void contractMustBeALiveContractOfTheCustomer()
    {
        QFETCH(QString, typed);
        QFETCH(bool, taken);
        open(TFrJobTran::ReceivingMode);
        startMatter(QStringLiteral("C"), QString());
        // Without a customer the contract search is refused.
        w->EdContractNo->setFocus();
        press(Qt::Key_F5);
        QVERIFY(s->dialogs->contains(QStringLiteral("ยังไม่ได้ป้อน รหัสลูกค้า")));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaCustomer->EdCode));
        enter(w->FaCustomer->EdCode, QStringLiteral("C0001"));
        QCOMPARE(w->contractCustomer(), idOf(QStringLiteral("Customer"), QStringLiteral("C0001")));
        enter(w->EdContractNo, typed.toLower());
        QCOMPARE(w->EdContractNo->text(), taken ? typed : QString());
        press(Qt::Key_F10);
        const QString no = number(QStringLiteral("C"), 1);
        const qint64 contract = one(QStringLiteral("Select Id From ContractHd Where ContractNo = :n"), {{"n", typed}}).toLongLong();
        QCOMPARE(column(QStringLiteral("Coalesce(ContractHd, 0)"), no).toLongLong(), taken ? contract : 0);
    }

    void contractLookupChoosesAndPurgesCancelledContracts()
    {
        open(TFrJobTran::ReceivingMode);
        startMatter(QStringLiteral("A"), QString());
        enter(w->FaCustomer->EdCode, QStringLiteral("C0001"));
        // A cancelled contract may be chosen in the look-up.
        w->EdContractNo->setFocus();
        answerLookup(QStringLiteral("ContractNo"), QStringLiteral("CT-0001"));
        press(Qt::Key_F5);
        QTRY_COMPARE(w->EdContractNo->text(), QStringLiteral("CT-0001"));
        QCOMPARE(w->QrJobTran->integer(QStringLiteral("ContractHd")), one(QStringLiteral("Select Id From ContractHd Where ContractNo = 'CT-0001'")).toLongLong());

        TFrSearchContract d(w.get());
        d.CustomerCode = QStringLiteral("C0001");
        QTimer::singleShot(0, &d, [&d] {
            QCOMPARE(d.result()->rowCount(), 2);
            QCOMPARE(dbText(d.result()->value(0, QStringLiteral("ContractNo"))).trimmed(), QStringLiteral("CT-0002"));
            QCOMPARE(dbText(d.result()->value(0, QStringLiteral("RefContractNo"))).trimmed(), QStringLiteral("CT-0001"));
            QCOMPARE(d.rowTip(1), QStringLiteral("สาเหตุยกเลิก = ลูกค้าขอเปลี่ยนเงื่อนไขสัญญา"));
            const auto all = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
            auto clickRow = [&d](int row, Qt::KeyboardModifiers mods) {
                QTest::mouseClick(d.DgSearch->viewport(), Qt::LeftButton, mods, d.DgSearch->visualRect(d.result()->index(row, 3)).center());
            };
            clickRow(0, all);   // live: nothing asked
            clickRow(1, Qt::ControlModifier | Qt::ShiftModifier);   // not the whole gesture
            clickRow(1, all);
            QCOMPARE(d.result()->rowCount(), 1);
            d.reject();
        });
        d.exec();
        const QStringList asked = s->dialogs->texts();
        QCOMPARE(asked.count(QStringLiteral("Confirm Delete #1/2 ?")), 1);
        QCOMPARE(asked.count(QStringLiteral("Confirm Delete #2/2 ?")), 1);
        QCOMPARE(one(QStringLiteral("Select Count(*) From ContractHd Where ContractNo = 'CT-0001'")).toInt(), 0);
        QCOMPARE(one(QStringLiteral("Select Count(*) From ContractDt2")).toInt() + one(QStringLiteral("Select Count(*) From ContractPayPeriod")).toInt(), 1);
        QCOMPARE(one(QStringLiteral("Select Count(*) From ContractDt")).toInt(), 1);
    }

    void failedSaveKeepsTheMatterAndGivesTheNumberBack()
    {
        // Two matters may not share a subject here, so the insert fails.
        company().exec(QStringLiteral("Create Unique Index jobtran_title_test On jobtran (JobTitle)"));
        open(TFrJobTran::ReceivingMode);
        startMatter(QStringLiteral("A"), QString());
        enter(w->EdJobTitle, QStringLiteral("เครื่องพิมพ์ชั้น 2 พิมพ์ไม่ออก"));
        // A time left half typed is refused and stops the save.
        w->EdJobAppTime->setFocus();
        typeText(w->EdJobAppTime, QStringLiteral("093"));
        QCOMPARE(w->EdJobAppTime->text(), QStringLiteral("09:3"));
        press(Qt::Key_F10);
        QVERIFY(s->dialogs->contains(QStringLiteral("เวลาไม่ถูกต้อง : 09:3")));
        QVERIFY(!s->dialogs->contains(QStringLiteral("จัดเก็บข้อมูล ?")));
        QVERIFY(w->EdJobAppTime->text().isEmpty());
        press(Qt::Key_F10);
        QCOMPARE(lastNo(QStringLiteral("A")), 2);
        QVERIFY(w->matterStarted());
        QVERIFY(w->isNewRecord());
        QCOMPARE(w->EdJobTitle->text(), QStringLiteral("เครื่องพิมพ์ชั้น 2 พิมพ์ไม่ออก"));
        QVERIFY(w->QrJobTran->text(QStringLiteral("JobNo")).trimmed().isEmpty());
        QCOMPARE(s->dialogs->entries.last().kind, QStringLiteral("error"));
        enter(w->EdJobTitle, QStringLiteral("เครื่องพิมพ์ชั้น 3 พิมพ์ไม่ออก"));
        press(Qt::Key_F10);
        QCOMPARE(column(QStringLiteral("JobTitle"), number(QStringLiteral("A"), 3)), QStringLiteral("เครื่องพิมพ์ชั้น 3 พิมพ์ไม่ออก"));
    }

private:
    void AcNewFromKeyboard()
    {
        press(Qt::Key_F3);
        QVERIFY(!w->matterStarted());
    }
};

QTEST_MAIN(TstJobTran)
#include "tst_jobtran.moc"
