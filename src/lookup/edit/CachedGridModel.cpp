#include "CachedGridModel.h"
#include <QFontMetrics>
#include <QGuiApplication>
#include "RecordBuffer.h"
#include "core/DateFormat.h"
#include "core/FormatFloat.h"
#include "db/Connection.h"
#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

QVariant CachedGridModel::Row::value(const QString &field) const { return m_values.value(field.toLower()); }

QVariant CachedGridModel::Row::original(const QString &field) const { return m_original.value(field.toLower()); }

QVariantMap CachedGridModel::Row::params() const
{
    QVariantMap p;
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        const QString name = m_names ? m_names->value(it.key(), it.key()) : it.key();
        p.insert(name, it.value());
        p.insert(QStringLiteral("OLD_") + name, m_original.value(it.key()));
    }
    return p;
}

QVariantMap CachedGridModel::Row::paramsFor(const QString &sql) const
{
    return placeholderParams(sql, [this](const QString &f, bool old) { return old ? original(f) : value(f); });
}

CachedGridModel::CachedGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void CachedGridModel::noteName(const QString &field)
{
    if (!m_names.contains(field.toLower()))
        m_names.insert(field.toLower(), field);
}

void CachedGridModel::setColumns(const QList<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    for (const auto &c : columns)
        noteName(c.field);
    endResetModel();
}

int CachedGridModel::columnOf(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void CachedGridModel::setColumnReadOnly(const QString &field, bool readOnly)
{
    const int c = columnOf(field);
    if (c >= 0)
        m_columns[c].readOnly = readOnly;
}

void CachedGridModel::setNewRowDefaults(const QVariantMap &defaults)
{
    m_defaults.clear();
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        noteName(it.key());
        m_defaults.insert(key(it.key()), it.value());
    }
}

bool CachedGridModel::isBlank(const QVariant &v) const
{
    return !v.isValid() || v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

QVariant CachedGridModel::normalised(Kind kind, const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    switch (kind) {
    case Kind::Decimal: {
        bool ok = false;
        const Decimal d = decimalFromVariant(v, &ok);
        return ok ? QVariant::fromValue(d) : v;
    }
    case Kind::Date: {
        const QDate d = dbDate(v);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case Kind::Integer: {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        return ok ? QVariant(n) : v;
    }
    case Kind::Text:
    case Kind::Flag:
        break;
    }
    return v.toString();
}

CachedGridModel::Row CachedGridModel::makeRow(const QVariantMap &values, RowState state) const
{
    Row r;
    r.m_names = &m_names;
    r.m_state = state;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        r.m_values.insert(key(it.key()), it.value());
    for (const auto &c : m_columns) {
        const QString k = key(c.field);
        r.m_values.insert(k, normalised(c.kind, r.m_values.value(k)));
    }
    if (state != RowState::Inserted)
        r.m_original = r.m_values;
    return r;
}

void CachedGridModel::load(Connection &connection, const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = connection.exec(sql, params);
    QList<QVariantMap> rows;
    while (q.next()) {
        const QSqlRecord rec = q.record();
        QVariantMap m;
        for (int i = 0; i < rec.count(); ++i)
            if (!m.contains(rec.fieldName(i)))
                m.insert(rec.fieldName(i), rec.value(i));
        rows.append(m);
    }
    setRows(rows);
}

void CachedGridModel::setRows(const QList<QVariantMap> &rows)
{
    beginResetModel();
    m_rows.clear();
    m_deleted.clear();
    m_newKeys.clear();
    for (const auto &m : rows) {
        for (auto it = m.cbegin(); it != m.cend(); ++it)
            noteName(it.key());
        m_rows.append(makeRow(m, RowState::Stored));
    }
    m_loaded = m_rows;
    endResetModel();
}

void CachedGridModel::clear() { setRows({}); }

int CachedGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int CachedGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant CachedGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    const Column &c = m_columns.at(index.column());
    const QVariant v = m_rows.at(index.row()).m_values.value(key(c.field));
    switch (role) {
    case Qt::EditRole:
        return v;
    case Qt::DisplayRole:
        if (v.isNull() || !v.isValid())
            return QString();
        if (c.kind == Kind::Decimal)
            return c.mask.isEmpty() ? decimalFromVariant(v).toString() : formatFloat(c.mask, decimalFromVariant(v));
        if (c.kind == Kind::Date)
            return formatShortDate(dbDate(v));
        return dbText(v);
    case Qt::TextAlignmentRole:
        if (c.kind == Kind::Decimal || c.kind == Kind::Integer)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

bool CachedGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return false;
    setValue(index.row(), m_columns.at(index.column()).field, value);
    return true;
}

void CachedGridModel::setValue(int row, const QString &field, const QVariant &value)
{
    if (row < 0 || row >= m_rows.size())
        return;
    noteName(field);
    const int col = columnOf(field);
    Row &r = m_rows[row];
    const QVariant v = col >= 0 ? normalised(m_columns.at(col).kind, value) : value;
    r.m_values.insert(key(field), v);
    if (r.m_state != RowState::Inserted) {
        // Modified while some written field differs from what was loaded.
        bool differs = false;
        for (auto it = r.m_values.cbegin(); it != r.m_values.cend() && !differs; ++it) {
            const int c = columnOf(it.key());
            if (c >= 0 && m_columns.at(c).displayOnly)
                continue;
            differs = !sameFieldValue(it.value(), r.m_original.value(it.key()));
        }
        r.m_state = differs ? RowState::Modified : RowState::Stored;
    }
    if (col >= 0)
        emit dataChanged(index(row, col), index(row, col));
}

QVariant CachedGridModel::value(int row, const QString &field) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).value(field) : QVariant();
}

QVariant CachedGridModel::originalValue(int row, const QString &field) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).original(field) : QVariant();
}

QVariant CachedGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section).title;
    if (orientation == Qt::Horizontal && role == Qt::SizeHintRole && section >= 0 && section < m_columns.size()
        && m_columns.at(section).widthChars > 0) {
        // The header takes this size as it stands: the height must hold the title's lines.
        const QFontMetrics fm(QGuiApplication::font());
        const int lines = int(m_columns.at(section).title.count(QLatin1Char('\n'))) + 1;
        return QSize(m_columns.at(section).widthChars * 9 + 8, fm.height() * lines + 10);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CachedGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const Column &c = m_columns.at(index.column());
    if (!c.readOnly && !c.displayOnly)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CachedGridModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows.size() || count <= 0)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_rows.insert(row + i, makeRow(m_defaults, RowState::Inserted));
    endInsertRows();
    return true;
}

int CachedGridModel::appendRow(const QVariantMap &values)
{
    const int r = int(m_rows.size());
    insertRows(r, 1);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        setValue(r, it.key(), it.value());
    return r;
}

bool CachedGridModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        Row r = m_rows.takeAt(row);
        // A row never written simply goes; a stored one must be deleted.
        if (r.m_state != RowState::Inserted)
            m_deleted.append(r);
    }
    endRemoveRows();
    return true;
}

CachedGridModel::RowState CachedGridModel::rowState(int row) const { return m_rows.at(row).m_state; }

int CachedGridModel::pendingInserts() const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(), [](const Row &r) { return r.m_state == RowState::Inserted; }));
}

int CachedGridModel::pendingUpdates() const
{
    return int(std::count_if(m_rows.cbegin(), m_rows.cend(), [](const Row &r) { return r.m_state == RowState::Modified; }));
}

bool CachedGridModel::hasPendingChanges() const { return !m_deleted.isEmpty() || pendingInserts() > 0 || pendingUpdates() > 0; }

int CachedGridModel::dropIncompleteRows()
{
    int dropped = 0;
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        bool lacks = false;
        for (const auto &f : std::as_const(m_requiredFields))
            lacks = lacks || isBlank(m_rows.at(i).value(f));
        if (lacks) {
            removeRows(i, 1);
            ++dropped;
        }
    }
    return dropped;
}

void CachedGridModel::write(Connection &connection, const Statements &statements)
{
    m_newKeys.clear();
    m_written = false;
    for (const auto &r : std::as_const(m_deleted)) {
        if (!statements.remove)
            throw std::logic_error("CachedGridModel: a row was deleted but there is no delete statement");
        statements.remove(connection, r);
    }
    for (const auto &r : std::as_const(m_rows))
        if (r.m_state == RowState::Modified) {
            if (!statements.update)
                throw std::logic_error("CachedGridModel: a row was changed but there is no update statement");
            statements.update(connection, r);
        }
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).m_state == RowState::Inserted) {
            if (!statements.insert)
                throw std::logic_error("CachedGridModel: a row was added but there is no insert statement");
            const QVariant k = statements.insert(connection, m_rows.at(i));
            if (k.isValid() && !k.isNull())
                m_newKeys.append({i, k});
        }
    m_written = true;
}

void CachedGridModel::acceptWritten()
{
    if (!m_written)
        return;
    m_written = false;
    const QString keyField = m_keyFields.isEmpty() ? QString() : key(m_keyFields.first());
    for (const auto &[row, k] : std::as_const(m_newKeys))
        if (!keyField.isEmpty() && row < m_rows.size())
            m_rows[row].m_values.insert(keyField, k);
    m_newKeys.clear();
    m_deleted.clear();
    for (auto &r : m_rows) {
        r.m_state = RowState::Stored;
        r.m_original = r.m_values;
    }
    m_loaded = m_rows;
    if (!m_rows.isEmpty() && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, int(m_columns.size()) - 1));
}

void CachedGridModel::apply(Connection &connection, const Statements &statements)
{
    dropIncompleteRows();
    if (!hasPendingChanges())
        return;
    {
        Transaction t(connection);
        write(connection, statements);
        t.commit();
    }
    acceptWritten();
    emit rowsApplied();
}

void CachedGridModel::cancelPending()
{
    beginResetModel();
    m_rows = m_loaded;
    m_deleted.clear();
    m_newKeys.clear();
    m_written = false;
    endResetModel();
}
