#pragma once
#include "core/Decimal.h"
#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

class Connection;

// Rows of a grid held in memory with their pending changes. Loaded from a
// query (or filled by the module for a working list); edited in the grid;
// written by apply(), which runs the module's own statements for every
// pending delete, update and insert inside one transaction. A failed apply
// leaves every pending change exactly as it was.
class CachedGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum class Kind { Text, Integer, Decimal, Date, Flag };
    struct Column
    {
        QString field;
        QString title;
        Kind kind = Kind::Text;
        QString mask;            // display mask of decimals (",0.00")
        bool readOnly = false;
        bool displayOnly = false; // a joined column: shown, never written
        int widthChars = 0;
    };
    enum class RowState { Stored, Inserted, Modified };

    // One row as the statements see it.
    class Row
    {
    public:
        QVariant value(const QString &field) const;
        QVariant original(const QString &field) const;
        // Every field as a parameter, plus OLD_<field> for the loaded values.
        QVariantMap params() const;
        // The parameters the statement names, spelled as it spells them.
        QVariantMap paramsFor(const QString &sql) const;
        RowState state() const { return m_state; }

    private:
        friend class CachedGridModel;
        QVariantMap m_values;   // keys lower case
        QVariantMap m_original; // keys lower case; empty for an inserted row
        QHash<QString, QString> const *m_names = nullptr;
        RowState m_state = RowState::Stored;
    };

    struct Statements
    {
        std::function<void(Connection &, const Row &)> remove;
        std::function<void(Connection &, const Row &)> update;
        // May return the key the database gave the row; it goes into the
        // first key field once the transaction has been committed.
        std::function<QVariant(Connection &, const Row &)> insert;
    };

    explicit CachedGridModel(QObject *parent = nullptr);

    void setColumns(const QList<Column> &columns);
    const QList<Column> &columns() const { return m_columns; }
    int columnOf(const QString &field) const;
    void setColumnReadOnly(const QString &field, bool readOnly);
    // Fields that identify a stored row; their loaded values stay available
    // as OLD_<field> for update and delete.
    void setKeyFields(const QStringList &fields) { m_keyFields = fields; }
    QStringList keyFields() const { return m_keyFields; }
    // A row lacking any of these (null or blank) is dropped at apply.
    void setRequiredFields(const QStringList &fields) { m_requiredFields = fields; }
    // Values a row appended in the grid starts with.
    void setNewRowDefaults(const QVariantMap &defaults);

    // Replaces every row by the query's rows; nothing pending afterwards.
    void load(Connection &connection, const QString &sql, const QVariantMap &params = {});
    // The same for rows the module made itself (a working list).
    void setRows(const QList<QVariantMap> &rows);
    void clear();

    // Rows shown (pending deletes are not).
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // Any field of a shown row, also those without a column.
    QVariant value(int row, const QString &field) const;
    QVariant originalValue(int row, const QString &field) const;
    void setValue(int row, const QString &field, const QVariant &value);
    int appendRow(const QVariantMap &values = {});
    RowState rowState(int row) const;
    const Row &row(int row) const { return m_rows.at(row); }

    bool hasPendingChanges() const;
    int pendingInserts() const;
    int pendingUpdates() const;
    int pendingDeletes() const { return int(m_deleted.size()); }

    // Removes every row lacking a required field (a pending delete for a
    // stored row); returns how many went.
    int dropIncompleteRows();
    // Drops incomplete rows, then writes every pending change in one
    // transaction and commits. On failure the transaction is rolled back, the
    // pending changes stay and the error is thrown on.
    void apply(Connection &connection, const Statements &statements);
    // For a module that writes more in the same transaction: write() runs the
    // statements inside the caller's transaction; after the caller committed
    // it calls acceptWritten(); after a rollback it simply does not.
    void write(Connection &connection, const Statements &statements);
    void acceptWritten();
    // Forgets every pending change: back to the rows as loaded.
    void cancelPending();

signals:
    void rowsApplied();

private:
    Row makeRow(const QVariantMap &values, RowState state) const;
    QString key(const QString &field) const { return field.toLower(); }
    void noteName(const QString &field);
    bool isBlank(const QVariant &v) const;
    QVariant normalised(Kind kind, const QVariant &v) const;

    QList<Column> m_columns;
    QStringList m_keyFields{QStringLiteral("Id")};
    QStringList m_requiredFields;
    QVariantMap m_defaults;
    QList<Row> m_rows;
    QList<Row> m_deleted;
    QList<Row> m_loaded;   // for cancelPending
    QHash<QString, QString> m_names; // lower case -> spelling first seen
    QList<QPair<int, QVariant>> m_newKeys; // shown row -> key from the database, until accepted
    bool m_written = false;
};
