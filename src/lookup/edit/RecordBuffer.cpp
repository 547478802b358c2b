#include "RecordBuffer.h"
#include "db/Connection.h"
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
bool isBlank(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}
bool isDecimal(const QVariant &v) { return v.metaType() == QMetaType::fromType<Decimal>(); }
bool isDateLike(const QVariant &v)
{
    const int t = v.metaType().id();
    return t == QMetaType::QDate || t == QMetaType::QDateTime;
}
}

bool sameFieldValue(const QVariant &a, const QVariant &b)
{
    // An emptied text box is no change to a null field.
    if (isBlank(a) || isBlank(b))
        return isBlank(a) && isBlank(b);
    if (isDecimal(a) || isDecimal(b)) {
        bool okA = false, okB = false;
        const Decimal x = decimalFromVariant(a, &okA), y = decimalFromVariant(b, &okB);
        return okA && okB && x == y;
    }
    if (isDateLike(a) || isDateLike(b)) {
        if (a.metaType().id() == QMetaType::QDateTime || b.metaType().id() == QMetaType::QDateTime)
            return dbDateTime(a) == dbDateTime(b);
        return dbDate(a) == dbDate(b);
    }
    if (a.metaType() == b.metaType())
        return a == b;
    return a.toString() == b.toString();
}

RecordBuffer::RecordBuffer(QObject *parent) : QObject(parent) {}

void RecordBuffer::setFields(const QStringList &names)
{
    m_names.clear();
    m_index.clear();
    for (const auto &n : names)
        if (indexOf(n) < 0) {
            m_index.insert(n.toLower(), int(m_names.size()));
            m_names.append(n);
        }
    m_values = QVariantList(m_names.size());
    m_original = m_values;
    m_new = true;
    emit reset();
}

bool RecordBuffer::contains(const QString &field) const { return indexOf(field) >= 0; }

int RecordBuffer::indexOf(const QString &field) const { return m_index.value(field.toLower(), -1); }

int RecordBuffer::ensureField(const QString &field)
{
    int i = indexOf(field);
    if (i >= 0)
        return i;
    i = int(m_names.size());
    m_index.insert(field.toLower(), i);
    m_names.append(field);
    m_values.append(QVariant());
    m_original.append(QVariant());
    return i;
}

void RecordBuffer::loadRecord(const QSqlRecord &record)
{
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i);
    m_names.clear();
    m_index.clear();
    m_values.clear();
    for (int i = 0; i < record.count(); ++i) {
        if (indexOf(names.at(i)) >= 0)
            continue; // a joined column of the same name: the first wins
        m_index.insert(names.at(i).toLower(), int(m_names.size()));
        m_names.append(names.at(i));
        m_values.append(record.value(i));
    }
    m_original = m_values;
    m_new = false;
    emit reset();
}

void RecordBuffer::loadRow(const QSqlQuery &query) { loadRecord(query.record()); }

bool RecordBuffer::load(Connection &connection, const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = connection.exec(sql, params);
    if (q.next()) {
        loadRow(q);
        return true;
    }
    const QSqlRecord r = q.record();
    QStringList names;
    for (int i = 0; i < r.count(); ++i)
        names << r.fieldName(i);
    setFields(names);
    return false;
}

void RecordBuffer::startNew(const QVariantMap &defaults)
{
    m_values = QVariantList(m_names.size());
    m_original = m_values;
    m_new = true;
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        const int i = ensureField(it.key());
        m_values[i] = it.value();
    }
    emit reset();
}

QVariant RecordBuffer::value(const QString &field) const
{
    const int i = indexOf(field);
    return i < 0 ? QVariant() : m_values.at(i);
}

QVariant RecordBuffer::originalValue(const QString &field) const
{
    const int i = indexOf(field);
    return i < 0 ? QVariant() : m_original.at(i);
}

void RecordBuffer::setValue(const QString &field, const QVariant &value)
{
    const int i = ensureField(field);
    const QVariant &old = m_values.at(i);
    if (old.metaType() == value.metaType() && old.isNull() == value.isNull() && old == value)
        return;
    m_values[i] = value;
    emit valueChanged(m_names.at(i), value);
}

bool RecordBuffer::isNull(const QString &field) const { return isBlank(value(field)); }

QString RecordBuffer::text(const QString &field) const { return dbText(value(field)); }

Decimal RecordBuffer::decimal(const QString &field) const { return decimalFromVariant(value(field)); }

QDate RecordBuffer::date(const QString &field) const { return dbDate(value(field)); }

qint64 RecordBuffer::integer(const QString &field) const { return value(field).toLongLong(); }

bool RecordBuffer::isYes(const QString &field) const { return text(field) == QLatin1String("Y"); }

bool RecordBuffer::isChanged(const QString &field) const
{
    const int i = indexOf(field);
    return i >= 0 && !sameFieldValue(m_values.at(i), m_original.at(i));
}

bool RecordBuffer::isChanged() const { return !changedFields().isEmpty(); }

QStringList RecordBuffer::changedFields() const
{
    QStringList out;
    for (int i = 0; i < m_names.size(); ++i)
        if (!sameFieldValue(m_values.at(i), m_original.at(i)))
            out << m_names.at(i);
    return out;
}

QVariantMap RecordBuffer::params() const
{
    QVariantMap p;
    for (int i = 0; i < m_names.size(); ++i) {
        p.insert(m_names.at(i), m_values.at(i));
        p.insert(QStringLiteral("OLD_") + m_names.at(i), m_original.at(i));
    }
    return p;
}

void RecordBuffer::markStored()
{
    m_original = m_values;
    m_new = false;
}

void RecordBuffer::revert()
{
    m_values = m_original;
    emit reset();
}

QStringList sqlPlaceholders(const QString &sql)
{
    QStringList out;
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (c != QLatin1Char(':'))
            continue;
        if (i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char(':')) {
            ++i; // a cast, "::text"
            continue;
        }
        int j = i + 1;
        while (j < sql.size() && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')))
            ++j;
        if (j > i + 1) {
            const QString name = sql.mid(i + 1, j - i - 1);
            if (!out.contains(name))
                out << name;
        }
        i = j - 1;
    }
    return out;
}

QVariantMap placeholderParams(const QString &sql, const std::function<QVariant(const QString &, bool)> &lookup)
{
    QVariantMap p;
    for (const auto &name : sqlPlaceholders(sql)) {
        if (name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive))
            p.insert(name, lookup(name.mid(4), true));
        else
            p.insert(name, lookup(name, false));
    }
    return p;
}

QVariantMap RecordBuffer::paramsFor(const QString &sql) const
{
    return placeholderParams(sql, [this](const QString &f, bool original) { return original ? originalValue(f) : value(f); });
}
