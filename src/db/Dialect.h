#pragma once
#include "DbSettings.h"
#include "Schema.h"
#include <QString>
#include <QStringList>
#include <memory>

class Connection;
class QSqlDatabase;

// Everything that differs between the engines goes through here; modules write the
// shared SQL subset and bind every value.
class Dialect
{
public:
    virtual ~Dialect() = default;
    virtual EngineKind kind() const = 0;
    virtual QString columnType(const ColumnDef &c) const = 0;
    QString columnDdl(const ColumnDef &c) const;
    QStringList createTableDdl(const TableDef &t) const;

    // Names are compared trimmed and without regard to case, as the suite's server does.
    virtual bool hasTable(Connection &conn, const QString &table) const = 0;
    virtual bool hasColumn(Connection &conn, const QString &table, const QString &column) const = 0;
    void addColumn(Connection &conn, const QString &table, const ColumnDef &column) const;

    virtual QString serverTimeExpr() const = 0;   // current date-time of the server
    virtual QString currentYearExpr() const = 0;  // calendar year of the server's clock
    virtual QString beginTransactionSql() const = 0;
    QString returningId(const QString &idColumn = QStringLiteral("Id")) const { return QStringLiteral(" RETURNING ") + idColumn; }
    // Zero-padded text of an integer expression, for bulk-generated codes.
    virtual QString zeroPad(const QString &expr, int width) const = 0;
    virtual QString castText(const QString &expr) const = 0;

    static std::unique_ptr<Dialect> create(EngineKind kind);
};
