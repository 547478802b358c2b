#pragma once
#include "LookupSupport.h"
#include <QDialog>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class PagedQueryModel;
class Connection;

// The base of the look-up dialogs: a filter box, Search / Choose / Cancel, and a
// read-only result grid. A member sets its statement (SQL, one line per entry),
// the visible columns and KeyFieldName, and fills Parameters and Conditions in
// prepareSearch(); the caller reads ReturnValue after an accepted showing.
class TFrSearch : public QDialog
{
    Q_OBJECT
public:
    explicit TFrSearch(QWidget *parent = nullptr);
    ~TFrSearch() override;

    QString KeyFieldName;
    QString ReturnValue;
    QString DocTableName;

    QWidget *PnHeader = nullptr;
    QLabel *LbCode = nullptr;
    QLineEdit *Code = nullptr;
    QPushButton *BtSearch = nullptr, *BtOk = nullptr, *BtCancel = nullptr;
    QTableView *DgSearch = nullptr;
    // Members put their further filter controls here, under the header row.
    QVBoxLayout *FilterArea = nullptr;

    // The result statement, line by line. Conditions are inserted before the first
    // line holding ORDER BY; sorting by a title rewrites that line.
    QStringList SQL;
    Params Parameters;
    SqlConditions Conditions;

    // Visible columns in order, with their titles; empty shows every column.
    void setGridColumns(const QList<QPair<QString, QString>> &columns);
    // A fixed width for a visible column, kept over the width its contents ask for.
    void setGridColumnWidth(const QString &column, int width) { m_widths.insert(column.toLower(), width); }
    void setFilterUpperCase(bool on);
    void setSearchOnShow(bool on) { m_searchOnShow = on; }

    void Search();
    PagedQueryModel *result() const { return m_model; }
    int currentRow() const;
    QVariant currentValue(const QString &column) const;
    // The statement as the next search runs it; without its ORDER BY for counting.
    QString composedSql(bool withOrder = true) const;

    // While an embedded grid edits, Enter and Escape must reach it.
    void setKeyPreview(bool on);
    bool keyPreview() const;

    // The title-click sort shared by every look-up of the process.
    static QString sortColumn();
    static bool sortDescending();
    static void resetSortState();
    void sortByColumn(int column);

    void done(int r) override;

protected:
    virtual Connection &connection();
    virtual void FormShow() {}
    virtual void prepareSearch() {}
    // False refuses the search (the member shows why); the result stays as it is.
    virtual bool canSearch() { return true; }
    virtual bool canSortBy(const QString &column) const;
    // A cancelled row cannot be chosen; false keeps the dialog open.
    virtual bool acceptCurrentRow();
    virtual bool previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods);
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void purgeCurrentRow();
    bool isThai() const;
    // "column Like ?" for a name matched anywhere; on PostgreSQL written so that the
    // column's trigram index serves it (the match stays case-insensitive).
    QString nameLike(const QString &column);
    // English captions when the user is not Thai: every label, button, group box,
    // check box, combo item and column title whose Thai text is a key of the map,
    // and the window title, take the English text.
    void applyEnglish(const QHash<QString, QString> &english);
    // The dialog's own Thai captions and column titles with their English text,
    // applied after FormShow when the user is not Thai.
    virtual QHash<QString, QString> englishTexts() const { return {}; }

private:
    void applyColumns();
    PagedQueryModel *m_model = nullptr;
    KeyPreview *m_preview = nullptr;
    QList<QPair<QString, QString>> m_columns;
    QHash<QString, int> m_widths;
    bool m_searchOnShow = false;
};

// Misc codes of one group, chosen by description (opened by the TFaGetMisc frames).
class TFrSearchMisc : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchMisc(QWidget *parent = nullptr);
    QString GroupCode;
    QString KeyColumn = QStringLiteral("Code");

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
};

// Misc codes of one group by description or code; returns the code and its
// description (opened by the department and province frames).
class TF_SearchMisc : public TFrSearch
{
    Q_OBJECT
public:
    explicit TF_SearchMisc(QWidget *parent = nullptr);
    QString GroupCode;
    QString ReturnDescription;
    QCheckBox *CbWholeWord = nullptr;
    void done(int r) override;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
    bool canSortBy(const QString &column) const override;
};
