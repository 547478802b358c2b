#include "PagedQueryModel.h"
#include <QColor>
#include <QSqlField>

PagedQueryModel::PagedQueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void PagedQueryModel::clear()
{
    beginResetModel();
    m_conn = nullptr;
    m_rows = 0;
    m_record = QSqlRecord();
    m_pages.clear();
    m_delFlag = m_clear = m_active = -1;
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
        if (v.metaType().id() == QMetaType::QByteArray)
            return {};
        if (v.metaType().id() == QMetaType::QDate || v.metaType().id() == QMetaType::QDateTime)
            return dbDate(v).toString(QStringLiteral("dd/MM/yyyy"));
        return v;
    }
    case Qt::BackgroundRole: {
        const QColor c = rowColour(index.row());
        return c.isValid() ? QVariant(c) : QVariant();
    }
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
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical)
        return section + 1;
    if (auto it = m_titles.find(section); it != m_titles.end())
        return *it;
    return m_record.fieldName(section);
}
