#pragma once
#include "lookup/TFrForm.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include <QColor>
#include <functional>

class QTableView;

// Grid rows whose stored rows are read-only for a user without the right to
// change them; rows added in the window stay editable.
class OrgGridModel : public CachedGridModel
{
    Q_OBJECT
public:
    using CachedGridModel::CachedGridModel;
    bool canModifyStored = true;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
};

// Drop-down of codes with their descriptions that also takes a typed code.
// The cell does not store what was typed: resolve() is handed the code and
// fills the row (the code and its id, or clears both when it does not exist).
class CodeComboDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    explicit CodeComboDelegate(QObject *parent = nullptr);
    struct Item
    {
        QString code;
        QString description;
    };
    QList<Item> items;
    QStringList headers;
    int visibleItems = 20;
    QString hint;
    std::function<void(const QModelIndex &index, const QString &code)> resolve;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// A code cell that stores what the code's table says (or nothing when the
// code does not exist), never the typed text: resolve() looks the code up,
// fills the row and returns what the cell now holds.
class ResolvingCodeCell : public CodeCellDelegate
{
    Q_OBJECT
public:
    explicit ResolvingCodeCell(QObject *parent = nullptr);
    std::function<QString(int row, const QString &code)> resolve;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// The common part of the organisation code tables: one editable grid over one
// table, edits held in memory and written together on Save in one
// transaction; the user's rights, the save and delete questions, Enter moving
// from cell to cell, and the checks that keep a save from losing rows.
class TFrCodeGrid : public TFrForm
{
    Q_OBJECT
public:
    explicit TFrCodeGrid(QWidget *parent = nullptr);
    ~TFrCodeGrid() override;

    QTableView *Grid = nullptr;
    OrgGridModel *Model = nullptr;

    struct GridColumn
    {
        const char *field;
        QString title;
        int widthChars;
        CachedGridModel::Kind kind = CachedGridModel::Kind::Text;
        bool displayOnly = false;
    };

    static QString noAddRightMessage() { return QStringLiteral("ผู้ใช้งานไม่มีสิทธิ์ เพิ่มรายการ"); }
    static QString noDeleteRightMessage() { return QStringLiteral("ผู้ใช้งาน ไม่มีสิทธิลบรายการ"); }
    // The refusals of a save that would otherwise lose or double a row.
    static QString missingValueMessage(const QString &title) { return QStringLiteral("กรุณาป้อน ") + title; }
    static QString duplicateCodeMessage(const QString &title, const QString &code)
    {
        return title + QStringLiteral(" \"") + code + QStringLiteral("\" ซ้ำกับรายการอื่น");
    }

protected:
    // Builds the grid over the columns; the rows alternate in the colour given.
    void buildGrid(const QList<GridColumn> &columns, const QColor &alternate);
    // A text cell that holds no more than maxLength characters.
    QlxCellDelegate *textCell(const QString &field, int maxLength, bool upperCase = false);
    void setCell(const QString &field, QAbstractItemDelegate *delegate);

    // The column whose value identifies a row (checked for blanks and
    // doubles), and the others a row cannot be stored without. A row added in
    // the window that lacks one of them is dropped at save; a stored row that
    // lost one stops the save with a message.
    QString CodeField;
    QStringList RequiredFields;

    bool confirmSave();
    bool confirmDelete();
    // Checks the rows, drops the appended incomplete ones and writes every
    // pending change (and what extra() adds) in one transaction. False when
    // nothing was written: refused (the user was told) or failed (rolled back,
    // reported, every edit still on screen).
    bool writePending(const CachedGridModel::Statements &st,
                      const std::function<void(Connection &)> &extra = {});
    // Appends a row and puts the cursor in its code cell.
    int appendRowAtCode(const QVariantMap &values = {});
    void focusCell(int row, const QString &field);
    int currentRow() const;
    QString currentField() const;
    // Opens the current cell's editor, or moves on when it cannot be edited.
    void moveToNextCell();

    // The window's own key handling of the grid; true when the key was taken.
    virtual bool gridKey(int key, Qt::KeyboardModifiers mods);
    virtual void currentCellChanged(const QModelIndex &) {}

    // A database failure while loading or saving: the application-wide report.
    static void report(const std::exception &e);
    // Adds the catalogue's table or columns that an older database lacks.
    static void ensureTable(const QString &table);
    static void ensureColumns(const QString &table, const QStringList &columns);

    void finishEditing() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool m_editRefused = false;

private:
    bool rowsAreSound();
    void focusChanged(QWidget *now);
    QMetaObject::Connection m_focusWatch;
};

Connection &companyDb();
