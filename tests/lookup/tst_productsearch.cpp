#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TF_SearchProduct.h"
#include "lookup/TFaSelectAttr.h"
#include "lookup/TFrSearchBarCode.h"
#include "lookup/TFrPreviewDetailMfg.h"
#include "lookup/TFrSearchProductService.h"
#include "services/DemoPictures.h"
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QPainter>
#include <QRadioButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

class TstProductSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;

    Connection &db() { return s->dm->DMDATA(); }
    template <class D> std::unique_ptr<D> open()
    {
        auto d = std::make_unique<D>();
        d->show();
        [&] { QVERIFY(QTest::qWaitForWindowActive(d.get())); }();
        return d;
    }
    static QStringList column(TFrSearch *d, const QString &name)
    {
        QStringList out;
        if (!d->result()->isOpen())
            return {QStringLiteral("<not searched>")};
        for (int r = 0; r < d->result()->rowCount(); ++r)
            out << dbText(d->result()->value(r, name)).trimmed();
        return out;
    }
    static QString shown(TFrSearch *d, int row, const QString &name)
    {
        const int c = d->result()->columnOf(name);
        return d->DgSearch->model()->data(d->DgSearch->model()->index(row, c)).toString();
    }

    void useLayout(int layout)
    {
        db().exec(QStringLiteral("UPDATE Config SET SearchProductNo = :n"), {{QStringLiteral("n"), layout}});
        s->dm->ReopenConfig();
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void productSearch_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("method");
        QTest::addColumn<QStringList>("found");
        const QStringList open{QStringLiteral("P0001"), QStringLiteral("P0002"), QStringLiteral("P0003"), QStringLiteral("P0004"),
                               QStringLiteral("P0007"), QStringLiteral("P0008"), QStringLiteral("P0009")};
        QTest::newRow("code prefix: blocked and master left out") << QStringLiteral("p000") << QString() << 1 << open;
        QTest::newRow("name contains") << QString() << QStringLiteral("สีขาว") << 1 << QStringList{QStringLiteral("P0003")};
        QTest::newRow("name starts with") << QString() << QStringLiteral("ท่อ") << 0 << QStringList{QStringLiteral("P0004")};
        QTest::newRow("middle of a name with starts-with") << QString() << QStringLiteral("พีวีซี") << 0 << QStringList{};
        QTest::newRow("middle of a name with contains") << QString() << QStringLiteral("พีวีซี") << 1 << QStringList{QStringLiteral("P0004")};
        QTest::newRow("blocked by name") << QString() << QStringLiteral("กระเบื้อง") << 1 << QStringList{};
        QTest::newRow("master by name") << QString() << QStringLiteral("แม่แบบ") << 1 << QStringList{};
        QTest::newRow("code and name together") << QStringLiteral("P0002") << QStringLiteral("เหล็ก") << 1 << QStringList{QStringLiteral("P0002")};
        QTest::newRow("quote is a value") << QString() << QStringLiteral("ท่อ' OR '1'='1") << 1 << QStringList{};
        QTest::newRow("both blank: no search") << QString() << QStringLiteral("   ") << 1 << QStringList{QStringLiteral("<not searched>")};
    }
    void productSearch()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(int, method);
        QFETCH(QStringList, found);
        auto d = open<TF_SearchProduct>();
        QCOMPARE(d->CbMethod->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), d->EdName);
        d->EdName->clear();
        typeText(d->EdName, name);
        d->CbMethod->setCurrentIndex(method);
        d->Code->setFocus();
        QTest::keyClicks(d->Code, code);
        QTest::keyClick(d->Code, Qt::Key_Return);
        QCOMPARE(column(d.get(), QStringLiteral("Code")), found);
        const bool blank = found == QStringList{QStringLiteral("<not searched>")};
        QCOMPARE(s->dialogs->contains(TF_SearchProduct::blankMessage()), blank);
        if (!found.isEmpty() && !blank) {
            QCOMPARE(QApplication::focusWidget(), d->DgSearch);
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
            QCOMPARE(d->ReturnValue, found.first());
            QVERIFY(!d->isVisible());
        }
    }

    void attributeRange()
    {
        auto d = open<TF_SearchProduct>();
        int colour = -1;
        for (int i = 0; i < d->FaAttr->rows().size(); ++i)
            if (d->FaAttr->rows().at(i).Code == QLatin1String("COLOR"))
                colour = i;
        QVERIFY(colour >= 0);
        d->FaAttr->setCell(colour, TFaSelectAttrBase::ColFrom, QStringLiteral("WHITE"));
        d->FaAttr->setCell(colour, TFaSelectAttrBase::ColTo, QStringLiteral("WHITE"));
        d->Code->setFocus();
        QTest::keyClicks(d->Code, QStringLiteral("P"));
        QTest::keyClick(d->Code, Qt::Key_Return);
        QCOMPARE(column(d.get(), QStringLiteral("Code")), QStringList{QStringLiteral("P0003")});
    }

    void rememberedName_data()
    {
        QTest::addColumn<QString>("showLast");
        QTest::addColumn<QString>("prefilled");
        QTest::newRow("shown again") << QStringLiteral("Y") << QStringLiteral("ปูน");
        QTest::newRow("not shown") << QStringLiteral("N") << QString();
    }
    void rememberedName()
    {
        QFETCH(QString, showLast);
        QFETCH(QString, prefilled);
        db().exec(QStringLiteral("UPDATE Config SET ShowLastSearch = :v"), {{QStringLiteral("v"), showLast}});
        s->dm->ReopenConfig();
        {
            auto d = open<TF_SearchProduct>();
            typeText(d->EdName, QStringLiteral("ปูน"));
            QTest::keyClick(d->EdName, Qt::Key_Return);
            QCOMPARE(column(d.get(), QStringLiteral("Code")), QStringList{QStringLiteral("P0001")});
        }
        QCOMPARE(s->dm->LastProductName, QStringLiteral("ปูน"));
        auto again = open<TF_SearchProduct>();
        QCOMPARE(again->EdName->text(), prefilled);
        auto barcode = open<TFrSearchBarCode>();
        QCOMPARE(barcode->EdName->text(), prefilled);
    }

    void barcodeFigures_data()
    {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("includeBlocked");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("onhand");
        QTest::addColumn<QString>("backorder");
        QTest::newRow("stock of this year, open orders")
            << QStringLiteral("8850001") << QString() << false
            << QStringList{QStringLiteral("8850001001"), QStringLiteral("8850001012"), QStringLiteral("8850001024")}
            << QStringLiteral("1,234.50  ชิ้น") << QStringLiteral("100.00  ชิ้น");
        QTest::newRow("no orders") << QStringLiteral("8850002001") << QString() << false << QStringList{QStringLiteral("8850002001")}
                                   << QStringLiteral("48.00  ชิ้น") << QStringLiteral("0.00  ชิ้น");
        QTest::newRow("no stock row, one unit") << QStringLiteral("8850009") << QString() << false << QStringList{QStringLiteral("8850009001")}
                                                << QStringLiteral("0.00  คิว") << QStringLiteral("0.00  คิว");
        QTest::newRow("blocked left out") << QString() << QStringLiteral("กระเบื้อง") << false << QStringList{} << QString() << QString();
        QTest::newRow("blocked included") << QStringLiteral("88500050") << QString() << true
                                          << QStringList{QStringLiteral("8850005001"), QStringLiteral("8850005012"), QStringLiteral("8850005024")}
                                          << QStringLiteral("0.00  ชิ้น") << QStringLiteral("0.00  ชิ้น");
        QTest::newRow("name contains by the company setting")
            << QString() << QStringLiteral("ซีเมนต์") << false
            << QStringList{QStringLiteral("8850001001"), QStringLiteral("8850001012"), QStringLiteral("8850001024")}
            << QStringLiteral("1,234.50  ชิ้น") << QStringLiteral("100.00  ชิ้น");
    }
    void barcodeFigures()
    {
        QFETCH(QString, barcode);
        QFETCH(QString, name);
        QFETCH(bool, includeBlocked);
        QFETCH(QStringList, found);
        QFETCH(QString, onhand);
        QFETCH(QString, backorder);
        auto d = open<TFrSearchBarCode>();
        QVERIFY(d->width() >= 700);
        QCOMPARE(d->CbMethod->currentIndex(), 1); // SearchProductMethod 1 in the demo
        d->IncludeBlocked = includeBlocked;
        d->EdName->clear();
        typeText(d->EdName, name);
        d->Code->setFocus();
        QTest::keyClicks(d->Code, barcode);
        QTest::keyClick(d->Code, Qt::Key_Return);
        QCOMPARE(column(d.get(), QStringLiteral("BarCode")), found);
        if (found.isEmpty())
            return;
        for (int r = 0; r < d->result()->rowCount(); ++r) {
            QCOMPARE(shown(d.get(), r, QStringLiteral("OnHand")), onhand);
            QCOMPARE(shown(d.get(), r, QStringLiteral("BackOrder")), backorder);
        }
        QTest::keyClick(d->DgSearch, Qt::Key_Down);
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        QCOMPARE(d->ReturnValue, found.value(1, found.first()));
    }

    void barcodeStartsWith()
    {
        auto d = open<TFrSearchBarCode>();
        d->CbMethod->setCurrentIndex(0);
        typeText(d->EdName, QStringLiteral("ซีเมนต์"));
        QTest::keyClick(d->EdName, Qt::Key_Return);
        QCOMPARE(column(d.get(), QStringLiteral("BarCode")), QStringList{});
        d->EdName->clear();
        typeText(d->EdName, QStringLiteral("ปูน"));
        QTest::keyClick(d->EdName, Qt::Key_Return);
        QCOMPARE(column(d.get(), QStringLiteral("BarCode")).size(), 3);
        d->grab().save(QDir::temp().filePath(QStringLiteral("qlx_barcode_search.png")));
    }

    void productService_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("master");
        QTest::addColumn<bool>("includeBlocked");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<int>("checked");
        const QStringList open{QStringLiteral("P0001"), QStringLiteral("P0002"), QStringLiteral("P0003"), QStringLiteral("P0004"),
                               QStringLiteral("P0007"), QStringLiteral("P0008"), QStringLiteral("P0009")};
        QTest::newRow("no preset: no type chosen") << 0 << QString() << QString() << false << QStringLiteral("P") << open << -1;
        QTest::newRow("finished goods preset") << 0 << QStringLiteral("P") << QString() << false << QStringLiteral("P000") << open << 0;
        QTest::newRow("B is finished goods") << 0 << QStringLiteral("B") << QString() << false << QStringLiteral("P000") << open << 0;
        QTest::newRow("service preset finds no goods") << 0 << QStringLiteral("S") << QString() << false << QStringLiteral("P") << QStringList{} << 1;
        QTest::newRow("materials preset") << 0 << QStringLiteral("M") << QString() << false << QStringLiteral("P") << QStringList{} << 2;
        QTest::newRow("blocked included") << 0 << QString() << QString() << true << QStringLiteral("P000")
                                          << QStringList{QStringLiteral("P0001"), QStringLiteral("P0002"), QStringLiteral("P0003"),
                                                         QStringLiteral("P0004"), QStringLiteral("P0005"), QStringLiteral("P0007"),
                                                         QStringLiteral("P0008"), QStringLiteral("P0009")}
                                          << -1;
        QTest::newRow("master codes") << 0 << QString() << QStringLiteral("Y") << false << QStringLiteral("P") << QStringList{QStringLiteral("P0006")} << -1;
        QTest::newRow("layout 1: a row per unit") << 1 << QString() << QString() << false << QStringLiteral("P0001")
                                                  << QStringList{QStringLiteral("P0001"), QStringLiteral("P0001"), QStringLiteral("P0001")} << -1;
    }
    void productService()
    {
        QFETCH(int, layout);
        QFETCH(QString, preset);
        QFETCH(QString, master);
        QFETCH(bool, includeBlocked);
        QFETCH(QString, code);
        QFETCH(QStringList, found);
        QFETCH(int, checked);
        db().exec(QStringLiteral("UPDATE Config SET SearchProductNo = :n"), {{QStringLiteral("n"), layout}});
        s->dm->ReopenConfig();
        TFrSearchProductService d;
        d.ProductType = preset;
        d.MasterCode = master;
        d.IncludeBlocked = includeBlocked;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(QApplication::focusWidget(), d.EdName);
        QCOMPARE(d.TypeButtons->checkedId(), checked);
        QCOMPARE(d.RgType->isEnabled(), preset.isEmpty());
        QCOMPARE(d.FaAttr->isEnabled(), preset != QLatin1String("M"));
        d.EdName->clear();
        QTest::keyClick(d.EdName, Qt::Key_F1);
        QCOMPARE(QApplication::focusWidget(), d.Code);
        d.Code->clear();
        QTest::keyClicks(d.Code, code);
        QTest::keyClick(d.Code, Qt::Key_Return);
        QCOMPARE(column(&d, QStringLiteral("Code")), found);
        if (layout == 1)
            QCOMPARE(column(&d, QStringLiteral("Remark")), (QStringList{QStringLiteral("ชิ้น"), QStringLiteral("โหล"), QStringLiteral("กล่อง")}));
        QCOMPARE(s->dm->LastProductSearch, code);
    }

    // Visible column titles in the order shown.
    static QStringList titles(TFrSearch *d)
    {
        QStringList out;
        QHeaderView *h = d->DgSearch->horizontalHeader();
        for (int v = 0; v < h->count(); ++v) {
            const int c = h->logicalIndex(v);
            if (!d->DgSearch->isColumnHidden(c))
                out << d->DgSearch->model()->headerData(c, Qt::Horizontal).toString();
        }
        return out;
    }
    // Runs a search in the product and service look-up for a code prefix.
    static void searchCode(TFrSearchProductService &d, const QString &code)
    {
        d.EdName->clear();
        d.Code->setFocus();
        d.Code->clear();
        QTest::keyClicks(d.Code, code);
        QTest::keyClick(d.Code, Qt::Key_Return);
    }

    void layouts_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("nullPos");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("nameWidth");
        QTest::addColumn<QStringList>("cells"); // "row:column=shown"
        const QStringList head{QStringLiteral("รหัส"), QStringLiteral("ชื่อสินค้า")};
        QTest::newRow("4: book shop, a row per unit")
            << 4 << QStringLiteral("P0001") << false
            << head + QStringList{QStringLiteral("สำนักพิมพ์"), QStringLiteral("หมวดหมู่"), QStringLiteral("ราคา"), QStringLiteral("หน่วย"), QStringLiteral("คงเหลือ")}
            << 250
            << QStringList{QStringLiteral("0:Field01=SE-ED"), QStringLiteral("0:Field02=BUILD"), QStringLiteral("0:Price=15.50"),
                           QStringLiteral("0:Qnty=1,234.5"), QStringLiteral("1:UnitName=โหล"), QStringLiteral("1:Price=180.00"),
                           QStringLiteral("1:Qnty=102.88"), QStringLiteral("2:Price=0.00")};
        QTest::newRow("4: no attributes") << 4 << QStringLiteral("P0002") << false
                                          << head + QStringList{QStringLiteral("สำนักพิมพ์"), QStringLiteral("หมวดหมู่"), QStringLiteral("ราคา"), QStringLiteral("หน่วย"), QStringLiteral("คงเหลือ")}
                                          << 250 << QStringList{QStringLiteral("0:Field01=no"), QStringLiteral("0:Field02=no"), QStringLiteral("0:Qnty=48")};
        const QStringList six = head + QStringList{QStringLiteral("ชื่อเทคนิค2"), QStringLiteral("คงเหลือ"), QStringLiteral("จำนวนระหว่างผลิต"), QStringLiteral("จำนวนค้างส่ง")};
        QTest::newRow("6: manufacturing") << 6 << QStringLiteral("P0001") << false << six << 350
                                          << QStringList{QStringLiteral("0:TechNicName2=Portland Type I"), QStringLiteral("0:Onhand=1,234.50 ชิ้น"),
                                                         QStringLiteral("0:WorkOrderOH=100.00 ชิ้น"), QStringLiteral("0:Backorder=96.00 ชิ้น")};
        QTest::newRow("6: a point-of-sale row without order") << 6 << QStringLiteral("P0001") << true << six << 350
                                                              << QStringList{QStringLiteral("0:Backorder=96.00 ชิ้น")};
        QTest::newRow("6: no manufacturing figures") << 6 << QStringLiteral("P0002") << false << six << 350
                                                     << QStringList{QStringLiteral("0:Onhand= ชิ้น"), QStringLiteral("0:Backorder=0.00 ชิ้น")};
        QTest::newRow("7: with reservations") << 7 << QStringLiteral("P0001") << false
                                              << head + QStringList{QStringLiteral("ชื่อเทคนิค2"), QStringLiteral("คงเหลือ"), QStringLiteral("จำนวนระหว่างผลิต"), QStringLiteral("จองเบิกใช้"), QStringLiteral("จำนวนค้างส่ง")}
                                              << 350 << QStringList{QStringLiteral("0:PreIsQty=24.00 ชิ้น"), QStringLiteral("0:Backorder=96.00 ชิ้น")};
        QTest::newRow("8: material reservations") << 8 << QStringLiteral("P0001") << false
                                                  << head + QStringList{QStringLiteral("คงเหลือ"), QStringLiteral("จำนวนระหว่างผลิต"), QStringLiteral("จำนวนค้างส่ง"), QStringLiteral("จำนวนจองวัตถุดิบ"), QStringLiteral("คงเหลือลบยอดจองวัตถุดิบ"), QStringLiteral("ชื่อเทคนิค2")}
                                                  << 150 << QStringList{QStringLiteral("0:WKIsQty=36.00 ชิ้น"), QStringLiteral("0:OH_WKIsQty=1,198.50 ชิ้น"), QStringLiteral("0:Backorder=96.00 ชิ้น")};
        QTest::newRow("9: to receive, every order line") << 9 << QStringLiteral("P0001") << true
                                                         << head + QStringList{QStringLiteral("คงเหลือ"), QStringLiteral("จำนวนค้างรับ"), QStringLiteral("จำนวนค้างส่ง"), QStringLiteral("หมายเหตุ")}
                                                         << 350 << QStringList{QStringLiteral("0:BackSendOrder=72.00 ชิ้น"), QStringLiteral("0:Backorder=205.00 ชิ้น")};
    }
    void layouts()
    {
        QFETCH(int, layout);
        QFETCH(QString, code);
        QFETCH(bool, nullPos);
        QFETCH(QStringList, titles);
        QFETCH(int, nameWidth);
        QFETCH(QStringList, cells);
        useLayout(layout);
        if (nullPos)
            db().exec(QStringLiteral("INSERT INTO PosHeader (SoHd) VALUES (NULL)"));
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        searchCode(d, code);
        QVERIFY(d.result()->rowCount() > 0);
        QCOMPARE(TstProductSearch::titles(&d), titles);
        QCOMPARE(d.DgSearch->columnWidth(d.result()->columnOf(QStringLiteral("ThaiName"))), nameWidth);
        for (const QString &cell : cells) {
            const int row = cell.section(QLatin1Char(':'), 0, 0).toInt();
            const QString col = cell.section(QLatin1Char(':'), 1).section(QLatin1Char('='), 0, 0);
            QCOMPARE(col + QLatin1Char('=') + shown(&d, row, col), cell.section(QLatin1Char(':'), 1));
        }
        QCOMPARE(d.DgSearch->contextMenuPolicy(), layout >= 5 ? Qt::ActionsContextMenu : Qt::NoContextMenu);
        d.grab().save(QDir::temp().filePath(QStringLiteral("qlx_product_layout_%1.png").arg(layout)));
        if (layout >= 6) {
            const int c = d.result()->columnOf(QStringLiteral("Backorder"));
            QCOMPARE(d.DgSearch->model()->index(0, c).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
            QCOMPARE(d.DgSearch->model()->headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        }
    }

    void productionDetail_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("orders");
        QTest::addColumn<QStringList>("firstRow"); // date, ordered, finished, outstanding
        QTest::addColumn<QStringList>("totals");
        QTest::addColumn<QString>("message");
        const QString y = QString::number(QDate::currentDate().year());
        QTest::newRow("open work orders") << QStringLiteral("P0001") << QStringList{QStringLiteral("WO0001"), QStringLiteral("WO0002")}
                                          << QStringList{QStringLiteral("01/02/") + y, QStringLiteral("120"), QStringLiteral("50"), QStringLiteral("70")}
                                          << QStringList{QStringLiteral("จำนวนสั่งผลิต รวม : 150 ชิ้น"), QStringLiteral("จำนวนผลิตเสร็จ รวม : 50 ชิ้น"),
                                                         QStringLiteral("จำนวนคงค้าง รวม : 100 ชิ้น")}
                                          << QString();
        QTest::newRow("no work orders") << QStringLiteral("P0002") << QStringList{} << QStringList{}
                                        << QStringList{QStringLiteral("จำนวนสั่งผลิต รวม : 0 ชิ้น"), QStringLiteral("จำนวนผลิตเสร็จ รวม : 0 ชิ้น"),
                                                       QStringLiteral("จำนวนคงค้าง รวม : 0 ชิ้น")}
                                        << QString();
        QTest::newRow("nothing found") << QStringLiteral("ZZZ") << QStringList{} << QStringList{} << QStringList{}
                                       << QStringLiteral("ไม่พบข้อมูลสินค้าที่ต้องการ !!");
    }
    void productionDetail()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, orders);
        QFETCH(QStringList, firstRow);
        QFETCH(QStringList, totals);
        QFETCH(QString, message);
        useLayout(6);
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        searchCode(d, code);
        QStringList seen, header, first, sums, buttons;
        bool opened = false;
        QTimer::singleShot(200, &d, [&] {
            auto *w = qobject_cast<TFrPreviewDetailMfg *>(QApplication::activeModalWidget());
            if (!w)
                return;
            opened = true;
            header << w->windowTitle() << w->LbProduct->text();
            buttons << (w->BtOk->isVisible() ? QStringLiteral("ok") : QString()) << (w->Code->isVisible() ? QStringLiteral("code") : QString())
                    << w->BtCancel->text();
            seen = column(w, QStringLiteral("WorkOrderNo"));
            if (!seen.isEmpty())
                for (const char *c : {"WorkDate", "WorkQnty", "FinishedQnty", "WorkQntyOnHand"})
                    first << shown(w, 0, QLatin1String(c));
            sums << w->LbTotalWork->text() << w->LbTotalFinished->text() << w->LbTotalRemain->text();
            w->grab().save(QDir::temp().filePath(QStringLiteral("qlx_production_detail_%1.png").arg(code)));
            QTest::keyClick(w, Qt::Key_Escape);
        });
        d.AcDetailMfg->trigger();
        QCOMPARE(opened, message.isEmpty());
        QCOMPARE(s->dialogs->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!opened)
            return;
        QCOMPARE(header, (QStringList{QStringLiteral("รายละเอียดการสั่งผลิด"),
                                      QStringLiteral("รหัสสินค้า : ") + code + QStringLiteral("   ชื่อสินค้า : ")
                                          + dbText(db().scalar(QStringLiteral("SELECT ThaiName FROM Product WHERE Code = :c"), {{QStringLiteral("c"), code}}))}));
        QCOMPARE(buttons, (QStringList{QString(), QString(), QStringLiteral("Close")}));
        QCOMPARE(seen, orders);
        QCOMPARE(first, firstRow);
        QCOMPARE(sums, totals);
    }

    void kindAndGroupBoxes_data()
    {
        QTest::addColumn<bool>("kind");
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("F5 in the kind box") << true << false << QStringLiteral("ค้นหา ชนิดสินค้า") << 0 << QStringLiteral("K01")
                                            << QStringList{QStringLiteral("P0001"), QStringLiteral("P0002")};
        QTest::newRow("kind with no products") << true << true << QStringLiteral("ค้นหา ชนิดสินค้า") << 1 << QStringLiteral("K02") << QStringList{};
        QTest::newRow("group button") << false << true << QStringLiteral("ค้นหา กลุ่มสินค้า") << 1 << QStringLiteral("G02")
                                      << QStringList{QStringLiteral("P0002")};
        QTest::newRow("F5 in the group box, cancelled") << false << false << QStringLiteral("ค้นหา กลุ่มสินค้า") << -1 << QString()
                                                        << QStringList{QStringLiteral("P0001"), QStringLiteral("P0002"), QStringLiteral("P0003"),
                                                                       QStringLiteral("P0004"), QStringLiteral("P0007"), QStringLiteral("P0008"),
                                                                       QStringLiteral("P0009")};
    }
    void kindAndGroupBoxes()
    {
        QFETCH(bool, kind);
        QFETCH(bool, byButton);
        QFETCH(QString, title);
        QFETCH(int, row);
        QFETCH(QString, chosen);
        QFETCH(QStringList, found);
        useLayout(0);
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        TCodeLookupEdit *box = kind ? d.EdPType : d.EdPGroup;
        QString shownTitle;
        QStringList listed;
        QTimer::singleShot(200, &d, [&] {
            auto *w = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
            if (!w)
                return;
            shownTitle = w->windowTitle();
            listed = column(w, QStringLiteral("Code"));
            if (row < 0) {
                QTest::keyClick(w, Qt::Key_Escape);
                return;
            }
            w->DgSearch->setFocus();
            w->DgSearch->selectRow(row);
            QTest::keyClick(w->DgSearch, Qt::Key_Return);
        });
        box->setFocus();
        if (byButton)
            (kind ? d.BtPType : d.BtPGroup)->click();
        else
            QTest::keyClick(box, Qt::Key_F5);
        QCOMPARE(shownTitle, title);
        QCOMPARE(listed, kind ? (QStringList{QStringLiteral("K01"), QStringLiteral("K02")}) : (QStringList{QStringLiteral("G01"), QStringLiteral("G02")}));
        QCOMPARE(box->text(), chosen);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->lookupId() > 0, !chosen.isEmpty());
        searchCode(d, QStringLiteral("P"));
        QCOMPARE(column(&d, QStringLiteral("Code")), found);
    }

    void pickingTheType()
    {
        useLayout(0);
        db().exec(QStringLiteral("UPDATE Product SET ProductType = :s WHERE Code = 'P0008'"), {{QStringLiteral("s"), TFrSearchProductService::typeValue(QLatin1Char('S'))}});
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::mouseClick(d.TypeButtons->button(1), Qt::LeftButton, {}, QPoint(6, d.TypeButtons->button(1)->height() / 2));
        QCOMPARE(d.ProductType, QStringLiteral("S"));
        d.Code->setFocus();
        QTest::keyClicks(d.Code, QStringLiteral("P"));
        QTest::keyClick(d.Code, Qt::Key_Return);
        QCOMPARE(column(&d, QStringLiteral("Code")), QStringList{QStringLiteral("P0008")});
        QTest::mouseClick(d.TypeButtons->button(0), Qt::LeftButton, {}, QPoint(6, d.TypeButtons->button(0)->height() / 2));
        QVERIFY(!d.result()->isOpen());
        QCOMPARE(d.Code->text(), QStringLiteral("P")); // the remembered code (ShowLastSearch "Y")
        d.Code->clear();
        d.Code->setFocus();
        QTest::keyClicks(d.Code, QStringLiteral("P000"));
        QTest::keyClick(d.Code, Qt::Key_Return);
        QVERIFY(!column(&d, QStringLiteral("Code")).contains(QStringLiteral("P0008")));
        QCOMPARE(column(&d, QStringLiteral("Code")).size(), 6);
    }

    void sizeBoxes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("a size") << QStringLiteral("60") << QStringLiteral("60") << QStringList{QStringLiteral("P0004")};
        QTest::newRow("a decimal size") << QStringLiteral("60.5") << QStringLiteral("60.5") << QStringList{QStringLiteral("P0003")};
        QTest::newRow("letters cannot be typed") << QStringLiteral("6x0") << QStringLiteral("60") << QStringList{QStringLiteral("P0004")};
    }
    void sizeBoxes()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QStringList, found);
        useLayout(0);
        db().exec(QStringLiteral("UPDATE Product SET Size_W = 60 WHERE Code = 'P0004'"));
        db().exec(QStringLiteral("UPDATE Product SET Size_W = 60.5 WHERE Code = 'P0003'"));
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.EdSizeW->setFocus();
        QTest::keyClicks(d.EdSizeW, typed);
        QCOMPARE(d.EdSizeW->text(), kept);
        QTest::keyClick(d.EdSizeW, Qt::Key_Return);
        QCOMPARE(column(&d, QStringLiteral("Code")), found);
    }

    void picturePreview()
    {
        // The demo's pictures, with Thai on them, in the company's picture folder.
        const QStringList files = installDemoPictures(QDir::currentPath());
        QCOMPARE(files.size(), 3);
        TFrSearchProductService d;
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.pictureFolder(), QStringLiteral("pictures"));
        d.Code->setFocus();
        QTest::keyClicks(d.Code, QStringLiteral("P000"));
        QTest::keyClick(d.Code, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), d.DgSearch);
        QVERIFY(!d.PnPicture->isVisible());
        QCOMPARE(d.filesRead(), 0); // a hidden panel reads no file
        QTest::keyClick(d.DgSearch, Qt::Key_F12);
        QVERIFY(d.PnPicture->isVisible());
        QCOMPARE(d.shownPicture(), QFileInfo(QStringLiteral("pictures/P0001.jpg")).absoluteFilePath());
        QVERIFY(!d.ImgPicture->pixmap().isNull());
        QCOMPARE(d.ImgPicture->toolTip(), QStringLiteral("Files : ") + d.shownPicture());
        d.grab().save(QDir::temp().filePath(QStringLiteral("qlx_product_picture.png")));
        // Rows of P0001 are its units (layout 1); the first row of P0002 has no picture.
        while (dbText(d.currentValue(QStringLiteral("Code"))) == QLatin1String("P0001"))
            QTest::keyClick(d.DgSearch, Qt::Key_Down);
        QVERIFY(d.shownPicture().isEmpty());
        QVERIFY(d.ImgPicture->isHidden());
        // P0003's name is stored with a backslash and a sub folder.
        while (dbText(d.currentValue(QStringLiteral("Code"))) != QLatin1String("P0003"))
            QTest::keyClick(d.DgSearch, Qt::Key_Down);
        QCOMPARE(d.shownPicture(), QFileInfo(QStringLiteral("pictures/sub/P0003.jpg")).absoluteFilePath());
        QVERIFY(d.ImgPicture->isVisible());
        d.grab().save(QDir::temp().filePath(QStringLiteral("qlx_product_picture_sub.png")));
        QTest::keyClick(d.DgSearch, Qt::Key_F12);
        QVERIFY(!d.PnPicture->isVisible());
    }
};

QTEST_MAIN(TstProductSearch)
#include "tst_productsearch.moc"
