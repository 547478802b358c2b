#include "core/Decimal.h"
#include "core/FormatFloat.h"

#include <QTest>
#include <QVariant>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {
Decimal dec(const char *s)
{
    const auto d = Decimal::parse(QString::fromLatin1(s));
    if (!d)
        qFatal("bad test literal %s", s);
    return *d;
}
} // namespace

char *toString(const Decimal &d)
{
    return qstrdup(d.toString().toLatin1().constData());
}

class TestDecimal : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void fromDouble_data();
    void fromDouble();
    void rounding_data();
    void rounding();
    void arithmetic_data();
    void arithmetic();
    void compare_data();
    void compare();
    void errors();
    void conversions();
    void variant_data();
    void variant();
    void mask_data();
    void mask();
    void maskDouble_data();
    void maskDouble();
};

void TestDecimal::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("plain");

    QTest::newRow("int") << "123" << true << "123";
    QTest::newRow("neg decimals") << "-1.005" << true << "-1.005";
    QTest::newRow("thousands") << "1,234.50" << true << "1234.50";
    QTest::newRow("millions") << "-1,234,567" << true << "-1234567";
    QTest::newRow("blanks plus") << "  +7.25 \t" << true << "7.25";
    QTest::newRow("leading point") << ".5" << true << "0.5";
    QTest::newRow("trailing point") << "5." << true << "5";
    QTest::newRow("leading zeros") << "0007" << true << "7";
    QTest::newRow("minus zero") << "-0.00" << true << "0.00";
    QTest::newRow("38 digits") << "99999999999999999999999999999999999999" << true
                               << "99999999999999999999999999999999999999";
    QTest::newRow("19 decimals rounded") << "-0.1234567890123456785" << true << "-0.123456789012345679";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("blank") << "   " << false << "";
    QTest::newRow("sign only") << "-" << false << "";
    QTest::newRow("point only") << "." << false << "";
    QTest::newRow("two signs") << "+-1" << false << "";
    QTest::newRow("two points") << "1.2.3" << false << "";
    QTest::newRow("letters") << "12a" << false << "";
    QTest::newRow("exponent") << "1e5" << false << "";
    QTest::newRow("inner blank") << "1 2" << false << "";
    QTest::newRow("sign gap") << "- 1" << false << "";
    QTest::newRow("short group") << "1,23" << false << "";
    QTest::newRow("long first group") << "1234,567" << false << "";
    QTest::newRow("leading comma") << ",123" << false << "";
    QTest::newRow("trailing comma") << "1,234," << false << "";
    QTest::newRow("comma in decimals") << "1.234,5" << false << "";
    QTest::newRow("39 digits") << "100000000000000000000000000000000000000" << false << "";
}

void TestDecimal::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, plain);

    const auto d = Decimal::parse(text);
    QCOMPARE(d.has_value(), valid);
    bool ok = !valid;
    const Decimal f = Decimal::fromString(text, &ok);
    QCOMPARE(ok, valid);
    if (valid) {
        QCOMPARE(d->toString(), plain);
        QCOMPARE(f, *d);
    } else {
        QVERIFY(f.isZero());
    }
}

void TestDecimal::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("maxScale");
    QTest::addColumn<QString>("plain");

    QTest::newRow("2.675") << 2.675 << 10 << "2.675";
    QTest::newRow("-1.005") << -1.005 << 10 << "-1.005";
    QTest::newRow("noise dropped") << (0.1 + 0.2) << 10 << "0.3";
    QTest::newRow("noise kept") << (0.1 + 0.2) << 18 << "0.30000000000000004";
    QTest::newRow("small") << 1e-7 << 10 << "0.0000001";
    QTest::newRow("below scale") << 4e-11 << 10 << "0";
    QTest::newRow("rounds up") << 0.00000000005 << 10 << "0.0000000001";
    QTest::newRow("minus zero") << -0.0 << 10 << "0";
    QTest::newRow("whole") << 1234567.0 << 10 << "1234567";
    QTest::newRow("1e20") << 1e20 << 10 << "100000000000000000000";
}

void TestDecimal::fromDouble()
{
    QFETCH(double, value);
    QFETCH(int, maxScale);
    QFETCH(QString, plain);
    QCOMPARE(Decimal::fromDouble(value, maxScale).toString(), plain);
}

void TestDecimal::rounding_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("rounded");
    QTest::addColumn<QString>("truncated");

    QTest::newRow("2.675") << "2.675" << 2 << "2.68" << "2.67";
    QTest::newRow("-1.005") << "-1.005" << 2 << "-1.01" << "-1.00";
    QTest::newRow("0.5") << "0.5" << 0 << "1" << "0";
    QTest::newRow("-0.5") << "-0.5" << 0 << "-1" << "0";
    QTest::newRow("below half") << "-1.4999" << 0 << "-1" << "-1";
    QTest::newRow("carry") << "9.995" << 2 << "10.00" << "9.99";
    QTest::newRow("grow scale") << "-1.5" << 3 << "-1.500" << "-1.500";
    QTest::newRow("tiny negative") << "-0.004" << 2 << "0.00" << "0.00";
}

void TestDecimal::rounding()
{
    QFETCH(QString, value);
    QFETCH(int, n);
    QFETCH(QString, rounded);
    QFETCH(QString, truncated);

    const Decimal d = *Decimal::parse(value);
    const Decimal r = d.round(n);
    QCOMPARE(r.toString(), rounded);
    QCOMPARE(r.scale(), n);
    QCOMPARE(d.rescaled(n), r);
    QCOMPARE(d.truncated(n).toString(), truncated);
    if (r.isZero())
        QCOMPARE(r.sign(), 0);
}

void TestDecimal::arithmetic_data()
{
    QTest::addColumn<char>("op");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("result");

    QTest::newRow("add exact") << '+' << "0.1" << "0.2" << "0.3";
    QTest::newRow("add scales") << '+' << "1.5" << "-2.25" << "-0.75";
    QTest::newRow("sub") << '-' << "1" << "1.50" << "-0.50";
    QTest::newRow("add big") << '+' << "49999999999999999999999999999999999999"
                             << "50000000000000000000000000000000000000"
                             << "99999999999999999999999999999999999999";
    QTest::newRow("mul scale grows") << '*' << "1.5" << "2.25" << "3.375";
    QTest::newRow("mul signs") << '*' << "-0.5" << "-0.50" << "0.250";
    QTest::newRow("mul scale 18") << '*' << "0.000000001" << "-0.000000001" << "-0.000000000000000001";
    QTest::newRow("mul scale capped") << '*' << "0.0000000005" << "0.000000001" << "0.000000000000000001";
    QTest::newRow("mul wide product") << '*' << "12345678901234567890.123456789"
                                      << "0.000000001234567891" << "15241578764.060357776406035778";
    QTest::newRow("div 10/3") << '/' << "10" << "3" << "3.33";
    QTest::newRow("div 2/3") << '/' << "2" << "3" << "0.67";
    QTest::newRow("div -2/3") << '/' << "-2" << "3" << "-0.67";
    QTest::newRow("div half") << '/' << "1" << "8" << "0.13";
    QTest::newRow("div half neg") << '/' << "1" << "-8" << "-0.13";
    QTest::newRow("div tiny") << '/' << "0.001" << "1000" << "0.000001";
    QTest::newRow("div fewer decimals") << '/' << "-1.005" << "1" << "-1.01";
    QTest::newRow("div by fraction") << '/' << "1.00" << "0.003" << "333.33";
    QTest::newRow("div wide dividend") << '/' << "12345678901234567890" << "7" << "";
}

// '/' divides to the scale of the expected text (18 when it is empty, with
// the expected quotient from exact long division).
void TestDecimal::arithmetic()
{
    QFETCH(char, op);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, result);

    const Decimal x = *Decimal::parse(a), y = *Decimal::parse(b);
    Decimal r;
    switch (op) {
    case '+': r = x + y; QCOMPARE(y + x, r); break;
    case '-': r = x - y; QCOMPARE(y - x, -r); break;
    case '*': r = x * y; QCOMPARE(y * x, r); break;
    case '/':
        if (result.isEmpty()) {
            result = QStringLiteral("1763668414462081127.142857142857142857");
            r = x.divide(y, 18);
        } else {
            const qsizetype point = result.indexOf(u'.');
            r = x.divide(y, point < 0 ? 0 : int(result.size() - point - 1));
        }
        break;
    }
    QCOMPARE(r.toString(), result);
}

void TestDecimal::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");

    QTest::newRow("same value other scale") << "1.50" << "1.5" << 0;
    QTest::newRow("zeros") << "-0.00" << "0" << 0;
    QTest::newRow("sign") << "-1" << "0.5" << -1;
    QTest::newRow("negatives") << "-1.5" << "-1.25" << -1;
    QTest::newRow("fraction") << "0.10" << "0.09" << 1;
    QTest::newRow("huge vs tiny") << "99999999999999999999999999999999999999" << "0.000000000000000001" << 1;
    QTest::newRow("-huge vs -tiny") << "-99999999999999999999999999999999999999" << "-0.000000000000000001" << -1;
    QTest::newRow("tiny vs huge") << "0.000000000000000001" << "10000000000000000000000" << -1;
}

void TestDecimal::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);

    const Decimal x = *Decimal::parse(a), y = *Decimal::parse(b);
    const auto c = x <=> y;
    QCOMPARE(c < 0 ? -1 : (c > 0 ? 1 : 0), order);
    const auto back = y <=> x;
    QCOMPARE(back < 0 ? -1 : (back > 0 ? 1 : 0), -order);
    QCOMPARE(x == y, order == 0);
}

void TestDecimal::errors()
{
    const Decimal max = dec("99999999999999999999999999999999999999");
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, max + Decimal(1));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, (-max) - Decimal(1));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, dec("10000000000000000000") * dec("10000000000000000000"));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, dec("1000000000000000000000").rescaled(18));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, max.divide(dec("0.1"), 0));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, max.round(0) + dec("0.5"));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, dec("9223372036854775808").toInt64());
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, Decimal::fromDouble(1e40));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, Decimal::fromDouble(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(std::domain_error, dec("1").divide(dec("0.00"), 2));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, dec("1").rescaled(19));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, dec("1").divide(dec("3"), -1));
}

void TestDecimal::conversions()
{
    QCOMPARE(dec("-1.99").toInt64(), qint64(-1));
    QCOMPARE(dec("-9223372036854775808").toInt64(), std::numeric_limits<qint64>::min());
    QCOMPARE(dec("2.675").toDouble(), 2.675);
    QCOMPARE(dec("-0.1").toDouble(), -0.1);
    QCOMPARE(Decimal(std::numeric_limits<quint64>::max()).toString(), QStringLiteral("18446744073709551615"));
    QCOMPARE(Decimal::fromMantissa(-12345, 3).toString(), QStringLiteral("-12.345"));
    QCOMPARE(dec("-3.5").abs().toString(), QStringLiteral("3.5"));
}

void TestDecimal::variant_data()
{
    QTest::addColumn<QVariant>("v");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("plain");

    QTest::newRow("decimal") << QVariant::fromValue(dec("-1.50")) << true << "-1.50";
    QTest::newRow("int") << QVariant(42) << true << "42";
    QTest::newRow("int64") << QVariant(qlonglong(-9000000000000)) << true << "-9000000000000";
    QTest::newRow("double") << QVariant(2.675) << true << "2.675";
    QTest::newRow("text") << QVariant(QStringLiteral(" 1,234.50")) << true << "1234.50";
    QTest::newRow("null") << QVariant() << true << "0";
    QTest::newRow("typed null") << QVariant(QMetaType::fromType<QString>()) << true << "0";
    QTest::newRow("bad text") << QVariant(QStringLiteral("n/a")) << false << "0";
}

void TestDecimal::variant()
{
    QFETCH(QVariant, v);
    QFETCH(bool, ok);
    QFETCH(QString, plain);

    bool gotOk = !ok;
    QCOMPARE(decimalFromVariant(v, &gotOk).toString(), plain);
    QCOMPARE(gotOk, ok);
}

void TestDecimal::mask_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *mask, const char *value, const char *expected) {
        QTest::addRow("%s | %s", mask, value) << QString::fromUtf8(mask) << QString::fromLatin1(value)
                                              << QString::fromUtf8(expected);
    };
    row("#,##0.00", "1234567.891", "1,234,567.89");
    row("#,##0.00", "-1234.5", "-1,234.50");
    row("#,##0.00", "-0.004", "0.00");
    row("#,##0.00", "999.995", "1,000.00");
    row("#,##0.00", "123456", "123,456.00");
    row("#,##0.00", "0", "0.00");
    row("#,##0.00;(#,##0.00)", "-1234.5", "(1,234.50)");
    row("#,##0.00;(#,##0.00)", "1234.5", "1,234.50");
    row("#,##0.00;(#,##0.00)", "-0.001", "0.00");
    row("#,##0.00;(#,##0.00);-", "-0.001", "-");
    row("#,##0.00;(#,##0.00);-", "0", "-");
    row("#,###.##;-#,###.##", "-1234.5", "-1,234.5");
    row("#,###.##;-#,###.##", "12", "12");
    row("#,###.##;-#,###.##", "0.5", ".5");
    row("#,###.##;-#,###.##", "0", "");
    row("#,###.##;-#,###.##", "-0.001", "");
    row("#,##0.##;-#,##0.##", "-0.5", "-0.5");
    row("#,##0.##;-#,##0.##", "1000", "1,000");
    row("#,##0.##;-#,##0.##", "1.10", "1.1");
    row("###0.00", "1234567.5", "1234567.50");
    row("###0.00", "0", "0.00");
    row("###,###,##0.###### ", "1.5", "1.5 ");
    row("###,###,##0.###### ", "12", "12 ");
    row("###,###,##0.###### ", "1234567.1234565", "1,234,567.123457 ");
    row("###,###,##0.###### ", "-0.0000004", "0 ");
    row("###,###,##0 ", "1234.5", "1,235 ");
    row("###,###,##0 ", "-1234.5", "-1,235 ");
    row("###,###,##0 ", "123456789012", "123,456,789,012 ");
    row(" #,###,##0.", "1234", " 1,234.");
    row(" #,###,##0.", "-1234", " -1,234.");
    row(" #,###,##0.", "0", " 0.");
    row(" #,###,###.###### ", "1234.5", " 1,234.5 ");
    row(" #,###,###.###### ", "0", "  ");
    row(" ######.###### ", "1234567.25", " 1234567.25 ");
    row(" ######.###### ", "-0.125", " -.125 ");
    row("0", "2.5", "3");
    row("0", "-2.5", "-3");
    row("0", "-0.4", "0");
    row("0 ", "7", "7 ");
    row("0000", "7", "0007");
    row("0000", "-7", "-0007");
    row("0000", "12345", "12345");
    row(",0.00", "1234.5", "1,234.50");
    row(",0.00", "0", "0.00");
    row(".00", "0.5", ".50");
    row(".00", "12.5", "12.50");
    row(".00", "-0.5", "-.50");
    row("0.00", "2.675", "2.68");
    row("0.00", "-1.005", "-1.01");
    row("#,##0", "0", "0");
    row("#,###", "0", "");
    row("#,##0", "1000000", "1,000,000");
    row("#,##0.00 \"บาท\"", "1234.5", "1,234.50 บาท");
    row("0.0 'a;b.0#'", "1.25", "1.3 a;b.0#");
    row("0.0;;'zero'", "-1.25", "-1.3");
    row("0.0;;'zero'", "0", "zero");
    row("#0#.#0#", "5.1", "05.10");
    row("", "-1.500", "-1.5");
}

void TestDecimal::mask()
{
    QFETCH(QString, mask);
    QFETCH(QString, value);
    QFETCH(QString, expected);

    QCOMPARE(formatFloat(mask, *Decimal::parse(value)), expected);
    const QByteArray utf8 = mask.toUtf8();
    QCOMPARE(formatFloat(utf8.constData(), *Decimal::parse(value)), expected);
}

void TestDecimal::maskDouble_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("millions") << "#,##0.00" << 1234567.891 << "1,234,567.89";
    QTest::newRow("parentheses") << "#,##0.00;(#,##0.00)" << -1234.5 << "(1,234.50)";
    QTest::newRow("negative zero") << "#,##0.00" << -0.004 << "0.00";
    QTest::newRow("2.675") << "0.00" << 2.675 << "2.68";
    QTest::newRow("1.005") << "0.00" << 1.005 << "1.01";
    QTest::newRow("optional decimals") << "###,###,##0.###### " << 1.5 << "1.5 ";
    QTest::newRow("no decimals") << "###,###,##0.###### " << 12.0 << "12 ";
    QTest::newRow("padded") << "0000" << 7.0 << "0007";
    QTest::newRow("point first") << ".00" << 0.5 << ".50";
    QTest::newRow("bare point") << " #,###,##0." << 1234.0 << " 1,234.";
    QTest::newRow("nan") << "0.00" << std::nan("") << "NAN";
    QTest::newRow("-inf") << "0.00" << -HUGE_VAL << "-INF";
}

void TestDecimal::maskDouble()
{
    QFETCH(QString, mask);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatFloat(mask, value), expected);
}

QTEST_APPLESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
