#pragma once
#include "DbSettings.h"
#include "Dialect.h"
#include "DbError.h"
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>

using Params = QVariantMap;

// Server-level operations: the databases an engine holds, by the names the suite
// uses (matched without regard to case).
namespace Engine {
QStringList listDatabases(const DbSettings &s = DbSettings::current());
// The stored name of a database, matched without regard to case; empty when absent.
QString resolveDatabase(const QString &name, const DbSettings &s = DbSettings::current());
void createDatabase(const QString &name, const DbSettings &s = DbSettings::current());
void dropDatabase(const QString &name, const DbSettings &s = DbSettings::current());
// A new database holding a copy of another (which must have no open connection).
void copyDatabase(const QString &source, const QString &target, const DbSettings &from, const DbSettings &to);
}

// A named connection ("DmCfg", "DMDATA", ...) that opens on its first statement,
// running its before- and after-connect steps around the opening. Statements take
// bound parameters only. Every failure is thrown as DbError.
class Connection
{
public:
    explicit Connection(const QString &name);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &name() const { return m_name; }
    void setDatabaseName(const QString &name) { m_databaseName = name; }
    const QString &databaseName() const { return m_databaseName; }

    // Runs just before the connection opens; may change the database name.
    std::function<void(Connection &)> beforeConnect;
    // Runs just after it opened, already able to run statements.
    std::function<void(Connection &)> afterConnect;

    bool isOpen() const { return m_open; }
    void open();
    void close();

    QSqlQuery exec(const QString &sql, const Params &params = {});
    QVariant scalar(const QString &sql, const Params &params = {});
    // Runs an INSERT and returns the key the database gave the new row.
    qint64 insertReturningId(const QString &insertSql, const Params &params = {}, const QString &idColumn = QStringLiteral("Id"));
    // Runs statements separated by ";" one after another (no parameters).
    void execScript(const QString &script);

    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    const Dialect &dialect() const { return *m_dialect; }
    EngineKind engine() const { return m_settings.engine; }
    QSqlDatabase database();

private:
    QSqlQuery run(const QString &sql, const Params &params);
    [[noreturn]] void fail(const QSqlError &error, const QString &sql);

    QString m_name;
    QString m_qtName;
    QString m_databaseName;
    DbSettings m_settings;
    std::unique_ptr<Dialect> m_dialect;
    bool m_open = false;
    bool m_opening = false;
    bool m_inTransaction = false;
};

// Starts a transaction and rolls it back unless commit() was called.
class Transaction
{
public:
    explicit Transaction(Connection &c) : m_conn(c) { m_conn.startTransaction(); }
    ~Transaction()
    {
        if (!m_done && m_conn.inTransaction()) {
            try { m_conn.rollback(); } catch (...) {}
        }
    }
    void commit() { m_conn.commit(); m_done = true; }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

// Value helpers for what the engines return.
QDate dbDate(const QVariant &v);
QDateTime dbDateTime(const QVariant &v);
QString dbText(const QVariant &v);
