#pragma once
#include <QList>
#include <QString>
#include <QVariant>

class QSqlQuery;

// Writes rows to a spreadsheet file (xlsx): one sheet, a bold title row with
// the column titles, then one row per record. Text is written as UTF-8, so
// Thai stays Thai; dates are real date cells shown "dd/mm/yyyy"; numbers are
// shown with "," thousands and "." decimals.
class SpreadsheetExport
{
public:
    enum class Kind { Text, Number, Date };
    struct Column
    {
        QString title;
        Kind kind = Kind::Text;
        QString numberFormat;   // numbers: "#,##0.00" unless given
        double width = 0;       // in characters; 0 fits title and values
    };

    explicit SpreadsheetExport(const QList<Column> &columns = {});
    void setColumns(const QList<Column> &columns) { m_columns = columns; }
    const QList<Column> &columns() const { return m_columns; }
    QString sheetName = QStringLiteral("Sheet1");

    // Values in column order; null values give empty cells.
    void addRow(const QVariantList &values);
    // Every remaining row of an active query, its columns in column order.
    int addRows(QSqlQuery &query);
    int rowCount() const { return int(m_rows.size()); }

    // Writes (or replaces) the file; false with the reason when it cannot.
    bool write(const QString &path, QString *error = nullptr) const;

private:
    QList<Column> m_columns;
    QList<QVariantList> m_rows;
};
