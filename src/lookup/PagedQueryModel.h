#pragma once
#include "db/Connection.h"
#include <QAbstractTableModel>
#include <QSqlRecord>
#include <QVector>
#include <list>

// A read-only result grid model that reads its rows a page at a time
// (LIMIT/OFFSET) as the view asks for them and keeps only a few pages, so a
// look-up over a large table shows its first rows at once and scrolling does not
// make the program grow. The statement must be complete, with its ORDER BY.
class PagedQueryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit PagedQueryModel(QObject *parent = nullptr);

    static constexpr int PageSize = 200;
    static constexpr int KeptPages = 6;

    // Runs the first page and, when there are more rows, the count; DbError
    // propagates to the caller. The count runs over countSql when given: the
    // same statement without its ORDER BY, which a server would otherwise sort.
    void setQuery(Connection *conn, const QString &sql, const Params &params, const QString &countSql = QString());
    void clear();
    bool isOpen() const { return m_conn != nullptr; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const QSqlRecord &record() const { return m_record; }
    // Column position by name, ignoring case (the engines differ in case); -1 when absent.
    int columnOf(const QString &name) const;
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString &column) const;

    void setTitle(int column, const QString &title);
    // Rows whose flags colour them (cancelled red, received/paid blue).
    QColor rowColour(int row) const;

    // For measurements: pages read since the last setQuery, pages held now.
    int pagesRead() const { return m_pagesRead; }
    int pagesHeld() const { return int(m_pages.size()); }
    QString lastError() const { return m_lastError; }

private:
    struct Page
    {
        int number = 0;
        QVector<QVector<QVariant>> rows;
    };
    const Page *page(int number) const;
    Page readPage(int number) const;

    Connection *m_conn = nullptr;
    QString m_sql;
    Params m_params;
    int m_rows = 0;
    QSqlRecord m_record;
    QHash<int, QString> m_titles;
    int m_delFlag = -1, m_clear = -1, m_active = -1;
    mutable std::list<Page> m_pages; // most recently used first
    mutable int m_pagesRead = 0;
    mutable QString m_lastError;
};
