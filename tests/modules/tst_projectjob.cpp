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

const QString Demo = QStringLiteral("PJDEMO0001");
const QStringList DemoJobs{"J01", "J02", "J03", "J04", "J05", "J06"};

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
qint64 projectId(const QString &code) { return one(QStringLiteral("Select Id From Project Where Code = :c"), {{"c", code}}).toLongLong(); }

QStringList storedCodes(const QString &project)
{
    QSqlQuery q = company().exec(QStringLiteral("Select Code From ProjectItemHD Where Project = :p Order By Code"), {{"p", projectId(project)}});
    QStringList out;
    while (q.next())
        out << dbText(q.value(0)).trimmed();
    return out;
}

// One stored job: 0 Description, 1 TaskManager, 2 TaskClose, 3 TaskStartDate, 4 Amount,
// 5 StartDate, 6 StopDate, 7 StartDateReal, 8 TaskPlace.
QVariant stored(const QString &project, const QString &code, int column)
{
    QSqlQuery q = company().exec(QStringLiteral("Select Description, TaskManager, TaskClose, TaskStartDate, Amount, StartDate, StopDate,"
                                                " StartDateReal, TaskPlace From ProjectItemHD Where Project = :p And Code = :c"),
                                 {{"p", projectId(project)}, {"c", code}});
    return q.next() ? q.value(column) : QVariant();
}

void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

// Answers the next modal look-up with the row of the code; an empty code cancels it.
void answerLookup(const QString &code, bool *opened)
{
    QTimer::singleShot(0, [code, opened] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d)
            return answerLookup(code, opened);
        *opened = true;
        if (code.isEmpty())
            return QTest::keyClick(d, Qt::Key_Escape);
        QTRY_VERIFY(d->result()->rowCount() > 0);
        for (int r = 0; r < d->result()->rowCount(); ++r)
            if (dbText(d->result()->value(r, QStringLiteral("Code"))).trimmed() == code)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
    });
}

QByteArray unzip(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), args);
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
    void choose(const QString &code)
    {
        w->FaProject->EdCode->setFocus();
        QTRY_VERIFY(w->FaProject->EdCode->hasFocus());
        w->FaProject->EdCode->selectAll();
        typeText(w->FaProject->EdCode, code);
        QTest::keyClick(w->FaProject->EdCode, Qt::Key_Return);
    }
    void answer(const QList<bool> &answers) { s->dialogs->answers = answers; }

    int rowOf(const QString &code) const { return int(gridCodes().indexOf(code)); }
    QStringList gridCodes() const
    {
        QStringList out;
        for (int r = 0; r < w->QrJob->rowCount(); ++r)
            out << dbText(w->QrJob->value(r, QStringLiteral("Code")));
        return out;
    }
    QString shown(const QString &code, const QString &field) const { return dbText(w->QrJob->value(rowOf(code), field)); }
    QModelIndex cell(int row, const QString &field) const { return w->QrJob->index(row, w->QrJob->columnOf(field)); }
    void select(int row, const QString &field)
    {
        w->DgJob->setFocus();
        QTRY_VERIFY(w->DgJob->hasFocus());
        w->DgJob->setCurrentIndex(cell(row, field));
    }
    // Opens the cell's editor with F2, replaces its text and presses Enter.
    void typeCell(int row, const QString &field, const QString &text, bool pressEnter = true)
    {
        select(row, field);
        QTest::keyClick(w->DgJob, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
        if (pressEnter)
            QTest::keyClick(editor, Qt::Key_Return);
    }
    // Down from the last row starts a new job; returns its row.
    int newRow()
    {
        select(w->QrJob->rowCount() - 1, QStringLiteral("Code"));
        QTest::keyClick(w->DgJob, Qt::Key_Down);
        return w->QrJob->rowCount() - 1;
    }
    void newJob(const QString &code, const QString &description)
    {
        const int r = newRow();
        if (!code.isEmpty())
            typeCell(r, QStringLiteral("Code"), code);
        if (!description.isEmpty())
            typeCell(r, QStringLiteral("Description"), description);
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
        QTest::addColumn<bool>("loaded");
        QTest::newRow("jobs in code order") << "PJ0001" << QStringList{"A10", "B20", "C30"} << false << true;
        QTest::newRow("demo project") << Demo << DemoJobs << false << true;
        // An empty project starts with one blank row to type into.
        QTest::newRow("no jobs: copy offered") << "PJ0004" << QStringList{""} << true << true;
        QTest::newRow("no code") << "" << QStringList{} << false << false;
        QTest::newRow("blocked project refused") << "PJ0003" << QStringList{} << false << false;
    }
    void choosingAProjectLoadsItsJobs()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, jobs);
        QFETCH(bool, copyOn);
        QFETCH(bool, loaded);
        for (const char *c : {"C30", "A10", "B20"})
            company().exec(QStringLiteral("Insert Into ProjectItemHD (Project, Code, Description) Values (:p, :c, 'งาน')"),
                           {{"p", projectId(QStringLiteral("PJ0001"))}, {"c", QString::fromLatin1(c)}});
        open();
        QCOMPARE(w->windowTitle(), QStringLiteral("งานของโครงการ [MFG13.04.01]"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        QVERIFY(w->BCopy->isVisible());
        QVERIFY(!w->AcSave->isEnabled() && !w->AcDel->isEnabled() && !w->AcCopy->isEnabled());
        choose(code);
        QCOMPARE(gridCodes(), jobs);
        QVERIFY(w->AcSave->isEnabled() && w->AcDel->isEnabled());
        QCOMPARE(w->AcCopy->isEnabled(), copyOn);
        const qint64 id = loaded ? projectId(code) : 0;
        QCOMPARE(w->projectId(), id);
        QCOMPARE(w->QrNullTable->integer(QStringLiteral("Id")), id);
        if (loaded) {
            QTRY_VERIFY(!w->keyPreview()); // the grid has the focus and keeps Enter
        } else {
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
            QVERIFY(w->FaProject->EdCode->text().isEmpty());
        }
    }

    // Adding, editing and deleting jobs, then F10 writes exactly those rows.
    void editsAreWrittenOnSave()
    {
        const qint64 j04 = one(QStringLiteral("Select Id From ProjectItemHD Where Project = :p And Code = 'J04'"), {{"p", projectId(Demo)}}).toLongLong();
        const QString linesOfJ04 = QStringLiteral("Select Count(*) From ProjectItemDt Where ProjectItemHD = %1").arg(j04);
        const int lines = one(linesOfJ04).toInt();
        QVERIFY(lines > 0);
        const Decimal amountJ02 = decimalFromVariant(stored(Demo, QStringLiteral("J02"), 4));
        company().exec(QStringLiteral("Update ProjectItemHD Set TaskClose = Null"));
        open();
        choose(Demo);
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("งานผนังก่ออิฐ แก้ไขแล้ว"));
        typeCell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskManager"), QStringLiteral("นายช่าง ใจดี"));
        typeCell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskStartDate"), QStringLiteral("03/02/2026"));
        // Passing through the selector again keeps what was typed.
        choose(Demo);
        QCOMPARE(shown(QStringLiteral("J01"), QStringLiteral("TaskManager")), QStringLiteral("นายช่าง ใจดี"));
        // One click ticks the hand-over box.
        QTest::mouseClick(w->DgJob->viewport(), Qt::LeftButton, {}, w->DgJob->visualRect(cell(rowOf(QStringLiteral("J03")), QStringLiteral("TaskClose"))).center());
        QCOMPARE(shown(QStringLiteral("J03"), QStringLiteral("TaskClose")), QStringLiteral("Y"));
        // A stored job whose description is emptied goes at save.
        typeCell(rowOf(QStringLiteral("J05")), QStringLiteral("Description"), QStringLiteral("   "));
        select(rowOf(QStringLiteral("J04")), QStringLiteral("Code"));
        press(Qt::Key_F8);
        QCOMPARE(rowOf(QStringLiteral("J04")), -1);
        QVERIFY(s->dialogs->entries.isEmpty()); // no question for a deleted row
        const int added = newRow();
        QTest::keyClick(w->DgJob, Qt::Key_Down); // a blank new row is not doubled
        QCOMPARE(w->QrJob->rowCount(), added + 1);
        typeCell(added, QStringLiteral("Code"), QStringLiteral("j07"));
        typeCell(added, QStringLiteral("Description"), QStringLiteral("งานติดตั้งป้ายโครงการ"));
        typeCell(added, QStringLiteral("TaskPlace"), QStringLiteral("ใบสั่งงาน 12/2569"));
        // Jobs lacking a code or a description are not stored.
        newJob(QStringLiteral("J98"), QString());
        newJob(QString(), QStringLiteral("มีแต่รายละเอียด"));
        newJob(QStringLiteral("J99"), QStringLiteral("  "));

        answer({true, false});
        press(Qt::Key_F10);
        QCOMPARE(s->dialogs->texts(), (QStringList{QStringLiteral("ยืนยัน จัดเก็บ"), QStringLiteral("Export To Excel ?")}));
        QCOMPARE(storedCodes(Demo), (QStringList{"J01", "J02", "J03", "J06", "J07"}));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J01"), 1)), QStringLiteral("นายช่าง ใจดี"));
        QCOMPARE(dbDate(stored(Demo, QStringLiteral("J01"), 3)), QDate(2026, 2, 3));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J02"), 0)), QStringLiteral("งานผนังก่ออิฐ แก้ไขแล้ว"));
        QCOMPARE(decimalFromVariant(stored(Demo, QStringLiteral("J02"), 4)), amountJ02); // kept by the bill of quantities
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J03"), 2)), QStringLiteral("Y"));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J06"), 2)), QStringLiteral("N")); // never touched
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J07"), 0)), QStringLiteral("งานติดตั้งป้ายโครงการ"));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J07"), 8)), QStringLiteral("ใบสั่งงาน 12/2569"));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J07"), 2)), QStringLiteral("N"));
        QCOMPARE(decimalFromVariant(stored(Demo, QStringLiteral("J07"), 4)), Decimal(0));
        QCOMPARE(one(linesOfJ04).toInt(), lines); // the deleted job's lines are left alone
        // Save ends in New.
        QVERIFY(w->FaProject->EdCode->text().isEmpty());
        QCOMPARE(w->QrJob->rowCount(), 0);
        QVERIFY(!w->AcSave->isEnabled() && !w->AcCopy->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
    }

    void refusedDateStopsTheSave()
    {
        open();
        choose(Demo);
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("ยังไม่บันทึก"));
        typeCell(rowOf(QStringLiteral("J01")), QStringLiteral("TaskStopDate"), QStringLiteral("31/02/2026"), false);
        press(Qt::Key_F10); // straight from the cell
        QVERIFY(s->dialogs->contains(QStringLiteral("ป้อนวันที่ไม่ถูกต้อง")));
        QVERIFY(!s->dialogs->contains(QStringLiteral("ยืนยัน จัดเก็บ")));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J02"), 0)), QStringLiteral("งานโครงสร้างผนังก่ออิฐและฉาบปูน"));
        QCOMPARE(shown(QStringLiteral("J02"), QStringLiteral("Description")), QStringLiteral("ยังไม่บันทึก"));
    }

    void failedSaveWritesNothingAndKeepsTheEdits()
    {
        company().exec(QStringLiteral("Create Unique Index tst_job_code On ProjectItemHD (Project, Code)"));
        open();
        choose(Demo);
        typeCell(rowOf(QStringLiteral("J02")), QStringLiteral("Description"), QStringLiteral("แก้ไขไม่สำเร็จ"));
        select(rowOf(QStringLiteral("J03")), QStringLiteral("Code"));
        press(Qt::Key_F8);
        newJob(QStringLiteral("J01"), QStringLiteral("รหัสซ้ำ"));
        answer({true, false});
        press(Qt::Key_F10);
        QVERIFY(!s->dialogs->contains(QStringLiteral("Export To Excel ?")));
        QVERIFY(!company().inTransaction());
        QCOMPARE(storedCodes(Demo), DemoJobs);
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J02"), 0)), QStringLiteral("งานโครงสร้างผนังก่ออิฐและฉาบปูน"));
        QCOMPARE(gridCodes(), (QStringList{"J01", "J02", "J04", "J05", "J06", "J01"}));
        QCOMPARE(shown(QStringLiteral("J02"), QStringLiteral("Description")), QStringLiteral("แก้ไขไม่สำเร็จ"));
        // Corrected, the same edits go in.
        typeCell(5, QStringLiteral("Code"), QStringLiteral("J07"));
        answer({true, false});
        press(Qt::Key_F10);
        QCOMPARE(storedCodes(Demo), (QStringList{"J01", "J02", "J04", "J05", "J06", "J07"}));
        QCOMPARE(dbText(stored(Demo, QStringLiteral("J02"), 0)), QStringLiteral("แก้ไขไม่สำเร็จ"));
    }

    void copyFillsAnEmptyProjectOnly_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("typed");     // a job typed before copying
        QTest::addColumn<bool>("yes");          // to "there are rows already"
        QTest::addColumn<QString>("source");    // chosen in the look-up; empty cancels
        QTest::addColumn<QStringList>("after"); // the grid afterwards
        QTest::newRow("empty project") << "PJ0004" << "" << true << Demo << DemoJobs;
        QTest::newRow("typed rows, yes") << "PJ0004" << "X01" << true << Demo << DemoJobs;
        QTest::newRow("typed rows, no") << "PJ0004" << "X01" << false << "" << QStringList{"X01"};
        QTest::newRow("look-up cancelled") << "PJ0004" << "" << true << "" << QStringList{""};
        QTest::newRow("project with jobs") << Demo << "" << true << "" << DemoJobs;
    }
    void copyFillsAnEmptyProjectOnly()
    {
        QFETCH(QString, target);
        QFETCH(QString, typed);
        QFETCH(bool, yes);
        QFETCH(QString, source);
        QFETCH(QStringList, after);
        company().exec(QStringLiteral("Update ProjectItemHD Set StartDate = :d, StopDate = :e, TaskManager = 'ไม่ตามมา', StartDateReal = :d,"
                                      " TaskClose = 'Y', TaskPlace = 'แบบ A-01' Where Code = 'J01'"),
                       {{"d", QDate(2026, 4, 1)}, {"e", QDate(2026, 4, 30)}});
        const int lines = one(QStringLiteral("Select Count(*) From ProjectItemDt")).toInt();
        open();
        choose(target);
        const bool offered = w->AcCopy->isEnabled();
        QCOMPARE(offered, target != Demo);
        if (!typed.isEmpty()) {
            typeCell(0, QStringLiteral("Code"), typed);
            typeCell(0, QStringLiteral("Description"), QStringLiteral("งานที่พิมพ์ไว้"));
        }
        answer({yes});
        bool opened = false;
        if (offered && yes)
            answerLookup(source, &opened);
        press(Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(opened, offered && yes);
        QCOMPARE(s->dialogs->contains(QStringLiteral("มีข้อมูล เก่าอยู่แล้ว !!\nต้องการ Copy ?")), !typed.isEmpty());
        QCOMPARE(gridCodes(), after);
        if (source.isEmpty())
            return;
        QCOMPARE(storedCodes(target), QStringList{}); // nothing stored before Save
        answer({true, false});
        press(Qt::Key_F10);
        QCOMPARE(storedCodes(target), after);
        QCOMPARE(dbDate(stored(target, QStringLiteral("J01"), 5)), QDate(2026, 4, 1));
        QCOMPARE(dbDate(stored(target, QStringLiteral("J01"), 6)), QDate(2026, 4, 30));
        QCOMPARE(dbText(stored(target, QStringLiteral("J01"), 2)), QStringLiteral("Y"));
        QCOMPARE(dbText(stored(target, QStringLiteral("J01"), 8)), QStringLiteral("แบบ A-01"));
        QVERIFY(stored(target, QStringLiteral("J01"), 1).isNull()); // the person responsible is not copied
        QVERIFY(stored(target, QStringLiteral("J01"), 7).isNull()); // nor the actual start
        QCOMPARE(decimalFromVariant(stored(target, QStringLiteral("J02"), 4)), decimalFromVariant(stored(Demo, QStringLiteral("J02"), 4)));
        QCOMPARE(one(QStringLiteral("Select Count(*) From ProjectItemDt")).toInt(), lines);
        QCOMPARE(storedCodes(Demo), DemoJobs);
    }

    void exportWritesTheSpreadsheet_data()
    {
        QTest::addColumn<QString>("project");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("jobs exported") << Demo << true << true << "";
        QTest::newRow("declined") << Demo << false << false << "";
        QTest::newRow("no jobs") << "PJ0004" << true << false << "ไม่มีข้อมูล เพื่อ Export To Excel !!";
        QTest::newRow("folder cannot be made") << Demo << true << false << "ไม่สามารถเขียนไฟล์";
    }
    void exportWritesTheSpreadsheet()
    {
        QFETCH(QString, project);
        QFETCH(bool, yes);
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
        answer({true, yes});
        press(Qt::Key_F10);
        const QString path = QDir(desktop->path()).filePath(QStringLiteral("QLXExportToExcel.xlsx"));
        QCOMPARE(QFile::exists(path), file);
        QCOMPARE(s->dialogs->entries.last().kind == QLatin1String("open"), file);
        if (!message.isEmpty())
            QVERIFY(s->dialogs->contains(message));
        if (!file)
            return;
        QCOMPARE(s->dialogs->entries.last().text, path);
        QVERIFY(unzip({QStringLiteral("-l"), path}).contains("xl/worksheets/sheet1.xml"));
        const QString strings = QString::fromUtf8(unzip({QStringLiteral("-p"), path, QStringLiteral("xl/sharedStrings.xml")}));
        for (const char *t : {"รหัส", "วันที่เริ่มดำเนินงานจริง", "ส่งมอบ ?", "งานระบบไฟฟ้าแสงสว่างและเต้ารับ", "J06"})
            QVERIFY2(strings.contains(QString::fromUtf8(t)), t);
        // Dates are date cells shown day/month/year; 9 March 2026 is day 46090.
        QVERIFY(unzip({QStringLiteral("-p"), path, QStringLiteral("xl/styles.xml")}).contains("formatCode=\"dd/mm/yyyy\""));
        QVERIFY(unzip({QStringLiteral("-p"), path, QStringLiteral("xl/worksheets/sheet1.xml")}).contains("<v>46090</v>"));
    }
};

QTEST_MAIN(TstProjectJob)
#include "tst_projectjob.moc"
