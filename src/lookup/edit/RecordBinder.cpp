#include "RecordBinder.h"
#include "EditWidgets.h"
#include "RecordBuffer.h"
#include "db/Connection.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

void fillCodeList(QComboBox *combo, const QList<CodeItem> &items)
{
    const QSignalBlocker block(combo);
    combo->clear();
    for (const auto &i : items)
        combo->addItem(i.code + QStringLiteral(" = ") + i.description, i.value);
    combo->setCurrentIndex(-1);
}

QString codeBeforeEquals(const QString &text)
{
    const int eq = text.indexOf(QLatin1Char('='));
    return (eq < 0 ? text : text.left(eq)).trimmed();
}

RecordBinder::RecordBinder(RecordBuffer *buffer, QObject *parent) : QObject(parent), m_buffer(buffer)
{
    connect(buffer, &RecordBuffer::reset, this, &RecordBinder::refresh);
    connect(buffer, &RecordBuffer::valueChanged, this, [this](const QString &field) { showField(field); });
}

void RecordBinder::add(QObject *widget, const QString &field, std::function<void()> show)
{
    m_bindings.append({widget, field, std::move(show)});
    m_showing = true;
    m_bindings.last().show();
    m_showing = false;
}

void RecordBinder::write(const QString &field, const QVariant &value)
{
    if (!m_showing)
        m_buffer->setValue(field, value);
}

void RecordBinder::showField(const QString &field)
{
    if (m_showing)
        return;
    m_showing = true;
    for (const auto &b : std::as_const(m_bindings))
        if (b.widget && b.field.compare(field, Qt::CaseInsensitive) == 0)
            b.show();
    m_showing = false;
}

void RecordBinder::refresh()
{
    m_showing = true;
    for (const auto &b : std::as_const(m_bindings))
        if (b.widget)
            b.show();
    m_showing = false;
}

QString RecordBinder::fieldOf(const QWidget *widget) const
{
    for (const auto &b : m_bindings)
        if (b.widget == widget)
            return b.field;
    return {};
}

void RecordBinder::bindLineEdit(QLineEdit *edit, const QString &field)
{
    // Text goes in as it is typed, so a save never misses the last letters.
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &t) { write(field, t); });
    add(edit, field, [this, edit, field] {
        const QString t = m_buffer->text(field);
        if (edit->text() != t)
            edit->setText(t);
    });
}

void RecordBinder::bindDateEdit(DateEdit *edit, const QString &field)
{
    connect(edit, &DateEdit::dateCommitted, this, [this, field](const QDate &d) { write(field, d.isValid() ? QVariant(d) : QVariant()); });
    add(edit, field, [this, edit, field] { edit->setDate(m_buffer->date(field)); });
}

void RecordBinder::bindDecimalEdit(DecimalEdit *edit, const QString &field)
{
    connect(edit, &DecimalEdit::valueCommitted, this, [this, edit, field] {
        write(field, edit->isNull() ? QVariant() : QVariant::fromValue(edit->value()));
    });
    add(edit, field, [this, edit, field] {
        if (m_buffer->isNull(field))
            edit->setNull();
        else
            edit->setValue(m_buffer->decimal(field));
    });
}

void RecordBinder::bindCheckBox(QCheckBox *box, const QString &field)
{
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { write(field, on ? QStringLiteral("Y") : QStringLiteral("N")); });
    add(box, field, [this, box, field] { box->setChecked(m_buffer->isYes(field)); });
}

void RecordBinder::bindRadioGroup(const QString &field, const QList<QPair<QAbstractButton *, QString>> &buttons)
{
    for (const auto &[button, value] : buttons) {
        button->setAutoExclusive(true);
        connect(button, &QAbstractButton::toggled, this, [this, field, v = value](bool on) {
            if (on)
                write(field, v);
        });
        add(button, field, [this, button, field, v = value, buttons] {
            const bool mine = m_buffer->text(field) == v;
            if (mine) {
                button->setChecked(true);
            } else if (button->isChecked()) {
                // No button stands for the value: none is shown checked.
                bool any = false;
                for (const auto &p : buttons)
                    any = any || m_buffer->text(field) == p.second;
                if (!any) {
                    button->setAutoExclusive(false);
                    button->setChecked(false);
                    button->setAutoExclusive(true);
                }
            }
        });
    }
}

void RecordBinder::bindYesNoRadio(const QString &field, QAbstractButton *yes, QAbstractButton *no)
{
    bindRadioGroup(field, {{yes, QStringLiteral("Y")}, {no, QStringLiteral("N")}});
}

void RecordBinder::bindComboBox(QComboBox *combo, const QString &field)
{
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, field](int i) {
        if (i >= 0)
            write(field, combo->itemData(i));
    });
    add(combo, field, [this, combo, field] {
        const QVariant v = m_buffer->value(field);
        int found = -1;
        for (int i = 0; i < combo->count() && found < 0; ++i)
            if (!v.isNull() && sameFieldValue(combo->itemData(i), v))
                found = i;
        combo->setCurrentIndex(found);
    });
}

void RecordBinder::bindMemo(QPlainTextEdit *memo, const QString &field)
{
    connect(memo, &QPlainTextEdit::textChanged, this, [this, memo, field] { write(field, memo->toPlainText()); });
    add(memo, field, [this, memo, field] {
        const QString t = m_buffer->text(field);
        if (memo->toPlainText() != t)
            memo->setPlainText(t);
    });
}
