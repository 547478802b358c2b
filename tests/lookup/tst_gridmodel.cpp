#include "TestEnv.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/RecordBuffer.h"
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>
#include <QtTest>
#include "TypeText.h"

namespace {
const QString kList = QStringLiteral("SELECT Id, Code, Name, Blocked FROM Warehouse ORDER BY Code");
const QString kInsert = QStringLiteral("INSERT INTO Warehouse (Code, Name, flagin, flagout, Blocked) VALUES (:Code, :Name, 'Y', 'Y', :Blocked)");
const QString kUpdate = QStringLiteral("UPDATE Warehouse SET Code = :Code, Name = :Name, Blocked = :Blocked WHERE Id = :OLD_Id");
const QString kDelete = QStringLiteral("DELETE FROM Warehouse WHERE Id = :OLD_Id");

// What a module's grid window holds: the grid, its model and its statements.
struct WarehouseGrid
{
    QWidget window;
    QTableView *view = new QTableView(&window);
    CachedGridModel model;
    CodeCellDelegate codeCell;
    CheckCellDelegate blockedCell;
    QStringList written; // statement kinds in the order they ran
    int failInsertAt = -1; // simulate a lost link on this insert (1-based)

    WarehouseGrid()
    {
        auto *l = new QVBoxLayout(&window);
        l->addWidget(view);
        model.setColumns({{QStringLiteral("Code"), QStringLiteral("รหัสคลัง"), CachedGridModel::Kind::Text},
                          {QStringLiteral("Name"), QStringLiteral("ชื่อคลัง"), CachedGridModel::Kind::Text},
                          {QStringLiteral("Blocked"), QStringLiteral("ระงับ"), CachedGridModel::Kind::Flag}});
        model.setKeyFields({QStringLiteral("Id")});
        model.setRequiredFields({QStringLiteral("Code")});
        model.setNewRowDefaults({{QStringLiteral("Blocked"), QStringLiteral("N")}});
        view->setModel(&model);
        view->setItemDelegateForColumn(0, &codeCell);
        view->setItemDelegateForColumn(2, &blockedCell);
        window.resize(600, 300);
    }
    CachedGridModel::Statements statements()
    {
        CachedGridModel::Statements s;
        s.insert = [this](Connection &c, const CachedGridModel::Row &r) {
            written << QStringLiteral("insert");
            if (written.count(QStringLiteral("insert")) == failInsertAt)
                throw DbError(QStringLiteral("Possible network error (simulated)"));
            return QVariant(c.insertReturningId(kInsert, r.paramsFor(kInsert)));
        };
        s.update = [this](Connection &c, const CachedGridModel::Row &r) {
            written << QStringLiteral("update");
            c.exec(kUpdate, r.paramsFor(kUpdate));
        };
        s.remove = [this](Connection &c, const CachedGridModel::Row &r) {
            written << QStringLiteral("delete");
            c.exec(kDelete, r.paramsFor(kDelete));
        };
        return s;
    }
    void show()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    int rowOf(const QString &code) const
    {
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.value(r, QStringLiteral("code")).toString() == code)
                return r;
        return -1;
    }
    // Enter in a cell: the grid takes the value once the key is done.
    void enter(QWidget *editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(view));
    }
    // Opens the cell's editor as F2 would and types; returns the editor.
    QWidget *typeInto(int row, int column, const QString &text, bool replace = true)
    {
        view->setFocus();
        view->setCurrentIndex(model.index(row, column));
        QTest::keyClick(view, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        if (!editor || editor == view)
            return nullptr;
        if (replace)
            if (auto *e = qobject_cast<QLineEdit *>(editor))
                e->selectAll();
        typeText(editor, text);
        return editor;
    }
};

QStringList codesIn(Connection &c)
{
    QStringList out;
    auto q = c.exec(QStringLiteral("SELECT Code, Name FROM Warehouse ORDER BY Code"));
    while (q.next())
        out << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString();
    return out;
}
}

class TstGridModel : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<Connection> conn;
    std::unique_ptr<UserDialogs> previous;
    ScriptedDialogs *dialogs = nullptr;

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        conn = env->connect(QStringLiteral("DEMO"));
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

    void loadsAndShows()
    {
        WarehouseGrid g;
        g.model.load(*conn, kList);
        QCOMPARE(g.model.rowCount(), 2);
        QCOMPARE(g.model.columnCount(), 3);
        QCOMPARE(g.model.data(g.model.index(0, 0)).toString(), QStringLiteral("WH01"));
        QCOMPARE(g.model.data(g.model.index(0, 1)).toString(), QStringLiteral("คลังสินค้าหลัก"));
        QCOMPARE(g.model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ชื่อคลัง"));
        // The key has no column but is kept, with its loaded value.
        QVERIFY(g.model.value(0, QStringLiteral("ID")).toLongLong() > 0);
        QCOMPARE(g.model.originalValue(0, QStringLiteral("id")), g.model.value(0, QStringLiteral("Id")));
        QVERIFY(!g.model.hasPendingChanges());
    }

    void widthsInCharactersKeepTheTitlesVisible()
    {
        WarehouseGrid g;
        auto columns = g.model.columns();
        columns[1].widthChars = 30;
        columns[1].title = QStringLiteral("ชื่อคลัง\nสินค้า");
        g.model.setColumns(columns);
        g.model.load(*conn, kList);
        g.show();
        const QSize hint = g.view->horizontalHeader()->sizeHint();
        QVERIFY2(hint.height() >= 2 * QFontMetrics(g.view->horizontalHeader()->font()).height(), qPrintable(QString::number(hint.height())));
    }

    void failedApplyKeepsEverythingPending_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("second insert repeats a code") << "duplicate insert";
        QTest::newRow("update takes an existing code") << "duplicate update";
        QTest::newRow("link lost on the second insert") << "lost link";
    }
    void failedApplyKeepsEverythingPending()
    {
        QFETCH(QString, fault);
        conn->exec(QStringLiteral("INSERT INTO Warehouse (Code, Name, flagin, flagout, Blocked) VALUES ('WH00', 'เก่า', 'Y', 'Y', 'N')"));
        WarehouseGrid g;
        g.model.load(*conn, kList);
        g.show();
        const QStringList before = codesIn(*conn);
        QCOMPARE(before.size(), 3);

        // The user's edits: rename WH02, delete WH00, add two rows.
        QVERIFY(g.model.removeRows(g.rowOf(QStringLiteral("WH00")), 1));
        const int wh02 = g.rowOf(QStringLiteral("WH02"));
        QWidget *ed = g.typeInto(wh02, 1, QStringLiteral("คลังโครงการ ก"));
        QVERIFY(ed);
        g.enter(ed);
        QCOMPARE(g.model.value(wh02, QStringLiteral("Name")).toString(), QStringLiteral("คลังโครงการ ก"));
        if (fault == QLatin1String("duplicate update")) {
            ed = g.typeInto(wh02, 0, QStringLiteral("WH01"));
            g.enter(ed);
        }
        const int a = g.model.appendRow({{QStringLiteral("Code"), QStringLiteral("WH03")}, {QStringLiteral("Name"), QStringLiteral("คลังสาม")}});
        const int b = g.model.appendRow({{QStringLiteral("Code"), fault == QLatin1String("duplicate insert") ? QStringLiteral("WH03") : QStringLiteral("WH04")},
                                         {QStringLiteral("Name"), QStringLiteral("คลังสี่")}});
        if (fault == QLatin1String("lost link"))
            g.failInsertAt = 2;
        QCOMPARE(g.model.pendingDeletes(), 1);
        QCOMPARE(g.model.pendingUpdates(), 1);
        QCOMPARE(g.model.pendingInserts(), 2);

        bool threw = false;
        try {
            g.model.apply(*conn, g.statements());
        } catch (const DbError &e) {
            threw = true;
            if (fault != QLatin1String("lost link"))
                QVERIFY2(e.message().startsWith(QStringLiteral("Cannot insert duplicate")), qPrintable(e.message()));
        }
        QVERIFY(threw);
        QVERIFY(!conn->inTransaction());
        // Nothing was written ...
        QCOMPARE(codesIn(*conn), before);
        // ... and every edit is still there, still pending.
        QCOMPARE(g.model.rowCount(), 4);
        QCOMPARE(g.model.pendingDeletes(), 1);
        QCOMPARE(g.model.pendingUpdates(), 1);
        QCOMPARE(g.model.pendingInserts(), 2);
        QCOMPARE(g.model.value(wh02, QStringLiteral("Name")).toString(), QStringLiteral("คลังโครงการ ก"));
        QVERIFY(g.model.value(a, QStringLiteral("Id")).isNull());

        // The user corrects the fault and saves again.
        g.failInsertAt = -1;
        if (fault == QLatin1String("duplicate update")) {
            ed = g.typeInto(wh02, 0, QStringLiteral("WH09"));
            g.enter(ed);
        } else if (fault == QLatin1String("duplicate insert")) {
            ed = g.typeInto(b, 0, QStringLiteral("WH05"));
            g.enter(ed);
        }
        g.written.clear();
        g.model.apply(*conn, g.statements());
        QCOMPARE(g.written.first(), QStringLiteral("delete")); // a freed code may be reused
        QVERIFY(!g.model.hasPendingChanges());
        const QStringList after = codesIn(*conn);
        QCOMPARE(after.size(), 4);
        QVERIFY(!after.join(u',').contains(QStringLiteral("WH00|")));
        QVERIFY(after.contains(QStringLiteral("WH03|คลังสาม")));
        QVERIFY(after.join(u',').contains(QStringLiteral("|คลังโครงการ ก")));
        // New rows know their keys now, so a later change updates them.
        const qint64 idA = g.model.value(a, QStringLiteral("Id")).toLongLong();
        QCOMPARE(conn->scalar(QStringLiteral("SELECT Id FROM Warehouse WHERE Code = 'WH03'")).toLongLong(), idA);
        g.model.setValue(a, QStringLiteral("Name"), QStringLiteral("คลังสาม (แก้)"));
        g.written.clear();
        g.model.apply(*conn, g.statements());
        QCOMPARE(g.written, QStringList{QStringLiteral("update")});
        QCOMPARE(conn->scalar(QStringLiteral("SELECT Name FROM Warehouse WHERE Id = :i"), {{QStringLiteral("i"), idA}}).toString(), QStringLiteral("คลังสาม (แก้)"));
    }

    void rowsWithoutKeyAreDroppedSilently()
    {
        WarehouseGrid g;
        g.model.load(*conn, kList);
        g.model.appendRow({{QStringLiteral("Name"), QStringLiteral("ไม่มีรหัส")}});
        g.model.appendRow({{QStringLiteral("Code"), QStringLiteral("  ")}});
        g.model.appendRow({{QStringLiteral("Code"), QStringLiteral("WH07")}});
        // A stored row whose code was emptied goes from the table.
        g.model.setValue(g.rowOf(QStringLiteral("WH02")), QStringLiteral("Code"), QString());
        g.model.apply(*conn, g.statements());
        QCOMPARE(g.written.count(QStringLiteral("insert")), 1);
        QCOMPARE(g.written.count(QStringLiteral("delete")), 1);
        QVERIFY(dialogs->entries.isEmpty());
        QCOMPARE(codesIn(*conn).size(), 2);
        QCOMPARE(g.model.rowCount(), 2);
        QVERIFY(g.rowOf(QStringLiteral("WH07")) >= 0);
    }

    void removingAndUndoing()
    {
        WarehouseGrid g;
        g.model.load(*conn, kList);
        // A row added and removed again never reaches the database.
        const int r = g.model.appendRow({{QStringLiteral("Code"), QStringLiteral("WH08")}});
        g.model.removeRows(r, 1);
        QVERIFY(!g.model.hasPendingChanges());
        // Changing a value and putting it back is no change.
        g.model.setValue(0, QStringLiteral("Name"), QStringLiteral("x"));
        QCOMPARE(g.model.rowState(0), CachedGridModel::RowState::Modified);
        g.model.setValue(0, QStringLiteral("Name"), QStringLiteral("คลังสินค้าหลัก"));
        QCOMPARE(g.model.rowState(0), CachedGridModel::RowState::Stored);
        g.model.removeRows(0, 1);
        g.model.appendRow({{QStringLiteral("Code"), QStringLiteral("WH09")}});
        g.model.cancelPending();
        QCOMPARE(g.model.rowCount(), 2);
        QVERIFY(!g.model.hasPendingChanges());
        g.model.apply(*conn, g.statements());
        QVERIFY(g.written.isEmpty());
    }

    void f10SavesTheCellStillBeingTyped()
    {
        WarehouseGrid g;
        g.model.load(*conn, kList);
        g.show();
        const int row = g.rowOf(QStringLiteral("WH01"));
        QWidget *editor = g.typeInto(row, 1, QStringLiteral("คลังกลาง"));
        QVERIFY(editor);
        QCOMPARE(g.model.value(row, QStringLiteral("Name")).toString(), QStringLiteral("คลังสินค้าหลัก"));
        // What the window's F10 does first.
        QVERIFY(finishFocusedEditor(&g.window));
        QCOMPARE(g.model.value(row, QStringLiteral("Name")).toString(), QStringLiteral("คลังกลาง"));
        g.model.apply(*conn, g.statements());
        QCOMPARE(conn->scalar(QStringLiteral("SELECT Name FROM Warehouse WHERE Code = 'WH01'")).toString(), QStringLiteral("คลังกลาง"));
    }

    void oneClickTogglesTheFlag()
    {
        WarehouseGrid g;
        g.model.load(*conn, kList);
        g.show();
        const int row = g.rowOf(QStringLiteral("WH02"));
        const QRect cell = g.view->visualRect(g.model.index(row, 2));
        QTest::mouseClick(g.view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(g.model.value(row, QStringLiteral("Blocked")).toString(), QStringLiteral("Y"));
        QTest::mouseClick(g.view->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(g.model.value(row, QStringLiteral("Blocked")).toString(), QStringLiteral("N"));
        QTest::mouseClick(g.view->viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!g.view->indexWidget(g.model.index(row, 2)));
        g.model.apply(*conn, g.statements());
        QCOMPARE(conn->scalar(QStringLiteral("SELECT Blocked FROM Warehouse WHERE Code = 'WH02'")).toString(), QStringLiteral("Y"));
    }

    void recordBufferWritesWithItsOwnStatement()
    {
        // The same placeholder filling serves a one-record window.
        RecordBuffer b;
        QVERIFY(b.load(*conn, QStringLiteral("SELECT Id, Code, Name FROM Warehouse WHERE Code = :c"), {{QStringLiteral("c"), QStringLiteral("WH02")}}));
        b.setValue(QStringLiteral("Code"), QStringLiteral("WH20"));
        const QString sql = QStringLiteral("UPDATE Warehouse SET Code = :Code, Name = :NAME WHERE Code = :OLD_Code AND Id = :OLD_Id");
        const QVariantMap p = b.paramsFor(sql);
        QCOMPARE(p.size(), 4);
        QCOMPARE(p.value(QStringLiteral("OLD_Code")).toString(), QStringLiteral("WH02"));
        conn->exec(sql, p);
        QCOMPARE(conn->scalar(QStringLiteral("SELECT COUNT(*) FROM Warehouse WHERE Code = 'WH20'")).toInt(), 1);
    }

    void placeholders_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("plain") << "UPDATE T SET A = :A, B=:b WHERE Id = :OLD_Id" << QStringList{"A", "b", "OLD_Id"};
        QTest::newRow("repeated once") << "SELECT :x, :x" << QStringList{"x"};
        QTest::newRow("quoted text") << "SELECT ':no', \"a:b\" FROM T WHERE c = :yes" << QStringList{"yes"};
        QTest::newRow("cast") << "SELECT :v::text" << QStringList{"v"};
        QTest::newRow("time literal") << "SELECT '10:30'" << QStringList{};
    }
    void placeholders()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, names);
        QCOMPARE(sqlPlaceholders(sql), names);
    }
};

QTEST_MAIN(TstGridModel)
#include "tst_gridmodel.moc"
