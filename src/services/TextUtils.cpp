#include "services/TextUtils.h"

#include "core/Cp874.h"

#include <QRandomGenerator>
#include <QSysInfo>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace {

// ---------------------------------------------------------------------------
// Decimal text of a double, rounded half away from zero on its digits, so the
// binary representation error of values like 2.675 does not decide anything.

struct DecimalDigits {
    bool negative = false;
    std::string digits = "0"; // no leading zeros (except the single "0")
    int exp = 0;              // value = digits * 10^exp
};

// Parses the scientific output of std::to_chars ("-d.ddde-XX").
DecimalDigits parseScientific(const char *first, const char *last)
{
    DecimalDigits d;
    d.digits.clear();
    const char *p = first;
    if (p < last && *p == '-') {
        d.negative = true;
        ++p;
    }
    int fractionDigits = 0;
    bool afterPoint = false;
    for (; p < last && *p != 'e'; ++p) {
        if (*p == '.') {
            afterPoint = true;
            continue;
        }
        d.digits.push_back(*p);
        if (afterPoint)
            ++fractionDigits;
    }
    int e = 0;
    if (p < last) {
        ++p; // 'e'
        if (p < last && *p == '+')
            ++p;
        std::from_chars(p, last, e);
    }
    d.exp = e - fractionDigits;
    const auto nz = d.digits.find_first_not_of('0');
    if (nz == std::string::npos) {
        d.digits = "0";
        d.exp = 0;
        return d;
    }
    d.digits.erase(0, nz);
    const auto lastNz = d.digits.find_last_not_of('0');
    d.exp += int(d.digits.size() - 1 - lastNz);
    d.digits.resize(lastNz + 1);
    return d;
}

// Every digit of the binary value (a double has at most 767 significant ones).
DecimalDigits exactDigits(double x)
{
    static thread_local std::array<char, 1100> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                                 std::chars_format::scientific, 780);
    return parseScientific(buf.data(), r.ptr);
}

// The shortest text that reads back as the same double.
DecimalDigits shortestDigits(double x)
{
    std::array<char, 64> buf;
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), x,
                                 std::chars_format::scientific);
    return parseScientific(buf.data(), r.ptr);
}

void incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Rounds at the coarser of `significant` digits and `decimals` decimals.
void roundDigits(DecimalDigits &d, int significant, int decimals)
{
    const int len = int(d.digits.size());
    const int drop = std::max(len - significant, -(d.exp + decimals));
    if (drop <= 0)
        return;
    if (drop > len) {
        d.digits = "0";
    } else {
        const char next = d.digits[std::size_t(len - drop)];
        d.digits.resize(std::size_t(len - drop));
        if (d.digits.empty())
            d.digits = "0";
        if (next >= '5')
            incrementDigits(d.digits);
    }
    d.exp += drop;
}

// Fixed-point text with exactly `decimals` decimals; d must already be rounded.
std::string toFixed(const DecimalDigits &d, int decimals)
{
    std::string n = d.digits;
    if (n != "0")
        n.append(std::size_t(std::max(0, d.exp + decimals)), '0');
    if (int(n.size()) < decimals + 1)
        n.insert(0, std::size_t(decimals + 1 - int(n.size())), '0');
    if (decimals > 0)
        n.insert(n.size() - std::size_t(decimals), 1, '.');
    if (d.negative)
        n.insert(0, 1, '-');
    return n;
}

// ---------------------------------------------------------------------------

// Trim as the code page sees it: blanks and control characters, not the
// no-break space, which is a character of its own there.
QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

struct AmountParts {
    bool ok = false;
    qint64 whole = 0;
    qint64 fraction = 0;
};

// The amount as fixed-point text with at most 18 significant digits, split at
// the point. More than 18 decimals cannot carry information, and capping
// keeps the fraction inside 64 bits.
AmountParts splitAmount(int decimals, double amount)
{
    AmountParts p;
    if (!std::isfinite(amount))
        return p;
    decimals = std::clamp(decimals, 0, 18);
    DecimalDigits d = exactDigits(amount);
    roundDigits(d, 18, decimals);
    const QString s = QString::fromStdString(toFixed(d, decimals)).trimmed();
    const qsizetype dot = s.indexOf(u'.');
    bool ok = false;
    p.whole = TrimLeadingBlanks(dot < 0 ? s : s.left(dot)).toLongLong(&ok);
    if (!ok)
        return p; // beyond 64 bits: no words can be given
    if (dot >= 0)
        p.fraction = s.mid(dot + 1).trimmed().toLongLong();
    p.ok = true;
    return p;
}

bool endsWithAny(const QString &s, std::initializer_list<const char16_t *> tails)
{
    for (const char16_t *t : tails)
        if (s.endsWith(QStringView(t)))
            return true;
    return false;
}

} // namespace

// ---------------------------------------------------------------------------
// Thai

QString ThaiDigitWord(int digit, bool unitsAfterTens, bool tens)
{
    switch (digit) {
    case 1: return unitsAfterTens ? QStringLiteral("เอ็ด") : QStringLiteral("หนึ่ง");
    case 2: return tens ? QStringLiteral("ยี่") : QStringLiteral("สอง");
    case 3: return QStringLiteral("สาม");
    case 4: return QStringLiteral("สี่");
    case 5: return QStringLiteral("ห้า");
    case 6: return QStringLiteral("หก");
    case 7: return QStringLiteral("เจ็ด");
    case 8: return QStringLiteral("แปด");
    case 9: return QStringLiteral("เก้า");
    default: return {};
    }
}

QString ThaiNumberWords(qint64 n)
{
    if (n <= 0)
        return {};
    QString r;
    const qint64 m = n / 1000000;
    if (m >= 1 && m <= 9)
        r += ThaiDigitWord(int(m)) + QStringLiteral("ล้าน");
    else if (m > 9)
        r += ThaiNumberWords(m) + QStringLiteral("ล้าน");

    const int rest = int(n % 1000000);
    static const struct { int divisor; const char16_t *unit; } places[] = {
        {100000, u"แสน"}, {10000, u"หมื่น"}, {1000, u"พัน"}, {100, u"ร้อย"}};
    for (const auto &pl : places) {
        const int digit = rest / pl.divisor % 10;
        if (digit != 0) {
            r += ThaiDigitWord(digit);
            r += QStringView(pl.unit);
        }
    }

    const int t = rest / 10 % 10;
    if (t > 1)
        r += ThaiDigitWord(t, false, true) + QStringLiteral("สิบ");
    else if (t == 1)
        r += QStringLiteral("สิบ");

    const int u = rest % 10;
    if (u != 0) {
        const bool afterPlace = r.isEmpty()
            || endsWithAny(r, {u"ร้อย", u"ล้าน", u"พัน", u"แสน", u"หมื่น"});
        r += ThaiDigitWord(u, !afterPlace, false);
    }
    return r;
}

QString ThaiBahtText(int decimals, double amount)
{
    if (amount == 0.0)
        return {};
    const AmountParts p = splitAmount(decimals, amount);
    if (!p.ok)
        return {};
    QString r = ThaiNumberWords(p.whole) + QStringLiteral("บาท");
    if (p.fraction < 1)
        r += QStringLiteral("ถ้วน");
    else
        r += ThaiNumberWords(p.fraction) + QStringLiteral("สตางค์");
    return r;
}

QString ThaiPointText(int decimals, double amount)
{
    if (amount == 0.0)
        return {};
    const AmountParts p = splitAmount(decimals, amount);
    if (!p.ok)
        return {};
    QString r = ThaiNumberWords(p.whole);
    if (p.fraction >= 1)
        r += QStringLiteral("จุด") + ThaiNumberWords(p.fraction);
    return r;
}

// ---------------------------------------------------------------------------
// English. The doubled blanks ("ONE  HUNDRED ") are what printed documents
// have always shown; they are kept as produced.

QString EnglishWord(int value, bool ones, bool tens)
{
    static const char *const onesWords[] = {"ONE ", "TWO ", "THREE ", "FOUR ", "FIVE ",
                                            "SIX ", "SEVEN ", "EIGHT ", "NINE "};
    static const char *const teens[] = {"TEN ", "ELEVEN ", "TWELVE ", "THIRTEEN ",
                                        "FOURTEEN ", "FIFTEEN ", "SIXTEEN ",
                                        "SEVENTEEN ", "EIGHTEEN ", "NINETEEN ", "TWENTY "};
    static const char *const tensWords[] = {"THIRTY ", "FOURTY ", "FIFTY ", "SIXTY ",
                                            "SEVENTY ", "EIGHTY ", "NINETY "};
    if (ones && value >= 1 && value <= 9)
        return QString::fromLatin1(onesWords[value - 1]);
    if (tens && value >= 10 && value <= 20)
        return QString::fromLatin1(teens[value - 10]);
    if (tens && value >= 30 && value <= 90 && value % 10 == 0)
        return QString::fromLatin1(tensWords[value / 10 - 3]);
    return {};
}

QString EnglishNumberWords(qint64 n)
{
    if (n <= 0)
        return {};
    QString r;
    const qint64 m = n / 1000000;
    if (m >= 1 && m <= 9)
        r += EnglishWord(int(m), true, false) + QLatin1String(" MILLION ");
    else if (m > 9)
        r += EnglishNumberWords(m) + QLatin1String(" MILLION ");

    const int k = int(n % 1000000 / 1000);
    if (k >= 1 && k <= 9)
        r += EnglishWord(k, true, false) + QLatin1String(" THOUSAND ");
    else if (k >= 10 && k <= 90 && k % 10 == 0)
        r += EnglishWord(k, false, true) + QLatin1String(" THOUSAND ");
    else if (k > 0)
        r += EnglishNumberWords(k) + QLatin1String(" THOUSAND ");

    const int h = int(n % 1000 / 100);
    if (h != 0)
        r += EnglishWord(h, true, false) + QLatin1String(" HUNDRED ");

    const int rem = int(n % 100);
    if (rem >= 1 && rem <= 20) {
        r += EnglishWord(rem, rem <= 9, rem >= 10);
    } else {
        if (rem / 10 != 0)
            r += EnglishWord(rem / 10 * 10, false, true);
        if (rem % 10 != 0)
            r += EnglishWord(rem % 10, true, false);
    }
    return r;
}

QString EnglishBahtText(int decimals, double amount)
{
    if (amount == 0.0)
        return {};
    const AmountParts p = splitAmount(decimals, amount);
    if (!p.ok)
        return {};
    QString r = EnglishNumberWords(p.whole) + QLatin1String(" BAHT ");
    if (p.fraction < 1)
        r += QLatin1String(" ONLY");
    else
        r += QLatin1String(" AND ") + EnglishNumberWords(p.fraction) + QLatin1String(" SATANG");
    return r;
}

QString EnglishPointText(int decimals, double amount)
{
    if (amount == 0.0)
        return {};
    const AmountParts p = splitAmount(decimals, amount);
    if (!p.ok)
        return {};
    QString r = EnglishNumberWords(p.whole) + QLatin1Char(' ');
    if (p.fraction < 1)
        r += QLatin1String(" ONLY");
    else
        r += QLatin1String(" POINT ") + EnglishNumberWords(p.fraction) + QLatin1Char(' ');
    return r;
}

// ---------------------------------------------------------------------------

double RoundValue(int precision, int n, double value)
{
    if (!std::isfinite(value))
        return value;
    precision = std::max(precision, 1);
    n = std::clamp(n, 0, 100);

    // The five extra decimals absorb representation noise (2.67499999...)
    // before the deciding digit is read.
    DecimalDigits d = shortestDigits(value);
    roundDigits(d, precision, n + 5);
    std::string s = toFixed(d, n + 5);
    if (s.find('.') == std::string::npos)
        s += ".00";
    s += '0';
    s.resize(s.find('.') + 1 + std::size_t(n) + 1);
    const char decider = s.back();
    s.pop_back(); // cut to n decimals, towards zero
    if (decider >= '5') {
        // one unit of the n-th decimal away from zero: the sign stays in front
        const bool neg = s.front() == '-';
        std::string digits;
        for (char c : s)
            if (c >= '0' && c <= '9')
                digits.push_back(c);
        incrementDigits(digits);
        s = digits;
        if (n > 0)
            s.insert(s.size() - std::size_t(n), 1, '.');
        if (neg)
            s.insert(0, 1, '-');
    }
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    double t = 0;
    std::from_chars(s.data(), s.data() + s.size(), t);
    return t == 0.0 ? 0.0 : t; // no negative zero
}

QString PadLeft(const QString &s, int length, QChar fill)
{
    const QString t = trimBlanks(s);
    length = std::max(length, 0);
    if (t.size() > length)
        return t.left(length);
    return QString(length - t.size(), fill) + t;
}

QString PadRight(const QString &s, int length, QChar fill)
{
    const QString t = trimBlanks(s);
    length = std::max(length, 0);
    if (t.size() > length)
        return t.left(length);
    return t + QString(length - t.size(), fill);
}

QString TrimLeadingBlanks(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    return s.mid(i);
}

int YearOfDate(QDate date)
{
    return date.isValid() ? date.year() : 0;
}

int MonthOfDate(QDate date)
{
    return date.isValid() ? date.month() : 0;
}

// ---------------------------------------------------------------------------
// Workstation identity, for error reports and the session log.

QString GetLocalIP()
{
    const QByteArray host = QSysInfo::machineHostName().toLocal8Bit();
    if (host.isEmpty())
        return {};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM; // one entry per address
    addrinfo *list = nullptr;
    if (::getaddrinfo(host.constData(), nullptr, &hints, &list) != 0 || !list)
        return {};
    QString last;
    for (const addrinfo *a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(a->ai_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            last = QString::fromLatin1(text);
    }
    ::freeaddrinfo(list);
    return last;
}

// ---------------------------------------------------------------------------
// Approval passwords. The scrambling works on the code page 874 bytes of the
// password; the scrambled form is 11 bytes, each kept in one QChar.

QString ScrambleText(const QString &s)
{
    return ScrambleText(s, int(QRandomGenerator::global()->bounded(255)));
}

QString ScrambleText(const QString &s, int firstCode)
{
    QByteArray bytes = toCp874(trimBlanks(s)).left(10);
    if (bytes.size() < 10)
        bytes.append(10 - bytes.size(), ' ');
    QString out(11, Qt::Uninitialized);
    int c = firstCode & 0xFF;
    out[0] = QChar(char16_t(c));
    for (int i = 0; i < 10; ++i) {
        c = (c + static_cast<unsigned char>(bytes[i])) & 0xFF;
        out[i + 1] = QChar(char16_t(c));
    }
    return out;
}

QString UnscrambleText(const QString &s)
{
    QByteArray codes(s.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].unicode() > 0xFF)
            return {};
        codes[i] = char(s[i].unicode());
    }
    // Backwards, so each step still subtracts the stored (scrambled) code.
    for (qsizetype i = codes.size() - 1; i > 0; --i)
        codes[i] = char((static_cast<unsigned char>(codes[i])
                         - static_cast<unsigned char>(codes[i - 1])) & 0xFF);
    return trimBlanks(fromCp874(codes.right(10)));
}

// The scrambled bytes include 0 and values that are not valid UTF-8, which
// neither a PostgreSQL text column (no NUL) nor a UTF-8 column can keep. The
// column therefore holds them as uppercase hexadecimal, two digits a byte
// (22 ASCII characters for a password), identical on SQLite and PostgreSQL.
QString scrambledToStorage(const QString &scrambled)
{
    QByteArray bytes(scrambled.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < scrambled.size(); ++i) {
        if (scrambled[i].unicode() > 0xFF)
            return {};
        bytes[i] = char(scrambled[i].unicode());
    }
    return QString::fromLatin1(bytes.toHex()).toUpper();
}

QString scrambledFromStorage(const QString &stored)
{
    const QString t = stored.trimmed();
    if (t.size() % 2 != 0)
        return {};
    for (QChar ch : t) {
        const char16_t c = ch.unicode();
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            return {};
    }
    return QString::fromLatin1(QByteArray::fromHex(t.toLatin1()));
}
