#include "TestEnv.h"
#include "BoxDialogs.h"
#include "core/DateFormat.h"
#include "core/Decimal.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBinder.h"
#include "lookup/edit/RecordBuffer.h"
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include "TypeText.h"

namespace {
Decimal dec(const char *s) { return Decimal::fromString(QString::fromLatin1(s)); }


// A window with two boxes, shown and active, so focus moves like a user's.
struct Form
{
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);
    template <class W> W *add(W *w)
    {
        layout->addWidget(w);
        return w;
    }
    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};
}

class TstRecordBuffer : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    ScriptedDialogs *dialogs = nullptr;
    std::unique_ptr<UserDialogs> previous;

    Connection &demo()
    {
        if (!env)
            env = std::make_unique<TestEnv>();
        if (!conn)
            conn = env->connect(QStringLiteral("DEMO"));
        return *conn;
    }
    std::unique_ptr<Connection> conn;

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        auto d = std::make_unique<ScriptedDialogs>();
        dialogs = d.get();
        previous = UserDialogs::install(std::move(d));
    }
    void cleanup()
    {
        UserDialogs::install(std::move(previous));
        conn.reset();
        env.reset();
    }

    void loadsARowAndTracksChanges()
    {
        RecordBuffer b;
        QVERIFY(b.load(demo(), QStringLiteral("SELECT Id, Code, Name, flagin FROM Warehouse WHERE Code = :c"), {{QStringLiteral("c"), QStringLiteral("WH02")}}));
        QVERIFY(!b.isNew());
        // Names from the engine come back in its own case; the module's spelling works.
        QCOMPARE(b.text(QStringLiteral("CODE")), QStringLiteral("WH02"));
        QCOMPARE(b.text(QStringLiteral("name")), QStringLiteral("คลังหน้างานโครงการ"));
        QVERIFY(b.isYes(QStringLiteral("FlagIn")));
        QVERIFY(!b.isChanged());

        b.setValue(QStringLiteral("NAME"), QStringLiteral("คลังใหม่"));
        QVERIFY(b.isChanged());
        QCOMPARE(b.changedFields().size(), 1);
        QVERIFY(b.isChanged(QStringLiteral("Name")));
        const QVariantMap p = b.params();
        // The module's update statement takes the params as they are.
        demo().exec(QStringLiteral("UPDATE Warehouse SET Name = :name WHERE Id = :OLD_id"),
                    {{QStringLiteral("name"), b.value(QStringLiteral("Name"))}, {QStringLiteral("OLD_id"), b.originalValue(QStringLiteral("ID"))}});
        QCOMPARE(demo().scalar(QStringLiteral("SELECT Name FROM Warehouse WHERE Code = 'WH02'")).toString(), QStringLiteral("คลังใหม่"));
        QVERIFY(p.contains(QStringLiteral("OLD_") + b.fields().at(2)));
        QCOMPARE(dbText(p.value(QStringLiteral("OLD_") + b.fields().at(2))), QStringLiteral("คลังหน้างานโครงการ"));
        b.markStored();
        QVERIFY(!b.isChanged());
        b.setValue(QStringLiteral("Name"), QStringLiteral("x"));
        b.revert();
        QCOMPARE(b.text(QStringLiteral("Name")), QStringLiteral("คลังใหม่"));
    }

    void missingRowGivesABlankNewRecord()
    {
        RecordBuffer b;
        QSignalSpy resets(&b, &RecordBuffer::reset);
        QVERIFY(!b.load(demo(), QStringLiteral("SELECT Id, Code, Name FROM Warehouse WHERE Code = :c"), {{QStringLiteral("c"), QStringLiteral("NONE")}}));
        QVERIFY(b.isNew());
        QCOMPARE(resets.count(), 1);
        QVERIFY(b.contains(QStringLiteral("code")));
        QVERIFY(b.isNull(QStringLiteral("Name")));
        b.startNew({{QStringLiteral("code"), QStringLiteral("WH09")}});
        QCOMPARE(b.fields().size(), 3); // the default went into the existing field
        QCOMPARE(b.text(QStringLiteral("Code")), QStringLiteral("WH09"));
    }

    void sameValue_data()
    {
        QTest::addColumn<QVariant>("a");
        QTest::addColumn<QVariant>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("scale") << QVariant::fromValue(dec("1.50")) << QVariant(QStringLiteral("1.5")) << true;
        QTest::newRow("other number") << QVariant::fromValue(dec("1.50")) << QVariant(QStringLiteral("1.51")) << false;
        QTest::newRow("emptied text") << QVariant() << QVariant(QString()) << true;
        QTest::newRow("zero is not null") << QVariant() << QVariant::fromValue(dec("0")) << false;
        QTest::newRow("flag case") << QVariant(QStringLiteral("Y")) << QVariant(QStringLiteral("y")) << false;
        QTest::newRow("iso date text") << QVariant(QDate(2026, 2, 28)) << QVariant(QStringLiteral("2026-02-28")) << true;
        QTest::newRow("other date") << QVariant(QDate(2026, 2, 28)) << QVariant(QStringLiteral("2026-03-01")) << false;
        QTest::newRow("integer as text") << QVariant(qlonglong(7)) << QVariant(QStringLiteral("7")) << true;
    }
    void sameValue()
    {
        QFETCH(QVariant, a);
        QFETCH(QVariant, b);
        QFETCH(bool, same);
        QCOMPARE(sameFieldValue(a, b), same);
        QCOMPARE(sameFieldValue(b, a), same);
    }

    void typedTextReachesTheBuffer()
    {
        Form f;
        RecordBuffer b;
        b.setFields({QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("DescMemo")});
        RecordBinder binder(&b);
        auto *code = f.add(new CodeEdit);
        auto *name = f.add(new QLineEdit);
        auto *memo = f.add(new QPlainTextEdit);
        binder.bindLineEdit(code, QStringLiteral("Code"));
        binder.bindLineEdit(name, QStringLiteral("Name"));
        binder.bindMemo(memo, QStringLiteral("DescMemo"));
        code->lookup = [](const QString &current) { return current == QStringLiteral("P") ? QStringLiteral("pj-001") : QString(); };
        f.show();
        code->setFocus();
        typeText(code, QStringLiteral("pj-0a"));
        QCOMPARE(code->text(), QStringLiteral("PJ-0A"));
        QCOMPARE(b.text(QStringLiteral("code")), QStringLiteral("PJ-0A"));
        // F5 with a cancelled look-up keeps the text; a chosen code replaces it.
        QTest::keyClick(code, Qt::Key_F5);
        QCOMPARE(b.text(QStringLiteral("code")), QStringLiteral("PJ-0A"));
        code->clear();
        typeText(code, QStringLiteral("p"));
        QTest::keyClick(code, Qt::Key_F5);
        QCOMPARE(b.text(QStringLiteral("code")), QStringLiteral("PJ-001"));
        name->setFocus();
        typeText(name, QStringLiteral("งานถนน"));
        QCOMPARE(b.text(QStringLiteral("Name")), QStringLiteral("งานถนน"));
        memo->setFocus();
        typeText(memo, QStringLiteral("a"));
        QTest::keyClick(memo, Qt::Key_Return);
        typeText(memo, QStringLiteral("b"));
        QCOMPARE(b.text(QStringLiteral("descmemo")), QStringLiteral("a\nb"));
        // And back: a load shows the record.
        b.startNew({{QStringLiteral("Name"), QStringLiteral("ใหม่")}});
        QCOMPARE(name->text(), QStringLiteral("ใหม่"));
        QCOMPARE(code->text(), QString());
        QVERIFY(memo->toPlainText().isEmpty());
    }

    void dateBox_data()
    {
        QTest::addColumn<bool>("allowEmpty");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        QTest::addColumn<bool>("refused");
        const QDate held(2026, 1, 15);
        QTest::newRow("good") << true << "28/02/2026" << QDate(2026, 2, 28) << false;
        QTest::newRow("31 February") << true << "31/02/2026" << held << true;
        QTest::newRow("leap day") << true << "29/02/2028" << QDate(2028, 2, 29) << false;
        QTest::newRow("no leap day") << true << "29/02/2027" << held << true;
        QTest::newRow("month 13") << true << "01/13/2026" << held << true;
        QTest::newRow("two-digit year") << true << "01/02/26" << held << true;
        QTest::newRow("words") << true << "tomorrow" << held << true;
        QTest::newRow("emptied") << true << "" << QDate() << false;
        QTest::newRow("emptied, not allowed") << false << "" << held << true;
    }
    void dateBox()
    {
        QFETCH(bool, allowEmpty);
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        QFETCH(bool, refused);
        Form f;
        RecordBuffer b;
        b.setFields({QStringLiteral("InputDate"), QStringLiteral("Name")});
        b.setValue(QStringLiteral("InputDate"), QStringLiteral("2026-01-15")); // as SQLite gives it
        RecordBinder binder(&b);
        auto *date = f.add(new DateEdit);
        auto *next = f.add(new QLineEdit);
        date->setAllowEmpty(allowEmpty);
        binder.bindDateEdit(date, QStringLiteral("InputDate"));
        f.show();
        QCOMPARE(date->text(), QStringLiteral("15/01/2026"));
        date->setFocus();
        date->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(date, Qt::Key_Backspace);
        else
            typeText(date, typed);
        QTest::keyClick(date, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
        QCOMPARE(b.date(QStringLiteral("InputDate")), expected);
        QCOMPARE(date->date(), expected);
        if (refused) {
            QCOMPARE(dialogs->entries.size(), 1);
            QCOMPARE(dialogs->entries.first().kind, QStringLiteral("error"));
            QVERIFY(dialogs->entries.first().text.startsWith(QStringLiteral("ป้อนวันที่ไม่ถูกต้อง")));
            QCOMPARE(date->text(), QStringLiteral("15/01/2026"));
        } else {
            QVERIFY(dialogs->entries.isEmpty());
            QCOMPARE(date->text(), formatShortDate(expected));
        }
    }

    void decimalBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("exact");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "1234.5" << "1234.5" << "1,234.50" << false;
        QTest::newRow("more decimals than shown") << "1234567.125" << "1234567.125" << "1,234,567.13" << false;
        QTest::newRow("with commas") << "12,345.05" << "12345.05" << "12,345.05" << false;
        QTest::newRow("negative") << "-0.005" << "-0.005" << "-0.01" << false;
        QTest::newRow("letters") << "12a" << "250.75" << "250.75" << true;
        QTest::newRow("two points") << "1.2.3" << "250.75" << "250.75" << true;
        QTest::newRow("emptied") << "" << "0" << "0.00" << false;
    }
    void decimalBox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, exact);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        Form f;
        RecordBuffer b;
        b.setFields({QStringLiteral("Advance")});
        b.setValue(QStringLiteral("Advance"), QStringLiteral("250.750000")); // exact numerics come as text
        b.markStored();
        RecordBinder binder(&b);
        auto *edit = f.add(new DecimalEdit);
        auto *next = f.add(new QLineEdit);
        binder.bindDecimalEdit(edit, QStringLiteral("Advance"));
        f.show();
        QCOMPARE(edit->text(), QStringLiteral("250.75"));
        edit->setFocus();
        QCOMPARE(edit->text(), QStringLiteral("250.75")); // the plain number while editing
        edit->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            typeText(edit, typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
        QCOMPARE(edit->text(), shown);
        QCOMPARE(b.decimal(QStringLiteral("Advance")), dec(exact.toLatin1().constData()));
        if (!refused) // kept as typed, not through a double
            QCOMPARE(b.decimal(QStringLiteral("Advance")).toString(), dec(exact.toLatin1().constData()).toString());
        QCOMPARE(edit->value(), dec(exact.toLatin1().constData()));
        QCOMPARE(dialogs->entries.size(), refused ? 1 : 0);
        QCOMPARE(b.isChanged(), !refused);
    }

    void flagsAndChoices()
    {
        Form f;
        RecordBuffer b;
        b.setFields({QStringLiteral("Blocked"), QStringLiteral("JobType"), QStringLiteral("Department")});
        b.setValue(QStringLiteral("Blocked"), QStringLiteral("Y"));
        b.setValue(QStringLiteral("JobType"), QStringLiteral("N"));
        b.setValue(QStringLiteral("Department"), qlonglong(12));
        b.markStored();
        RecordBinder binder(&b);
        auto *blocked = f.add(new QCheckBox(QStringLiteral("ระงับใช้งาน")));
        auto *own = f.add(new QRadioButton(QStringLiteral("ทำเอง")));
        auto *sub = f.add(new QRadioButton(QStringLiteral("จ้างผู้รับเหมา")));
        auto *dept = f.add(new QComboBox);
        fillCodeList(dept, {{11, QStringLiteral("D01"), QStringLiteral("ฝ่ายขาย")}, {12, QStringLiteral("D02"), QStringLiteral("ฝ่ายผลิต")}});
        binder.bindCheckBox(blocked, QStringLiteral("Blocked"));
        binder.bindYesNoRadio(QStringLiteral("JobType"), own, sub);
        binder.bindComboBox(dept, QStringLiteral("Department"));
        f.show();
        QVERIFY(blocked->isChecked());
        QVERIFY(sub->isChecked());
        QVERIFY(!own->isChecked());
        QCOMPARE(dept->currentText(), QStringLiteral("D02 = ฝ่ายผลิต"));
        QCOMPARE(codeBeforeEquals(dept->currentText()), QStringLiteral("D02"));
        QVERIFY(!b.isChanged()); // showing the record changed nothing

        const auto onIndicator = [](QWidget *w) { return QPoint(6, w->height() / 2); };
        QTest::mouseClick(blocked, Qt::LeftButton, {}, onIndicator(blocked));
        QCOMPARE(b.text(QStringLiteral("Blocked")), QStringLiteral("N"));
        QTest::mouseClick(own, Qt::LeftButton, {}, onIndicator(own));
        QCOMPARE(b.text(QStringLiteral("JobType")), QStringLiteral("Y"));
        dept->setFocus();
        QTest::keyClick(dept, Qt::Key_Up);
        QCOMPARE(b.value(QStringLiteral("Department")).toInt(), 11);
        QCOMPARE(b.changedFields().size(), 3);

        // A value no entry stands for shows nothing chosen.
        b.setValue(QStringLiteral("JobType"), QString());
        QVERIFY(!own->isChecked() && !sub->isChecked());
        b.setValue(QStringLiteral("Department"), 99);
        QCOMPARE(dept->currentIndex(), -1);
        QCOMPARE(b.value(QStringLiteral("Department")).toInt(), 99);
    }

    void leavingHook_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<int>("runsAfterTab");
        QTest::newRow("opens a message box") << "message" << 1;
        QTest::newRow("puts the focus back, then moves it") << "refocus" << 1;
        QTest::newRow("does nothing") << "plain" << 1;
    }
    void leavingHook()
    {
        QFETCH(QString, handler);
        QFETCH(int, runsAfterTab);
        auto box = std::make_unique<BoxDialogs>();
        BoxDialogs *boxes = box.get();
        auto scripted = UserDialogs::install(std::move(box));
        Form f;
        auto *code = f.add(new CodeEdit);
        auto *next = f.add(new QLineEdit);
        int runs = 0;
        LeaveHook *hook = LeaveHook::install(code, [&] {
            ++runs;
            if (runs > 5)
                return; // a hook run again from itself would never end
            if (handler == QLatin1String("message")) {
                code->setFocus();
                ShowMessage(QStringLiteral("ไม่พบรหัสนี้"));
            } else if (handler == QLatin1String("refocus")) {
                code->setFocus();
                next->setFocus();
            }
        });
        f.show();
        code->setFocus();
        QVERIFY(code->hasFocus());
        typeText(code, QStringLiteral("x"));
        QTest::keyClick(code, Qt::Key_Tab);
        if (handler == QLatin1String("message"))
            QTRY_COMPARE(boxes->shown, 1);
        QTest::qWait(100);
        QCOMPARE(runs, runsAfterTab);
        QVERIFY(!hook->isRunning());
        QCOMPARE(boxes->shown, handler == QLatin1String("message") ? 1 : 0);
        UserDialogs::install(std::move(scripted));
    }

    void anotherWindowTakingTheFocusIsNoLeave()
    {
        Form f;
        auto *code = f.add(new CodeEdit);
        auto *next = f.add(new QLineEdit);
        int runs = 0;
        LeaveHook::install(code, [&] { ++runs; });
        QWidget other;
        other.setGeometry(700, 0, 100, 50);
        other.show();
        f.show();
        code->setFocus();
        QVERIFY(code->hasFocus());
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!code->hasFocus());
        QCOMPARE(runs, 0);
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QTRY_VERIFY(code->hasFocus());
        QCOMPARE(runs, 0);
        QTest::keyClick(code, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
        QCOMPARE(runs, 1);
    }

    void finishingTheFocusedBox()
    {
        Form f;
        RecordBuffer b;
        b.setFields({QStringLiteral("BeginDate"), QStringLiteral("Total")});
        RecordBinder binder(&b);
        auto *date = f.add(new DateEdit);
        auto *total = f.add(new DecimalEdit);
        binder.bindDateEdit(date, QStringLiteral("BeginDate"));
        binder.bindDecimalEdit(total, QStringLiteral("Total"));
        f.show();
        // Passing through the empty box leaves the record unchanged.
        total->setFocus();
        date->setFocus();
        QVERIFY(!b.isChanged());
        total->setFocus();
        typeText(total, QStringLiteral("99.125"));
        QVERIFY(b.isNull(QStringLiteral("Total")) || b.decimal(QStringLiteral("Total")).isZero());
        QVERIFY(finishFocusedEditor(&f.window));
        QCOMPARE(b.decimal(QStringLiteral("Total")), dec("99.125"));
        QVERIFY(total->hasFocus());
        date->setFocus();
        typeText(date, QStringLiteral("01/05/2026"));
        QVERIFY(finishFocusedEditor(&f.window));
        QCOMPARE(b.date(QStringLiteral("BeginDate")), QDate(2026, 5, 1));
        date->selectAll();
        typeText(date, QStringLiteral("31/04/2026"));
        QVERIFY(!finishFocusedEditor(&f.window));
        QCOMPARE(b.date(QStringLiteral("BeginDate")), QDate(2026, 5, 1));
        QCOMPARE(dialogs->entries.size(), 1);
        // Focus in another window is not this window's editor.
        QWidget other;
        auto *elsewhere = new DateEdit(&other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        elsewhere->setFocus();
        typeText(elsewhere, QStringLiteral("bad"));
        QVERIFY(finishFocusedEditor(&f.window));
        QCOMPARE(dialogs->entries.size(), 1);
    }

    void progressPaintsWithoutTakingInput()
    {
        ProgressDialog p(QStringLiteral("กำลังคำนวณ"), 5);
        p.show();
        QVERIFY(QTest::qWaitForWindowExposed(&p));
        struct Counter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    ++paints;
                return false;
            }
        } counter;
        p.installEventFilter(&counter);
        QLineEdit input;
        input.show();
        int timerRuns = 0;
        QTimer::singleShot(0, [&] { ++timerRuns; });
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::postEvent(&input, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
            p.step(QStringLiteral("แถวที่ %1").arg(i + 1));
            QTest::qSleep(45);
        }
        QCOMPARE(p.position(), 5);
        QVERIFY2(counter.paints >= 4, qPrintable(QString::number(counter.paints)));
        // Nothing else ran inside the loop.
        QCOMPARE(timerRuns, 0);
        QVERIFY(input.text().isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(timerRuns, 1);
    }
};

QTEST_MAIN(TstRecordBuffer)
#include "tst_recordbuffer.moc"
