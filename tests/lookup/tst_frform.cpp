#include "TestEnv.h"
#include "lookup/TFrForm.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// A module window as modules build it: three boxes, a memo and a small grid, and
// a record that takes each box's text when the box is left.
class ModuleWindow : public TFrForm
{
public:
    bool enableActions = true;
    int news = 0, saves = 0, deletes = 0, copies = 0;
    QLineEdit *e1, *e2, *e3;
    QPlainTextEdit *memo;
    QTableWidget *grid;
    QMap<QString, QString> record;
    QString savedFirst, savedCell;

    ModuleWindow()
    {
        auto *c = new QWidget(this);
        auto *lay = new QVBoxLayout(c);
        e1 = new QLineEdit(c);
        e2 = new QLineEdit(c);
        e3 = new QLineEdit(c);
        memo = new QPlainTextEdit(c);
        grid = new QTableWidget(2, 2, c);
        for (int r = 0; r < 2; ++r)
            for (int k = 0; k < 2; ++k)
                grid->setItem(r, k, new QTableWidgetItem);
        for (QWidget *w : std::initializer_list<QWidget *>{e1, e2, e3, memo, grid})
            lay->addWidget(w);
        setCentralWidget(c);
        connect(e1, &QLineEdit::editingFinished, this, [this] { record[QStringLiteral("e1")] = e1->text(); });
    }

protected:
    void AcNewExecute() override
    {
        TFrForm::AcNewExecute();
        ++news;
        if (enableActions) {
            AcSave->setEnabled(true);
            AcDel->setEnabled(true);
        }
        showToolButton(BCopy);
    }
    void AcSaveExecute() override
    {
        ++saves;
        savedFirst = record.value(QStringLiteral("e1"));
        savedCell = grid->item(0, 0)->text();
    }
    void AcDelExecute() override { ++deletes; }
    void AcCopyExecute() override { ++copies; }
};
} // namespace

class TstFrForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestSession> s;
    std::unique_ptr<ModuleWindow> w;

    void showWindow(bool enable = true)
    {
        w = std::make_unique<ModuleWindow>();
        w->enableActions = enable;
        w->setWindowTitle(QStringLiteral("หน่วยงานโครงการ [3.0]"));
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->e1->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w->e1);
    }

private slots:
    void init()
    {
        s = std::make_unique<TestSession>();
        s->cfg->CompanyName = QStringLiteral("บริษัท ไทยตัวอย่างการค้า จำกัด");
        s->cfg->IsThai = true;
        s->cfg->ConfirmExitText = QStringLiteral("ออกจากโปรแกรม ?");
    }
    void cleanup()
    {
        s->dialogs->answers = {true, true, true};
        w.reset();
        s.reset();
    }

    void showPreparesTheWindow()
    {
        showWindow();
        QCOMPARE(w->news, 1);
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("หน่วยงานโครงการ [3.0]"));
        QCOMPARE(w->StatusPanel0->text(), s->cfg->CompanyName);
        QCOMPARE(w->StatusPanel0->width(), 200);
        QCOMPARE(w->StatusPanel1->width(), 50);
        // Hidden by the base, shown again by the module (Copy).
        QVERIFY(!w->BHist->isVisible());
        QVERIFY(!w->BPrint->isVisible());
        QVERIFY(!w->BChgCode->isVisible());
        QVERIFY(w->BCopy->isVisible());
        QVERIFY(w->BNew->isVisible() && w->BSave->isVisible() && w->BExit->isVisible());
        QVERIFY(w->ChgCode->isHidden());
        QCOMPARE(w->ChgCode->text(), QStringLiteral("CHGCODE"));
        QCOMPARE(w->BSave->text(), QStringLiteral("Save"));
        QCOMPARE(w->AcSave->toolTip(), QStringLiteral("Save Record"));
        QCOMPARE(w->AcHist->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        QVERIFY(!w->AcChgCode->isEnabled());
    }

    void shortcuts_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<int>("news");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("deletes");
        QTest::addColumn<int>("copies");
        QTest::newRow("F10 saves") << int(Qt::Key_F10) << 0 << true << 1 << 1 << 0 << 0;
        QTest::newRow("F8 deletes") << int(Qt::Key_F8) << 0 << true << 1 << 0 << 1 << 0;
        QTest::newRow("F3 new") << int(Qt::Key_F3) << 0 << true << 2 << 0 << 0 << 0;
        QTest::newRow("F6 copies") << int(Qt::Key_F6) << 0 << true << 1 << 0 << 0 << 1;
        QTest::newRow("F10 while save is off") << int(Qt::Key_F10) << 0 << false << 1 << 0 << 0 << 0;
        QTest::newRow("F8 while delete is off") << int(Qt::Key_F8) << 0 << false << 1 << 0 << 0 << 0;
    }
    void shortcuts()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, enable);
        showWindow(enable);
        QTest::keyClick(w->e1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(w->news, "news");
        QTEST(w->saves, "saves");
        QTEST(w->deletes, "deletes");
        QTEST(w->copies, "copies");
    }

    void saveFinishesTheEditorFirst()
    {
        showWindow();
        QTest::keyClicks(w->e1, QStringLiteral("ABC"));
        QVERIFY(w->record.value(QStringLiteral("e1")).isEmpty());
        QTest::keyClick(w->e1, Qt::Key_F10);
        QCOMPARE(w->saves, 1);
        QCOMPARE(w->savedFirst, QStringLiteral("ABC"));
        // A cell being typed into reaches the grid before the save.
        w->grid->setFocus();
        w->grid->setCurrentCell(0, 0);
        w->grid->editItem(w->grid->item(0, 0));
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != w->grid);
        QTest::keyClicks(editor, QStringLiteral("12"));
        QTest::keyClick(editor, Qt::Key_F10);
        QCOMPARE(w->saves, 2);
        QCOMPARE(w->savedCell, QStringLiteral("12"));
    }

    void enterMovesToTheNextControl()
    {
        showWindow();
        int returns = 0;
        connect(w->e1, &QLineEdit::returnPressed, this, [&] { ++returns; });
        QTest::keyClick(w->e1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->e2);
        QTest::keyClick(w->e2, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), w->e3);
        QCOMPARE(returns, 0);
        // The memo box keeps its Enter.
        w->memo->setFocus();
        QTest::keyClicks(w->memo, QStringLiteral("a"));
        QTest::keyClick(w->memo, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->memo);
        QCOMPARE(w->memo->toPlainText(), QStringLiteral("a\n"));
        // Switched off by the module: Enter stays where it is.
        w->e1->setFocus();
        w->setKeyPreview(false);
        QTest::keyClick(w->e1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w->e1);
        QCOMPARE(returns, 1);
        // F3 (AcNew) turns it on again.
        QTest::keyClick(w->e1, Qt::Key_F3);
        QVERIFY(w->keyPreview());
    }

    void escapeAsksTheExitQuestion_data()
    {
        QTest::addColumn<bool>("thai");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::newRow("thai, no") << true << QStringLiteral("ออกจากโปรแกรม ?") << false << QStringLiteral("ออกจากโปรแกรม ?");
        QTest::newRow("thai, yes") << true << QStringLiteral("ออกจากโปรแกรม ?") << true << QStringLiteral("ออกจากโปรแกรม ?");
        QTest::newRow("english, yes") << false << QStringLiteral("Exit Program ?") << true << QStringLiteral("Exit Program ?");
        QTest::newRow("no session text") << false << QString() << false << QStringLiteral("Exit Program ?");
    }
    void escapeAsksTheExitQuestion()
    {
        QFETCH(bool, thai);
        QFETCH(QString, configured);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        s->cfg->IsThai = thai;
        s->cfg->ConfirmExitText = configured;
        showWindow();
        s->dialogs->answers = {answer};
        QTest::keyClick(w->e2, Qt::Key_Escape);
        QCOMPARE(s->dialogs->entries.size(), 1);
        QCOMPARE(s->dialogs->entries.first().kind, QStringLiteral("question"));
        QCOMPARE(s->dialogs->entries.first().text, question);
        QCOMPARE(s->dialogs->entries.first().background, QColor(0, 128, 0));
        QCOMPARE(w->isVisible(), !answer);
        // Ctrl+X is the same exit.
        if (!answer) {
            s->dialogs->answers = {true};
            QTest::keyClick(w->e2, Qt::Key_X, Qt::ControlModifier);
            QVERIFY(!w->isVisible());
        }
    }
};

QTEST_MAIN(TstFrForm)
#include "tst_frform.moc"
