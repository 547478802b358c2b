#pragma once
#include <QDate>
#include <QString>

// The process-wide short date format. Every date the user sees or types goes
// through these, so one setting at start-up governs all modules.
void setShortDateFormat(const QString &format);   // e.g. "dd/mm/yyyy"
const QString &shortDateFormat();                 // as set
QString formatShortDate(const QDate &date);
// Strict: the text must be a real date in the short format, with a four-digit year.
QDate parseShortDate(const QString &text, bool *ok = nullptr);
