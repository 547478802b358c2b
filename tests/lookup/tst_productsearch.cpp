#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TF_SearchProduct.h"
#include "lookup/TFaSelectAttr.h"
#include "lookup/TFrSearchBarCode.h"
#include "lookup/TFrSearchProductService.h"
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
        // A picture with Thai on it in the company's picture folder, for P0001 only.
        QDir().mkpath(QStringLiteral("pictures"));
        QImage img(200, 120, QImage::Format_RGB888);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            p.setPen(Qt::darkBlue);
            QFont f(QStringLiteral("Garuda"));
            f.setPixelSize(22);
            p.setFont(f);
            p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("ปูนซีเมนต์"));
        }
        QVERIFY(img.save(QStringLiteral("pictures/P0001.jpg"), "JPG"));
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
        QTest::keyClick(d.DgSearch, Qt::Key_F12);
        QVERIFY(!d.PnPicture->isVisible());
    }
};

QTEST_MAIN(TstProductSearch)
#include "tst_productsearch.moc"
