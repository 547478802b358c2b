#include "BoxDialogs.h"
#include "core/DateFormat.h"
#include "core/Decimal.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include "lookup/edit/EditSupport.h"
#include "session/UserDialogs.h"
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QMessageBox>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include "TypeText.h"

namespace {
using Kind = CachedGridModel::Kind;


// A price list like the customer price window's, in memory.
struct PriceGrid
{
    QWidget window;
    QTableView *view = new QTableView(&window);
    CachedGridModel model;
    CodeCellDelegate code;
    DateCellDelegate date;
    DecimalCellDelegate price;
    ValueMapDelegate vat;
    TwoColumnComboDelegate unit;
    PasswordDelegate password;
    int checks = 0;
    QHash<QString, QPair<int, QString>> products{{QStringLiteral("P001"), {1, QStringLiteral("ปูนซีเมนต์")}},
                                                 {QStringLiteral("P002"), {2, QStringLiteral("เหล็กเส้น")}},
                                                 {QStringLiteral("P003"), {3, QStringLiteral("ทรายหยาบ")}}};

    PriceGrid()
    {
        auto *l = new QVBoxLayout(&window);
        l->addWidget(view);
        model.setColumns({{QStringLiteral("code"), QStringLiteral("รหัสสินค้า"), Kind::Text},
                          {QStringLiteral("thainame"), QStringLiteral("ชื่อสินค้า"), Kind::Text, {}, false, true},
                          {QStringLiteral("PriceDate"), QStringLiteral("วันที่"), Kind::Date},
                          {QStringLiteral("Price"), QStringLiteral("ราคา"), Kind::Decimal, QStringLiteral(",0.00")},
                          {QStringLiteral("IncludeVAT"), QStringLiteral("ภาษี"), Kind::Flag},
                          {QStringLiteral("unitname"), QStringLiteral("หน่วย"), Kind::Text},
                          {QStringLiteral("Pass"), QStringLiteral("รหัสผ่าน"), Kind::Text}});
        model.setRows({{{QStringLiteral("Id"), 10}, {QStringLiteral("Product"), 2}, {QStringLiteral("code"), QStringLiteral("P002")},
                        {QStringLiteral("thainame"), QStringLiteral("เหล็กเส้น")}, {QStringLiteral("PriceDate"), QStringLiteral("2026-01-15")},
                        {QStringLiteral("Price"), QStringLiteral("125.500000")}, {QStringLiteral("IncludeVAT"), QStringLiteral("N")},
                        {QStringLiteral("unitname"), QStringLiteral("เส้น")}, {QStringLiteral("Pass"), QStringLiteral("abc")}}});
        code.check = [this](const QModelIndex &index, const QString &typed) {
            ++checks;
            const auto it = products.constFind(typed);
            if (it == products.cend())
                return false;
            model.setValue(index.row(), QStringLiteral("Product"), it->first);
            model.setValue(index.row(), QStringLiteral("thainame"), it->second);
            return true;
        };
        code.lookup = [](const QModelIndex &, const QString &) { return QStringLiteral("P003"); };
        vat.items = {{QStringLiteral("Y"), QStringLiteral("รวมภาษี")}, {QStringLiteral("N"), QStringLiteral("ไม่รวมภาษี")}};
        unit.items = {{QStringLiteral("BOX"), QStringLiteral("กล่อง")}, {QStringLiteral("เส้น"), QStringLiteral("เส้นยาว 10 เมตร")}};
        view->setModel(&model);
        view->setItemDelegateForColumn(0, &code);
        view->setItemDelegateForColumn(2, &date);
        view->setItemDelegateForColumn(3, &price);
        view->setItemDelegateForColumn(4, &vat);
        view->setItemDelegateForColumn(5, &unit);
        view->setItemDelegateForColumn(6, &password);
        window.resize(900, 300);
    }
    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QWidget *open(int column, int row = 0)
    {
        view->setFocus();
        view->setCurrentIndex(model.index(row, column));
        QTest::keyClick(view, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        return editor == view ? nullptr : editor;
    }
    QWidget *type(int column, const QString &text)
    {
        QWidget *editor = open(column);
        if (!editor)
            return nullptr;
        if (auto *e = qobject_cast<QLineEdit *>(editor))
            e->selectAll();
        typeText(editor, text);
        return editor;
    }
    QString shown(int column) const { return model.data(model.index(0, column)).toString(); }
    QString displayed(int column) const
    {
        auto *d = static_cast<QStyledItemDelegate *>(view->itemDelegateForColumn(column));
        return d ? d->displayText(model.data(model.index(0, column)), QLocale()) : shown(column);
    }
};
}

class TstCellEditors : public QObject
{
    Q_OBJECT
    std::unique_ptr<UserDialogs> previous;
    ScriptedDialogs *dialogs = nullptr;

private slots:
    void init()
    {
        auto d = std::make_unique<ScriptedDialogs>();
        dialogs = d.get();
        previous = UserDialogs::install(std::move(d));
    }
    void cleanup() { UserDialogs::install(std::move(previous)); }

    void codeCell_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("how"); // how the cell is left
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("checks");
        QTest::newRow("known, lower case, Tab") << "p001" << "tab" << "P001" << "ปูนซีเมนต์" << 1;
        QTest::newRow("known, Enter") << "P003" << "enter" << "P003" << "ทรายหยาบ" << 1;
        QTest::newRow("unknown reverts") << "X999" << "tab" << "P002" << "เหล็กเส้น" << 1;
        QTest::newRow("unknown, click elsewhere") << "X999" << "click" << "P002" << "เหล็กเส้น" << 1;
        QTest::newRow("unchanged is not checked") << "p002" << "tab" << "P002" << "เหล็กเส้น" << 0;
        QTest::newRow("F5 look-up") << "zz" << "f5 tab" << "P003" << "ทรายหยาบ" << 1;
        QTest::newRow("search button") << "" << "button tab" << "P003" << "ทรายหยาบ" << 1;
    }
    void codeCell()
    {
        QFETCH(QString, typed);
        QFETCH(QString, how);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(int, checks);
        PriceGrid g;
        g.show();
        QWidget *editor = g.type(0, typed);
        QVERIFY(editor);
        auto *line = qobject_cast<QLineEdit *>(editor);
        QVERIFY(line);
        QCOMPARE(line->text(), typed.isEmpty() ? QStringLiteral("P002") : typed.toUpper());
        if (how.startsWith(QLatin1String("f5"))) {
            QTest::keyClick(editor, Qt::Key_F5);
            QCOMPARE(line->text(), QStringLiteral("P003"));
            QCOMPARE(g.checks, 0); // checked when the cell is left
        } else if (how.startsWith(QLatin1String("button"))) {
            QToolButton *button = nullptr;
            for (auto *b : editor->findChildren<QToolButton *>())
                if (b->isVisible())
                    button = b;
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(line->text(), QStringLiteral("P003"));
            QVERIFY(editor->hasFocus());
        }
        if (how.endsWith(QLatin1String("tab")))
            QTest::keyClick(editor, Qt::Key_Tab);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(editor, Qt::Key_Return);
        else
            QTest::mouseClick(g.view->viewport(), Qt::LeftButton, {}, g.view->visualRect(g.model.index(0, 3)).center());
        QTRY_VERIFY(!g.view->isPersistentEditorOpen(g.model.index(0, 0)) && QApplication::focusWidget() != editor);
        QCOMPARE(g.shown(0), code);
        QCOMPARE(g.shown(1), name);
        QCOMPARE(g.checks, checks);
        QVERIFY(dialogs->entries.isEmpty());
        QCOMPARE(g.model.rowState(0), code == QLatin1String("P002") ? CachedGridModel::RowState::Stored : CachedGridModel::RowState::Modified);
    }

    void checkThatOpensAMessageRunsOnce()
    {
        auto box = std::make_unique<BoxDialogs>();
        BoxDialogs *boxes = box.get();
        auto scripted = UserDialogs::install(std::move(box));
        PriceGrid g;
        auto known = g.code.check;
        g.code.check = [&](const QModelIndex &i, const QString &c) {
            const bool ok = known(i, c);
            if (!ok)
                ShowMessage(QStringLiteral("ไม่พบรหัสสินค้า"));
            return ok;
        };
        g.show();
        QWidget *editor = g.type(0, QStringLiteral("X1"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Tab);
        QTRY_COMPARE(boxes->shown, 1);
        QTest::qWait(150);
        QCOMPARE(g.checks, 1);
        QCOMPARE(boxes->shown, 1);
        QCOMPARE(g.shown(0), QStringLiteral("P002"));
        UserDialogs::install(std::move(scripted));
    }

    void lookUpDialogKeepsTheEditorOpen()
    {
        PriceGrid g;
        bool editorWasOpen = false;
        // A look-up is a modal window of its own: the editor loses the focus to it.
        g.code.lookup = [&](const QModelIndex &, const QString &) {
            QDialog dialog(&g.window);
            auto *search = new QLineEdit(&dialog);
            QTimer::singleShot(80, &dialog, [&] {
                editorWasOpen = g.view->isPersistentEditorOpen(g.model.index(0, 0)) || g.view->indexWidget(g.model.index(0, 0));
                dialog.accept();
            });
            search->setFocus();
            dialog.exec();
            return QStringLiteral("P001");
        };
        g.show();
        QWidget *editor = g.type(0, QStringLiteral("p"));
        QVERIFY(editor);
        QPointer<QWidget> watch(editor);
        QTest::keyClick(editor, Qt::Key_F5);
        QTest::qWait(50);
        QVERIFY(watch);
        QCOMPARE(static_cast<QLineEdit *>(editor)->text(), QStringLiteral("P001"));
        QCOMPARE(g.checks, 0);
        QCOMPARE(g.shown(0), QStringLiteral("P002"));
        QVERIFY(editorWasOpen);
        // The desktop gives the grid's window the focus back (offscreen does not by itself).
        g.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&g.window));
        QTRY_VERIFY(editor->hasFocus());
        QTest::keyClick(editor, Qt::Key_Tab);
        QTRY_VERIFY(!watch || !watch->isVisible());
        QCOMPARE(g.checks, 1);
        QCOMPARE(g.shown(0), QStringLiteral("P001"));
    }

    void dateCell_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("good") << "28/02/2026" << "28/02/2026" << false;
        QTest::newRow("31 February") << "31/02/2026" << "15/01/2026" << true;
        QTest::newRow("day 0") << "00/01/2026" << "15/01/2026" << true;
        QTest::newRow("short day and month") << "5/3/2026" << "05/03/2026" << false;
        QTest::newRow("emptied") << "" << "" << false;
    }
    void dateCell()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        PriceGrid g;
        g.show();
        QCOMPARE(g.shown(2), QStringLiteral("15/01/2026"));
        QWidget *editor = g.open(2);
        QVERIFY(editor);
        QCOMPARE(static_cast<QLineEdit *>(editor)->text(), QStringLiteral("15/01/2026"));
        static_cast<QLineEdit *>(editor)->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        else
            typeText(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        // Enter hands the editor back to the grid after the key is done.
        QTRY_COMPARE(QApplication::focusWidget(), g.view);
        QCOMPARE(g.shown(2), shown);
        QCOMPARE(dialogs->entries.size(), refused ? 1 : 0);
        if (refused)
            QVERIFY(dialogs->entries.first().text.contains(typed));
        QCOMPARE(g.model.rowState(0), refused ? CachedGridModel::RowState::Stored : CachedGridModel::RowState::Modified);
    }

    void decimalCell_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("exact");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("refused");
        QTest::newRow("exact beyond the mask") << "1234.567" << "1234.567" << "1,234.57" << false;
        QTest::newRow("thousands typed") << "1,000,000.1" << "1000000.1" << "1,000,000.10" << false;
        QTest::newRow("not a number") << "1o0" << "125.5" << "125.50" << true;
        QTest::newRow("emptied") << "" << "0" << "0.00" << false;
    }
    void decimalCell()
    {
        QFETCH(QString, typed);
        QFETCH(QString, exact);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        PriceGrid g;
        g.show();
        QCOMPARE(g.shown(3), QStringLiteral("125.50"));
        QWidget *editor = g.open(3);
        QVERIFY(editor);
        QCOMPARE(static_cast<QLineEdit *>(editor)->text(), QStringLiteral("125.5"));
        static_cast<QLineEdit *>(editor)->selectAll();
        if (typed.isEmpty())
            QTest::keyClick(editor, Qt::Key_Delete);
        else
            typeText(editor, typed);
        // Saving with the cell still open: the typed value counts, or the save stops.
        QCOMPARE(finishFocusedEditor(&g.window), !refused);
        QCOMPARE(g.shown(3), shown);
        const QVariant v = g.model.value(0, QStringLiteral("Price"));
        QCOMPARE(v.metaType(), QMetaType::fromType<Decimal>());
        if (refused)
            QCOMPARE(v.value<Decimal>(), Decimal::fromString(exact));
        else // exactly as typed, scale included
            QCOMPARE(v.value<Decimal>().toString(), Decimal::fromString(exact).toString());
        QCOMPARE(dialogs->entries.size(), refused ? 1 : 0);
    }

    void dropDownsAndPassword()
    {
        PriceGrid g;
        g.show();
        QCOMPARE(g.displayed(4), QStringLiteral("ไม่รวมภาษี"));
        auto *combo = qobject_cast<QComboBox *>(g.open(4));
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QStringLiteral("ไม่รวมภาษี"));
        QTest::keyClick(combo, Qt::Key_Up);
        QTest::keyClick(combo, Qt::Key_Tab);
        QCOMPARE(g.model.value(0, QStringLiteral("IncludeVAT")).toString(), QStringLiteral("Y"));
        QCOMPARE(g.displayed(4), QStringLiteral("รวมภาษี"));

        auto *units = qobject_cast<QComboBox *>(g.open(5));
        QVERIFY(units);
        QCOMPARE(units->model()->columnCount(), 2);
        QCOMPARE(units->model()->index(0, 1).data().toString(), QStringLiteral("กล่อง"));
        QCOMPARE(units->currentText(), QStringLiteral("เส้น"));
        QTest::keyClick(units, Qt::Key_Up);
        QTest::keyClick(units, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), g.view);
        QCOMPARE(g.model.value(0, QStringLiteral("unitname")).toString(), QStringLiteral("BOX"));

        QCOMPARE(g.displayed(6), QString(3, QChar(0x25CF)));
        QWidget *pass = g.type(6, QStringLiteral("s3cret"));
        QCOMPARE(static_cast<QLineEdit *>(pass)->echoMode(), QLineEdit::Password);
        QTest::keyClick(pass, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), g.view);
        QCOMPARE(g.model.value(0, QStringLiteral("Pass")).toString(), QStringLiteral("s3cret"));
        QCOMPARE(g.displayed(6), QString(6, QChar(0x25CF)));
        QVERIFY(!g.view->grab().isNull());
    }

    void enterMovesToTheNextEditableCell()
    {
        PriceGrid g;
        QlxCellDelegate plain;
        for (auto *d : std::initializer_list<QlxCellDelegate *>{&g.code, &g.date, &g.price, &plain})
            d->enterMovesToNextCell = true;
        g.view->setItemDelegate(&plain);
        g.show();
        QWidget *editor = g.type(0, QStringLiteral("p001"));
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        // The name is display-only: the date cell is next.
        QTRY_COMPARE(g.view->currentIndex(), g.model.index(0, 2));
        QCOMPARE(g.shown(0), QStringLiteral("P001"));
        editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit *>(editor));
        static_cast<QLineEdit *>(editor)->selectAll();
        typeText(editor, QStringLiteral("01/03/2026"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(g.view->currentIndex(), g.model.index(0, 3));
        QCOMPARE(g.model.value(0, QStringLiteral("PriceDate")).toDate(), QDate(2026, 3, 1));
        // A refused value keeps the user in the cell to correct it.
        editor = QApplication::focusWidget();
        static_cast<QLineEdit *>(editor)->selectAll();
        typeText(editor, QStringLiteral("abc"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(dialogs->entries.size(), 1);
        QCOMPARE(g.shown(3), QStringLiteral("125.50"));
        QTest::qWait(20);
        QCOMPARE(g.view->currentIndex(), g.model.index(0, 3));
        QCOMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(static_cast<QLineEdit *>(editor)->text(), QStringLiteral("125.5"));
        static_cast<QLineEdit *>(editor)->selectAll();
        typeText(editor, QStringLiteral("99"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(g.view->currentIndex(), g.model.index(0, 4));
        QCOMPARE(g.shown(3), QStringLiteral("99.00"));
    }

    void displayOnlyColumnsAreNotEditable()
    {
        PriceGrid g;
        g.show();
        QVERIFY(!(g.model.flags(g.model.index(0, 1)) & Qt::ItemIsEditable));
        QVERIFY(!g.open(1));
        g.model.setColumnReadOnly(QStringLiteral("code"), true);
        QVERIFY(!g.open(0));
        // Filling a joined column alone is no change to write.
        g.model.setValue(0, QStringLiteral("thainame"), QStringLiteral("อื่น"));
        QCOMPARE(g.model.rowState(0), CachedGridModel::RowState::Stored);
    }
};

QTEST_MAIN(TstCellEditors)
#include "tst_celleditors.moc"
