#pragma once
#include <QLineEdit>
class QAbstractItemView;
#include <QList>
#include <QPair>
#include <QStyledItemDelegate>
#include <QVariant>
#include <functional>

// Base of the grid's cell editors (and a plain text cell when used as is). Losing the focus to another window (a
// message box, a look-up dialog) neither commits nor closes the editor; a
// refused entry (a date that does not exist, text that is no number) is
// remembered so that saving can stop.
class QlxCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // Enter in a cell takes the value and opens the next editable cell of
    // the row, as Tab does (the grids of the module windows work that way).
    bool enterMovesToNextCell = false;
    bool refused() const { return m_refused; }
    void clearRefused() { m_refused = false; }

protected:
    bool eventFilter(QObject *editor, QEvent *event) override;
    static void editNextCell(QAbstractItemView *view, const QModelIndex &from);
    void refuse() const { m_refused = true; }

private:
    mutable bool m_refused = false;
};

// Any of the cells below with a box that takes no more characters than its
// column holds, so that the server never refuses an over-long value at save.
template <class Base>
class LimitedCell : public Base
{
public:
    LimitedCell(int maxLength, QObject *parent, bool enterMoves = true) : Base(parent), m_max(maxLength)
    {
        this->enterMovesToNextCell = enterMoves;
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *w = Base::createEditor(parent, option, index);
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setMaxLength(m_max);
        return w;
    }

private:
    int m_max;
};

// Code cell: upper case as typed, a search button and F5 for the look-up,
// and a check when the cell is left. A code the check does not accept leaves
// the cell with the value it held when editing began.
class CodeCellDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;

    // Returns the chosen code, empty when the user cancelled.
    std::function<QString(const QModelIndex &index, const QString &current)> lookup;
    // Accepts or refuses a typed code; may fill other columns of the row
    // (the name, the id). Only a changed code is checked.
    std::function<bool(const QModelIndex &index, const QString &code)> check;
    bool upperCase = true;
    // Check and write at once when the look-up gave a code, instead of on leaving.
    bool commitAfterLookup = false;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

private:
    mutable bool m_checking = false;
};

// Date cell: "dd/mm/yyyy", empty allowed unless switched off.
class DateCellDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    bool allowEmpty = true;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// Decimal cell: edits the plain number, stores a Decimal.
class DecimalCellDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    int scale = -1;          // decimals kept; -1 keeps what was typed
    bool allowNull = false;  // empty gives 0 unless allowed
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// Y/N check box that toggles on one click (or Space), without an editor.
class CheckCellDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *, const QStyleOptionViewItem &, const QModelIndex &) const override { return nullptr; }
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index) override;
};

// Drop-down whose entries show a text and store another value.
class ValueMapDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    QList<QPair<QVariant, QString>> items; // stored value, shown text
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// Drop-down listing code and description in two columns; the cell stores
// and shows the code.
class TwoColumnComboDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    struct Item
    {
        QString code;
        QString description;
    };
    QList<Item> items;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
};

// Password cell: masked when shown and while typed.
class PasswordDelegate : public QlxCellDelegate
{
    Q_OBJECT
public:
    using QlxCellDelegate::QlxCellDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
