#include "TestEnv.h"
#include "TypeText.h"
#include "core/FormatFloat.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TF_SearchCustomer.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFrSearch.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBuffer.h"
#include "modules/Modules.h"
#include "modules/pricing/TFrCustomerProductPrice.h"
#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// The customer price window driven as a user drives it: a customer code typed
// into the selector, cells typed into, look-ups answered, F6, F8, F10; then the
// rows are read back from the database.
namespace {

const QString Caption = QStringLiteral("ราคาสินค้าตามลูกค้า");
// The demo rows of C0001 in the order the window lists them.
const QStringList DemoRows{"P0001|ชิ้น|145.500|10|5%|", "P0001|โหล|1650.000|1|5%+2%|", "P0002|โหล|2400.250|5|10%|",
                           "P0003|ชิ้น|89.750|0||"};

Connection &company() { return TDM::instance()->DMDATA(); }

QString text(const QVariant &v) { return v.isNull() ? QString() : dbText(v).trimmed(); }
QString money(const QVariant &v) { return v.isNull() ? QString() : formatFloat("0.000", decimalFromVariant(v)); }

// One line per stored row of the customer: code|unit|price|quantity|discount|quota.
QStringList stored(const QString &customer)
{
    const bool quota = company().dialect().hasColumn(company(), QStringLiteral("customerproductprice"), QStringLiteral("QuotaQuantity"));
    QSqlQuery q = company().exec(
        QStringLiteral("Select p.Code, u.UnitName, x.Price, x.Quantity, x.Discount, %1 From customerproductprice x"
                       " Inner Join Product p On p.Id = x.Product Inner Join ProductUnits u On u.Id = x.ProductUnits And u.Product = x.Product"
                       " Inner Join Customer c On c.Id = x.Customer Where c.Code = :c Order By p.Code, x.Id")
            .arg(quota ? QStringLiteral("x.QuotaQuantity") : QStringLiteral("Null")),
        {{"c", customer}});
    QStringList out;
    while (q.next())
        out << QStringList{text(q.value(0)), text(q.value(1)), money(q.value(2)), text(q.value(3)), text(q.value(4)), text(q.value(5))}.join('|');
    return out;
}
int storedCount() { return company().scalar(QStringLiteral("Select Count(*) From customerproductprice")).toInt(); }

// Answers the next modal look-up of the given kind with the row whose column
// holds the value; an empty value cancels it.
template <class Dialog>
void answer(const std::function<void(Dialog *)> &fill, const QString &column, const QString &value, QString *title = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto *d = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!d)
            return answer<Dialog>(fill, column, value, title);
        if (title)
            *title = d->windowTitle();
        if (value.isEmpty())
            return QTest::keyClick(d, Qt::Key_Escape);
        if (fill)
            fill(d);
        QTRY_VERIFY(d->result()->rowCount() > 0);
        for (int r = d->result()->rowCount() - 1; r >= 0; --r)
            if (text(d->result()->value(r, column)) == value)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
    });
}

// Picks an entry of the next pop-up menu.
void choosePopup(QAction *action)
{
    QTimer::singleShot(0, [action] {
        auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!m)
            return choosePopup(action);
        m->setActiveAction(action);
        QTest::keyClick(m, Qt::Key_Return);
    });
}

} // namespace

class TstCustomerPrice : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrCustomerProductPrice> w;

    void open()
    {
        w = std::make_unique<TFrCustomerProductPrice>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaCustomer->EdCode));
    }
    // Types the customer code and presses Enter: the focus goes on to the grid.
    void choose(const QString &code)
    {
        w->FaCustomer->EdCode->setFocus();
        QTRY_VERIFY(w->FaCustomer->EdCode->hasFocus());
        w->FaCustomer->EdCode->selectAll();
        typeText(w->FaCustomer->EdCode, code);
        QTest::keyClick(w->FaCustomer->EdCode, Qt::Key_Return);
    }
    void answers(const QList<bool> &a) { s->dialogs->answers = a; }
    void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), mods); }

    QString shown(int row, const QString &field) const { return text(w->QrPrice->value(row, field)); }
    QStringList column(const QString &field) const
    {
        QStringList out;
        for (int r = 0; r < w->QrPrice->rowCount(); ++r)
            out << shown(r, field);
        return out;
    }
    QModelIndex cell(int row, const QString &field) const { return w->QrPrice->index(row, w->QrPrice->columnOf(field)); }
    void select(int row, const QString &field)
    {
        w->DgPrice->setFocus();
        QTRY_VERIFY(w->DgPrice->hasFocus());
        w->DgPrice->setCurrentIndex(cell(row, field));
    }
    // Opens the cell's editor with F2, replaces its text and presses Enter.
    void typeCell(int row, const QString &field, const QString &value, bool enter = true)
    {
        select(row, field);
        QTest::keyClick(w->DgPrice, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, value);
        if (enter)
            QTest::keyClick(editor, Qt::Key_Return);
    }
    // Down from the last row starts a new one; returns its row.
    int newRow()
    {
        if (w->QrPrice->rowCount() > 0)
            select(w->QrPrice->rowCount() - 1, QStringLiteral("code"));
        else
            w->DgPrice->setFocus();
        QTest::keyClick(w->DgPrice, Qt::Key_Down);
        return w->QrPrice->rowCount() - 1;
    }
    void newLine(const QString &code, const QString &unit, const QString &price)
    {
        const int r = newRow();
        typeCell(r, QStringLiteral("code"), code);
        typeCell(r, QStringLiteral("unitname"), unit);
        if (!price.isEmpty())
            typeCell(r, QStringLiteral("Price"), price);
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
        s->cfg->MenuCaption = QStringLiteral("  ") + Caption + QStringLiteral(" ");
        s->cfg->CompanyName = QStringLiteral("บริษัท ตัวอย่าง จำกัด");
        s->cfg->IsThai = true;
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    // The schema upgrade, the quota column by the company setting, and the quota
    // written (empty when the column is not shown).
    void startUpAndQuota_data()
    {
        QTest::addColumn<QString>("setting"); // Config.QuotaQuantity; "-" drops the column first
        QTest::addColumn<bool>("shown");
        QTest::newRow("quota used") << "Y" << true;
        QTest::newRow("quota not used") << "N" << false;
        QTest::newRow("setting missing from the database") << "-" << false;
    }
    void startUpAndQuota()
    {
        QFETCH(QString, setting);
        QFETCH(bool, shown);
        Connection &c = company();
        if (setting == QLatin1String("-"))
            c.exec(QStringLiteral("Alter Table Config Drop Column QuotaQuantity"));
        else
            c.exec(QStringLiteral("Update Config Set QuotaQuantity = :q"), {{"q", setting}});
        // As the company connection reads the settings when it opens.
        TDM::instance()->ReopenConfig();
        QVERIFY(!c.dialect().hasColumn(c, QStringLiteral("customerproductprice"), QStringLiteral("QuotaQuantity")));
        open();
        QVERIFY(c.dialect().hasColumn(c, QStringLiteral("Config"), QStringLiteral("QuotaQuantity")));
        QVERIFY(c.dialect().hasColumn(c, QStringLiteral("customerproductprice"), QStringLiteral("QuotaQuantity")));
        QCOMPARE(w->windowTitle(), Caption + QStringLiteral(" (MFG15.02.03)"));
        QCOMPARE(w->StatusPanel0->text(), QStringLiteral("บริษัท ตัวอย่าง จำกัด"));
        QVERIFY(!w->AcSave->isEnabled() && !w->AcDel->isEnabled() && !w->AcCopy->isEnabled() && !w->AcCopy->isVisible());
        QStringList titles;
        for (int i = 0; i < w->QrPrice->columnCount(); ++i)
            titles << w->QrPrice->headerData(i, Qt::Horizontal).toString();
        QStringList expected{"รหัสสินค้า", "ชื่อสินค้า", "หน่วย", "บาร์โค้ด", "ราคา", "จำนวน", "ส่วนลด"};
        if (shown)
            expected << QStringLiteral("จำนวนโควต้า ");
        QCOMPARE(titles, expected);

        choose(QStringLiteral("C0002"));
        QCOMPARE(column(QStringLiteral("code")), QStringList{"P0004"});
        if (shown)
            typeCell(0, QStringLiteral("QuotaQuantity"), QStringLiteral("30"));
        newLine(QStringLiteral("P0001"), QStringLiteral("ชิ้น"), QStringLiteral("10"));
        answers({true});
        press(Qt::Key_F10);
        QCOMPARE(stored(QStringLiteral("C0002")),
                 (QStringList{"P0001|ชิ้น|10.000|||", shown ? "P0004|ชิ้น|32.250|100|3%|30" : "P0004|ชิ้น|32.250|100|3%|"}));

        // A second start finds both columns and changes nothing.
        const int columns = c.exec(QStringLiteral("Select * From customerproductprice")).record().count();
        w.reset();
        open();
        QCOMPARE(c.exec(QStringLiteral("Select * From customerproductprice")).record().count(), columns);
        QCOMPARE(w->quotaShown(), shown);
        QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("จัดเก็บข้อมูล ?")});
    }

    void choosingACustomer_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("codes"); // the grid once the focus is in it
        QTest::addColumn<bool>("del");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("customer with prices") << "C0001" << QStringList{"P0001", "P0001", "P0002", "P0003"} << true << false << QStringList{};
        // An empty list starts with one blank row to type into.
        QTest::newRow("customer without prices") << "C0003" << QStringList{""} << false << true << QStringList{};
        QTest::newRow("no code") << "" << QStringList{} << false << false << QStringList{"ไม่ได้ระบุลูกค้า"};
        QTest::newRow("unknown code") << "X999" << QStringList{} << false << false << QStringList{"ไม่ได้ระบุลูกค้า"};
        QTest::newRow("blocked customer") << "C0006" << QStringList{} << false << false
                                          << QStringList{"รหัสลูกค้าถูกระงับการใช้งาน !", "ไม่ได้ระบุลูกค้า"};
    }
    void choosingACustomer()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, codes);
        QFETCH(bool, del);
        QFETCH(bool, copy);
        QFETCH(QStringList, messages);
        open();
        choose(code);
        QCOMPARE(column(QStringLiteral("code")), codes);
        QCOMPARE(s->dialogs->texts(), messages);
        QVERIFY(w->AcSave->isEnabled());
        QCOMPARE(w->AcDel->isEnabled(), del);
        QCOMPARE(w->AcCopy->isEnabled(), copy);
        QCOMPARE(w->AcCopy->isVisible(), copy);
        if (codes.isEmpty()) {
            QCOMPARE(w->customerId(), qint64(0));
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaCustomer->EdCode));
            // Saving for nobody is refused with its own message.
            press(Qt::Key_F10);
            QCOMPARE(s->dialogs->texts().last(), QStringLiteral("ไม่ระบุลูกค้า"));
            QVERIFY(!s->dialogs->contains(QStringLiteral("จัดเก็บข้อมูล ?")));
            return;
        }
        QTRY_VERIFY(!w->keyPreview()); // the grid has the focus and keeps Enter
        QCOMPARE(w->QrNullTable->integer(QStringLiteral("Id")), w->customerId());
        if (code == QLatin1String("C0001")) {
            QCOMPARE(shown(0, QStringLiteral("thainame")), QStringLiteral("ปูนซีเมนต์ปอร์ตแลนด์ 50 กก."));
            QCOMPARE(column(QStringLiteral("unitname")), (QStringList{"ชิ้น", "โหล", "โหล", "ชิ้น"}));
            QCOMPARE(shown(1, QStringLiteral("Barcode")), QStringLiteral("8850001012"));
            QCOMPARE(w->QrPrice->data(cell(2, QStringLiteral("Price"))).toString(), QStringLiteral("2,400.25"));
            QVERIFY(!(cell(0, QStringLiteral("thainame")).flags() & Qt::ItemIsEditable));
            QVERIFY(!(cell(0, QStringLiteral("Barcode")).flags() & Qt::ItemIsEditable));
            // Enter passes over the name to the unit; Escape does not close the window from the grid.
            select(0, QStringLiteral("code"));
            press(Qt::Key_Return);
            QCOMPARE(w->DgPrice->currentIndex(), cell(0, QStringLiteral("unitname")));
            press(Qt::Key_Escape);
            QVERIFY(w->isVisible() && s->dialogs->entries.isEmpty());
        }
    }

    // What a typed product code or unit becomes in a new row of an empty list.
    void codeAndUnitRules_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("shownCode");
        QTest::addColumn<QString>("shownName");
        QTest::addColumn<QString>("shownUnit");
        QTest::addColumn<QString>("barcode");
        QTest::newRow("code in lower case, sale unit") << "p0004" << "โหล" << "P0004" << "ท่อพีวีซี 4 หุน" << "โหล" << "8850004012";
        QTest::newRow("unknown code") << "P9999" << "ชิ้น" << "" << "" << "" << "";
        QTest::newRow("blocked product") << "P0005" << "ชิ้น" << "" << "" << "" << "";
        QTest::newRow("master product") << "P0006" << "ชิ้น" << "" << "" << "" << "";
        QTest::newRow("product without a valid tax") << "P0007" << "ชิ้น" << "" << "" << "" << "";
        QTest::newRow("purchase-only unit") << "P0001" << "กล่อง" << "P0001" << "ปูนซีเมนต์ปอร์ตแลนด์ 50 กก." << "" << "";
        QTest::newRow("unknown unit") << "P0001" << "ลัง" << "P0001" << "ปูนซีเมนต์ปอร์ตแลนด์ 50 กก." << "" << "";
    }
    void codeAndUnitRules()
    {
        QFETCH(QString, code);
        QFETCH(QString, unit);
        QFETCH(QString, shownCode);
        QFETCH(QString, shownName);
        QFETCH(QString, shownUnit);
        QFETCH(QString, barcode);
        open();
        choose(QStringLiteral("C0003"));
        QTRY_COMPARE(w->QrPrice->rowCount(), 1);
        typeCell(0, QStringLiteral("code"), code);
        typeCell(0, QStringLiteral("unitname"), unit);
        QCOMPARE(shown(0, QStringLiteral("code")), shownCode);
        QCOMPARE(shown(0, QStringLiteral("thainame")), shownName);
        QCOMPARE(shown(0, QStringLiteral("unitname")), shownUnit);
        QCOMPARE(shown(0, QStringLiteral("Barcode")), barcode);
        QVERIFY(s->dialogs->entries.isEmpty()); // refused codes revert without a word
    }

    // Edits, look-ups, a removed row, a duplicate and incomplete rows; F10
    // writes exactly the complete rows on screen.
    void editsAreWrittenOnSave()
    {
        open();
        choose(QStringLiteral("C0001"));
        QCOMPARE(stored(QStringLiteral("C0001")), DemoRows);
        typeCell(2, QStringLiteral("Price"), QStringLiteral("2500.125"));
        typeCell(2, QStringLiteral("Discount"), QStringLiteral("12%"));
        // Another product keeps the unit's name when it sells in that unit.
        typeCell(1, QStringLiteral("code"), QStringLiteral("P0004"));
        QCOMPARE(shown(1, QStringLiteral("Barcode")), QStringLiteral("8850004012"));
        // ... and loses the unit when it does not.
        typeCell(0, QStringLiteral("code"), QStringLiteral("P0009"));
        QCOMPARE(shown(0, QStringLiteral("unitname")), QString());
        select(3, QStringLiteral("Discount"));
        QTest::mouseClick(w->BDelLine, Qt::LeftButton);
        QCOMPARE(column(QStringLiteral("code")), (QStringList{"P0009", "P0004", "P0002"}));
        QCOMPARE(w->DgPrice->currentIndex(), cell(2, QStringLiteral("code")));

        // F5 in the code and unit cells.
        const int r = newRow();
        select(r, QStringLiteral("code"));
        answer<TFrSearch>([](TFrSearch *d) {
            d->Code->setFocus();
            QTest::keyClicks(d->Code, QStringLiteral("P0008"));
            QTest::keyClick(d->Code, Qt::Key_Return);
        }, QStringLiteral("Code"), QStringLiteral("P0008"));
        press(Qt::Key_F5);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(shown(r, QStringLiteral("code")), QString()); // still in the box until it is left
        press(Qt::Key_Return);
        QCOMPARE(shown(r, QStringLiteral("code")), QStringLiteral("P0008"));
        QCOMPARE(shown(r, QStringLiteral("thainame")), QStringLiteral("ถุงมือผ้า"));
        select(r, QStringLiteral("unitname"));
        QStringList offered;
        answer<TFrSearch>([&offered](TFrSearch *d) {
            QTRY_VERIFY(d->result()->rowCount() > 0);
            for (int i = 0; i < d->result()->rowCount(); ++i)
                offered << text(d->result()->value(i, QStringLiteral("UnitName")));
        }, QStringLiteral("UnitName"), QStringLiteral("โหล"));
        press(Qt::Key_F5);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(offered, (QStringList{"ชิ้น", "โหล"})); // sale or smallest units, by fraction
        QCOMPARE(shown(r, QStringLiteral("unitname")), QStringLiteral("โหล"));
        QCOMPARE(shown(r, QStringLiteral("Barcode")), QStringLiteral("8850008012"));
        typeCell(r, QStringLiteral("Price"), QStringLiteral("55"));
        typeCell(r, QStringLiteral("Quantity"), QStringLiteral("12"));
        typeCell(r, QStringLiteral("Discount"), QStringLiteral("ลด 5 บาท"));

        // The same product and unit twice is only told.
        QVERIFY(s->dialogs->entries.isEmpty());
        newLine(QStringLiteral("P0002"), QStringLiteral("โหล"), QStringLiteral("2450"));
        QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("ข้อมูลซ้ำกัน")});
        // Rows lacking a unit or a price are not stored.
        newLine(QStringLiteral("P0003"), QStringLiteral("ชิ้น"), QString());
        newLine(QStringLiteral("P0001"), QStringLiteral("กล่อง"), QStringLiteral("300"));
        typeCell(0, QStringLiteral("Price"), QStringLiteral("99"));

        answers({true});
        press(Qt::Key_F10);
        QCOMPARE(s->dialogs->texts(), (QStringList{QStringLiteral("ข้อมูลซ้ำกัน"), QStringLiteral("จัดเก็บข้อมูล ?")}));
        QCOMPARE(stored(QStringLiteral("C0001")),
                 (QStringList{"P0002|โหล|2500.125|5|12%|", "P0002|โหล|2450.000|||", "P0004|โหล|1650.000|1|5%+2%|", "P0008|โหล|55.000|12|ลด 5 บาท|"}));
        QCOMPARE(stored(QStringLiteral("C0002")), QStringList{"P0004|ชิ้น|32.250|100|3%|"});
        // Save ends in New.
        QVERIFY(w->FaCustomer->EdCode->text().isEmpty());
        QCOMPARE(w->QrPrice->rowCount(), 0);
        QVERIFY(!w->AcSave->isEnabled() && !w->AcDel->isEnabled());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaCustomer->EdCode));
    }

    void saveRefusals_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("quantity"); // typed last, the cell left open
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows");
        // The priceless row goes before the question, whatever the answer.
        QTest::newRow("answered no") << false << "3" << "จัดเก็บข้อมูล ?" << 4;
        QTest::newRow("quantity not a whole number") << true << "1.5" << invalidNumberMessage(QStringLiteral("1.5")) << 5;
    }
    void saveRefusals()
    {
        QFETCH(bool, yes);
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        QFETCH(int, rows);
        open();
        choose(QStringLiteral("C0001"));
        typeCell(2, QStringLiteral("Discount"), QStringLiteral("ไม่บันทึก"));
        newLine(QStringLiteral("P0004"), QStringLiteral("ชิ้น"), QString());
        typeCell(0, QStringLiteral("Quantity"), quantity, false);
        answers({yes});
        press(Qt::Key_F10);
        QCOMPARE(s->dialogs->texts(), QStringList{message});
        QCOMPARE(stored(QStringLiteral("C0001")), DemoRows);
        QCOMPARE(shown(2, QStringLiteral("Discount")), QStringLiteral("ไม่บันทึก"));
        QCOMPARE(w->QrPrice->rowCount(), rows);
        QVERIFY(w->AcSave->isEnabled());
    }

    void failedSaveWritesNothingAndKeepsTheEdits()
    {
        company().exec(QStringLiteral("Create Unique Index tst_cpp_unit On customerproductprice (Customer, Product, ProductUnits)"));
        open();
        choose(QStringLiteral("C0001"));
        typeCell(0, QStringLiteral("Price"), QStringLiteral("140"));
        select(3, QStringLiteral("code"));
        QTest::mouseClick(w->BDelLine, Qt::LeftButton);
        newLine(QStringLiteral("P0002"), QStringLiteral("โหล"), QStringLiteral("2000"));
        answers({true});
        press(Qt::Key_F10);
        QVERIFY(!company().inTransaction());
        QCOMPARE(s->dialogs->entries.last().kind, QStringLiteral("error"));
        QCOMPARE(stored(QStringLiteral("C0001")), DemoRows);
        QCOMPARE(column(QStringLiteral("code")), (QStringList{"P0001", "P0001", "P0002", "P0002"}));
        QCOMPARE(money(w->QrPrice->value(0, QStringLiteral("Price"))), QStringLiteral("140.000"));
        // Corrected, the same edits go in.
        typeCell(3, QStringLiteral("code"), QStringLiteral("P0004"));
        answers({true});
        press(Qt::Key_F10);
        QCOMPARE(stored(QStringLiteral("C0001")),
                 (QStringList{"P0001|ชิ้น|140.000|10|5%|", "P0001|โหล|1650.000|1|5%+2%|", "P0002|โหล|2400.250|5|10%|", "P0004|โหล|2000.000|||"}));
    }

    void copyFromAnotherCustomer_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("source"); // chosen in the search; empty cancels it
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("message");
        QTest::newRow("source with prices") << "C0003" << "C0001" << QStringList{"P0001", "P0001", "P0002", "P0003"} << "";
        QTest::newRow("source without prices") << "C0003" << "C0004" << QStringList{} << "ลูกค้าที่เลือกไม่มีรายการที่จะ Copy";
        QTest::newRow("search cancelled") << "C0003" << "" << QStringList{} << "";
        QTest::newRow("customer with prices") << "C0001" << "-" << QStringList{"P0001", "P0001", "P0002", "P0003"} << "";
    }
    void copyFromAnotherCustomer()
    {
        QFETCH(QString, target);
        QFETCH(QString, source);
        QFETCH(QStringList, after);
        QFETCH(QString, message);
        open();
        choose(target);
        const bool offered = source != QLatin1String("-");
        QCOMPARE(w->AcCopy->isEnabled(), offered);
        QString title;
        if (offered)
            answer<TF_SearchCustomer>([source](TF_SearchCustomer *d) {
                d->EdCusCode->setFocus();
                QTest::keyClicks(d->EdCusCode, source);
                QTest::keyClick(d->EdCusCode, Qt::Key_Return);
            }, QStringLiteral("Code"), source, &title);
        press(Qt::Key_F6);
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QCOMPARE(title, offered ? QStringLiteral("Copy รายการจากลูกค้าที่ต้องการ") : QString());
        QCOMPARE(column(QStringLiteral("code")), after);
        QCOMPARE(s->dialogs->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (source.isEmpty() || source == QLatin1String("-") || after.isEmpty())
            return;
        QVERIFY(!w->AcCopy->isEnabled() && !w->AcCopy->isVisible());
        QCOMPARE(column(QStringLiteral("Customer")), QStringList(4, QString::number(w->customerId())));
        QCOMPARE(stored(target), QStringList{}); // nothing stored before Save
        answers({true});
        press(Qt::Key_F10);
        QCOMPARE(stored(target), DemoRows);
        QCOMPARE(stored(source), DemoRows);
    }

    void discountCopy_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("all");
        QTest::addColumn<QStringList>("discounts");
        QTest::newRow("all below") << 1 << true << QStringList{"5%", "5%+2%", "5%+2%", "5%+2%"};
        QTest::newRow("one below") << 1 << false << QStringList{"5%", "5%+2%", "5%+2%", ""};
        QTest::newRow("one below the last row") << 3 << false << QStringList{"5%", "5%+2%", "10%", ""};
    }
    void discountCopy()
    {
        QFETCH(int, row);
        QFETCH(bool, all);
        QFETCH(QStringList, discounts);
        open();
        choose(QStringLiteral("C0001"));
        select(row, QStringLiteral("Discount"));
        const QPoint at = w->DgPrice->visualRect(cell(row, QStringLiteral("Discount"))).center();
        choosePopup(all ? w->MnCopyDiscountAll : w->MnCopyDiscountOne);
        QContextMenuEvent menu(QContextMenuEvent::Mouse, at, w->DgPrice->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w->DgPrice->viewport(), &menu);
        QCOMPARE(column(QStringLiteral("Discount")), discounts);
        QCOMPARE(w->DgPrice->currentIndex().row(), row);
        // The offscreen platform does not give the window back after a pop-up.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->DgPrice));
        answers({true});
        press(Qt::Key_F10);
        QStringList storedDiscounts;
        for (const QString &l : stored(QStringLiteral("C0001")))
            storedDiscounts << l.section('|', 4, 4);
        QCOMPARE(storedDiscounts, discounts);
    }

    void deleteRemovesEveryPriceOfTheCustomer_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void deleteRemovesEveryPriceOfTheCustomer()
    {
        QFETCH(bool, yes);
        open();
        choose(QStringLiteral("C0001"));
        typeCell(0, QStringLiteral("Price"), QStringLiteral("1"));
        select(1, QStringLiteral("code"));
        QTest::mouseClick(w->BDelLine, Qt::LeftButton);
        answers({yes});
        press(Qt::Key_F8);
        QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("ลบข้อมูล ?")});
        QCOMPARE(stored(QStringLiteral("C0001")), yes ? QStringList{} : DemoRows);
        QCOMPARE(stored(QStringLiteral("C0002")), QStringList{"P0004|ชิ้น|32.250|100|3%|"});
        QCOMPARE(storedCount(), yes ? 1 : 5);
        QCOMPARE(w->QrPrice->rowCount(), yes ? 0 : 3);
        QCOMPARE(w->customerId() > 0, !yes);
    }
};

QTEST_MAIN(TstCustomerPrice)
#include "tst_customerprice.moc"
