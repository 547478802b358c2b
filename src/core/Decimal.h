#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>

#include <compare>
#include <concepts>
#include <optional>

class QVariant;

// Exact decimal number: a signed 128-bit mantissa and a count of decimals.
// Money, prices, rates and quantities are held in this type; nothing on the
// parse / arithmetic path goes through binary floating point.
//
// The magnitude of the mantissa is kept below 10^38 (38 digits). Any result
// that would not fit throws std::overflow_error instead of wrapping.
class Decimal
{
public:
    static constexpr int kMaxScale = 18;
    static constexpr int kMaxDigits = 38;

    constexpr Decimal(qint64 v = 0) noexcept : m_mant(v) {}
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    constexpr Decimal(T v) noexcept : m_mant(static_cast<__int128>(v)) {}
    // A double must be converted on purpose (fromDouble), never silently.
    Decimal(double) = delete;
    Decimal(float) = delete;

    // mantissa * 10^-scale; throws std::overflow_error / std::invalid_argument
    static Decimal fromMantissa(__int128 mantissa, int scale);

    // "123", " -1.005 ", "+1,234.50", ".5". Thousands commas must group by
    // three. More than kMaxScale decimals are rounded half away from zero.
    static std::optional<Decimal> parse(QStringView text);
    // As parse(); invalid text gives 0 and *ok = false.
    static Decimal fromString(QStringView text, bool *ok = nullptr);
    // Goes through the shortest text that round-trips the double, so 2.675
    // becomes exactly 2.675. Rounded to maxScale decimals, trailing zeros
    // dropped. Throws std::domain_error for NaN/inf, overflow_error if huge.
    static Decimal fromDouble(double d, int maxScale = 10);

    QString toString() const;   // "-1234.50": plain, keeps the scale
    double toDouble() const;    // nearest double
    qint64 toInt64() const;     // truncates toward zero; overflow_error if out of range

    int scale() const noexcept { return m_scale; }
    __int128 mantissa() const noexcept { return m_mant; }
    bool isZero() const noexcept { return m_mant == 0; }
    int sign() const noexcept { return m_mant < 0 ? -1 : (m_mant > 0 ? 1 : 0); }

    // Exactly n decimals (0..kMaxScale), rounding half away from zero.
    Decimal rescaled(int n) const;
    Decimal round(int n) const { return rescaled(n); }
    // Exactly n decimals, dropping digits toward zero.
    Decimal truncated(int n) const;
    Decimal abs() const noexcept { Decimal r = *this; if (r.m_mant < 0) r.m_mant = -r.m_mant; return r; }

    // Result has `scale` decimals (0..kMaxScale), rounded half away from
    // zero. Throws std::domain_error when dividing by zero.
    Decimal divide(const Decimal &divisor, int scale) const;

    Decimal operator-() const noexcept { Decimal r = *this; r.m_mant = -r.m_mant; return r; }
    friend Decimal operator+(const Decimal &a, const Decimal &b);
    friend Decimal operator-(const Decimal &a, const Decimal &b);
    // Scale is the sum of both scales; beyond kMaxScale it is rounded to kMaxScale.
    friend Decimal operator*(const Decimal &a, const Decimal &b);
    Decimal &operator+=(const Decimal &o) { return *this = *this + o; }
    Decimal &operator-=(const Decimal &o) { return *this = *this - o; }
    Decimal &operator*=(const Decimal &o) { return *this = *this * o; }

    // By value: 1.50 == 1.5.
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b) noexcept;
    friend bool operator==(const Decimal &a, const Decimal &b) noexcept { return (a <=> b) == 0; }

private:
    __int128 m_mant = 0;
    int m_scale = 0;
};

Q_DECLARE_METATYPE(Decimal)

// Accepts a Decimal, any integer, a double (via fromDouble) or text (exact
// numerics come from the database as text). Null / empty gives 0. Anything
// else, or unparsable text, gives 0 and *ok = false.
Decimal decimalFromVariant(const QVariant &v, bool *ok = nullptr);
