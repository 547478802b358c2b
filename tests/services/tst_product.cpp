#include "TestEnv.h"
#include "core/Decimal.h"
#include <QtTest>

using namespace Qt::StringLiterals;

// Product checks against the demo company: P0005 blocked, P0006 a master,
// P0007 without a tax code, P0009 kept in WH02 (not granted to user 1), and the
// rows added below.
class TstProduct : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<Connection> c;

    int idOf(const QString &sql, const Params &p) { return c->scalar(sql, p).toInt(); }
    int productId(const QString &code) { return idOf(u"SELECT Id FROM Product WHERE Code = :c"_s, {{u"c"_s, code}}); }
    int vendorId(const QString &code) { return idOf(u"SELECT Id FROM Vendor WHERE Code = :c"_s, {{u"c"_s, code}}); }
    int unitId(const QString &product, const QString &unit)
    {
        if (product.isEmpty())
            return 999999;
        return idOf(u"SELECT U.Id FROM ProductUnits U INNER JOIN Product P ON P.Id = U.Product WHERE P.Code = :p AND U.UnitName = :u"_s,
                    {{u"p"_s, product}, {u"u"_s, unit}});
    }
    // "-" stores NULL.
    void setWarehouseCheck(const QString &flag)
    {
        c->exec(u"UPDATE Config SET CheckUserWarehouseFlag = :f"_s,
                {{u"f"_s, flag == u"-"_s ? QVariant(QMetaType::fromType<QString>()) : QVariant(flag)}});
        s->dm->ReopenConfig();
    }
    QString text(const QSqlRecord &r, const char *field) { return dbText(r.value(QLatin1String(field))); }
    Decimal number(const QSqlRecord &r, const char *field) { return decimalFromVariant(r.value(QLatin1String(field))); }

private slots:
    void initTestCase()
    {
        QLX_REQUIRE_ENGINE();
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        c = env->connect(u"DEMO"_s);
        // A default warehouse that does not exist, and a tax code that points nowhere.
        c->exec(u"INSERT INTO Product (Code, ThaiName, TaxCode, DefaultWh, Blocked, MasterCode) "
                "VALUES ('P0099', 'คลังถูกลบ', 'V7', 9999, 'N', 'N')"_s);
        c->exec(u"INSERT INTO Product (Code, ThaiName, TaxCode, DefaultWh, Blocked, MasterCode) "
                "SELECT 'P0098', 'ภาษีถูกลบ', 'V9', Id, 'N', 'N' FROM Warehouse WHERE Code = 'WH01'"_s);
        // Flags left empty count as "N"; set ones are kept.
        c->exec(u"UPDATE Product SET Blocked = NULL, MasterCode = NULL, ProductFree = NULL, PerDiscountOver = NULL WHERE Code = 'P0002'"_s);
        c->exec(u"UPDATE Product SET Blocked = '', MasterCode = '', ProductFree = '', CheckSerialSale = '' WHERE Code = 'P0003'"_s);
        c->exec(u"UPDATE Product SET ProductFree = 'Y', CheckSerialSale = 'Y', PerDiscountOver = 5.5 WHERE Code = 'P0008'"_s);
        // A unit of no kind at all, and one that only P0002 has.
        const Params p1{{u"p"_s, productId(u"P0001"_s)}}, p2{{u"p"_s, productId(u"P0002"_s)}};
        c->exec(u"INSERT INTO ProductUnits (Product, UnitName, Fraction, SaleFlag, PurcFlag, StockUnitFlag, SmallUnitFlag) "
                "VALUES (:p, 'แพ็ค', 6, NULL, 'N', 'N', 'N')"_s, p1);
        c->exec(u"INSERT INTO ProductUnits (Product, UnitName, Fraction, SaleFlag, PurcFlag, StockUnitFlag, SmallUnitFlag) "
                "VALUES (:p, 'ม้วน', 50, 'Y', 'Y', 'N', 'N')"_s, p2);
    }
    void cleanupTestCase()
    {
        c.reset();
        s.reset();
        env.reset();
    }
    void init() { s->cfg->UserId = 1; }

    void existsProduct_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("check");
        QTest::addColumn<int>("user");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("whCode");
        QTest::addColumn<QString>("taxRate");
        const QString wh1 = u"WH01"_s, none;
        QTest::newRow("usable") << u"P0001"_s << u"N"_s << 1 << true << wh1 << u"7"_s;
        QTest::newRow("zero-rate tax") << u"P0008"_s << u"N"_s << 1 << true << wh1 << u"0"_s;
        QTest::newRow("blocked") << u"P0005"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("blocked, user warehouses") << u"P0005"_s << u"Y"_s << 1 << false << none << none;
        QTest::newRow("master") << u"P0006"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("no tax code") << u"P0007"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("tax code points nowhere") << u"P0098"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("unknown code") << u"X0001"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("quote in code") << u"P0001' OR '1'='1"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("quote in code, user warehouses") << u"' OR 1=1 OR P.Code = '"_s << u"Y"_s << 1 << false << none << none;
        QTest::newRow("null flags count as N") << u"P0002"_s << u"N"_s << 1 << true << wh1 << u"7"_s;
        QTest::newRow("empty flags count as N") << u"P0003"_s << u"N"_s << 1 << true << wh1 << u"7"_s;
        QTest::newRow("other warehouse, check off") << u"P0009"_s << u"N"_s << 1 << true << u"WH02"_s << u"7"_s;
        QTest::newRow("other warehouse, check on") << u"P0009"_s << u"Y"_s << 1 << true << none << u"7"_s;
        QTest::newRow("own warehouse, check on") << u"P0001"_s << u"Y"_s << 1 << true << wh1 << u"7"_s;
        QTest::newRow("ungranted user, check on") << u"P0001"_s << u"Y"_s << 2 << true << none << u"7"_s;
        QTest::newRow("ungranted user, check off") << u"P0001"_s << u"N"_s << 2 << true << wh1 << u"7"_s;
        QTest::newRow("missing warehouse, check off") << u"P0099"_s << u"N"_s << 1 << false << none << none;
        QTest::newRow("missing warehouse, check on") << u"P0099"_s << u"Y"_s << 1 << true << none << u"7"_s;
        QTest::newRow("check flag null is off") << u"P0099"_s << u"-"_s << 1 << false << none << none;
        QTest::newRow("check flag null keeps the warehouse") << u"P0009"_s << u"-"_s << 1 << true << u"WH02"_s << u"7"_s;
    }
    void existsProduct()
    {
        QFETCH(QString, code);
        QFETCH(QString, check);
        QFETCH(int, user);
        QFETCH(bool, found);
        QFETCH(QString, whCode);
        QFETCH(QString, taxRate);
        setWarehouseCheck(check);
        s->cfg->UserId = user;
        QCOMPARE(s->product->ExistsProduct(code), found);
        const QSqlRecord &r = s->product->ProductRow();
        if (!found) {
            QVERIFY(r.isEmpty());
            return;
        }
        QCOMPARE(text(r, "Code"), code);
        QCOMPARE(r.value(u"Id"_s).toInt(), productId(code));
        QCOMPARE(text(r, "WhCode"), whCode);
        if (whCode.isEmpty()) {
            QVERIFY(r.value(u"WhName"_s).isNull());
            QVERIFY(r.value(u"flagin"_s).isNull());
        } else {
            QCOMPARE(text(r, "WhName"), whCode == u"WH01"_s ? u"คลังสินค้าหลัก"_s : u"คลังหน้างานโครงการ"_s);
            QCOMPARE(text(r, "flagin"), u"Y"_s);
        }
        // The product's own default warehouse stays readable either way.
        QVERIFY(r.value(u"DefaultWh"_s).toInt() != 0);
        QCOMPARE(number(r, "TaxRate"), Decimal::fromString(taxRate));
    }

    void productRowColumns()
    {
        setWarehouseCheck(u"N"_s);
        QVERIFY(s->product->ExistsProduct(u"P0001"_s));
        const QSqlRecord r = s->product->ProductRow();
        const char *columns[] = {"Id", "Code", "ThaiName", "EngName", "PosName", "ProductType", "PriceIE", "PrintFrac", "UseSerial",
                                 "LotControl", "TaxCode", "DefaultWh", "PriceByVolumn", "Discount", "flagin", "flagout", "VolumnUnit",
                                 "TaxRate", "WhCode", "WhName", "Blocked", "Negative", "ProductFree", "Size_W", "Size_L", "Size_H",
                                 "CartonsUnits", "Cartons", "NetWeight", "GrossWeight", "ProductDesc", "CheckSerialPurc",
                                 "CheckSerialSale", "CheckSerialStock", "CheckSerialOnhand", "PerDiscountOver"};
        for (const char *col : columns)
            QVERIFY2(r.contains(QLatin1String(col)), col);
        QCOMPARE(text(r, "ThaiName"), u"ปูนซีเมนต์ปอร์ตแลนด์ 50 กก."_s);
        QCOMPARE(text(r, "TaxCode"), u"V7"_s);
        QCOMPARE(text(r, "flagout"), u"Y"_s);
    }

    void productDefaults_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("productFree");
        QTest::addColumn<QString>("serialSale");
        QTest::addColumn<QString>("perDiscountOver");
        QTest::newRow("demo values") << u"P0001"_s << u"N"_s << u"N"_s << u"0"_s;
        QTest::newRow("null") << u"P0002"_s << u"N"_s << u"N"_s << u"0"_s;
        QTest::newRow("empty") << u"P0003"_s << u"N"_s << u"N"_s << u"0"_s;
        QTest::newRow("set values kept") << u"P0008"_s << u"Y"_s << u"Y"_s << u"5.5"_s;
    }
    void productDefaults()
    {
        QFETCH(QString, code);
        QFETCH(QString, productFree);
        QFETCH(QString, serialSale);
        QFETCH(QString, perDiscountOver);
        setWarehouseCheck(u"N"_s);
        QVERIFY(s->product->ExistsProduct(code));
        const QSqlRecord &r = s->product->ProductRow();
        QCOMPARE(text(r, "ProductFree"), productFree);
        QCOMPARE(text(r, "CheckSerialSale"), serialSale);
        for (const char *flag : {"CheckSerialPurc", "CheckSerialStock", "CheckSerialOnhand"})
            QCOMPARE(text(r, flag), u"N"_s);
        QVERIFY(!r.value(u"PerDiscountOver"_s).isNull());
        QCOMPARE(number(r, "PerDiscountOver"), Decimal::fromString(perDiscountOver));
    }

    void existsProductUnit_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("kinds");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("fraction");
        const QString p1 = u"P0001"_s;
        QTest::newRow("sale unit, kinds 1") << p1 << u"ชิ้น"_s << 1 << true << u"1"_s;
        QTest::newRow("purchase-only unit, kinds 1") << p1 << u"กล่อง"_s << 1 << false << QString();
        QTest::newRow("purchase-only unit, kinds 2") << p1 << u"กล่อง"_s << 2 << true << u"24"_s;
        QTest::newRow("purchase-only unit, kinds 3") << p1 << u"กล่อง"_s << 3 << true << u"24"_s;
        QTest::newRow("sale-only unit, kinds 3") << p1 << u"ชิ้น"_s << 3 << true << u"1"_s;
        QTest::newRow("sale-only unit, kinds 2") << p1 << u"ชิ้น"_s << 2 << false << QString();
        QTest::newRow("small unit, kinds 8") << p1 << u"ชิ้น"_s << 8 << true << u"1"_s;
        QTest::newRow("stock unit, kinds 4") << p1 << u"โหล"_s << 4 << true << u"12"_s;
        QTest::newRow("not a stock unit, kinds 4") << p1 << u"ชิ้น"_s << 4 << false << QString();
        QTest::newRow("any kind, kinds 15") << p1 << u"กล่อง"_s << 15 << true << u"24"_s;
        QTest::newRow("unit of no kind, kinds 15") << p1 << u"แพ็ค"_s << 15 << false << QString();
        QTest::newRow("empty kind set") << p1 << u"ชิ้น"_s << 0 << false << QString();
        QTest::newRow("no such unit") << p1 << u"ลัง"_s << 15 << false << QString();
        QTest::newRow("another product's unit") << p1 << u"ม้วน"_s << 15 << false << QString();
        QTest::newRow("own unit of the other product") << u"P0002"_s << u"ม้วน"_s << 1 << true << u"50"_s;
        QTest::newRow("quote in the name") << p1 << u"ชิ้น' OR '1'='1"_s << 15 << false << QString();
    }
    void existsProductUnit()
    {
        QFETCH(QString, product);
        QFETCH(QString, unit);
        QFETCH(int, kinds);
        QFETCH(bool, found);
        QFETCH(QString, fraction);
        QCOMPARE(s->product->ExistsProductUnit(productId(product), unit, kinds), found);
        const QSqlRecord &r = s->product->ProductUnitRow();
        if (!found) {
            QVERIFY(r.isEmpty());
            return;
        }
        QCOMPARE(r.value(u"Id"_s).toInt(), unitId(product, unit));
        QCOMPARE(text(r, "UnitName"), unit);
        QCOMPARE(number(r, "Fraction"), Decimal::fromString(fraction));
        for (const char *col : {"VolumnFraction", "BarCode", "PurcPrice", "LabourCost"})
            QVERIFY2(r.contains(QLatin1String(col)), col);
    }

    void unitRowValues()
    {
        QVERIFY(s->product->ExistsProductUnit(productId(u"P0001"_s), u"โหล"_s, TDmProduct::KindStock));
        const QSqlRecord &r = s->product->ProductUnitRow();
        QCOMPARE(text(r, "BarCode"), u"8850001012"_s);
        QCOMPARE(number(r, "PurcPrice"), Decimal(115));
        QCOMPARE(number(r, "LabourCost"), Decimal(10));
    }

    void existsProdAttrCode_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("description");
        QTest::newRow("group 1 RED") << 1 << u"RED"_s << u"สีแดง"_s;
        QTest::newRow("group 2 L") << 2 << u"L"_s << u"ขนาดใหญ่"_s;
        QTest::newRow("code of another group") << 2 << u"RED"_s << QString();
        QTest::newRow("unknown code") << 1 << u"BLUE"_s << QString();
        QTest::newRow("quote in code") << 1 << u"RED' OR '1'='1"_s << QString();
    }
    void existsProdAttrCode()
    {
        QFETCH(int, group);
        QFETCH(QString, code);
        QFETCH(QString, description);
        const bool found = !description.isEmpty();
        QCOMPARE(s->product->ExistsProdAttrCode(group, code), found);
        const QSqlRecord &r = s->product->ProdAttrCodeRow();
        QCOMPARE(r.isEmpty(), !found);
        if (found) {
            QCOMPARE(r.value(u"ProdAttrGroup"_s).toInt(), group);
            QCOMPARE(text(r, "Code"), code);
            QCOMPARE(text(r, "Description"), description);
            QVERIFY(r.value(u"Id"_s).toInt() > 0);
        }
    }

    void existsPartSource_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("vendor");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("purcPrice");
        QTest::addColumn<QString>("labourCost");
        QTest::newRow("vendor's part source") << u"P0001"_s << u"ชิ้น"_s << u"V0001"_s << true << u"10"_s << u"1"_s;
        QTest::newRow("vendor without part source") << u"P0001"_s << u"ชิ้น"_s << u"V0002"_s << false << u"10"_s << u"1"_s;
        QTest::newRow("other unit of the same vendor") << u"P0001"_s << u"โหล"_s << u"V0001"_s << false << u"115"_s << u"10"_s;
        QTest::newRow("unknown unit") << QString() << QString() << u"V0001"_s << false << QString() << QString();
    }
    void existsPartSource()
    {
        QFETCH(QString, product);
        QFETCH(QString, unit);
        QFETCH(QString, vendor);
        QFETCH(bool, found);
        QFETCH(QString, purcPrice);
        QFETCH(QString, labourCost);
        QCOMPARE(s->product->ExistsPartSource(unitId(product, unit), vendorId(vendor)), found);
        const QSqlRecord &prices = s->product->PartSourceUnitRow();
        if (purcPrice.isEmpty()) {
            QVERIFY(prices.isEmpty());
        } else {
            QCOMPARE(number(prices, "PurcPrice"), Decimal::fromString(purcPrice));
            QCOMPARE(number(prices, "LabourCost"), Decimal::fromString(labourCost));
        }
        const QSqlRecord &r = s->product->PartSourceRow();
        QCOMPARE(r.isEmpty(), !found);
        if (found) {
            QCOMPARE(number(r, "Price"), Decimal::fromString(u"9.50"));
            QCOMPARE(text(r, "PurchaseCode"), u"SCG-50"_s);
            QCOMPARE(text(r, "PurchaseName"), u"ปูนตราช้าง 50 กก."_s);
            QCOMPARE(text(r, "DiscountStr"), u"5%"_s);
            for (const char *col : {"Id", "lastprice", "lastdoccode", "lastdocno", "lastdate"})
                QVERIFY2(r.contains(QLatin1String(col)), col);
        }
    }

    // A row stays until the next call of the same operation; the others leave it alone.
    void rowsLiveUntilTheirOwnNextCall()
    {
        setWarehouseCheck(u"N"_s);
        TDmProduct &p = *s->product;
        const int p1 = productId(u"P0001"_s);
        QVERIFY(p.ExistsProduct(u"P0001"_s));
        QVERIFY(p.ExistsProductUnit(p1, u"โหล"_s, TDmProduct::KindAny));
        QVERIFY(p.ExistsProdAttrCode(1, u"WHITE"_s));
        QVERIFY(p.ExistsPartSource(unitId(u"P0001"_s, u"ชิ้น"_s), vendorId(u"V0001"_s)));

        QVERIFY(!p.ExistsProductUnit(p1, u"ลัง"_s, TDmProduct::KindAny));
        QVERIFY(!p.ExistsProdAttrCode(2, u"WHITE"_s));
        QVERIFY(!p.ExistsPartSource(unitId(u"P0001"_s, u"กล่อง"_s), vendorId(u"V0003"_s)));
        QCOMPARE(text(p.ProductRow(), "Code"), u"P0001"_s);

        QVERIFY(!p.ExistsProduct(u"P0005"_s));
        QVERIFY(p.ProductRow().isEmpty());
        QVERIFY(p.ExistsProductUnit(p1, u"ชิ้น"_s, TDmProduct::KindSale));
        QVERIFY(p.ExistsProdAttrCode(1, u"RED"_s));
        QVERIFY(p.ProductRow().isEmpty());
        QCOMPARE(text(p.ProductUnitRow(), "UnitName"), u"ชิ้น"_s);
        QCOMPARE(text(p.ProdAttrCodeRow(), "Code"), u"RED"_s);
        QVERIFY(p.PartSourceRow().isEmpty());
        QCOMPARE(number(p.PartSourceUnitRow(), "PurcPrice"), Decimal(225));
    }
};

QTEST_MAIN(TstProduct)
#include "tst_product.moc"
