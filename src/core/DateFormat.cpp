#include "DateFormat.h"

namespace {
QString g_format = QStringLiteral("dd/mm/yyyy");
QString g_qtFormat = QStringLiteral("dd/MM/yyyy");

// Day/month/year masks use "m" for months; Qt uses "M".
QString toQtFormat(const QString &f)
{
    QString out = f;
    out.replace(QLatin1Char('m'), QLatin1Char('M'));
    return out;
}
}

void setShortDateFormat(const QString &format)
{
    g_format = format;
    g_qtFormat = toQtFormat(format);
}

const QString &shortDateFormat() { return g_format; }

QString formatShortDate(const QDate &date)
{
    return date.isValid() ? date.toString(g_qtFormat) : QString();
}

QDate parseShortDate(const QString &text, bool *ok)
{
    const QString t = text.trimmed();
    // Accept one- or two-digit days and months as typed, but always a full year.
    const auto parts = t.split(QLatin1Char('/'));
    QDate d;
    if (parts.size() == 3 && parts[2].size() == 4) {
        bool a = false, b = false, c = false;
        int first = parts[0].toInt(&a), second = parts[1].toInt(&b), year = parts[2].toInt(&c);
        if (a && b && c && !parts[0].isEmpty() && parts[0].size() <= 2 && !parts[1].isEmpty() && parts[1].size() <= 2) {
            const bool monthFirst = g_qtFormat.startsWith(QLatin1Char('M'));
            d = monthFirst ? QDate(year, first, second) : QDate(year, second, first);
        }
    }
    if (ok)
        *ok = d.isValid();
    return d;
}
