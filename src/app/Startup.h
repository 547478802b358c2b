#pragma once
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct KeywordEntry
{
    const char *keyword;
    const char *windowClass;
    QVariant mode; // invalid: the window keeps its own
};
const std::vector<KeywordEntry> &keywordTable();

// Runs the host with the menu program's arguments (without the program name) in an
// existing application object. Returns the process exit code.
int runHost(const QStringList &args, const QElapsedTimer &sinceStart);
