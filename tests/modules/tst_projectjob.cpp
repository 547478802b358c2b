#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGetProject.h"
#include "lookup/TFrSearch.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/RecordBuffer.h"
#include "modules/Modules.h"
#include "modules/projects/TFrProjectJob.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// The project-jobs window driven as a user drives it: a project code typed
// into the selector, cells typed into, F8, F6, F10; then the rows are read.
namespace {

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
int count(const QString &sql, const Params &p = {}) { return one(sql, p).toInt(); }
qint64 projectId(const QString &code) { return one(QStringLiteral("Select Id From Project Where Code = :c"), {{"c", code}}).toLongLong(); }

// The job codes of a project as stored, in code order.
QStringList storedCodes(const QString &project)
{
    QSqlQuery q = company().exec(QStringLiteral("Select Code From ProjectItemHD Where Project = :p Order By Code"), {{"p", projectId(project)}});
    QStringList out;
    while (q.next())
        out << dbText(q.value(0)).trimmed();
    return out;
}

QSqlQuery storedJob(const QString &project, const QString &code)
{
    QSqlQuery q = company().exec(QStringLiteral("Select Description, TaskManager, TaskClose, TaskStartDate, Amount, StartDate, StopDate,"
                                                " StartDateReal, TaskPlace, TaskCloseDate From ProjectItemHD Where Project = :p And Code = :c"),
                                 {{"p", projectId(project)}, {"c", code}});
    q.next();
    return q;
}

void enter(QWidget *box, const QString &text)
{
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
    if (auto *e = qobject_cast<QLineEdit *>(box))
        e->selectAll();
    typeText(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

// Answers the next modal look-up with the row of the code; an empty code cancels it.
void answerLookup(const QString &code, bool *opened = nullptr)
{
    QTimer::singleShot(0, [code, opened] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d) {
            answerLookup(code, opened);
            return;
        }
        if (opened)
            *opened = true;
        if (code.isEmpty()) {
            QTest::keyClick(d, Qt::Key_Escape);
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

QByteArray unzipped(const QString &file, const QString &member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    p.waitForFinished(20000);
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

} // namespace

class TstProjectJob : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrProjectJob> w;
    std::unique_ptr<QTemporaryDir> desktop;

    void open()
    {
        w = std::make_unique<TFrProjectJob>();
        w->ExportFolder = desktop->path();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
    }
    // Types the project code and presses Enter: the focus goes on to the grid.
    void choose(const QString &code) { enter(w->FaProject->EdCode, code); }

    int rowOf(const QString &code) const
    {
        for (int r = 0; r < w->QrJob->rowCount(); ++r)
            if (dbText(w->QrJob->value(r, QStringLiteral("Code"))) == code)
                return r;
        return -1;
    }
    QStringList gridCodes() const
    {
        QStringList out;
        for (int r = 0; r < w->QrJob->rowCount(); ++r)
            out << dbText(w->QrJob->value(r, QStringLiteral("Code")));
        return out;
    }
    QModelIndex cell(int row, const QString &field) const { return w->QrJob->index(row, w->QrJob->columnOf(field)); }
    // Opens the cell's editor with F2, replaces its text and presses Enter.
    void typeCell(int row, const QString &field, const QString &text)
    {
        w->DgJob->setFocus();
        QTRY_VERIFY(w->DgJob->hasFocus());
        w->DgJob->setCurrentIndex(cell(row, field));
        QTest::keyClick(w->DgJob, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    void clickCell(int row, const QString &field)
    {
        const QRect r = w->DgJob->visualRect(cell(row, field));
        QTest::mouseClick(w->DgJob->viewport(), Qt::LeftButton, {}, r.center());
    }
    // Down from the last row starts a new job; returns its row.
    int newRow()
    {
        w->DgJob->setFocus();
        if (w->QrJob->rowCount() > 0)
            w->DgJob->setCurrentIndex(cell(w->QrJob->rowCount() - 1, QStringLiteral("Code")));
        QTest::keyClick(w->DgJob, Qt::Key_Down);
        return w->QrJob->rowCount() - 1;
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
        s->cfg->IsThai = true;
        s->cfg->MenuCaption = QStringLiteral("งานของโครงการ");
        s->cfg->CompanyName = QStringLiteral("บริษัท ตัวอย่าง จำกัด");
        desktop = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
        desktop.reset();
    }

    void choosingAProjectLoadsItsJobs_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("jobs");
        QTest::addColumn<bool>("copyOn");
        QTest::addColumn<bool>("focusStays");
        QTest::newRow("jobs in code order") << "PJ0001" << QStringList{"A10", "B20", "C30"} << false << false;
        QTest::newRow("demo project") << "PJDEMO0001" << QStringList{"J01", "J02", "J03", "J04", "J05", "J06"} << false << false;
        QTest::newRow("no jobs: copy offered") << "PJ0004" << QStringList{} << true << false;
        QTest::newRow("no code") << "" << QStringList{} << false << true;
        QTest::newRow("blocked project refused") << "PJ0003" << QStringList{} << false << true;
    }
    void choosingAProjectLoadsItsJobs()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, jobs);
        QFETCH(bool, copyOn);
        QFETCH(bool, focusStays);
        const qint64 pj1 = projectId(QStringLiteral("PJ0001"));
        for (const char *c : {"C30", "A10", "B20"})
            company().exec(QStringLiteral("Insert Into ProjectItemHD (Project, Code, Description) Values (:p, :c, 'งาน')"),
                           {{"p", pj1}, {"c", QString::fromLatin1(c)}});
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("งานของโครงการ [MFG13.04.01]"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        QVERIFY(w->BCopy->isVisible());
        QVERIFY(!w->AcSave->isEnabled() && !w->AcDel->isEnabled() && !w->AcCopy->isEnabled());

        choose(code);
        QCOMPARE(gridCodes().mid(0, jobs.size()), jobs);
        QVERIFY(w->AcSave->isEnabled());
        QVERIFY(w->AcDel->isEnabled());
        QCOMPARE(w->AcCopy->isEnabled(), copyOn);
        if (focusStays) {
            QCOMPARE(w->projectId(), qint64(0));
            QCOMPARE(w->QrNullTable->integer(QStringLiteral("Id")), qint64(0));
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
            QVERIFY(w->FaProject->EdCode->text().isEmpty());
            QCOMPARE(w->QrJob->rowCount(), 0);
        } else {
            QCOMPARE(w->projectId(), projectId(code));
            QCOMPARE(w->QrNullTable->integer(QStringLiteral("Id")), projectId(code));
            QTRY_VERIFY(!w->keyPreview()); // the grid has the focus and keeps Enter
            // An empty project starts with one blank row to type into.
            QCOMPARE(w->QrJob->rowCount(), qMax<qsizetype>(1, jobs.size()));
        }
    }

    // Adding, editing and deleting jobs, then F10 writes exactly those rows.
    void editsAreWrittenOnSave()
    {
        const qint64 pj = projectId(QStringLiteral("PJDEMO0001"));
        const qint64 j04 = one(QStringLiteral("Select Id From ProjectItemHD Where Project = :p And Code = 'J04'"), {{"p", pj}}).toLongLong();
        const int j04Lines = count(QStringLiteral("Select Count(*) From ProjectItemDt Where ProjectItemHD = :h"), {{"h", j04}});
        QVERIFY(j04Lines > 0);
        const QVariant j02Amount = one(QStringLiteral("Select Amount From ProjectItemHD Where Project = :p And Code = 'J02'"), {{"p", pj}});
        company().exec(QStringLiteral("Update ProjectItemHD Set TaskClose = Null Where Project = :p"), {{"p", pj}});
        open();
        choose(QStringLiteral("PJDEMO0001"));
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("งานผนังก่ออิฐ แก้ไขแล้ว"));
        typeCell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskManager"), QStringLiteral("นายช่าง ใจดี"));
        typeCell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskStartDate"), QStringLiteral("03/02/2026"));
        // Passing through the selector again keeps what was typed.
        choose(QStringLiteral("PJDEMO0001"));
        QCOMPARE(dbText(w->QrJob->value(rowOf(QStringLiteral("J01")), QStringLiteral("TaskManager"))), QStringLiteral("นายช่าง ใจดี"));
        clickCell(rowOf(QStringLiteral("J03")), QStringLiteral("TaskClose"));
        QCOMPARE(dbText(w->QrJob->value(rowOf(QStringLiteral("J03")), QStringLiteral("TaskClose"))), QStringLiteral("Y"));
        // A stored job whose description is emptied goes at save.
        typeCell(rowOf(QStringLiteral("J05")), QStringLiteral("Description"), QStringLiteral("   "));
        w->DgJob->setFocus();
        w->DgJob->setCurrentIndex(cell(rowOf(QStringLiteral("J04")), QStringLiteral("Code")));
        press(Qt::Key_F8);
        QCOMPARE(rowOf(QStringLiteral("J04")), -1);
        QVERIFY(s->dialogs->entries.isEmpty()); // no question for a deleted row
        const int added = newRow();
        QCOMPARE(added, 5);
        // Down again on a blank new row does not pile up rows.
        QTest::keyClick(w->DgJob, Qt::Key_Down);
        QCOMPARE(w->QrJob->rowCount(), 6);
        typeCell(added, QStringLiteral("Code"), QStringLiteral("j07"));
        typeCell(added, QStringLiteral("Description"), QStringLiteral("งานติดตั้งป้ายโครงการ"));
        typeCell(added, QStringLiteral("TaskPlace"), QStringLiteral("ใบสั่งงาน 12/2569"));

        s->dialogs->answers = {true, false};
        press(Qt::Key_F10);
        QCOMPARE(s->dialogs->texts(), (QStringList{QStringLiteral("ยืนยัน จัดเก็บ"), QStringLiteral("Export To Excel ?")}));
        QCOMPARE(storedCodes(QStringLiteral("PJDEMO0001")), (QStringList{"J01", "J02", "J03", "J06", "J07"}));
        QSqlQuery q = storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J01"));
        QCOMPARE(dbText(q.value(1)), QStringLiteral("นายช่าง ใจดี"));
        QCOMPARE(dbDate(q.value(3)), QDate(2026, 2, 3));
        QCOMPARE(dbText(q.value(2)), QStringLiteral("N"));
        q = storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J02"));
        QCOMPARE(dbText(q.value(0)), QStringLiteral("งานผนังก่ออิฐ แก้ไขแล้ว"));
        QCOMPARE(decimalFromVariant(q.value(4)), decimalFromVariant(j02Amount)); // kept by the bill of quantities
        QCOMPARE(dbText(storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J03")).value(2)), QStringLiteral("Y"));
        q = storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J07"));
        QCOMPARE(dbText(q.value(0)), QStringLiteral("งานติดตั้งป้ายโครงการ"));
        QCOMPARE(dbText(q.value(8)), QStringLiteral("ใบสั่งงาน 12/2569"));
        QCOMPARE(dbText(q.value(2)), QStringLiteral("N")); // never touched
        QCOMPARE(decimalFromVariant(q.value(4)), Decimal(0));
        // The deleted job's bill-of-quantities lines are left alone.
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemDt Where ProjectItemHD = :h"), {{"h", j04}}), j04Lines);
        // Save ends in New.
        QVERIFY(w->FaProject->EdCode->text().isEmpty());
        QCOMPARE(w->QrJob->rowCount(), 0);
        QVERIFY(!w->AcSave->isEnabled());
        QVERIFY(!w->AcCopy->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
    }

    void incompleteJobsAreNotStored_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("description");
        QTest::newRow("code only") << "J99" << "";
        QTest::newRow("description only") << "" << "มีแต่รายละเอียด";
        QTest::newRow("blank description") << "J98" << "   ";
    }
    void incompleteJobsAreNotStored()
    {
        QFETCH(QString, code);
        QFETCH(QString, description);
        open();
        choose(QStringLiteral("PJ0004"));
        QCOMPARE(w->QrJob->rowCount(), 1);
        if (!code.isEmpty())
            typeCell(0, QStringLiteral("Code"), code);
        if (!description.isEmpty())
            typeCell(0, QStringLiteral("Description"), description);
        typeCell(0, QStringLiteral("TaskManager"), QStringLiteral("ผู้คุมงาน"));
        const int complete = newRow();
        typeCell(complete, QStringLiteral("Code"), QStringLiteral("K01"));
        typeCell(complete, QStringLiteral("Description"), QStringLiteral("งานครบ"));
        s->dialogs->answers = {true, false};
        press(Qt::Key_F10);
        QCOMPARE(storedCodes(QStringLiteral("PJ0004")), QStringList{"K01"});
    }

    void refusedDateStopsTheSave()
    {
        open();
        choose(QStringLiteral("PJDEMO0001"));
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("ยังไม่บันทึก"));
        w->DgJob->setCurrentIndex(cell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskStopDate")));
        QTest::keyClick(w->DgJob, Qt::Key_F2);
        typeText(QApplication::focusWidget(), QStringLiteral("31/02/2026"));
        press(Qt::Key_F10); // straight from the cell
        QVERIFY(s->dialogs->contains(QStringLiteral("ป้อนวันที่ไม่ถูกต้อง")));
        QVERIFY(!s->dialogs->contains(QStringLiteral("ยืนยัน จัดเก็บ")));
        QCOMPARE(dbText(storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J02")).value(0)), QStringLiteral("งานโครงสร้างผนังก่ออิฐและฉาบปูน"));
        QCOMPARE(dbText(w->QrJob->value(rowOf(QStringLiteral("J02")), QStringLiteral("Description"))), QStringLiteral("ยังไม่บันทึก"));
        QVERIFY(w->QrJob->value(rowOf(QStringLiteral("J01")), QStringLiteral("TaskStopDate")).isNull());
    }

    void failedSaveWritesNothingAndKeepsTheEdits()
    {
        company().exec(QStringLiteral("Create Unique Index tst_job_code On ProjectItemHD (Project, Code)"));
        open();
        choose(QStringLiteral("PJDEMO0001"));
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("แก้ไขไม่สำเร็จ"));
        w->DgJob->setFocus();
        w->DgJob->setCurrentIndex(cell(rowOf(QStringLiteral("J03")), QStringLiteral("Code")));
        press(Qt::Key_F8);
        const int added = newRow();
        typeCell(added, QStringLiteral("Code"), QStringLiteral("J01"));
        typeCell(added, QStringLiteral("Description"), QStringLiteral("รหัสซ้ำ"));
        s->dialogs->answers = {true, false};
        press(Qt::Key_F10);
        QVERIFY(!s->dialogs->texts().contains(QStringLiteral("Export To Excel ?")));
        QVERIFY(!company().inTransaction());
        QCOMPARE(storedCodes(QStringLiteral("PJDEMO0001")), (QStringList{"J01", "J02", "J03", "J04", "J05", "J06"}));
        QCOMPARE(dbText(storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J02")).value(0)), QStringLiteral("งานโครงสร้างผนังก่ออิฐและฉาบปูน"));
        QCOMPARE(gridCodes(), (QStringList{"J01", "J02", "J04", "J05", "J06", "J01"}));
        QCOMPARE(dbText(w->QrJob->value(rowOf(QStringLiteral("J02")), QStringLiteral("Description"))), QStringLiteral("แก้ไขไม่สำเร็จ"));
        QCOMPARE(w->projectId(), projectId(QStringLiteral("PJDEMO0001")));
        // Corrected, the same edits go in.
        typeCell(added, QStringLiteral("Code"), QStringLiteral("J07"));
        s->dialogs->answers = {true, false};
        press(Qt::Key_F10);
        QCOMPARE(storedCodes(QStringLiteral("PJDEMO0001")), (QStringList{"J01", "J02", "J04", "J05", "J06", "J07"}));
        QCOMPARE(dbText(storedJob(QStringLiteral("PJDEMO0001"), QStringLiteral("J02")).value(0)), QStringLiteral("แก้ไขไม่สำเร็จ"));
    }

    void copyFillsAnEmptyProjectOnly_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("typed");     // a job typed before copying
        QTest::addColumn<bool>("answer");       // to "there are rows already"
        QTest::addColumn<QString>("source");    // chosen in the look-up; empty cancels
        QTest::addColumn<QStringList>("after"); // the grid afterwards
        const QStringList demo{"J01", "J02", "J03", "J04", "J05", "J06"};
        QTest::newRow("empty project") << "PJ0004" << "" << true << "PJDEMO0001" << demo;
        QTest::newRow("typed rows, yes") << "PJ0004" << "X01" << true << "PJDEMO0001" << demo;
        QTest::newRow("typed rows, no") << "PJ0004" << "X01" << false << "" << QStringList{"X01"};
        QTest::newRow("look-up cancelled") << "PJ0004" << "" << true << "" << QStringList{""};
        QTest::newRow("project with jobs") << "PJDEMO0001" << "" << true << "" << demo;
    }
    void copyFillsAnEmptyProjectOnly()
    {
        QFETCH(QString, target);
        QFETCH(QString, typed);
        QFETCH(bool, answer);
        QFETCH(QString, source);
        QFETCH(QStringList, after);
        const qint64 src = projectId(QStringLiteral("PJDEMO0001"));
        company().exec(QStringLiteral("Update ProjectItemHD Set StartDate = :d, StopDate = :e, TaskManager = 'ไม่ตามมา', StartDateReal = :d,"
                                      " TaskClose = 'Y', TaskPlace = 'แบบ A-01' Where Project = :p And Code = 'J01'"),
                       {{"d", QDate(2026, 4, 1)}, {"e", QDate(2026, 4, 30)}, {"p", src}});
        const int sourceLines = count(QStringLiteral("Select Count(*) From ProjectItemDt"));
        open();
        choose(target);
        const bool copyOffered = w->AcCopy->isEnabled();
        QCOMPARE(copyOffered, target == QLatin1String("PJ0004"));
        if (!typed.isEmpty()) {
            typeCell(0, QStringLiteral("Code"), typed);
            typeCell(0, QStringLiteral("Description"), QStringLiteral("งานที่พิมพ์ไว้"));
        }
        s->dialogs->answers = {answer};
        bool opened = false;
        if (copyOffered && answer)
            answerLookup(source, &opened);
        press(Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(opened, copyOffered && answer);
        QCOMPARE(s->dialogs->contains(QStringLiteral("มีข้อมูล เก่าอยู่แล้ว !!\nต้องการ Copy ?")), !typed.isEmpty());
        QCOMPARE(gridCodes(), after);
        if (source.isEmpty())
            return;
        // Nothing is stored before Save.
        QCOMPARE(storedCodes(target), QStringList{});
        s->dialogs->answers = {true, false};
        press(Qt::Key_F10);
        QCOMPARE(storedCodes(target), after);
        QSqlQuery q = storedJob(target, QStringLiteral("J01"));
        QCOMPARE(dbDate(q.value(5)), QDate(2026, 4, 1));
        QCOMPARE(dbDate(q.value(6)), QDate(2026, 4, 30));
        QCOMPARE(dbText(q.value(2)), QStringLiteral("Y"));
        QCOMPARE(dbText(q.value(8)), QStringLiteral("แบบ A-01"));
        QVERIFY(q.value(1).isNull());  // the person responsible is not copied
        QVERIFY(q.value(7).isNull());  // nor the actual start
        QCOMPARE(decimalFromVariant(storedJob(target, QStringLiteral("J02")).value(4)),
                 decimalFromVariant(one(QStringLiteral("Select Amount From ProjectItemHD Where Project = :p And Code = 'J02'"), {{"p", src}})));
        QCOMPARE(count(QStringLiteral("Select Count(*) From ProjectItemDt")), sourceLines);
        QCOMPARE(storedCodes(QStringLiteral("PJDEMO0001")), after);
    }

    void exportWritesTheSpreadsheet_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("exportIt");
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("jobs exported") << "PJDEMO0001" << true << true << "";
        QTest::newRow("declined") << "PJDEMO0001" << false << false << "";
        QTest::newRow("no jobs") << "PJ0004" << true << false << "ไม่มีข้อมูล เพื่อ Export To Excel !!";
        QTest::newRow("folder cannot be made") << "PJDEMO0001" << true << false << "ไม่สามารถเขียนไฟล์";
    }
    void exportWritesTheSpreadsheet()
    {
        QFETCH(QString, project);
        QFETCH(bool, exportIt);
        QFETCH(bool, file);
        QFETCH(QString, message);
        company().exec(QStringLiteral("Update ProjectItemHD Set TaskStartDate = :d Where Code = 'J03'"), {{"d", QDate(2026, 3, 9)}});
        open();
        if (QByteArray(QTest::currentDataTag()) == "folder cannot be made") {
            QFile blocker(QDir(desktop->path()).filePath(QStringLiteral("file")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            w->ExportFolder = blocker.fileName() + QStringLiteral("/Desktop");
        }
        choose(project);
        s->dialogs->answers = {true, exportIt};
        press(Qt::Key_F10);
        const QString path = QDir(desktop->path()).filePath(QStringLiteral("QLXExportToExcel.xlsx"));
        QCOMPARE(QFile::exists(path), file);
        if (!message.isEmpty())
            QVERIFY(s->dialogs->contains(message));
        if (!file)
            return;
        QCOMPARE(s->dialogs->entries.last().kind, QStringLiteral("open"));
        QCOMPARE(s->dialogs->entries.last().text, path);
        QProcess list;
        list.start(QStringLiteral("unzip"), {QStringLiteral("-l"), path});
        QVERIFY(list.waitForFinished(20000));
        QCOMPARE(list.exitCode(), 0);
        QVERIFY(list.readAllStandardOutput().contains("xl/worksheets/sheet1.xml"));
        const QString strings = QString::fromUtf8(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
        for (const char *t : {"รหัส", "วันที่เริ่มดำเนินงานจริง", "ส่งมอบ ?", "งานระบบไฟฟ้าแสงสว่างและเต้ารับ", "J06"})
            QVERIFY2(strings.contains(QString::fromUtf8(t)), t);
        // Dates are date cells shown day/month/year; 9 March 2026 is day 46090.
        QVERIFY(unzipped(path, QStringLiteral("xl/styles.xml")).contains("formatCode=\"dd/mm/yyyy\""));
        QVERIFY(unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml")).contains("<v>46090</v>"));
    }
};

QTEST_MAIN(TstProjectJob)
#include "tst_projectjob.moc"
