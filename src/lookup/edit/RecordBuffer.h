#pragma once
#include "core/Decimal.h"
#include <QDate>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <functional>

class QSqlQuery;
class QSqlRecord;
class Connection;

// One record being edited by a one-record window: its fields (names matched
// without regard to case), the values as loaded, the values now, and whether
// the record is new. The window writes it with its own statements and then
// calls markStored().
class RecordBuffer : public QObject
{
    Q_OBJECT
public:
    explicit RecordBuffer(QObject *parent = nullptr);

    // Declares the fields of a blank record (all null); the record becomes new.
    void setFields(const QStringList &names);
    QStringList fields() const { return m_names; }
    bool contains(const QString &field) const;

    // Takes the current row of an active query; the record becomes stored.
    void loadRow(const QSqlQuery &query);
    void loadRecord(const QSqlRecord &record);
    // Runs the query and loads its first row. Without a row the record becomes
    // new and blank with the query's columns as its fields; returns false then.
    bool load(Connection &connection, const QString &sql, const QVariantMap &params = {});
    // A blank new record with the same fields, then the given defaults.
    void startNew(const QVariantMap &defaults = {});

    QVariant value(const QString &field) const;
    QVariant originalValue(const QString &field) const;
    // Unknown fields are added, so a window may keep working values here too.
    void setValue(const QString &field, const QVariant &value);
    bool isNull(const QString &field) const;

    QString text(const QString &field) const;       // null gives ""
    Decimal decimal(const QString &field) const;    // null or unreadable gives 0
    QDate date(const QString &field) const;         // null gives an invalid date
    qint64 integer(const QString &field) const;
    bool isYes(const QString &field) const;         // exactly "Y"

    bool isNew() const { return m_new; }
    bool isChanged() const;
    bool isChanged(const QString &field) const;
    QStringList changedFields() const;

    // Every field as a named parameter, plus OLD_<field> for the loaded values.
    QVariantMap params() const;
    // The parameters a statement names, spelled as it spells them (engines
    // report column names in their own case): :Field for the value now,
    // :OLD_Field for the value as loaded.
    QVariantMap paramsFor(const QString &sql) const;

    // After the window wrote the record: loaded values := current, not new.
    void markStored();
    // Back to the loaded values.
    void revert();

signals:
    void valueChanged(const QString &field, const QVariant &value);
    // The whole record was replaced (load, new, revert).
    void reset();

private:
    int indexOf(const QString &field) const;
    int ensureField(const QString &field);

    QStringList m_names;
    QHash<QString, int> m_index; // lower-case name -> position
    QVariantList m_values;
    QVariantList m_original;
    bool m_new = true;
};

// The :name placeholders of a statement (outside quoted text), in order, once each.
QStringList sqlPlaceholders(const QString &sql);
// Fills them from current / original values found by a case-insensitive name.
QVariantMap placeholderParams(const QString &sql, const std::function<QVariant(const QString &field, bool original)> &lookup);

// Values as they are compared for "changed": a Decimal equals the same number
// at another scale, text equals text, null equals null only.
bool sameFieldValue(const QVariant &a, const QVariant &b);
