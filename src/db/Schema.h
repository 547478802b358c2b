#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// The suite's column types. Each engine's dialect turns them into its own DDL.
enum class ColType {
    IdNo,      // identity key, assigned by the database on insert
    Integer,   // 32-bit integer (ids of other rows included)
    BigInt,
    CharFlag,  // one-character "Y"/"N" flag
    Char,      // char(size)
    VarChar,   // varchar(size)
    Memo,      // unbounded text
    Decimal,   // decimal(size, scale)
    Date,
    DateTime,
    Blob
};

struct ColumnDef
{
    QString name;
    ColType type = ColType::VarChar;
    int size = 0;
    int scale = 0;
    bool notNull = false;
    QString defaultValue; // SQL literal, empty for none
};

struct IndexDef
{
    QString name;
    QStringList columns;
    bool unique = false;
    // A trigram index for contains-matches (LIKE '%text%') on one text column, where
    // the engine has them (PostgreSQL with pg_trgm); other engines skip it.
    bool trigram = false;
};

enum class DbRole { Config, Company };

struct TableDef
{
    QString name;
    DbRole role = DbRole::Company;
    std::vector<ColumnDef> columns;
    std::vector<IndexDef> indexes;
    const ColumnDef *column(const QString &name) const;
};

// The catalogue of every table this program expects, for both database roles.
const std::vector<TableDef> &schemaCatalogue();
const TableDef *findTable(DbRole role, const QString &name);
