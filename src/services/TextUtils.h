#pragma once

#include "core/Workstation.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

// Stateless text helpers: amounts in words for printed documents, decimal
// rounding, padding, date parts, workstation identity and the scrambled form
// of approval passwords. "Characters" are code page 874 characters, which for
// representable text is one QChar each.

// Thai word of digit 1..9 (empty for any other digit).
QString ThaiDigitWord(int digit, bool unitsAfterTens = false, bool tens = false);
// Thai words of n; empty for 0 and negative values. Accepts the whole 64-bit
// range (millions recurse), so any part an amount function reads has words.
QString ThaiNumberWords(qint64 n);
// Amount with บาท and สตางค์ (or ถ้วน); empty for an amount of exactly 0.
QString ThaiBahtText(int decimals, double amount);
// Number with a spoken decimal point (จุด), no unit words.
QString ThaiPointText(int decimals, double amount);

// One English word followed by a blank, or empty when value is not in the
// list selected by the flags.
QString EnglishWord(int value, bool ones, bool tens);
QString EnglishNumberWords(qint64 n);
QString EnglishBahtText(int decimals, double amount);
QString EnglishPointText(int decimals, double amount);

// value rounded to n decimals, half away from zero on its decimal text.
double RoundValue(int precision, int n, double value);

QString PadLeft(const QString &s, int length, QChar fill);
QString PadRight(const QString &s, int length, QChar fill);
QString TrimLeadingBlanks(const QString &s);

// 0 for an invalid date.
int YearOfDate(QDate date);
int MonthOfDate(QDate date);

// GetComputerNameText and GetWindowsUserName come from core/Workstation.h.
QString GetLocalIP();

// Scrambled passwords: 11 characters, each QChar holding one byte (U+0000..
// U+00FF). Use scrambledToStorage/scrambledFromStorage for the database column.
QString ScrambleText(const QString &s);
// Same with a chosen first code (taken modulo 256), for reproducible results.
QString ScrambleText(const QString &s, int firstCode);
// Empty when s holds a character above U+00FF (not a scrambled text).
QString UnscrambleText(const QString &s);
QString scrambledToStorage(const QString &scrambled);
// Empty when stored is not an even-length hexadecimal text.
QString scrambledFromStorage(const QString &stored);
