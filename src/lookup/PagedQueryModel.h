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
    // Columns shown as dates ("dd/mm/yyyy", with the time when there is one) beside
    // those the result or the table catalogue already knows as dates: computed
    // columns, which one engine returns as plain text.
    void setDateColumns(const QStringList &names) { m_dateNames = names; }
    bool isDateColumn(int column) const { return column >= 0 && column < m_isDate.size() && m_isDate.at(column); }
    // The text a date or date-time value is shown as; other values unchanged.
    static QVariant dateText(const QVariant &v);
    // A quantity or amount column: shown with the mask (see formatFloat), followed
    // by a space and the value of unitColumn when given, right-aligned under a
    // centred title. An empty mask shows the value as it is, right-aligned.
    void setColumnFormat(const QString &name, const QString &mask, const QString &unitColumn = QString());
    static QString numberText(const QVariant &v, const QString &mask);
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
    QStringList m_dateNames;
    QVector<bool> m_isDate;
    struct Format
    {
        QString mask, unitColumn;
    };
    QHash<QString, Format> m_formats; // by lower-case column name
    QVector<int> m_unitOf;            // per column: -2 not formatted, -1 no unit, else the unit's column
    int m_delFlag = -1, m_clear = -1, m_active = -1;
    mutable std::list<Page> m_pages; // most recently used first
    mutable int m_pagesRead = 0;
    mutable QString m_lastError;
};
