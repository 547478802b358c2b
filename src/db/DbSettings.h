#pragma once
#include <QString>

enum class EngineKind { Sqlite, Postgres };

// Where and how databases are reached. Read from qlxhost.ini beside Server.Dat
// (the process's current directory), then overridden by QLX_* environment
// variables so that tests and scripts can point the program elsewhere.
struct DbSettings
{
    EngineKind engine = EngineKind::Sqlite;
    QString dataDir;            // SQLite: one file per database name
    QString host;               // server engines: the first line of Server.Dat
    int port = 5432;
    QString user = QStringLiteral("qlx");
    QString password = QStringLiteral("marlitov"); // the suite's fixed login; never printed
    QString dbPrefix;           // server engines: physical name = prefix + lower-case name
    int connectTimeoutSeconds = 10;
    int statementTimeoutSeconds = 600;

    static DbSettings load(const QString &folder = QString());
    static const DbSettings &current();
    static void setCurrent(const DbSettings &settings);
    QString engineName() const;
};

// The first line of Server.Dat, untrimmed; empty when the file is missing or unreadable.
QString ReadServerName();
