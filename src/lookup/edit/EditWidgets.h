#pragma once
#include "core/Decimal.h"
#include <QDate>
#include <QLineEdit>
#include <functional>

class QAction;
class QFocusEvent;

// A code box: letters become upper case as they are typed or pasted; F5 or
// the search button runs the look-up, whose answer (a code, empty when the
// user cancelled) replaces the text.
class CodeEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit CodeEdit(QWidget *parent = nullptr);

    std::function<QString(const QString &current)> lookup;
    void setSearchButtonVisible(bool visible);
    QAction *searchAction() const { return m_search; }

public slots:
    // Returns true when the look-up gave a code.
    bool runLookup();

signals:
    void lookedUp(const QString &code);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    QAction *m_search = nullptr;
};

// Date box showing and taking "dd/mm/yyyy" (the process's short date format).
// It may be empty when allowed. A date that does not exist is refused with a
// message and the date held before stays.
class DateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

    QDate date() const { return m_date; }   // invalid = empty
    void setDate(const QDate &date);
    void setAllowEmpty(bool allow) { m_allowEmpty = allow; }
    bool allowEmpty() const { return m_allowEmpty; }

    // Takes the typed text; false (after the message) when it is refused.
    Q_INVOKABLE bool commitEdit();

signals:
    void dateCommitted(const QDate &date);

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    QDate m_date;
    bool m_allowEmpty = true;
    bool m_committing = false;
};

// Decimal box: shows the value through a display mask (",0.00") and, while
// it has the focus, the plain number for editing. The value is exact.
class DecimalEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DecimalEdit(QWidget *parent = nullptr);

    void setDisplayMask(const QString &mask);
    QString displayMask() const { return m_mask; }
    // Decimals kept on commit (rounded half away from zero); -1 keeps them all.
    void setScale(int scale) { m_scale = scale; }
    void setAllowNull(bool allow) { m_allowNull = allow; }

    Decimal value() const { return m_value; }
    bool isNull() const { return m_null; }
    void setValue(const Decimal &value);
    void setNull();

    Q_INVOKABLE bool commitEdit();

signals:
    void valueCommitted();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void showValue();

    QString m_mask = QStringLiteral(",0.00");
    Decimal m_value;
    bool m_null = false;
    bool m_allowNull = false;
    int m_scale = -1;
    bool m_committing = false;
};

// True when the focus went to another control of the same window.
bool isRealLeave(const QFocusEvent *e);
// Shared wording of refused input.
QString invalidDateMessage(const QString &typed);
QString invalidNumberMessage(const QString &typed);
// Plain editing text of a decimal ("1234.5"), the form the decimal boxes accept.
QString decimalEditText(const Decimal &value);
