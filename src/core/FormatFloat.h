#pragma once

#include "Decimal.h"

#include <QString>
#include <QStringView>

#include <concepts>

// Formats a number with a picture mask: "positive;negative;zero" sections,
// '0' = digit always shown, '#' = digit shown when significant, first '.' =
// decimal point, ',' = thousands separators wanted, "..." / '...' literal
// text, anything else literal in place. Rounds half away from zero to the
// number of decimal placeholders. Used for every printed amount, so it works
// without allocations beyond the result.
QString formatFloat(QStringView mask, const Decimal &value);
// Via Decimal::fromDouble (shortest round-trip text), so 2.675 prints as 2.68.
// NaN / infinities give "NAN", "INF", "-INF".
QString formatFloat(QStringView mask, double value);

// UTF-8 masks (string literals).
QString formatFloat(const char *mask, const Decimal &value);
QString formatFloat(const char *mask, double value);

// Integers are exact; keep them away from the double overload.
template <std::integral T>
    requires(!std::same_as<T, bool>)
QString formatFloat(QStringView mask, T value)
{
    return formatFloat(mask, Decimal(value));
}
template <std::integral T>
    requires(!std::same_as<T, bool>)
QString formatFloat(const char *mask, T value)
{
    return formatFloat(mask, Decimal(value));
}
