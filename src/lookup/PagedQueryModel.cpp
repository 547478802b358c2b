#include "PagedQueryModel.h"
#include "core/DateFormat.h"
#include "core/Decimal.h"
#include "core/FormatFloat.h"
#include "db/Schema.h"
#include <QColor>
#include <QSqlField>

namespace {
// A column of this name is a date or date-time column of some table.
bool isCatalogueDate(const QString &name)
{
    for (const auto &t : schemaCatalogue())
        if (const ColumnDef *c = t.column(name); c && (c->type == ColType::Date || c->type == ColType::DateTime))
            return true;
    return false;
}
} // namespace

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void PagedQueryModel::clear()
{
    beginResetModel();
    m_conn = nullptr;
    m_rows = 0;
    m_record = QSqlRecord();
    m_pages.clear();
    m_delFlag = m_clear = m_active = -1;
    m_isDate.clear();
    m_unitOf.clear();
    endResetModel();
}

void PagedQueryModel::setQuery(Connection *conn, const QString &sql, const Params &params, const QString &countSql)
{
    beginResetModel();
    m_conn = nullptr;
    m_pages.clear();
    m_rows = 0;
    m_record = QSqlRecord();
    m_pagesRead = 0;
    m_lastError.clear();
    struct End { PagedQueryModel *m; ~End() { m->endResetModel(); } } end{this};

    m_sql = sql;
    m_params = params;
    Page first;
    {
        auto q = conn->exec(sql + QStringLiteral("\nLIMIT %1 OFFSET 0").arg(PageSize), params);
        m_record = q.record();
        const int cols = m_record.count();
        while (q.next()) {
            QVector<QVariant> row(cols);
            for (int c = 0; c < cols; ++c)
                row[c] = q.value(c);
            first.rows.append(std::move(row));
        }
    }
    ++m_pagesRead;
    if (first.rows.size() < PageSize) {
        m_rows = int(first.rows.size());
    } else {
        m_rows = conn->scalar(QStringLiteral("SELECT COUNT(*) FROM (\n") + (countSql.isEmpty() ? sql : countSql)
                                  + QStringLiteral("\n) counted_rows"), params).toInt();
    }
    m_pages.push_front(std::move(first));
    m_conn = conn;
    m_delFlag = columnOf(QStringLiteral("DelFlag"));
    m_clear = columnOf(QStringLiteral("Clear"));
    m_active = columnOf(QStringLiteral("Active"));
    // PostgreSQL types its date columns; SQLite returns them as ISO text, so its
    // columns are known by name.
    m_isDate.fill(false, m_record.count());
    for (int c = 0; c < m_record.count(); ++c) {
        const int type = m_record.field(c).metaType().id();
        const QString name = m_record.fieldName(c);
        m_isDate[c] = type == QMetaType::QDate || type == QMetaType::QDateTime
            || m_dateNames.contains(name, Qt::CaseInsensitive) || isCatalogueDate(name);
    }
    m_unitOf.fill(-2, m_record.count());
    for (int c = 0; c < m_record.count(); ++c)
        if (auto it = m_formats.constFind(m_record.fieldName(c).toLower()); it != m_formats.cend())
            m_unitOf[c] = it->unitColumn.isEmpty() ? -1 : columnOf(it->unitColumn);
}

void PagedQueryModel::setColumnFormat(const QString &name, const QString &mask, const QString &unitColumn)
{
    m_formats.insert(name.toLower(), {mask, unitColumn});
}

QString PagedQueryModel::numberText(const QVariant &v, const QString &mask)
{
    if (v.isNull())
        return QString();
    if (mask.isEmpty())
        return v.toString();
    bool ok = false;
    Decimal d = Decimal::fromString(v.toString().trimmed(), &ok);
    if (!ok) {
        const double x = v.toDouble(&ok);
        if (!ok)
            return v.toString();
        d = Decimal::fromDouble(x, 6);
    }
    return formatFloat(QStringView(mask), d);
}

QVariant PagedQueryModel::dateText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    QDateTime at;
    const int type = v.metaType().id();
    if (type == QMetaType::QDate)
        at = v.toDate().startOfDay();
    else if (type == QMetaType::QDateTime)
        at = v.toDateTime();
    else if (type == QMetaType::QString || type == QMetaType::QByteArray) {
        const QString s = v.toString().trimmed();
        // Only ISO dates are rewritten; any other text in the column stays as it is.
        if (s.size() < 10 || s.at(4) != QLatin1Char('-') || s.at(7) != QLatin1Char('-'))
            return v;
        at = s.size() == 10 ? dbDate(s).startOfDay() : dbDateTime(s);
    } else {
        return v;
    }
    if (!at.isValid())
        return v;
    if (at.time() == QTime(0, 0))
        return formatShortDate(at.date());
    return formatShortDate(at.date()) + QLatin1Char(' ') + at.time().toString(QStringLiteral("HH:mm:ss"));
}

PagedQueryModel::Page PagedQueryModel::readPage(int number) const
{
    Page p;
    p.number = number;
    auto q = m_conn->exec(m_sql + QStringLiteral("\nLIMIT %1 OFFSET %2").arg(PageSize).arg(qint64(number) * PageSize), m_params);
    const int cols = m_record.count();
    while (q.next()) {
        QVector<QVariant> row(cols);
        for (int c = 0; c < cols; ++c)
            row[c] = q.value(c);
        p.rows.append(std::move(row));
    }
    ++m_pagesRead;
    return p;
}

const PagedQueryModel::Page *PagedQueryModel::page(int number) const
{
    for (auto it = m_pages.begin(); it != m_pages.end(); ++it) {
        if (it->number == number) {
            if (it != m_pages.begin())
                m_pages.splice(m_pages.begin(), m_pages, it);
            return &m_pages.front();
        }
    }
    if (!m_conn)
        return nullptr;
    try {
        m_pages.push_front(readPage(number));
    } catch (const DbError &e) {
        // Called while painting: an exception must not escape into the view.
        m_lastError = e.message();
        return nullptr;
    }
    while (int(m_pages.size()) > KeptPages)
        m_pages.pop_back();
    return &m_pages.front();
}

int PagedQueryModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows; }
int PagedQueryModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_record.count(); }

int PagedQueryModel::columnOf(const QString &name) const
{
    for (int i = 0; i < m_record.count(); ++i)
        if (m_record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant PagedQueryModel::value(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_record.count())
        return {};
    const Page *p = page(row / PageSize);
    if (!p)
        return {};
    const int at = row % PageSize;
    return at < p->rows.size() ? p->rows.at(at).at(column) : QVariant();
}

QVariant PagedQueryModel::value(int row, const QString &column) const { return value(row, columnOf(column)); }

QColor PagedQueryModel::rowColour(int row) const
{
    auto flag = [&](int col) { return dbText(value(row, col)).trimmed(); };
    if (m_delFlag >= 0)
        return flag(m_delFlag) == QLatin1String("Y") ? QColor(Qt::red) : QColor();
    if (m_clear >= 0)
        return flag(m_clear) == QLatin1String("Y") ? QColor(Qt::blue) : QColor();
    if (m_active >= 0)
        return flag(m_active) == QLatin1String("N") ? QColor(Qt::red) : QColor();
    return {};
}

QVariant PagedQueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = value(index.row(), index.column());
        if (isDateColumn(index.column()))
            return dateText(v);
        if (index.column() < m_unitOf.size() && m_unitOf.at(index.column()) != -2) {
            const int unit = m_unitOf.at(index.column());
            const QString text = numberText(v, m_formats.value(m_record.fieldName(index.column()).toLower()).mask);
            return unit >= 0 ? text + QLatin1Char(' ') + dbText(value(index.row(), unit)).trimmed() : text;
        }
        if (v.metaType().id() == QMetaType::QByteArray)
            return {};
        return v;
    }
    case Qt::BackgroundRole: {
        const QColor c = rowColour(index.row());
        return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::TextAlignmentRole:
        if (index.column() < m_unitOf.size() && m_unitOf.at(index.column()) != -2)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ForegroundRole:
        return rowColour(index.row()).isValid() ? QVariant(QColor(Qt::white)) : QVariant();
    default:
        return {};
    }
}

void PagedQueryModel::setTitle(int column, const QString &title)
{
    m_titles.insert(column, title);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QVariant PagedQueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section < m_unitOf.size() && m_unitOf.at(section) != -2)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section + 1;
    if (auto it = m_titles.find(section); it != m_titles.end())
        return *it;
    return m_record.fieldName(section);
}
