#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

class RecordBuffer;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class DateEdit;
class DecimalEdit;

// One entry of a drop-down that stores a code or an id and shows
// code " = " description.
struct CodeItem
{
    QVariant value;
    QString code;
    QString description;
};
void fillCodeList(QComboBox *combo, const QList<CodeItem> &items);
// The code part of a "code = description" text (the text before the first "=").
QString codeBeforeEquals(const QString &text);

// Keeps widgets and the fields of a record buffer in step: the widgets show
// the buffer after every load, and what the user enters goes into the buffer
// (text as typed; dates and numbers once the box accepted them).
class RecordBinder : public QObject
{
    Q_OBJECT
public:
    explicit RecordBinder(RecordBuffer *buffer, QObject *parent = nullptr);

    void bindLineEdit(QLineEdit *edit, const QString &field);   // also code boxes
    void bindDateEdit(DateEdit *edit, const QString &field);
    void bindDecimalEdit(DecimalEdit *edit, const QString &field);
    void bindCheckBox(QCheckBox *box, const QString &field);    // checked = "Y"
    // Exclusive buttons, each standing for one stored value.
    void bindRadioGroup(const QString &field, const QList<QPair<QAbstractButton *, QString>> &buttons);
    void bindYesNoRadio(const QString &field, QAbstractButton *yes, QAbstractButton *no);
    // The item data of each entry is the stored value (see fillCodeList).
    void bindComboBox(QComboBox *combo, const QString &field);
    void bindMemo(QPlainTextEdit *memo, const QString &field);

    // Shows the buffer in every bound widget.
    void refresh();
    QString fieldOf(const QWidget *widget) const;

private:
    struct Binding
    {
        QPointer<QObject> widget;
        QString field;
        std::function<void()> show;
    };
    void add(QObject *widget, const QString &field, std::function<void()> show);
    void showField(const QString &field);
    void write(const QString &field, const QVariant &value);

    RecordBuffer *m_buffer;
    QList<Binding> m_bindings;
    bool m_showing = false;
};
