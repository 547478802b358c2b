#include "Connection.h"
#include "DbError.h"
#include "core/Decimal.h"
#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QRegularExpression>

namespace {

QString qtConnectionName(const QString &name)
{
    static QAtomicInteger<int> counter;
    // The counter's address tells apart the copies of this code in the program
    // and in the print library, which share Qt's one list of connection names.
    return QStringLiteral("qlx_%1_%2_%3").arg(name).arg(quintptr(&counter), 0, 16).arg(counter.fetchAndAddRelaxed(1));
}

QString sqliteFile(const DbSettings &s, const QString &stored)
{
    return QDir(s.dataDir).filePath(stored + QStringLiteral(".db"));
}

QString physicalName(const DbSettings &s, const QString &name)
{
    return s.dbPrefix + name.trimmed().toLower();
}

// A short-lived connection for server-level statements (the server's own catalogue).
struct ServerSession
{
    QString qtName;
    QSqlDatabase db;
    explicit ServerSession(const DbSettings &s)
    {
        qtName = qtConnectionName(QStringLiteral("server"));
        db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), qtName);
        db.setHostName(s.host.trimmed());
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(s.connectTimeoutSeconds));
        if (!db.open())
            throw DbError(normaliseEngineError(s.engine, db.lastError()), db.lastError().nativeErrorCode());
    }
    QSqlQuery exec(const QString &sql)
    {
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw DbError(normaliseEngineError(EngineKind::Postgres, q.lastError()), q.lastError().nativeErrorCode());
        return q;
    }
    ~ServerSession()
    {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(qtName);
    }
};

QString quoteIdent(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

} // namespace

QString normaliseEngineError(EngineKind engine, const QSqlError &error)
{
    const QString text = (error.databaseText() + QLatin1Char(' ') + error.driverText()).trimmed();
    const QString code = error.nativeErrorCode();
    QString lead;
    static const QRegularExpression sqliteNull(QStringLiteral("NOT NULL constraint failed: (\\w+)\\.(\\w+)"));
    static const QRegularExpression pgNull(QStringLiteral("null value in column \"(\\w+)\"(?: of relation \"(\\w+)\")?"));
    if (engine == EngineKind::Sqlite) {
        if (auto m = sqliteNull.match(text); m.hasMatch())
            lead = QStringLiteral("Cannot insert the value NULL into column '%1', table '%2'; column does not allow nulls.")
                       .arg(m.captured(2), m.captured(1));
        else if (text.contains(QLatin1String("UNIQUE constraint failed")) || text.contains(QLatin1String("PRIMARY KEY must be unique")))
            lead = QStringLiteral("Cannot insert duplicate key row.");
        else if (text.contains(QLatin1String("FOREIGN KEY constraint failed")))
            lead = QStringLiteral("DELETE statement conflicted with COLUMN REFERENCE constraint.");
        else if (text.contains(QLatin1String("database is locked")))
            lead = QStringLiteral("SQL Server connection timed out.");
        else if (text.contains(QLatin1String("unable to open database")) || text.contains(QLatin1String("disk I/O error")))
            lead = QStringLiteral("Possible network error.");
    } else {
        if (code == QLatin1String("23502")) {
            auto m = pgNull.match(text);
            lead = QStringLiteral("Cannot insert the value NULL into column '%1', table '%2'; column does not allow nulls.")
                       .arg(m.captured(1), m.captured(2));
        } else if (code == QLatin1String("23505")) {
            lead = QStringLiteral("Cannot insert duplicate key row.");
        } else if (code == QLatin1String("23503")) {
            lead = QStringLiteral("DELETE statement conflicted with COLUMN REFERENCE constraint.");
        } else if (code == QLatin1String("57014")) {
            lead = QStringLiteral("SQL Server connection timed out.");
        } else if (code.startsWith(QLatin1String("08")) || text.contains(QLatin1String("server closed the connection"))
                   || text.contains(QLatin1String("no connection to the server")) || text.contains(QLatin1String("could not connect"))
                   || text.contains(QLatin1String("could not translate host name")) || text.contains(QLatin1String("Connection refused"))
                   || text.contains(QLatin1String("timeout expired"))) {
            lead = QStringLiteral("Possible network error.");
        }
    }
    return lead.isEmpty() ? text : lead + QLatin1Char(' ') + text;
}

// ---------------------------------------------------------------- Engine

QStringList Engine::listDatabases(const DbSettings &s)
{
    QStringList out;
    if (s.engine == EngineKind::Sqlite) {
        const auto files = QDir(s.dataDir).entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
        for (const auto &f : files)
            out << f.completeBaseName();
        return out;
    }
    ServerSession server(s);
    auto q = server.exec(QStringLiteral("SELECT datname FROM pg_database WHERE NOT datistemplate ORDER BY datname"));
    while (q.next()) {
        const QString n = q.value(0).toString();
        if (n.startsWith(s.dbPrefix) && (s.dbPrefix.isEmpty() ? n != QLatin1String("postgres") : true))
            out << n.mid(s.dbPrefix.size());
    }
    return out;
}

QString Engine::resolveDatabase(const QString &name, const DbSettings &s)
{
    const QString wanted = name.trimmed();
    for (const auto &n : listDatabases(s))
        if (n.compare(wanted, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

void Engine::createDatabase(const QString &name, const DbSettings &s)
{
    if (s.engine == EngineKind::Sqlite) {
        QDir().mkpath(s.dataDir);
        const QString conn = qtConnectionName(QStringLiteral("create"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
            db.setDatabaseName(sqliteFile(s, name.trimmed()));
            if (!db.open())
                throw DbError(normaliseEngineError(s.engine, db.lastError()));
            QSqlQuery q(db);
            q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
            db.close();
        }
        QSqlDatabase::removeDatabase(conn);
        return;
    }
    {
        ServerSession server(s);
        server.exec(QStringLiteral("CREATE DATABASE ") + quoteIdent(physicalName(s, name)) + QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0"));
    }
    // Text columns are citext; the extension is trusted, so the owner may add it.
    Connection c(QStringLiteral("create"));
    c.setDatabaseName(name);
    c.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext"));
    // Trigram indexes make the look-ups' contains-matches fast; a server without the
    // extension still works, only slower.
    try {
        c.exec(QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
    } catch (const DbError &) {
    }
}

void Engine::dropDatabase(const QString &name, const DbSettings &s)
{
    if (s.engine == EngineKind::Sqlite) {
        const QString stored = resolveDatabase(name, s);
        if (stored.isEmpty())
            return;
        const QString f = sqliteFile(s, stored);
        QFile::remove(f);
        QFile::remove(f + QStringLiteral("-wal"));
        QFile::remove(f + QStringLiteral("-shm"));
        return;
    }
    ServerSession server(s);
    server.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoteIdent(physicalName(s, name)) + QStringLiteral(" WITH (FORCE)"));
}

void Engine::copyDatabase(const QString &source, const QString &target, const DbSettings &from, const DbSettings &to)
{
    if (from.engine == EngineKind::Sqlite) {
        const QString stored = resolveDatabase(source, from);
        if (stored.isEmpty())
            throw DbError(QStringLiteral("Database %1 does not exist.").arg(source));
        QDir().mkpath(to.dataDir);
        const QString dest = sqliteFile(to, target.trimmed());
        QFile::remove(dest);
        if (!QFile::copy(sqliteFile(from, stored), dest))
            throw DbError(QStringLiteral("Cannot copy database %1 to %2.").arg(source, target));
        QFile::setPermissions(dest, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        return;
    }
    ServerSession server(to);
    server.exec(QStringLiteral("CREATE DATABASE ") + quoteIdent(physicalName(to, target)) + QStringLiteral(" TEMPLATE ")
                + quoteIdent(physicalName(from, source)) + QStringLiteral(" STRATEGY FILE_COPY"));
}

// ---------------------------------------------------------------- Connection

Connection::Connection(const QString &name)
    : m_name(name), m_qtName(qtConnectionName(name)), m_settings(DbSettings::current()),
      m_dialect(Dialect::create(m_settings.engine))
{
}

Connection::~Connection()
{
    close();
    QSqlDatabase::removeDatabase(m_qtName);
}

QSqlDatabase Connection::database()
{
    if (!m_open)
        open();
    return QSqlDatabase::database(m_qtName, false);
}

void Connection::open()
{
    if (m_open || m_opening)
        return;
    m_opening = true;
    struct Reset { bool &b; ~Reset() { b = false; } } reset{m_opening};
    if (beforeConnect)
        beforeConnect(*this);

    QSqlDatabase db = QSqlDatabase::contains(m_qtName)
        ? QSqlDatabase::database(m_qtName, false)
        : QSqlDatabase::addDatabase(m_settings.engine == EngineKind::Postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), m_qtName);
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (m_settings.engine == EngineKind::Sqlite) {
        const QString stored = Engine::resolveDatabase(m_databaseName, m_settings);
        if (stored.isEmpty())
            throw DbError(QStringLiteral("Possible network error. Cannot open database \"%1\" requested by the login. The login failed.")
                              .arg(m_databaseName.trimmed()));
        db.setDatabaseName(sqliteFile(m_settings, stored));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_settings.statementTimeoutSeconds * 1000));
    } else {
        db.setHostName(m_settings.host.trimmed());
        db.setPort(m_settings.port);
        db.setUserName(m_settings.user);
        db.setPassword(m_settings.password);
        db.setDatabaseName(physicalName(m_settings, m_databaseName));
        db.setConnectOptions(QStringLiteral("connect_timeout=%1").arg(m_settings.connectTimeoutSeconds));
    }
    if (!db.open())
        throw DbError(normaliseEngineError(m_settings.engine, db.lastError()), db.lastError().nativeErrorCode());
    m_open = true;
    if (m_settings.engine == EngineKind::Sqlite) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    } else {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SET client_min_messages TO warning"));
        q.exec(QStringLiteral("SET statement_timeout = %1").arg(m_settings.statementTimeoutSeconds * 1000));
    }
    if (afterConnect)
        afterConnect(*this);
}

void Connection::close()
{
    if (!QSqlDatabase::contains(m_qtName))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_qtName, false);
    db.close();
    m_open = false;
    m_inTransaction = false;
}

void Connection::fail(const QSqlError &error, const QString &sql)
{
    QString msg = normaliseEngineError(m_settings.engine, error);
    if (msg.startsWith(QLatin1String("Possible network error")) && m_settings.engine == EngineKind::Postgres) {
        // The link is gone: the next statement opens a new one.
        close();
    }
    Q_UNUSED(sql);
    throw DbError(msg, error.nativeErrorCode());
}

QSqlQuery Connection::run(const QString &sql, const Params &params)
{
    QSqlQuery q(database());
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (params.isEmpty()) {
        if (!q.exec(sql))
            fail(q.lastError(), sql);
        return q;
    }
    if (!q.prepare(sql))
        fail(q.lastError(), sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        const QVariant &v = it.value();
        if (v.metaType() == QMetaType::fromType<Decimal>())
            q.bindValue(QLatin1Char(':') + it.key(), v.value<Decimal>().toString());
        else
            q.bindValue(QLatin1Char(':') + it.key(), v);
    }
    if (!q.exec())
        fail(q.lastError(), sql);
    return q;
}

QSqlQuery Connection::exec(const QString &sql, const Params &params)
{
    return run(sql, params);
}

QVariant Connection::scalar(const QString &sql, const Params &params)
{
    auto q = run(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

qint64 Connection::insertReturningId(const QString &insertSql, const Params &params, const QString &idColumn)
{
    auto q = run(insertSql + m_dialect->returningId(idColumn), params);
    if (!q.next())
        throw DbError(QStringLiteral("The insert returned no key."));
    return q.value(0).toLongLong();
}

void Connection::execScript(const QString &script)
{
    const auto parts = script.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const auto &p : parts)
        if (!p.trimmed().isEmpty())
            run(p, {});
}

void Connection::startTransaction()
{
    if (m_inTransaction)
        throw DbError(QStringLiteral("A transaction is already active on %1.").arg(m_name));
    run(m_dialect->beginTransactionSql(), {});
    m_inTransaction = true;
}

void Connection::commit()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    run(QStringLiteral("COMMIT"), {});
}

void Connection::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (m_open)
        run(QStringLiteral("ROLLBACK"), {});
}

QDate dbDate(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate();
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString s = v.toString();
    return QDate::fromString(s.left(10), Qt::ISODate);
}

QDateTime dbDateTime(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate)
        return v.toDate().startOfDay();
    QString s = v.toString();
    s.replace(QLatin1Char(' '), QLatin1Char('T'));
    QDateTime d = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!d.isValid())
        d = QDateTime::fromString(s, Qt::ISODate);
    return d;
}

QString dbText(const QVariant &v)
{
    return v.isNull() ? QString() : v.toString();
}
