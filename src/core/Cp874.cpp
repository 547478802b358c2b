#include "core/Cp874.h"

#include <array>

namespace {

constexpr char16_t kUndefinedHigh = 0xF700; // private-use base for 0xDB.. and 0xFC..

constexpr std::array<char16_t, 128> buildHighTable()
{
    std::array<char16_t, 128> t{};
    for (int b = 0x80; b <= 0xFF; ++b) {
        char16_t u = 0;
        if (b >= 0xA1 && b <= 0xDA)
            u = char16_t(0x0E01 + (b - 0xA1));
        else if (b >= 0xDF && b <= 0xFB)
            u = char16_t(0x0E3F + (b - 0xDF));
        else if (b < 0xA0)
            u = char16_t(b); // undefined C1 slot keeps its own value
        else
            u = char16_t(kUndefinedHigh + b);
        t[std::size_t(b - 0x80)] = u;
    }
    t[0x80 - 0x80] = 0x20AC; // euro sign
    t[0x85 - 0x80] = 0x2026; // ellipsis
    t[0x91 - 0x80] = 0x2018;
    t[0x92 - 0x80] = 0x2019;
    t[0x93 - 0x80] = 0x201C;
    t[0x94 - 0x80] = 0x201D;
    t[0x95 - 0x80] = 0x2022; // bullet
    t[0x96 - 0x80] = 0x2013; // en dash
    t[0x97 - 0x80] = 0x2014; // em dash
    t[0xA0 - 0x80] = 0x00A0; // no-break space
    return t;
}

constexpr std::array<char16_t, 128> kHigh = buildHighTable();

} // namespace

int cp874Byte(char16_t u)
{
    if (u < 0x80)
        return u;
    if (u >= 0x0E01 && u <= 0x0E3A)
        return 0xA1 + (u - 0x0E01);
    if (u >= 0x0E3F && u <= 0x0E5B)
        return 0xDF + (u - 0x0E3F);
    switch (u) {
    case 0x20AC: return 0x80;
    case 0x2026: return 0x85;
    case 0x2018: return 0x91;
    case 0x2019: return 0x92;
    case 0x201C: return 0x93;
    case 0x201D: return 0x94;
    case 0x2022: return 0x95;
    case 0x2013: return 0x96;
    case 0x2014: return 0x97;
    case 0x00A0: return 0xA0;
    default: break;
    }
    // Only the code points the undefined bytes decode to map back; U+0080,
    // U+0085 and U+0091..U+0097 belong to bytes that have a real character.
    if (u >= 0x81 && u <= 0x9F)
        return kHigh[u - 0x80] == u ? int(u) : -1;
    if ((u >= kUndefinedHigh + 0xDB && u <= kUndefinedHigh + 0xDE)
        || (u >= kUndefinedHigh + 0xFC && u <= kUndefinedHigh + 0xFF))
        return u - kUndefinedHigh;
    return -1;
}

QByteArray toCp874(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size()
            && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i; // one character outside the code page: one '?'
            out.append('?');
            continue;
        }
        const int b = cp874Byte(u);
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

QString fromCp874(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = QChar(b < 0x80 ? char16_t(b) : kHigh[b - 0x80]);
    }
    return out;
}
