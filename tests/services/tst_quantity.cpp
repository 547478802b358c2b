#include "TestEnv.h"
#include "core/Decimal.h"
#include <QtTest>

#include <limits>

using namespace Qt::StringLiterals;

// Quantity texts against the demo's units: ชิ้น (1, small), โหล (12, stock),
// กล่อง (24). Units are named "product/unit"; "none" is a unit id without a row.
class TstQuantity : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<Connection> c;

    int unitId(const QString &key)
    {
        if (key == u"none"_s)
            return 999999;
        const QStringList parts = key.split(QLatin1Char('/'));
        const QVariant id = c->scalar(u"SELECT U.Id FROM ProductUnits U INNER JOIN Product P ON P.Id = U.Product "
                                      "WHERE P.Code = :p AND U.UnitName = :u"_s,
                                      {{u"p"_s, parts.value(0)}, {u"u"_s, parts.value(1)}});
        if (!id.isValid() || id.isNull())
            qFatal("no unit %s", qPrintable(key));
        return id.toInt();
    }
    // decimals < 0 stores NULL.
    void setDisplay(int decimals, const QString &left, const QString &right)
    {
        c->exec(u"UPDATE Config SET OnhandDecimal = :d, UnitLeft = :l, UnitRight = :r"_s,
                {{u"d"_s, decimals < 0 ? QVariant(QMetaType::fromType<int>()) : QVariant(decimals)}, {u"l"_s, left}, {u"r"_s, right}});
        s->dm->ReopenConfig();
    }
    int productId(const char *code)
    {
        return c->scalar(u"SELECT Id FROM Product WHERE Code = :c"_s, {{u"c"_s, QLatin1String(code)}}).toInt();
    }

private slots:
    void initTestCase()
    {
        QLX_REQUIRE_ENGINE();
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        c = env->connect(u"DEMO"_s);
        // Damaged unit set-ups, one product each, so the rows of P0001 stay whole.
        const Params p2{{u"p"_s, productId("P0002")}}, p3{{u"p"_s, productId("P0003")}}, p4{{u"p"_s, productId("P0004")}},
            p8{{u"p"_s, productId("P0008")}};
        c->exec(u"UPDATE ProductUnits SET StockUnitFlag = 'N' WHERE Product = :p"_s, p2);
        c->exec(u"UPDATE ProductUnits SET Fraction = 0 WHERE Product = :p AND StockUnitFlag = 'Y'"_s, p3);
        c->exec(u"UPDATE ProductUnits SET SmallUnitFlag = 'N' WHERE Product = :p"_s, p4);
        c->exec(u"UPDATE ProductUnits SET Fraction = 0 WHERE Product = :p AND UnitName = 'กล่อง'"_s, p8);
    }
    void cleanupTestCase()
    {
        c.reset();
        s.reset();
        env.reset();
    }

    void onhand_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("expected");
        const QString b = u" "_s;
        const QString dz = u"P0001/โหล"_s, pc = u"P0001/ชิ้น"_s;
        QTest::newRow("30 in dozens") << dz << 2 << b << b << u"30"_s << u"2  โหล  6.00  ชิ้น"_s;
        QTest::newRow("negative") << dz << 2 << b << b << u"-30"_s << u"- 2  โหล  6.00  ชิ้น"_s;
        QTest::newRow("whole dozens") << dz << 2 << b << b << u"24"_s << u"2  โหล"_s;
        QTest::newRow("remainder only") << dz << 2 << b << b << u"8"_s << u"8.00  ชิ้น"_s;
        QTest::newRow("negative remainder only") << dz << 2 << b << b << u"-8"_s << u"-  8.00  ชิ้น"_s;
        QTest::newRow("zero") << dz << 2 << b << b << u"0"_s << u"0  โหล"_s;
        QTest::newRow("decimals 0") << dz << 0 << b << b << u"30"_s << u"2  โหล  6  ชิ้น"_s;
        QTest::newRow("decimals null") << dz << -1 << b << b << u"30.5"_s << u"2  โหล  6.5  ชิ้น"_s;
        QTest::newRow("remainder rounds half away") << dz << 2 << b << b << u"30.555"_s << u"2  โหล  6.56  ชิ้น"_s;
        QTest::newRow("six decimals at most") << dz << 0 << b << b << u"0.1234567"_s << u".123457  ชิ้น"_s;
        QTest::newRow("thousands") << dz << 2 << b << b << u"1200000"_s << u"100,000  โหล"_s;
        QTest::newRow("box of 24") << u"P0001/กล่อง"_s << 2 << b << b << u"30"_s << u"1  กล่อง  6.00  ชิ้น"_s;
        QTest::newRow("fraction 1") << pc << 2 << b << b << u"5"_s << u"5.00  ชิ้น"_s;
        QTest::newRow("fraction 1, decimals 0") << pc << 0 << b << b << u"1234.5"_s << u"1,234.5  ชิ้น"_s;
        QTest::newRow("fraction 1, negative") << pc << 2 << b << b << u"-5"_s << u"-  5.00  ชิ้น"_s;
        QTest::newRow("fraction 1, zero, decimals 0") << pc << 0 << b << b << u"0"_s << u"0  ชิ้น"_s;
        QTest::newRow("fraction 1, zero, decimals 2") << pc << 2 << b << b << u"0"_s << u"0.00  ชิ้น"_s;
        QTest::newRow("brackets") << dz << 2 << u"("_s << u")"_s << u"30"_s << u"2 (โหล) 6.00 (ชิ้น)"_s;
        QTest::newRow("unknown unit, no sign") << u"none"_s << 2 << b << b << u"-30"_s << u"30.00 ERROR"_s;
        QTest::newRow("unknown unit, decimals 0") << u"none"_s << 0 << b << b << u"12.5"_s << u"12.5 ERROR"_s;
        QTest::newRow("product without small unit") << u"P0004/โหล"_s << 2 << b << b << u"30"_s << u"30.00 ERROR"_s;
        QTest::newRow("fraction 0 counts as 1") << u"P0008/กล่อง"_s << 2 << b << b << u"30"_s << u"30  กล่อง"_s;
    }
    void onhand()
    {
        QFETCH(QString, unit);
        QFETCH(int, decimals);
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(QString, quantity);
        QFETCH(QString, expected);
        setDisplay(decimals, left, right);
        const int id = unitId(unit);
        QCOMPARE(s->dm->FormatOnhand(id, Decimal::fromString(quantity)), expected);
        QCOMPARE(s->dm->FormatOnhand(id, quantity.toDouble()), expected);
    }

    void onhandFromDoubles_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("quantity");
        QTest::addColumn<QString>("expected");
        // What a caller's double arithmetic leaves behind is read as the number meant.
        QTest::newRow("just below a dozen") << u"P0001/โหล"_s << 2 << 11.999999999999998 << u"1  โหล"_s;
        QTest::newRow("0.1 + 0.2") << u"P0001/ชิ้น"_s << 0 << (0.1 + 0.2) << u".3  ชิ้น"_s;
        QTest::newRow("nan") << u"P0001/โหล"_s << 2 << std::numeric_limits<double>::quiet_NaN() << u"ERROR"_s;
        QTest::newRow("infinite") << u"P0001/โหล"_s << 2 << -std::numeric_limits<double>::infinity() << u"ERROR"_s;
    }
    void onhandFromDoubles()
    {
        QFETCH(QString, unit);
        QFETCH(int, decimals);
        QFETCH(double, quantity);
        QFETCH(QString, expected);
        setDisplay(decimals, u" "_s, u" "_s);
        QCOMPARE(s->dm->FormatOnhand(unitId(unit), quantity), expected);
    }

    void onhandPart_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<int>("part");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("expected");
        const QString dz = u"P0001/โหล"_s, pc = u"P0001/ชิ้น"_s;
        QTest::newRow("large of 30") << dz << 1 << u"30"_s << u"2 โหล"_s;
        QTest::newRow("small of 30") << dz << 2 << u"30"_s << u" 6 ชิ้น"_s;
        QTest::newRow("large of 8 is empty") << dz << 1 << u"8"_s << QString();
        QTest::newRow("small of 8") << dz << 2 << u"8"_s << u" 8 ชิ้น"_s;
        QTest::newRow("small of 24 is empty") << dz << 2 << u"24"_s << QString();
        QTest::newRow("negative large") << dz << 1 << u"-30"_s << u"- 2 โหล"_s;
        QTest::newRow("negative small") << dz << 2 << u"-30"_s << u"-  6 ชิ้น"_s;
        QTest::newRow("negative without large units") << dz << 1 << u"-8"_s << QString();
        QTest::newRow("fractional small") << dz << 2 << u"30.25"_s << u" 6.25 ชิ้น"_s;
        QTest::newRow("thousands") << dz << 1 << u"1200000"_s << u"100,000 โหล"_s;
        QTest::newRow("fraction 1 small") << pc << 2 << u"1234.25"_s << u"1,234.25 ชิ้น"_s;
        QTest::newRow("fraction 1 large is empty") << pc << 1 << u"5"_s << QString();
        QTest::newRow("fraction 1 zero") << pc << 2 << u"0"_s << u"0 ชิ้น"_s;
        QTest::newRow("part 3") << dz << 3 << u"-30"_s << u"30 IDERROR"_s;
        QTest::newRow("part 0") << dz << 0 << u"30.5"_s << u"30.5 IDERROR"_s;
        QTest::newRow("unknown unit") << u"none"_s << 1 << u"30.5"_s << u"30.5 ERROR"_s;
    }
    void onhandPart()
    {
        QFETCH(QString, unit);
        QFETCH(int, part);
        QFETCH(QString, quantity);
        QFETCH(QString, expected);
        // Neither the unit brackets nor the decimals setting apply to the parts.
        setDisplay(2, u"("_s, u")"_s);
        const int id = unitId(unit);
        QCOMPARE(s->dm->FormatOnhandPart(id, part, Decimal::fromString(quantity)), expected);
        QCOMPARE(s->dm->FormatOnhandPart(id, part, quantity.toDouble()), expected);
    }

    void stockFraction_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("expected");
        const QString pc = u"P0001/ชิ้น"_s;
        QTest::newRow("30 pieces") << pc << u"30"_s << u"2;1/2  โหล"_s;
        QTest::newRow("8 pieces") << pc << u"8"_s << u";2/3  โหล"_s;
        QTest::newRow("24 pieces") << pc << u"24"_s << u"2;โหล"_s;
        QTest::newRow("zero") << pc << u"0"_s << u";0  โหล"_s;
        QTest::newRow("prime stays") << pc << u"7"_s << u";7/12  โหล"_s;
        QTest::newRow("reduced by 3") << pc << u"9"_s << u";3/4  โหล"_s;
        QTest::newRow("cut toward zero") << pc << u"8.9"_s << u";2/3  โหล"_s;
        QTest::newRow("below one piece") << pc << u"0.5"_s << u";0  โหล"_s;
        QTest::newRow("in dozens") << u"P0001/โหล"_s << u"2.5"_s << u"2;1/2  โหล"_s;
        QTest::newRow("in boxes") << u"P0001/กล่อง"_s << u"1.25"_s << u"2;1/2  โหล"_s;
        QTest::newRow("thousands") << pc << u"12000"_s << u"1,000;โหล"_s;
        QTest::newRow("negative") << pc << u"-30"_s << u"-2;-1/2  โหล"_s;
        QTest::newRow("negative below a dozen") << pc << u"-8"_s << u";-2/3  โหล"_s;
        QTest::newRow("negative cut toward zero") << pc << u"-8.9"_s << u";-2/3  โหล"_s;
        QTest::newRow("unknown unit") << u"none"_s << u"30"_s << u"30 ERROR"_s;
        QTest::newRow("product without small unit") << u"P0004/โหล"_s << u"2.5"_s << u"2.5 ERROR"_s;
        QTest::newRow("no stock unit") << u"P0002/ชิ้น"_s << u"30"_s << TDM::NoStockUnitText;
        QTest::newRow("no stock unit, zero") << u"P0002/ชิ้น"_s << u"0"_s << TDM::NoStockUnitText;
        QTest::newRow("stock unit of fraction 0") << u"P0003/ชิ้น"_s << u"30"_s << TDM::StockUnitWithoutFractionText;
    }
    void stockFraction()
    {
        QFETCH(QString, unit);
        QFETCH(QString, quantity);
        QFETCH(QString, expected);
        setDisplay(2, u" "_s, u" "_s);
        const int id = unitId(unit);
        QCOMPARE(s->dm->FormatStockFraction(id, Decimal::fromString(quantity)), expected);
        QCOMPARE(s->dm->FormatStockFraction(id, quantity.toDouble()), expected);
    }
};

QTEST_MAIN(TstQuantity)
#include "tst_quantity.moc"
