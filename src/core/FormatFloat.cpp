#include "FormatFloat.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace {

using u128 = unsigned __int128;

template <typename Ch>
struct Section
{
    const Ch *b = nullptr;
    const Ch *e = nullptr;
    bool empty() const { return b == e; }
};

// What the placeholders of one section ask for.
struct Layout
{
    int intPlaces = 0;  // '0'/'#' before the point
    int intMin = 0;     // from the first '0' on, printed even when not significant
    int fracPlaces = 0; // '0'/'#' after the point
    int fracMin = 0;    // up to the last '0': kept even when trailing zeros
    bool hasPoint = false;
    bool thousands = false;
};

bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }

template <typename Ch>
int splitSections(const Ch *b, const Ch *e, Section<Ch> (&out)[3])
{
    int n = 0;
    const Ch *start = b;
    char16_t quote = 0;
    for (const Ch *p = b; p != e; ++p) {
        const char16_t c = char16_t(*p);
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == u';') {
            out[n++] = {start, p};
            start = p + 1;
            if (n == 3)
                return n; // anything after a third ';' is ignored
        }
    }
    out[n++] = {start, e};
    return n;
}

template <typename Ch>
Layout analyse(Section<Ch> s)
{
    Layout l;
    bool afterPoint = false;
    int firstZero = -1;
    char16_t quote = 0;
    for (const Ch *p = s.b; p != s.e; ++p) {
        const char16_t c = char16_t(*p);
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        switch (c) {
        case u'"':
        case u'\'':
            quote = c;
            break;
        case u'0':
            if (afterPoint) {
                l.fracMin = ++l.fracPlaces;
            } else {
                if (firstZero < 0)
                    firstZero = l.intPlaces;
                ++l.intPlaces;
            }
            break;
        case u'#':
            ++(afterPoint ? l.fracPlaces : l.intPlaces);
            break;
        case u'.':
            if (!l.hasPoint)
                l.hasPoint = afterPoint = true;
            break;
        case u',':
            l.thousands = true;
            break;
        default:
            break;
        }
    }
    l.intMin = firstZero < 0 ? 0 : l.intPlaces - firstZero;
    return l;
}

template <typename Ch>
void appendLiteral(QString &out, Ch c)
{
    out.append(QChar(char16_t(c)));
}

// Writes the section with `value` already rounded to its decimals.
template <typename Ch>
void render(QString &out, Section<Ch> s, const Layout &l, const Decimal &value, bool minus)
{
    // Digits of the integer part (most significant first) and the decimals.
    const int scale = value.scale();
    u128 mag = value.mantissa() < 0 ? u128(0) - u128(value.mantissa()) : u128(value.mantissa());
    char frac[Decimal::kMaxScale];
    for (int i = scale - 1; i >= 0; --i) {
        frac[i] = char('0' + int(mag % 10));
        mag /= 10;
    }
    char intDigits[Decimal::kMaxDigits + 1];
    int nDigits = 0;
    for (; mag != 0; mag /= 10)
        intDigits[nDigits++] = char('0' + int(mag % 10)); // reversed
    const int nInt = std::max(nDigits, l.intMin); // shown incl. leading zeros

    auto fracDigit = [&](int k) { return k < scale ? frac[k] : '0'; };
    int nFrac = l.fracPlaces;
    while (nFrac > l.fracMin && fracDigit(nFrac - 1) == '0')
        --nFrac;

    bool signPending = minus;
    auto startNumber = [&] {
        if (signPending) {
            out.append(QLatin1Char('-'));
            signPending = false;
        }
    };
    // Integer digit i (0 = leftmost of nInt), with its group separator.
    auto emitInt = [&](int i) {
        startNumber();
        if (l.thousands && i > 0 && (nInt - i) % 3 == 0)
            out.append(QLatin1Char(','));
        const int fromRight = nInt - 1 - i;
        out.append(QLatin1Char(fromRight < nDigits ? intDigits[fromRight] : '0'));
    };

    int intSeen = 0, fracSeen = 0;
    bool afterPoint = false;
    char16_t quote = 0;
    for (const Ch *p = s.b; p != s.e; ++p) {
        const char16_t c = char16_t(*p);
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                appendLiteral(out, *p);
            continue;
        }
        switch (c) {
        case u'"':
        case u'\'':
            quote = c;
            break;
        case u'0':
        case u'#':
            if (afterPoint) {
                if (fracSeen < nFrac) {
                    startNumber();
                    out.append(QLatin1Char(fracDigit(fracSeen)));
                }
                ++fracSeen;
            } else {
                // Placeholders are matched from the right; the first one also
                // takes every digit the mask has no room for.
                const int i = nInt - l.intPlaces + intSeen;
                if (intSeen == 0) {
                    for (int k = 0; k <= i; ++k)
                        emitInt(k);
                } else if (i >= 0) {
                    emitInt(i);
                }
                ++intSeen;
            }
            break;
        case u'.':
            if (afterPoint)
                break; // only the first point counts
            afterPoint = true;
            if (l.intPlaces == 0) // ".00": integer digits go before the point
                for (int k = 0; k < nInt; ++k)
                    emitInt(k);
            // Optional decimals that all vanished take the point with them;
            // a mask ending in a bare point keeps it.
            if (nFrac > 0 || l.fracPlaces == 0) {
                startNumber();
                out.append(QLatin1Char('.'));
            }
            break;
        case u',':
            break;
        default:
            appendLiteral(out, *p);
            break;
        }
    }
    if (signPending) // the section shows no number at all
        out.prepend(QLatin1Char('-'));
}

// Empty mask: plain digits without trailing zeros.
QString plain(const Decimal &v)
{
    QString s = v.toString();
    if (v.scale() > 0) {
        qsizetype n = s.size();
        while (s.at(n - 1) == u'0')
            --n;
        if (s.at(n - 1) == u'.')
            --n;
        s.truncate(n);
    }
    return s;
}

template <typename Ch>
QString formatWith(const Ch *b, const Ch *e, const Decimal &value)
{
    Section<Ch> sec[3];
    const int n = splitSections(b, e, sec);

    int idx = 0;
    bool minus = false;
    if (value.sign() < 0) {
        if (n >= 2 && !sec[1].empty())
            idx = 1;   // the negative section brings its own sign
        else
            minus = true;
    }
    if (sec[idx].empty())
        return plain(value);

    Layout layout = analyse(sec[idx]);
    const int decimals = std::min(layout.fracPlaces, int(Decimal::kMaxScale));
    Decimal rounded = value.scale() > decimals ? value.rescaled(decimals) : value;
    if (rounded.isZero()) {
        // Also catches negatives that round away: no "-0.00".
        minus = false;
        const int zeroIdx = (n >= 3 && !sec[2].empty()) ? 2 : 0;
        if (zeroIdx != idx) {
            idx = zeroIdx;
            layout = analyse(sec[idx]);
        }
        rounded = Decimal();
    }

    QString out;
    out.reserve((sec[idx].e - sec[idx].b) + 48);
    render(out, sec[idx], layout, rounded, minus);
    return out;
}

QString formatDouble(double value, QStringView mask16, const char *mask8)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    Decimal d;
    try {
        // All the digits of the shortest text, so the mask does the only rounding.
        d = Decimal::fromDouble(value, Decimal::kMaxScale);
    } catch (const std::overflow_error &) {
        return QString::number(value, 'g', 15);
    }
    return mask8 ? formatFloat(mask8, d) : formatFloat(mask16, d);
}

} // namespace

QString formatFloat(QStringView mask, const Decimal &value)
{
    const char16_t *b = mask.utf16();
    return formatWith(b, b + mask.size(), value);
}

QString formatFloat(const char *mask, const Decimal &value)
{
    const size_t len = mask ? std::strlen(mask) : 0;
    for (size_t i = 0; i < len; ++i)
        if (static_cast<unsigned char>(mask[i]) >= 0x80) // non-ASCII literal text
            return formatFloat(QString::fromUtf8(mask, qsizetype(len)), value);
    return formatWith(mask, mask + len, value);
}

QString formatFloat(QStringView mask, double value)
{
    return formatDouble(value, mask, nullptr);
}

QString formatFloat(const char *mask, double value)
{
    return formatDouble(value, {}, mask ? mask : "");
}
