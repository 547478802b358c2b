#include "Decimal.h"

#include <QVariant>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace {

using i128 = __int128;
using u128 = unsigned __int128;

struct Pow10Table
{
    u128 v[39];
    constexpr Pow10Table() : v{}
    {
        v[0] = 1;
        for (int i = 1; i < 39; ++i)
            v[i] = v[i - 1] * 10;
    }
};
constexpr Pow10Table kPow10;
constexpr u128 kLimit = kPow10.v[Decimal::kMaxDigits]; // magnitudes stay below this

[[noreturn]] void throwOverflow()
{
    throw std::overflow_error("Decimal: result exceeds 38 digits");
}

void checkScale(int n)
{
    if (n < 0 || n > Decimal::kMaxScale)
        throw std::invalid_argument("Decimal: scale out of range");
}

u128 magnitude(i128 v) { return v < 0 ? u128(0) - u128(v) : u128(v); }

i128 withSign(u128 mag, bool negative)
{
    if (mag >= kLimit)
        throwOverflow();
    return negative ? -i128(mag) : i128(mag);
}

// mag * 10^n if it stays below 10^38.
bool mulPow10(u128 mag, int n, u128 &out)
{
    if (mag == 0) {
        out = 0;
        return true;
    }
    if (n > Decimal::kMaxDigits || mag > (kLimit - 1) / kPow10.v[n])
        return false;
    out = mag * kPow10.v[n];
    return true;
}

u128 divPow10HalfAway(u128 mag, int n)
{
    const u128 p = kPow10.v[n];
    const u128 q = mag / p;
    return (mag % p) * 2 >= p ? q + 1 : q;
}

// Just enough 256-bit arithmetic for products and scaled dividends, which
// can exceed 128 bits before being rounded back into range.
struct U256
{
    uint64_t w[4] = {0, 0, 0, 0}; // little-endian limbs

    static U256 from(u128 v)
    {
        U256 r;
        r.w[0] = uint64_t(v);
        r.w[1] = uint64_t(v >> 64);
        return r;
    }
    static U256 mul(u128 a, u128 b)
    {
        const uint64_t x[2] = {uint64_t(a), uint64_t(a >> 64)};
        const uint64_t y[2] = {uint64_t(b), uint64_t(b >> 64)};
        U256 r;
        for (int i = 0; i < 2; ++i) {
            u128 carry = 0;
            for (int j = 0; j < 2; ++j) {
                const u128 t = u128(x[i]) * y[j] + r.w[i + j] + carry;
                r.w[i + j] = uint64_t(t);
                carry = t >> 64;
            }
            r.w[i + 2] = uint64_t(carry);
        }
        return r;
    }
    void mulSmall(uint64_t m)
    {
        u128 carry = 0;
        for (auto &limb : w) {
            const u128 t = u128(limb) * m + carry;
            limb = uint64_t(t);
            carry = t >> 64;
        }
    }
    void mulPow10(int n)
    {
        for (; n >= 19; n -= 19)
            mulSmall(uint64_t(kPow10.v[19]));
        if (n > 0)
            mulSmall(uint64_t(kPow10.v[n]));
    }
    int compare(const U256 &o) const
    {
        for (int i = 3; i >= 0; --i)
            if (w[i] != o.w[i])
                return w[i] < o.w[i] ? -1 : 1;
        return 0;
    }
    void sub(const U256 &o)
    {
        uint64_t borrow = 0;
        for (int i = 0; i < 4; ++i) {
            const uint64_t a = w[i], b = o.w[i];
            w[i] = a - b - borrow;
            borrow = (a < b || (a == b && borrow)) ? 1 : 0;
        }
    }
    void shl1()
    {
        for (int i = 3; i > 0; --i)
            w[i] = (w[i] << 1) | (w[i - 1] >> 63);
        w[0] <<= 1;
    }
    bool bit(int i) const { return (w[i / 64] >> (i % 64)) & 1; }
    void setBit(int i) { w[i / 64] |= uint64_t(1) << (i % 64); }
    void increment()
    {
        for (auto &limb : w)
            if (++limb != 0)
                break;
    }
    // Magnitude back in range, or overflow.
    u128 toMagnitude() const
    {
        if (w[2] || w[3])
            throwOverflow();
        const u128 v = (u128(w[1]) << 64) | w[0];
        if (v >= kLimit)
            throwOverflow();
        return v;
    }
};

// n / d rounded half away from zero; d != 0. Operands here stay far below
// 2^255, so the shifted remainder never loses its top bit.
U256 divHalfAway(const U256 &n, const U256 &d)
{
    U256 q, r;
    for (int i = 255; i >= 0; --i) {
        r.shl1();
        if (n.bit(i))
            r.w[0] |= 1;
        if (r.compare(d) >= 0) {
            r.sub(d);
            q.setBit(i);
        }
    }
    r.shl1();
    if (r.compare(d) >= 0)
        q.increment();
    return q;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0xA0; }

// Shared by parse() and fromDouble(): [sign] digits[,ddd...][.digits].
template <typename Ch>
std::optional<std::pair<i128, int>> parseNumber(const Ch *p, const Ch *end, int maxScale)
{
    while (p != end && isBlank(char16_t(*p)))
        ++p;
    while (end != p && isBlank(char16_t(end[-1])))
        --end;

    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = (*p == '-');
        ++p;
    }

    u128 mag = 0;
    int digits = 0;          // digits seen in total
    int group = 0;           // digits since the last comma
    bool grouped = false;
    bool overflow = false;
    auto push = [&](int d) {
        if (mag > (kLimit - 1 - u128(d)) / 10)
            overflow = true;
        else
            mag = mag * 10 + u128(d);
    };

    for (; p != end; ++p) {
        const auto c = *p;
        if (c >= '0' && c <= '9') {
            push(int(c - '0'));
            ++digits;
            ++group;
        } else if (c == ',') {
            // Thousands separators must really group by three.
            if (group == 0 || (grouped ? group != 3 : group > 3))
                return std::nullopt;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3)
        return std::nullopt;

    int scale = 0;
    bool roundUp = false;
    if (p != end && *p == '.') {
        ++p;
        bool dropped = false;
        for (; p != end && *p >= '0' && *p <= '9'; ++p) {
            ++digits;
            if (scale < maxScale) {
                push(int(*p - '0'));
                ++scale;
            } else if (!dropped) {
                // Half away from zero: only the first dropped digit matters.
                roundUp = *p >= '5';
                dropped = true;
            }
        }
    }
    if (p != end || digits == 0 || overflow)
        return std::nullopt;
    if (roundUp) {
        if (mag + 1 >= kLimit)
            return std::nullopt;
        ++mag;
    }
    return std::pair{negative ? -i128(mag) : i128(mag), scale};
}

// Plain digits of |mant| with `scale` decimals into buf (at least 41 chars); returns length.
int writePlain(i128 mant, int scale, char *buf)
{
    char tmp[48];
    int n = 0;
    u128 mag = magnitude(mant);
    do {
        tmp[n++] = char('0' + int(mag % 10));
        mag /= 10;
    } while (mag != 0);
    while (n <= scale)
        tmp[n++] = '0';

    int len = 0;
    if (mant < 0)
        buf[len++] = '-';
    for (int i = n - 1; i >= 0; --i) {
        buf[len++] = tmp[i];
        if (i == scale && scale > 0)
            buf[len++] = '.';
    }
    return len;
}

} // namespace

Decimal Decimal::fromMantissa(__int128 mantissa, int scale)
{
    checkScale(scale);
    Decimal d;
    d.m_mant = withSign(magnitude(mantissa), mantissa < 0);
    d.m_scale = scale;
    return d;
}

std::optional<Decimal> Decimal::parse(QStringView text)
{
    const auto *b = text.utf16();
    const auto r = parseNumber(b, b + text.size(), kMaxScale);
    if (!r)
        return std::nullopt;
    Decimal d;
    d.m_mant = r->first;
    d.m_scale = r->second;
    return d;
}

Decimal Decimal::fromString(QStringView text, bool *ok)
{
    const auto r = parse(text);
    if (ok)
        *ok = r.has_value();
    return r.value_or(Decimal());
}

Decimal Decimal::fromDouble(double v, int maxScale)
{
    if (!std::isfinite(v))
        throw std::domain_error("Decimal: not a finite number");
    checkScale(maxScale);
    if (std::fabs(v) >= 1e38)
        throwOverflow();
    // Shortest fixed notation that reads back as the same double; the
    // smallest subnormal needs ~330 characters.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    const auto r = parseNumber(buf, res.ptr, maxScale);
    if (res.ec != std::errc() || !r)
        throwOverflow();
    Decimal d;
    d.m_mant = r->first;
    d.m_scale = r->second;
    while (d.m_scale > 0 && d.m_mant % 10 == 0) {
        d.m_mant /= 10;
        --d.m_scale;
    }
    return d;
}

QString Decimal::toString() const
{
    char buf[48];
    const int len = writePlain(m_mant, m_scale, buf);
    return QString::fromLatin1(buf, len);
}

double Decimal::toDouble() const
{
    char buf[48];
    const int len = writePlain(m_mant, m_scale, buf);
    double d = 0;
    std::from_chars(buf, buf + len, d);
    return d;
}

qint64 Decimal::toInt64() const
{
    const u128 q = magnitude(m_mant) / kPow10.v[m_scale];
    const u128 limit = m_mant < 0 ? (u128(1) << 63) : (u128(1) << 63) - 1;
    if (q > limit)
        throw std::overflow_error("Decimal: does not fit in 64 bits");
    return m_mant < 0 ? qint64(-i128(q)) : qint64(q);
}

Decimal Decimal::rescaled(int n) const
{
    checkScale(n);
    Decimal r;
    r.m_scale = n;
    const u128 mag = magnitude(m_mant);
    if (n >= m_scale) {
        u128 up;
        if (!mulPow10(mag, n - m_scale, up))
            throwOverflow();
        r.m_mant = withSign(up, m_mant < 0);
    } else {
        r.m_mant = withSign(divPow10HalfAway(mag, m_scale - n), m_mant < 0);
    }
    return r;
}

Decimal Decimal::truncated(int n) const
{
    if (n >= m_scale)
        return rescaled(n);
    checkScale(n);
    Decimal r;
    r.m_scale = n;
    r.m_mant = withSign(magnitude(m_mant) / kPow10.v[m_scale - n], m_mant < 0);
    return r;
}

Decimal Decimal::divide(const Decimal &divisor, int scale) const
{
    checkScale(scale);
    if (divisor.isZero())
        throw std::domain_error("Decimal: division by zero");
    // (a / 10^sa) / (b / 10^sb) * 10^scale = a * 10^(sb + scale - sa) / b
    const int e = divisor.m_scale + scale - m_scale;
    U256 n = U256::from(magnitude(m_mant));
    U256 d = U256::from(magnitude(divisor.m_mant));
    if (e >= 0)
        n.mulPow10(e);
    else
        d.mulPow10(-e);
    Decimal r;
    r.m_scale = scale;
    r.m_mant = withSign(divHalfAway(n, d).toMagnitude(), (m_mant < 0) != (divisor.m_mant < 0));
    return r;
}

Decimal operator+(const Decimal &a, const Decimal &b)
{
    const int s = std::max(a.m_scale, b.m_scale);
    const Decimal x = a.rescaled(s), y = b.rescaled(s);
    i128 sum;
    if (__builtin_add_overflow(x.m_mant, y.m_mant, &sum))
        throwOverflow();
    Decimal r;
    r.m_scale = s;
    r.m_mant = withSign(magnitude(sum), sum < 0);
    return r;
}

Decimal operator-(const Decimal &a, const Decimal &b)
{
    return a + (-b);
}

Decimal operator*(const Decimal &a, const Decimal &b)
{
    U256 p = U256::mul(magnitude(a.m_mant), magnitude(b.m_mant));
    int s = a.m_scale + b.m_scale;
    if (s > Decimal::kMaxScale) {
        p = divHalfAway(p, U256::from(kPow10.v[s - Decimal::kMaxScale]));
        s = Decimal::kMaxScale;
    }
    Decimal r;
    r.m_scale = s;
    r.m_mant = withSign(p.toMagnitude(), (a.m_mant < 0) != (b.m_mant < 0));
    return r;
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b) noexcept
{
    if (a.sign() != b.sign())
        return a.sign() <=> b.sign();
    u128 x = magnitude(a.m_mant), y = magnitude(b.m_mant);
    std::strong_ordering mag = std::strong_ordering::equal;
    // If bringing one side to the other's scale overflows, that side is the
    // larger one: the other magnitude is below 10^38 by construction.
    if (a.m_scale < b.m_scale && !mulPow10(x, b.m_scale - a.m_scale, x))
        mag = std::strong_ordering::greater;
    else if (b.m_scale < a.m_scale && !mulPow10(y, a.m_scale - b.m_scale, y))
        mag = std::strong_ordering::less;
    else
        mag = x <=> y;
    if (a.sign() < 0)
        return 0 <=> mag;
    return mag;
}

Decimal decimalFromVariant(const QVariant &v, bool *ok)
{
    if (ok)
        *ok = true;
    if (!v.isValid() || v.isNull())
        return Decimal();
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Char:
    case QMetaType::SChar:
        return Decimal(v.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return Decimal(v.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return Decimal::fromDouble(v.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = v.toString();
        if (s.trimmed().isEmpty())
            return Decimal();
        return Decimal::fromString(s, ok);
    }
    default:
        break;
    }
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return v.value<Decimal>();
    if (ok)
        *ok = false;
    return Decimal();
}
