#include "Dialect.h"
#include "Connection.h"
#include <QSqlQuery>

QString Dialect::columnDdl(const ColumnDef &c) const
{
    QString s = c.name + QLatin1Char(' ') + columnType(c);
    if (c.type == ColType::IdNo)
        return s;
    if (c.notNull)
        s += QStringLiteral(" NOT NULL");
    if (!c.defaultValue.isEmpty())
        s += QStringLiteral(" DEFAULT ") + c.defaultValue;
    return s;
}

QStringList Dialect::createTableDdl(const TableDef &t) const
{
    QStringList cols;
    for (const auto &c : t.columns)
        cols << columnDdl(c);
    QStringList out;
    out << QStringLiteral("CREATE TABLE ") + t.name + QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QLatin1Char(')');
    for (const auto &ix : t.indexes) {
        if (ix.trigram) {
            // Only where the extension could be added to the database; without it the
            // contains-matches still work, by a full scan.
            if (kind() == EngineKind::Postgres && ix.columns.size() == 1)
                out << QStringLiteral("DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_extension WHERE extname = 'pg_trgm') THEN "
                                      "EXECUTE 'CREATE INDEX %1 ON %2 USING gin ((CAST(%3 AS TEXT)) gin_trgm_ops)'; END IF; END $$")
                           .arg(ix.name, t.name, ix.columns.first());
            continue;
        }
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), ix.name, t.name, ix.columns.join(QStringLiteral(", ")));
    }
    return out;
}

void Dialect::addColumn(Connection &conn, const QString &table, const ColumnDef &column) const
{
    if (hasColumn(conn, table, column.name))
        return;
    conn.exec(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD ") + columnDdl(column));
}

namespace {

class SqliteDialect final : public Dialect
{
public:
    EngineKind kind() const override { return EngineKind::Sqlite; }
    QString columnType(const ColumnDef &c) const override
    {
        switch (c.type) {
        case ColType::IdNo: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        case ColType::Integer: return QStringLiteral("INTEGER");
        case ColType::BigInt: return QStringLiteral("INTEGER");
        case ColType::CharFlag: return QStringLiteral("CHAR(1) COLLATE NOCASE");
        case ColType::Char: return QStringLiteral("CHAR(%1) COLLATE NOCASE").arg(c.size);
        case ColType::VarChar: return QStringLiteral("VARCHAR(%1) COLLATE NOCASE").arg(c.size);
        case ColType::Memo: return QStringLiteral("TEXT COLLATE NOCASE");
        // NUMERIC affinity: values of up to 15 significant digits come back exactly
        // through the shortest round-trip text, which is what the program reads.
        case ColType::Decimal: return QStringLiteral("NUMERIC(%1,%2)").arg(c.size).arg(c.scale);
        case ColType::Date: return QStringLiteral("DATE");
        case ColType::DateTime: return QStringLiteral("DATETIME");
        case ColType::Blob: return QStringLiteral("BLOB");
        }
        return {};
    }
    bool hasTable(Connection &conn, const QString &table) const override
    {
        auto q = conn.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND UPPER(name) = :n"),
                           {{QStringLiteral("n"), table.trimmed().toUpper()}});
        return q.next();
    }
    bool hasColumn(Connection &conn, const QString &table, const QString &column) const override
    {
        auto q = conn.exec(QStringLiteral("SELECT 1 FROM sqlite_master m, pragma_table_info(m.name) c "
                                          "WHERE m.type = 'table' AND UPPER(m.name) = :t AND UPPER(c.name) = :c"),
                           {{QStringLiteral("t"), table.trimmed().toUpper()}, {QStringLiteral("c"), column.trimmed().toUpper()}});
        return q.next();
    }
    QString serverTimeExpr() const override { return QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')"); }
    QString currentYearExpr() const override { return QStringLiteral("CAST(strftime('%Y', 'now', 'localtime') AS INTEGER)"); }
    // IMMEDIATE takes the write lock at once, so two writers queue on the busy
    // time-out instead of failing when the second one upgrades from reading.
    QString beginTransactionSql() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    QString zeroPad(const QString &expr, int width) const override
    {
        return QStringLiteral("printf('%0") + QString::number(width) + QStringLiteral("d', ") + expr + QLatin1Char(')');
    }
    QString castText(const QString &expr) const override { return QStringLiteral("CAST(%1 AS TEXT)").arg(expr); }
};

class PostgresDialect final : public Dialect
{
public:
    EngineKind kind() const override { return EngineKind::Postgres; }
    QString columnType(const ColumnDef &c) const override
    {
        // citext: the suite's server compares text without regard to letter case.
        switch (c.type) {
        case ColType::IdNo: return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case ColType::Integer: return QStringLiteral("INTEGER");
        case ColType::BigInt: return QStringLiteral("BIGINT");
        case ColType::CharFlag:
        case ColType::Char:
        case ColType::VarChar:
        case ColType::Memo: return QStringLiteral("CITEXT");
        case ColType::Decimal: return QStringLiteral("NUMERIC(%1,%2)").arg(c.size).arg(c.scale);
        case ColType::Date: return QStringLiteral("DATE");
        case ColType::DateTime: return QStringLiteral("TIMESTAMP(3)");
        case ColType::Blob: return QStringLiteral("BYTEA");
        }
        return {};
    }
    bool hasTable(Connection &conn, const QString &table) const override
    {
        auto q = conn.exec(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                          "AND UPPER(table_name) = :n"),
                           {{QStringLiteral("n"), table.trimmed().toUpper()}});
        return q.next();
    }
    bool hasColumn(Connection &conn, const QString &table, const QString &column) const override
    {
        auto q = conn.exec(QStringLiteral("SELECT 1 FROM information_schema.columns WHERE table_schema = current_schema() "
                                          "AND UPPER(table_name) = :t AND UPPER(column_name) = :c"),
                           {{QStringLiteral("t"), table.trimmed().toUpper()}, {QStringLiteral("c"), column.trimmed().toUpper()}});
        return q.next();
    }
    QString serverTimeExpr() const override { return QStringLiteral("LOCALTIMESTAMP(3)"); }
    QString currentYearExpr() const override { return QStringLiteral("CAST(EXTRACT(YEAR FROM LOCALTIMESTAMP) AS INTEGER)"); }
    QString beginTransactionSql() const override { return QStringLiteral("BEGIN"); }
    QString zeroPad(const QString &expr, int width) const override
    {
        return QStringLiteral("LPAD(CAST(") + expr + QStringLiteral(" AS TEXT), ") + QString::number(width) + QStringLiteral(", '0')");
    }
    QString castText(const QString &expr) const override { return QStringLiteral("CAST(%1 AS TEXT)").arg(expr); }
};

} // namespace

std::unique_ptr<Dialect> Dialect::create(EngineKind kind)
{
    if (kind == EngineKind::Postgres)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}
