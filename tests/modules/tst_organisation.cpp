#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TFrSearch.h"
#include "lookup/edit/CachedGridModel.h"
#include "modules/Modules.h"
#include "modules/organisation/TFrBranch.h"
#include "modules/organisation/TFrDepartment.h"
#include "modules/organisation/TFrEmployee.h"
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QtTest>

// The employee, department and branch windows driven as a user drives them:
// cells typed into, F3, F8, F10; then the rows are read back.
namespace {

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
QVariant miscId(const QString &group, const QString &code)
{
    return one(QStringLiteral("Select Id From Misc Where GroupCode = :g And Code = :c"), {{"g", group}, {"c", code}});
}

// What differs between the three windows, as far as the shared tests go.
struct Window
{
    std::function<TFrCodeGrid *()> make;
    QString codeField, nameField; // in the grid
    QString codes;                // the stored codes, in order
    QString nameOf;               // the stored name of :c
    QString insertOther;          // another user's row with code :c
    bool deleteWritesAtOnce = false;
};

Window window(const QString &name)
{
    if (name == QLatin1String("employee"))
        return {[] { return new TFrEmployee; }, "Code", "Name", "Select Code From Employee Order By Code",
                "Select Name From Employee Where Code = :c", "Insert Into Employee (Code, Name, Status) Values (:c, 'ผู้อื่น', 'Y')", true};
    if (name == QLatin1String("department"))
        return {[] { return new TFrDepartment; }, "code", "description",
                "Select Code From Misc Where GroupCode = 'DEPARTMENT' Order By Code",
                "Select Description From Misc Where GroupCode = 'DEPARTMENT' And Code = :c",
                "Insert Into Misc (GroupCode, Code, Description) Values ('DEPARTMENT', :c, 'ผู้อื่น')"};
    return {[] { return new TFrBranch; }, "BranchCode", "BranchName",
            "Select BranchCode From Branch Where DelFlag <> 'Y' Order By BranchCode",
            "Select BranchName From Branch Where BranchCode = :c",
            "Insert Into Branch (DelFlag, BranchCode, BranchName) Values ('N', :c, 'ผู้อื่น')"};
}

QStringList stored(const Window &win)
{
    QSqlQuery q = company().exec(win.codes);
    QStringList out;
    while (q.next())
        out << dbText(q.value(0)).trimmed();
    return out;
}

void press(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

// Answers the next modal look-up: searches for the text, then chooses the code.
void answerLookup(const QString &search, const QString &code, bool *opened)
{
    QTimer::singleShot(0, [=] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d)
            return answerLookup(search, code, opened);
        *opened = true;
        d->Code->setText(search);
        d->Search();
        QTRY_VERIFY(d->result()->rowCount() > 0);
        for (int r = 0; r < d->result()->rowCount(); ++r)
            if (dbText(d->result()->value(r, QStringLiteral("code"))).trimmed() == code)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
    });
}

void addWindowRows()
{
    QTest::addColumn<QString>("name");
    for (const char *n : {"employee", "department", "branch"})
        QTest::newRow(n) << QString::fromLatin1(n);
}

} // namespace

class TstOrganisation : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrCodeGrid> w;

    void open(const Window &win)
    {
        w.reset(win.make());
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    CachedGridModel *model() const { return w->Model; }
    QModelIndex cell(int row, const QString &field) const { return model()->index(row, model()->columnOf(field)); }
    int rowOf(const QString &field, const QString &code) const
    {
        for (int r = 0; r < model()->rowCount(); ++r)
            if (dbText(model()->value(r, field)).trimmed() == code)
                return r;
        return -1;
    }
    QStringList storedRowsShown(const QString &field) const
    {
        QStringList out;
        for (int r = 0; r < model()->rowCount(); ++r)
            if (model()->rowState(r) != CachedGridModel::RowState::Inserted)
                out << dbText(model()->value(r, field)).trimmed();
        return out;
    }
    void select(int row, const QString &field)
    {
        w->Grid->setFocus();
        QTRY_VERIFY(w->Grid->hasFocus());
        w->Grid->setCurrentIndex(cell(row, field));
    }
    // Opens the cell's editor with F2, replaces its text and presses Enter.
    void typeCell(int row, const QString &field, const QString &text)
    {
        select(row, field);
        QTest::keyClick(w->Grid, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        auto *line = qobject_cast<QLineEdit *>(editor);
        // A drop-down that takes typed codes keeps the focus on itself.
        if (auto *combo = qobject_cast<QComboBox *>(editor); combo && combo->isEditable())
            line = combo->lineEdit();
        QVERIFY2(line, qPrintable(field));
        line->selectAll();
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Chooses an entry of a drop-down cell by its text.
    void chooseCell(int row, const QString &field, const QString &shown)
    {
        select(row, field);
        QTest::keyClick(w->Grid, Qt::Key_F2);
        auto *combo = qobject_cast<QComboBox *>(QApplication::focusWidget());
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText(shown));
        QVERIFY(combo->currentIndex() >= 0);
        QTest::keyClick(combo, Qt::Key_Return);
    }
    // F3, then code and name (and the department an employee needs).
    int newRow(const Window &win, const QString &code, const QString &name)
    {
        select(0, win.codeField);
        press(Qt::Key_F3);
        const int r = w->Grid->currentIndex().row();
        if (!code.isEmpty())
            typeCell(r, win.codeField, code);
        if (!name.isEmpty())
            typeCell(r, win.nameField, name);
        if (!code.isEmpty() && qobject_cast<TFrEmployee *>(w.get()))
            typeCell(r, QStringLiteral("DepCode"), QStringLiteral("D02"));
        return r;
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
        s->cfg->CanAccess = s->cfg->CanAdd = s->cfg->CanModify = s->cfg->CanDelete = true;
        s->cfg->IsThai = true;
        s->cfg->MenuCaption = QStringLiteral(" พนักงาน ");
        s->cfg->CompanyName = QStringLiteral("บริษัท ตัวอย่าง จำกัด");
        s->cfg->ConfirmSaveText = QStringLiteral("จัดเก็บข้อมูล ?");
        s->cfg->ConfirmDeleteText = QStringLiteral("ลบข้อมูล ?");
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    void editsAreWrittenOnSave_data() { addWindowRows(); }
    void editsAreWrittenOnSave()
    {
        QFETCH(QString, name);
        const Window win = window(name);
        const QStringList before = stored(win);
        QVERIFY(before.size() >= 3);
        open(win);
        QCOMPARE(storedRowsShown(win.codeField), before);
        if (qEnvironmentVariableIsSet("QLX_GRAB_DIR"))
            QVERIFY(w->grab().save(qEnvironmentVariable("QLX_GRAB_DIR") + QLatin1Char('/') + name + QStringLiteral(".png")));

        typeCell(rowOf(win.codeField, before.at(0)), win.nameField, QStringLiteral("แก้ไขแล้ว"));
        select(rowOf(win.codeField, before.at(1)), win.codeField);
        press(Qt::Key_F8);
        QCOMPARE(rowOf(win.codeField, before.at(1)), -1);
        QCOMPARE(stored(win).contains(before.at(1)), !win.deleteWritesAtOnce);
        newRow(win, QStringLiteral("x01"), QStringLiteral("รายการใหม่"));
        newRow(win, QString(), QString()); // left empty: not stored
        QCOMPARE(dbText(one(win.nameOf, {{"c", before.at(0)}})) == QStringLiteral("แก้ไขแล้ว"), win.deleteWritesAtOnce);

        press(Qt::Key_F10);
        QVERIFY(s->dialogs->contains(QStringLiteral("ลบข้อมูล ?")));
        QCOMPARE(s->dialogs->texts().last(), QStringLiteral("จัดเก็บข้อมูล ?"));
        QStringList after = before;
        after.removeAt(1);
        after << QStringLiteral("X01");
        after.sort();
        QCOMPARE(stored(win), after);
        QCOMPARE(dbText(one(win.nameOf, {{"c", before.at(0)}})), QStringLiteral("แก้ไขแล้ว"));
        QCOMPARE(dbText(one(win.nameOf, {{"c", "X01"}})), QStringLiteral("รายการใหม่"));
        QVERIFY(!model()->hasPendingChanges() || qobject_cast<TFrBranch *>(w.get()));
        QVERIFY(!company().inTransaction());
    }

    void rightsDisableWhatTheyShould_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("modify");
        QTest::addColumn<bool>("del");
        QTest::addColumn<bool>("saveOn");
        QTest::addColumn<bool>("deleteOn");
        QTest::addColumn<QString>("message"); // on F3, then on F8 of a stored row
        QTest::newRow("employee, add only") << "employee" << true << false << false << true << false << "";
        QTest::newRow("employee, modify and delete") << "employee" << false << true << true << true << true << "ผู้ใช้งานไม่มีสิทธิ์ เพิ่มรายการ";
        QTest::newRow("employee, none") << "employee" << false << false << false << false << false << "ผู้ใช้งานไม่มีสิทธิ์ เพิ่มรายการ";
        QTest::newRow("department, add only") << "department" << true << false << false << true << true << "ผู้ใช้งาน ไม่มีสิทธิลบรายการ";
        QTest::newRow("department, modify") << "department" << false << true << false << true << true << "ผู้ใช้งานไม่มีสิทธิ์ เพิ่มรายการ";
        QTest::newRow("branch, add only") << "branch" << true << false << false << true << false << "";
        QTest::newRow("branch, modify and delete") << "branch" << false << true << true << true << true << "";
    }
    void rightsDisableWhatTheyShould()
    {
        QFETCH(QString, name);
        QFETCH(bool, add);
        QFETCH(bool, modify);
        QFETCH(bool, del);
        QFETCH(bool, saveOn);
        QFETCH(bool, deleteOn);
        QFETCH(QString, message);
        s->cfg->CanAdd = add;
        s->cfg->CanModify = modify;
        s->cfg->CanDelete = del;
        const Window win = window(name);
        const QStringList before = stored(win);
        open(win);
        QCOMPARE(w->AcSave->isEnabled(), saveOn);
        QCOMPARE(w->AcDel->isEnabled(), deleteOn);
        // Stored rows change only with the right to modify; added rows always.
        QCOMPARE(bool(cell(0, win.codeField).flags() & Qt::ItemIsEditable), modify);
        QCOMPARE(bool(cell(0, win.nameField).flags() & Qt::ItemIsEditable), modify);
        const int rows = model()->rowCount();
        select(0, win.codeField);
        press(Qt::Key_F3);
        if (add) {
            const int last = model()->rowCount() - 1;
            QVERIFY(model()->rowCount() >= rows);
            QCOMPARE(model()->rowState(last), CachedGridModel::RowState::Inserted);
            QVERIFY(cell(last, win.codeField).flags() & Qt::ItemIsEditable);
            QCOMPARE(w->Grid->currentIndex(), cell(last, win.codeField));
        } else {
            QCOMPARE(model()->rowCount(), rows);
        }
        select(0, win.codeField);
        press(Qt::Key_F8);
        QCOMPARE(rowOf(win.codeField, before.at(0)) < 0, del);
        if (!message.isEmpty())
            QVERIFY2(s->dialogs->contains(message), qPrintable(s->dialogs->texts().join(QLatin1Char('|'))));
        else
            QVERIFY(s->dialogs->texts().filter(QStringLiteral("สิทธิ")).isEmpty());
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("field"); // typed into the first stored row; empty: a new row with its code
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("employee, code twice") << "employee" << "" << "E002" << "รหัส \"E002\" ซ้ำกับรายการอื่น";
        QTest::newRow("employee, code blanked") << "employee" << "Code" << " " << "กรุณาป้อน รหัส";
        QTest::newRow("employee, name blanked") << "employee" << "Name" << " " << "กรุณาป้อน ชื่อ";
        QTest::newRow("employee, department unknown") << "employee" << "DepCode" << "D99" << "กรุณาป้อน รหัสแผนก";
        QTest::newRow("department, code twice") << "department" << "" << "D03" << "รหัสแผนก \"D03\" ซ้ำกับรายการอื่น";
        QTest::newRow("department, code blanked") << "department" << "code" << " " << "กรุณาป้อน รหัสแผนก";
        QTest::newRow("branch, code twice") << "branch" << "" << "hq" << "รหัส \"HQ\" ซ้ำกับรายการอื่น";
        QTest::newRow("branch, code blanked") << "branch" << "BranchCode" << " " << "กรุณาป้อน รหัส";
    }
    void refusalsWriteNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        const Window win = window(name);
        const QStringList before = stored(win);
        open(win);
        typeCell(1, win.nameField, QStringLiteral("ไม่ถูกจัดเก็บ"));
        if (field.isEmpty())
            newRow(win, text, QStringLiteral("ซ้ำ"));
        else
            typeCell(0, field, text);
        press(Qt::Key_F10);
        QVERIFY2(s->dialogs->contains(message), qPrintable(s->dialogs->texts().join(QLatin1Char('|'))));
        QCOMPARE(stored(win), before);
        QVERIFY(dbText(one(win.nameOf, {{"c", before.at(1)}})) != QStringLiteral("ไม่ถูกจัดเก็บ"));
        QCOMPARE(dbText(model()->value(1, win.nameField)), QStringLiteral("ไม่ถูกจัดเก็บ"));
    }

    void failedSaveKeepsTheEdits_data() { addWindowRows(); }
    void failedSaveKeepsTheEdits()
    {
        QFETCH(QString, name);
        const Window win = window(name);
        const QStringList before = stored(win);
        open(win);
        typeCell(0, win.nameField, QStringLiteral("แก้ไขไม่สำเร็จ"));
        const int added = newRow(win, QStringLiteral("Z01"), QStringLiteral("ชนกับผู้อื่น"));
        company().exec(win.insertOther, {{"c", "Z01"}}); // another workstation was quicker
        press(Qt::Key_F10);
        QVERIFY(std::any_of(s->dialogs->entries.cbegin(), s->dialogs->entries.cend(), [](const ScriptedDialogs::Entry &e) {
            return e.text.contains(QStringLiteral("ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว"));
        }));
        QVERIFY(!company().inTransaction());
        QVERIFY(dbText(one(win.nameOf, {{"c", before.at(0)}})) != QStringLiteral("แก้ไขไม่สำเร็จ"));
        QVERIFY(!stored(win).contains(QStringLiteral("Z02")));
        QCOMPARE(dbText(model()->value(0, win.nameField)), QStringLiteral("แก้ไขไม่สำเร็จ"));
        QCOMPARE(dbText(model()->value(added, win.codeField)), QStringLiteral("Z01"));
        QCOMPARE(model()->rowState(added), CachedGridModel::RowState::Inserted);
        // Corrected, the same edits go in.
        typeCell(added, win.codeField, QStringLiteral("Z02"));
        press(Qt::Key_F10);
        QCOMPARE(dbText(one(win.nameOf, {{"c", before.at(0)}})), QStringLiteral("แก้ไขไม่สำเร็จ"));
        QCOMPARE(dbText(one(win.nameOf, {{"c", "Z02"}})), QStringLiteral("ชนกับผู้อื่น"));
    }

    void employeeReferences()
    {
        open(window(QStringLiteral("employee")));
        QCOMPARE(w->windowTitle(), QStringLiteral("พนักงาน Version 1.05.08.17"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        const int e1 = rowOf(QStringLiteral("Code"), QStringLiteral("E001"));
        // Enter moves from cell to cell; the window's key preview keeps off the grid.
        select(e1, QStringLiteral("Code"));
        QTRY_VERIFY(!w->keyPreview());
        QTest::keyClick(w->Grid, Qt::Key_Return);
        QCOMPARE(w->Grid->currentIndex(), cell(e1, QStringLiteral("Name")));
        // F5 in the user column opens the user look-up; the chosen user goes in.
        select(e1, QStringLiteral("UserCode"));
        bool opened = false;
        answerLookup(QStringLiteral("พนักงาน"), QStringLiteral("CLERK"), &opened);
        QTest::keyClick(w->Grid, Qt::Key_F5);
        QVERIFY(opened);
        QCOMPARE(dbText(model()->value(e1, QStringLiteral("UserCode"))), QStringLiteral("CLERK"));
        const int e2 = rowOf(QStringLiteral("Code"), QStringLiteral("E002"));
        const int e3 = rowOf(QStringLiteral("Code"), QStringLiteral("E003"));
        // A department code that does not exist empties the department.
        typeCell(e2, QStringLiteral("DepCode"), QStringLiteral("D99"));
        QVERIFY(model()->value(e2, QStringLiteral("Department")).isNull());
        QCOMPARE(dbText(model()->value(e2, QStringLiteral("DepCode"))), QString());
        typeCell(e2, QStringLiteral("DepCode"), QStringLiteral("d03"));
        QCOMPARE(dbText(model()->value(e2, QStringLiteral("DepCode"))), QStringLiteral("D03"));
        chooseCell(e2, QStringLiteral("EmpPosition"), QStringLiteral("-"));
        chooseCell(e3, QStringLiteral("EmpPosition"), QStringLiteral("หัวหน้างาน"));
        chooseCell(e2, QStringLiteral("Status"), QStringLiteral("ลาออก"));
        typeCell(e2, QStringLiteral("UserCode"), QStringLiteral("clerk"));
        typeCell(e3, QStringLiteral("UserCode"), QStringLiteral("NOBODY"));
        QCOMPARE(dbText(model()->value(e3, QStringLiteral("UserCode"))), QString());
        press(Qt::Key_F10);
        QSqlQuery q = company().exec(QStringLiteral("Select Department, EmpPosition, Status, UserCode From Employee Where Code = 'E002'"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toLongLong(), miscId(QStringLiteral("DEPARTMENT"), QStringLiteral("D03")).toLongLong());
        QCOMPARE(q.value(1).toInt(), 0);
        QCOMPARE(dbText(q.value(2)), QStringLiteral("N"));
        QCOMPARE(dbText(q.value(3)), QStringLiteral("CLERK"));
        QCOMPARE(one(QStringLiteral("Select EmpPosition From Employee Where Code = 'E003'")).toLongLong(),
                 miscId(QStringLiteral("EMPPOSITION"), QStringLiteral("P02")).toLongLong());
        QCOMPARE(dbText(one(QStringLiteral("Select UserCode From Employee Where Code = 'E003'"))).trimmed(), QString());
        QCOMPARE(dbText(one(QStringLiteral("Select UserCode From Employee Where Code = 'E001'"))), QStringLiteral("CLERK"));
    }

    void departmentLinks()
    {
        open(window(QStringLiteral("department")));
        QCOMPARE(w->windowTitle(), QStringLiteral("กำหนดรหัสแผนก"));
        const auto row = [this](const char *code) { return rowOf(QStringLiteral("code"), QString::fromLatin1(code)); };
        QCOMPARE(dbText(model()->value(row("D02"), QStringLiteral("costcode"))), QStringLiteral("CC200"));
        // An expense account only; its Thai name shows while the cell is current.
        typeCell(row("D01"), QStringLiteral("accode"), QStringLiteral("1102"));
        select(row("D01"), QStringLiteral("accode"));
        QCOMPARE(w->StatusPanel1->text(), QStringLiteral("เงินฝากธนาคาร"));
        select(row("D01"), QStringLiteral("code"));
        QCOMPARE(w->StatusPanel1->text(), QString());
        // A group account is no expense account.
        typeCell(row("D03"), QStringLiteral("accode"), QStringLiteral("1000"));
        QCOMPARE(dbText(model()->value(row("D03"), QStringLiteral("accode"))), QString());
        // An unknown cost centre clears the cost centre and keeps the account.
        typeCell(row("D02"), QStringLiteral("costcode"), QStringLiteral("XX"));
        QCOMPARE(dbText(model()->value(row("D02"), QStringLiteral("costcode"))), QString());
        // A department added in this save gets its link too.
        const int added = newRow(window(QStringLiteral("department")), QStringLiteral("D05"), QStringLiteral("ฝ่ายบุคคล"));
        typeCell(added, QStringLiteral("costcode"), QStringLiteral("cc100"));
        press(Qt::Key_F10);
        QSqlQuery q = company().exec(QStringLiteral(
            "Select m.Code, c.Code, a.Code From departmentcostno d Inner Join Misc m On m.Id = d.department"
            " Left Join Misc c On c.Id = d.costno Left Join AccountChart a On a.Id = d.accountchart Order By m.Code"));
        QStringList links;
        while (q.next())
            links << dbText(q.value(0)) + QLatin1Char('/') + dbText(q.value(1)) + QLatin1Char('/') + dbText(q.value(2));
        QCOMPARE(links, (QStringList{"D01//1102", "D02//1101", "D05/CC100/"}));
        // The window reloads: every row is stored now.
        QCOMPARE(model()->rowState(row("D05")), CachedGridModel::RowState::Stored);
        QCOMPARE(dbText(model()->value(row("D05"), QStringLiteral("OldRecord"))), QStringLiteral("Y"));
    }
};

QTEST_MAIN(TstOrganisation)
#include "tst_organisation.moc"
