#include "SpreadsheetExport.h"
#include "core/Decimal.h"
#include "db/Connection.h"
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <xlsxwriter.h>

namespace {

// The longest text a cell takes.
constexpr int MaxCellChars = 32767;

QString cellText(const QVariant &v)
{
    QString s = dbText(v);
    if (s.size() > MaxCellChars)
        s.truncate(MaxCellChars);
    return s;
}

} // namespace

SpreadsheetExport::SpreadsheetExport(const QList<Column> &columns) : m_columns(columns) {}

void SpreadsheetExport::addRow(const QVariantList &values) { m_rows.append(values); }

int SpreadsheetExport::addRows(QSqlQuery &query)
{
    int n = 0;
    while (query.next()) {
        const QSqlRecord rec = query.record();
        QVariantList row;
        for (int i = 0; i < rec.count(); ++i)
            row.append(rec.value(i));
        addRow(row);
        ++n;
    }
    return n;
}

bool SpreadsheetExport::write(const QString &path, QString *error) const
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    const QFileInfo target(path);
    if (!target.absoluteDir().exists())
        return fail(QStringLiteral("folder not found: ") + QDir::toNativeSeparators(target.absolutePath()));
    // The file is written whole at close; an old one must not pass for the new one.
    if (target.exists() && !QFile::remove(path))
        return fail(QStringLiteral("the file is in use: ") + QDir::toNativeSeparators(path));

    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook *book = workbook_new(fileName.constData());
    if (!book)
        return fail(QStringLiteral("cannot create ") + QDir::toNativeSeparators(path));
    const QByteArray sheetUtf8 = (sheetName.isEmpty() ? QStringLiteral("Sheet1") : sheetName.left(31)).toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(book, sheetUtf8.constData());
    lxw_format *titleFormat = workbook_add_format(book);
    format_set_bold(titleFormat);
    lxw_format *dateFormat = workbook_add_format(book);
    format_set_num_format(dateFormat, "dd/mm/yyyy");
    QList<lxw_format *> numberFormats;
    for (const Column &c : m_columns) {
        lxw_format *f = nullptr;
        if (c.kind == Kind::Number) {
            f = workbook_add_format(book);
            format_set_num_format(f, (c.numberFormat.isEmpty() ? QStringLiteral("#,##0.00") : c.numberFormat).toUtf8().constData());
        }
        numberFormats.append(f);
    }

    lxw_error failed = LXW_NO_ERROR;
    auto keep = [&failed](lxw_error e) {
        if (e != LXW_NO_ERROR && failed == LXW_NO_ERROR)
            failed = e;
    };
    QList<int> widest;
    for (int c = 0; c < m_columns.size(); ++c) {
        const QString &title = m_columns.at(c).title;
        widest.append(int(title.size()));
        keep(worksheet_write_string(sheet, 0, lxw_col_t(c), title.toUtf8().constData(), titleFormat));
    }
    for (int r = 0; r < m_rows.size() && failed == LXW_NO_ERROR; ++r) {
        const QVariantList &row = m_rows.at(r);
        const auto at = lxw_row_t(r + 1);
        for (int c = 0; c < m_columns.size() && c < row.size(); ++c) {
            const QVariant &v = row.at(c);
            if (v.isNull() || !v.isValid())
                continue;
            const auto col = lxw_col_t(c);
            switch (m_columns.at(c).kind) {
            case Kind::Date: {
                const QDate d = dbDate(v);
                if (!d.isValid())
                    break;
                lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0.0};
                keep(worksheet_write_datetime(sheet, at, col, &dt, dateFormat));
                widest[c] = qMax(widest[c], 10);
                break;
            }
            case Kind::Number: {
                bool ok = false;
                const Decimal n = decimalFromVariant(v, &ok);
                if (!ok)
                    break;
                keep(worksheet_write_number(sheet, at, col, n.toDouble(), numberFormats.at(c)));
                widest[c] = qMax(widest[c], int(n.toString().size()) + 4);
                break;
            }
            case Kind::Text: {
                const QString s = cellText(v);
                if (s.isEmpty())
                    break;
                keep(worksheet_write_string(sheet, at, col, s.toUtf8().constData(), nullptr));
                widest[c] = qMax(widest[c], int(s.size()));
                break;
            }
            }
        }
    }
    for (int c = 0; c < m_columns.size(); ++c) {
        const double width = m_columns.at(c).width > 0 ? m_columns.at(c).width : qBound(6, widest.at(c) + 2, 60);
        keep(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), width, nullptr));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    // Closing writes the file and frees the workbook, also after an error.
    const lxw_error closed = workbook_close(book);
    if (failed == LXW_NO_ERROR)
        failed = closed;
    if (failed != LXW_NO_ERROR) {
        QFile::remove(path);
        return fail(QString::fromUtf8(lxw_strerror(failed)));
    }
    return true;
}
