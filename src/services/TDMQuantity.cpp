// Quantity texts of printed documents: large units and remaining small units,
// or stock units with a vulgar fraction. All arithmetic is on exact decimals so
// that a remainder such as 6.555 small units is not turned into 6.554999...
#include "TDM.h"
#include "core/FormatFloat.h"

#include <cmath>
#include <stdexcept>

const QString TDM::NoStockUnitText = QStringLiteral("ไม่พบหน่วยนับสต็อก");
const QString TDM::StockUnitWithoutFractionText = QStringLiteral("หน่วยนับสต็อกไม่มีอัตราส่วน");

namespace {

using Int = __int128;

constexpr char kWholeMask[] = "###,###,##0 ";
constexpr char kPartMask[] = "###,###,##0.###### ";
constexpr char kPartRestMask[] = " ######.###### ";
constexpr char kFractionMask[] = "#,###.##;-#,###.##";
const QString kError = QStringLiteral("ERROR");

Int wholePart(const Decimal &d) { return d.truncated(0).mantissa(); }
Decimal fromInt(Int v) { return Decimal::fromMantissa(v, 0); }

Int gcd(Int a, Int b)
{
    while (b != 0) {
        const Int t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// The unit, its fraction and the name of its product's small unit. A unit whose
// product has no small unit is not found.
struct UnitRow
{
    bool found = false;
    QString lUnit;
    Int fraction = 0;
    QString sUnit;
    int idProd = 0;
};

UnitRow lookUpUnit(Connection &c, int unitId)
{
    auto q = c.exec(QStringLiteral("SELECT U.UnitName AS LUnit, U.Fraction, S.UnitName AS SUnit, U.Product AS IdProd "
                                   "FROM ProductUnits U INNER JOIN ProductUnits S ON S.Product = U.Product AND S.SmallUnitFlag = 'Y' "
                                   "WHERE U.Id = :GetUnit ORDER BY S.Id"),
                    {{QStringLiteral("GetUnit"), unitId}});
    UnitRow u;
    if (!q.next())
        return u;
    u.found = true;
    u.lUnit = dbText(q.value(0));
    u.fraction = wholePart(decimalFromVariant(q.value(1)));
    u.sUnit = dbText(q.value(2));
    u.idProd = q.value(3).toInt();
    return u;
}

struct StockUnit
{
    bool found = false;
    QString name;
    Int fraction = 0;
};

StockUnit lookUpStockUnit(Connection &c, int productId)
{
    auto q = c.exec(QStringLiteral("SELECT U.Id, U.UnitName, U.Fraction, S.UnitName AS SmallUnit FROM ProductUnits U "
                                   "LEFT JOIN ProductUnits S ON S.Product = U.Product AND S.SmallUnitFlag = 'Y' "
                                   "WHERE U.Product = :GetProduct AND U.StockUnitFlag = 'Y' ORDER BY U.Id, S.Id"),
                    {{QStringLiteral("GetProduct"), productId}});
    StockUnit s;
    if (!q.next())
        return s;
    s.found = true;
    s.name = dbText(q.value(1));
    s.fraction = wholePart(decimalFromVariant(q.value(2)));
    return s;
}

// Whole large units in q (q >= 0) and what is left in small units. A fraction
// below 1 counts as 1 for both, so nothing is counted twice.
struct Split
{
    Int whole = 0;
    Decimal rest;
};

Split split(const Decimal &q, Int fraction)
{
    const Int f = fraction < 1 ? 1 : fraction;
    Split s;
    s.whole = wholePart(q) / f;
    s.rest = q - fromInt(s.whole * f);
    return s;
}

// The configuration row's display settings.
struct QuantityDisplay
{
    QString number; // mask of small-unit quantities
    bool optionalDigits = false;
    QString left;
    QString right;
};

QuantityDisplay display(TDM &dm)
{
    QuantityDisplay d;
    const int decimals = dm.config(QStringLiteral("OnhandDecimal")).toInt();
    if (decimals > 0) {
        d.number = QStringLiteral(" #,###,##0.") + QString(std::min(decimals, int(Decimal::kMaxScale)), QLatin1Char('0'))
                   + QLatin1Char(' ');
    } else {
        d.number = QStringLiteral(" #,###,###.###### ");
        d.optionalDigits = true;
    }
    d.left = dbText(dm.config(QStringLiteral("UnitLeft")));
    d.right = dbText(dm.config(QStringLiteral("UnitRight")));
    return d;
}

// A small-unit quantity with the configured mask. The mask of optional digits
// writes nothing at all for zero; a count of zero is written "0".
QString smallNumber(const QuantityDisplay &d, const Decimal &v)
{
    QString s = formatFloat(QStringView(d.number), v);
    if (d.optionalDigits && s.trimmed().isEmpty())
        s = QStringLiteral(" 0 ");
    return s;
}

// The double overloads: the shortest decimal text of the double, so 30.555 is
// 30.555 and not the binary value just below it.
template <typename F>
QString viaDecimal(double quantity, F &&format)
{
    if (!std::isfinite(quantity))
        return kError;
    try {
        return format(Decimal::fromDouble(quantity));
    } catch (const std::overflow_error &) {
        return kError;
    }
}

} // namespace

QString TDM::FormatOnhand(int unitId, const Decimal &quantity)
{
    const QString sign = quantity.sign() < 0 ? QStringLiteral("- ") : QString();
    const Decimal q = quantity.abs();
    const UnitRow u = lookUpUnit(DMDATA(), unitId);
    const QuantityDisplay d = display(*this);
    if (!u.found)
        return (formatFloat(QStringView(d.number), q) + kError).trimmed();

    QString text;
    if (u.fraction == 1) {
        text = smallNumber(d, q) + d.left + u.lUnit + d.right;
    } else {
        const Split s = split(q, u.fraction);
        if (s.whole != 0)
            text = formatFloat(kWholeMask, fromInt(s.whole)) + d.left + u.lUnit + d.right;
        if (!s.rest.isZero())
            text += smallNumber(d, s.rest.abs()) + d.left + u.sUnit + d.right;
    }
    if (text.isEmpty())
        text = QStringLiteral("0 ") + d.left + u.lUnit + d.right;
    return (sign + text).trimmed();
}

QString TDM::FormatOnhand(int unitId, double quantity)
{
    return viaDecimal(quantity, [&](const Decimal &q) { return FormatOnhand(unitId, q); });
}

QString TDM::FormatOnhandPart(int unitId, int part, const Decimal &quantity)
{
    const QString sign = quantity.sign() < 0 ? QStringLiteral("- ") : QString();
    const Decimal q = quantity.abs();
    const UnitRow u = lookUpUnit(DMDATA(), unitId);
    if (!u.found)
        return formatFloat(kPartMask, q) + kError;

    QString large;
    QString small;
    if (u.fraction == 1) {
        small = formatFloat(kPartMask, q) + u.lUnit;
    } else {
        const Split s = split(q, u.fraction);
        if (s.whole != 0)
            large = formatFloat(kWholeMask, fromInt(s.whole)) + u.lUnit;
        if (!s.rest.isZero())
            small = formatFloat(kPartRestMask, s.rest.abs()) + u.sUnit;
    }
    // The sign goes with a part that has something to sign, not onto an empty one.
    switch (part) {
    case 1:
        return large.isEmpty() ? large : sign + large;
    case 2:
        return small.isEmpty() ? small : sign + small;
    default:
        return formatFloat(kPartMask, q) + QStringLiteral("IDERROR");
    }
}

QString TDM::FormatOnhandPart(int unitId, int part, double quantity)
{
    return viaDecimal(quantity, [&](const Decimal &q) { return FormatOnhandPart(unitId, part, q); });
}

QString TDM::FormatStockFraction(int unitId, const Decimal &quantity)
{
    const UnitRow u = lookUpUnit(DMDATA(), unitId);
    if (!u.found)
        return (formatFloat(kPartMask, quantity) + kError).trimmed();
    // In small units, cut toward zero.
    Int n = wholePart(quantity * fromInt(u.fraction));
    const StockUnit stock = lookUpStockUnit(DMDATA(), u.idProd);
    if (!stock.found)
        return NoStockUnitText;
    const Int e = stock.fraction;
    if (e <= 0)
        return StockUnitWithoutFractionText;

    QString wholeText;
    QString fractionText;
    if (n == 0) {
        fractionText = QStringLiteral("0");
    } else {
        const Int whole = n / e;
        if (whole != 0) {
            wholeText = formatFloat(kFractionMask, fromInt(whole));
            n %= e;
        }
        if (n != 0) {
            // Reduced on the magnitude; a negative quantity keeps its sign on the numerator.
            const Int g = gcd(n < 0 ? -n : n, e);
            fractionText = formatFloat(kFractionMask, fromInt(n / g)) + QLatin1Char('/') + formatFloat(kFractionMask, fromInt(e / g));
        }
    }
    return (wholeText.trimmed() + QLatin1Char(';') + (fractionText + QStringLiteral("  ") + stock.name).trimmed()).trimmed();
}

QString TDM::FormatStockFraction(int unitId, double quantity)
{
    return viaDecimal(quantity, [&](const Decimal &q) { return FormatStockFraction(unitId, q); });
}
