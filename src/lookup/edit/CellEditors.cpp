#include "CellEditors.h"
#include "EditWidgets.h"
#include "core/DateFormat.h"
#include "core/Decimal.h"
#include "db/Connection.h"
#include "session/UserDialogs.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QTreeView>

void QlxCellDelegate::editNextCell(QAbstractItemView *view, const QModelIndex &from)
{
    // The next editable cell of the row, else the first of the next row;
    // cells the user cannot change are passed over.
    const QAbstractItemModel *m = from.model();
    for (int r = from.row(), c = from.column() + 1; r < m->rowCount(); ++r, c = 0)
        for (; c < m->columnCount(); ++c) {
            const QModelIndex i = m->index(r, c);
            if (i.flags() & Qt::ItemIsEditable) {
                view->setCurrentIndex(i);
                view->edit(i);
                return;
            }
        }
}

bool QlxCellDelegate::eventFilter(QObject *editor, QEvent *event)
{
    // A message or a look-up opened from the editor takes the focus for a
    // while; the editor keeps its text and gets the focus back.
    if (event->type() == QEvent::FocusOut && !isRealLeave(static_cast<QFocusEvent *>(event)))
        return false;
    if (enterMovesToNextCell && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && k->modifiers() == Qt::NoModifier) {
            auto *w = qobject_cast<QWidget *>(editor);
            // A drop-down's list open: Enter chooses the entry first.
            if (auto *combo = qobject_cast<QComboBox *>(w); combo && combo->view()->isVisible())
                return false;
            QAbstractItemView *view = nullptr;
            for (QWidget *p = w ? w->parentWidget() : nullptr; p && !view; p = p->parentWidget())
                view = qobject_cast<QAbstractItemView *>(p);
            const QModelIndex at = view ? view->currentIndex() : QModelIndex();
            m_refused = false;
            emit commitData(w);
            if (m_refused)
                return true; // the user corrects the value where it is
            emit closeEditor(w, QAbstractItemDelegate::NoHint);
            if (view && at.isValid())
                editNextCell(view, at);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
}

// ---------------------------------------------------------------- code cell

QWidget *CodeCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *edit = new CodeEdit(parent);
    edit->setFrame(false);
    if (!upperCase)
        edit->setValidator(nullptr);
    if (lookup) {
        edit->setSearchButtonVisible(true);
        const QPersistentModelIndex at(index);
        edit->lookup = [this, at](const QString &current) { return lookup(at, current); };
        if (commitAfterLookup)
            connect(edit, &CodeEdit::lookedUp, this, [this, edit] { emit const_cast<CodeCellDelegate *>(this)->commitData(edit); });
    }
    return edit;
}

void CodeCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static_cast<QLineEdit *>(editor)->setText(dbText(index.data(Qt::EditRole)));
}

void CodeCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (m_checking)
        return;
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString held = dbText(index.data(Qt::EditRole));
    const QString typed = upperCase ? edit->text().trimmed().toUpper() : edit->text().trimmed();
    if (typed == held)
        return;
    bool accepted = true;
    if (check) {
        m_checking = true;
        struct Reset { bool &b; ~Reset() { b = false; } } reset{m_checking};
        accepted = check(index, typed);
    }
    if (!accepted) {
        edit->setText(held);
        return;
    }
    model->setData(index, typed, Qt::EditRole);
}

// ---------------------------------------------------------------- date cell

QWidget *DateCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setMaxLength(10);
    return edit;
}

void DateCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QDate d = dbDate(index.data(Qt::EditRole));
    static_cast<QLineEdit *>(editor)->setText(d.isValid() ? formatShortDate(d) : QString());
}

void DateCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString typed = edit->text().trimmed();
    const QDate held = dbDate(index.data(Qt::EditRole));
    if (typed.isEmpty() && allowEmpty) {
        if (held.isValid())
            model->setData(index, QVariant(), Qt::EditRole);
        return;
    }
    bool ok = false;
    const QDate d = typed.isEmpty() ? QDate() : parseShortDate(typed, &ok);
    if (!ok) {
        refuse();
        edit->setText(held.isValid() ? formatShortDate(held) : QString());
        UserDialogs::instance().showMessage(UserDialogs::Kind::Error, invalidDateMessage(typed));
        return;
    }
    if (d != held)
        model->setData(index, d, Qt::EditRole);
}

// ---------------------------------------------------------------- decimal cell

QWidget *DecimalCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

void DecimalCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant v = index.data(Qt::EditRole);
    static_cast<QLineEdit *>(editor)->setText(v.isNull() || !v.isValid() ? QString() : decimalEditText(decimalFromVariant(v)));
}

void DecimalCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString typed = edit->text().trimmed();
    const QVariant held = index.data(Qt::EditRole);
    if (typed.isEmpty()) {
        if (allowNull) {
            if (!held.isNull())
                model->setData(index, QVariant(), Qt::EditRole);
        } else if (held.isNull() || !decimalFromVariant(held).isZero()) {
            model->setData(index, QVariant::fromValue(Decimal()), Qt::EditRole);
        }
        return;
    }
    auto parsed = Decimal::parse(typed);
    if (!parsed) {
        refuse();
        edit->setText(held.isNull() ? QString() : decimalEditText(decimalFromVariant(held)));
        UserDialogs::instance().showMessage(UserDialogs::Kind::Error, invalidNumberMessage(typed));
        return;
    }
    Decimal v = scale >= 0 ? parsed->rescaled(scale) : *parsed;
    bool heldOk = false;
    const Decimal old = decimalFromVariant(held, &heldOk);
    if (held.isNull() || !heldOk || !(old == v))
        model->setData(index, QVariant::fromValue(v), Qt::EditRole);
}

// ---------------------------------------------------------------- Y/N check box

namespace {
QRect checkRect(const QStyleOptionViewItem &option)
{
    QStyleOptionButton b;
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    const QRect r = style->subElementRect(QStyle::SE_CheckBoxIndicator, &b, option.widget);
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, r.size(), option.rect);
}
bool isEditable(const QModelIndex &index) { return index.flags() & Qt::ItemIsEditable; }
}

void CheckCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem bg = option;
    initStyleOption(&bg, index);
    bg.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &bg, painter, option.widget);
    QStyleOptionButton b;
    b.rect = checkRect(option);
    b.state = (dbText(index.data(Qt::EditRole)) == QLatin1String("Y") ? QStyle::State_On : QStyle::State_Off);
    if (isEditable(index))
        b.state |= QStyle::State_Enabled;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &b, painter, option.widget);
}

bool CheckCellDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!isEditable(index))
        return false;
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto *m = static_cast<QMouseEvent *>(event);
        if (m->button() != Qt::LeftButton || !option.rect.contains(m->position().toPoint()))
            return false;
        toggle = true;
        break;
    }
    case QEvent::MouseButtonDblClick:
        return true; // no editor, and no second toggle
    case QEvent::KeyPress: {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() != Qt::Key_Space && k->key() != Qt::Key_Select)
            return false;
        toggle = true;
        break;
    }
    default:
        return false;
    }
    const bool on = dbText(index.data(Qt::EditRole)) == QLatin1String("Y");
    model->setData(index, on ? QStringLiteral("N") : QStringLiteral("Y"), Qt::EditRole);
    return toggle;
}

// ---------------------------------------------------------------- value-mapped drop-down

QString ValueMapDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    for (const auto &[stored, shown] : items)
        if (!value.isNull() && stored.toString() == value.toString())
            return shown;
    return QStyledItemDelegate::displayText(value, locale);
}

QWidget *ValueMapDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *combo = new QComboBox(parent);
    for (const auto &[stored, shown] : items)
        combo->addItem(shown, stored);
    return combo;
}

void ValueMapDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    const QVariant v = index.data(Qt::EditRole);
    int found = -1;
    for (int i = 0; i < combo->count() && found < 0; ++i)
        if (!v.isNull() && combo->itemData(i).toString() == v.toString())
            found = i;
    combo->setCurrentIndex(found);
}

void ValueMapDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    if (combo->currentIndex() < 0)
        return;
    const QVariant v = combo->currentData();
    if (v.toString() != index.data(Qt::EditRole).toString() || index.data(Qt::EditRole).isNull())
        model->setData(index, v, Qt::EditRole);
}

// ---------------------------------------------------------------- two-column drop-down

QWidget *TwoColumnComboDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *combo = new QComboBox(parent);
    auto *list = new QStandardItemModel(int(items.size()), 2, combo);
    for (int r = 0; r < items.size(); ++r) {
        list->setItem(r, 0, new QStandardItem(items.at(r).code));
        list->setItem(r, 1, new QStandardItem(items.at(r).description));
    }
    auto *view = new QTreeView(combo);
    view->setRootIsDecorated(false);
    view->setHeaderHidden(true);
    view->setAllColumnsShowFocus(true);
    combo->setModel(list);
    combo->setView(view);
    combo->setModelColumn(0);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->setMinimumWidth(300);
    return combo;
}

void TwoColumnComboDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    combo->setCurrentIndex(combo->findText(dbText(index.data(Qt::EditRole)), Qt::MatchFixedString | Qt::MatchCaseSensitive));
}

void TwoColumnComboDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    if (combo->currentIndex() < 0)
        return;
    const QString code = combo->currentText();
    if (code != dbText(index.data(Qt::EditRole)))
        model->setData(index, code, Qt::EditRole);
}

// ---------------------------------------------------------------- password

QString PasswordDelegate::displayText(const QVariant &value, const QLocale &) const
{
    return QString(dbText(value).size(), QChar(0x25CF));
}

QWidget *PasswordDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setFrame(false);
    edit->setEchoMode(QLineEdit::Password);
    return edit;
}
