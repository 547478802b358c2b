#include "EditWidgets.h"
#include "core/DateFormat.h"
#include "core/FormatFloat.h"
#include "session/UserDialogs.h"
#include <QAction>
#include <QKeyEvent>
#include <QStyle>
#include <QValidator>

namespace {
// Turns letters to upper case in place, keeping the cursor where it was.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = input.toUpper();
        return Acceptable;
    }
};
}

bool isRealLeave(const QFocusEvent *e)
{
    // Losing the focus to another window (a message, a look-up) is no leave:
    // the control gets it back when that window closes.
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

QString invalidDateMessage(const QString &typed)
{
    return QStringLiteral("ป้อนวันที่ไม่ถูกต้อง\n'%1' is not a valid date").arg(typed);
}

QString invalidNumberMessage(const QString &typed)
{
    return QStringLiteral("ป้อนตัวเลขไม่ถูกต้อง\n'%1' is not a valid number").arg(typed);
}

QString decimalEditText(const Decimal &value)
{
    QString s = value.toString();
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

// ---------------------------------------------------------------- CodeEdit

CodeEdit::CodeEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new UpperCaseValidator(this));
    m_search = addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
    m_search->setToolTip(QStringLiteral("ค้นหา (F5)"));
    m_search->setVisible(false);
    connect(m_search, &QAction::triggered, this, [this] { runLookup(); });
}

void CodeEdit::setSearchButtonVisible(bool visible) { m_search->setVisible(visible); }

bool CodeEdit::runLookup()
{
    if (!lookup)
        return false;
    const QString code = lookup(text());
    if (code.isEmpty())
        return false;
    setText(code.toUpper());
    setFocus(Qt::OtherFocusReason);
    emit lookedUp(text());
    return true;
}

void CodeEdit::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_F5 && e->modifiers() == Qt::NoModifier && lookup) {
        runLookup();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------- DateEdit

DateEdit::DateEdit(QWidget *parent) : QLineEdit(parent)
{
    setMaxLength(10);
    connect(this, &QLineEdit::returnPressed, this, [this] { commitEdit(); });
}

void DateEdit::focusOutEvent(QFocusEvent *e)
{
    if (isRealLeave(e))
        commitEdit();
    QLineEdit::focusOutEvent(e);
}

void DateEdit::setDate(const QDate &date)
{
    m_date = date.isValid() ? date : QDate();
    setText(m_date.isValid() ? formatShortDate(m_date) : QString());
}

bool DateEdit::commitEdit()
{
    // A message box opened from here takes the focus and finishes the edit a
    // second time; that one must not ask again.
    if (m_committing)
        return true;
    const QString typed = text().trimmed();
    const QString shown = m_date.isValid() ? formatShortDate(m_date) : QString();
    if (typed == shown)
        return true;
    QDate parsed;
    bool ok = false;
    if (typed.isEmpty()) {
        ok = m_allowEmpty;
    } else {
        parsed = parseShortDate(typed, &ok);
    }
    if (!ok) {
        m_committing = true;
        setText(shown);
        UserDialogs::instance().showMessage(UserDialogs::Kind::Error, invalidDateMessage(typed));
        m_committing = false;
        return false;
    }
    setDate(parsed);
    emit dateCommitted(m_date);
    return true;
}

// ---------------------------------------------------------------- DecimalEdit

DecimalEdit::DecimalEdit(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::returnPressed, this, [this] { commitEdit(); });
    showValue();
}

void DecimalEdit::setDisplayMask(const QString &mask)
{
    m_mask = mask;
    showValue();
}

void DecimalEdit::setValue(const Decimal &value)
{
    m_value = value;
    m_null = false;
    showValue();
}

void DecimalEdit::setNull()
{
    m_value = Decimal();
    m_null = true;
    showValue();
}

void DecimalEdit::showValue()
{
    if (m_null)
        setText(QString());
    else if (hasFocus())
        setText(decimalEditText(m_value));
    else
        setText(formatFloat(m_mask, m_value));
}

bool DecimalEdit::commitEdit()
{
    if (m_committing)
        return true;
    const QString typed = text().trimmed();
    if (typed.isEmpty()) {
        // Passing through an empty box changes nothing; emptying a number
        // clears it (or makes it 0 where no empty value is allowed).
        if (m_null)
            return true;
        const bool changed = m_allowNull || !m_value.isZero();
        if (m_allowNull)
            setNull();
        else
            setValue(Decimal());
        if (changed)
            emit valueCommitted();
        return true;
    }
    const auto parsed = Decimal::parse(typed);
    if (!parsed) {
        m_committing = true;
        showValue();
        UserDialogs::instance().showMessage(UserDialogs::Kind::Error, invalidNumberMessage(typed));
        m_committing = false;
        return false;
    }
    Decimal v = *parsed;
    if (m_scale >= 0)
        v = v.rescaled(m_scale);
    const bool changed = m_null || !(v == m_value) || v.scale() != m_value.scale();
    m_value = v;
    m_null = false;
    showValue();
    if (changed)
        emit valueCommitted();
    return true;
}

void DecimalEdit::focusInEvent(QFocusEvent *e)
{
    QLineEdit::focusInEvent(e);
    if (!m_null)
        setText(decimalEditText(m_value));
    selectAll();
}

void DecimalEdit::focusOutEvent(QFocusEvent *e)
{
    const bool leave = isRealLeave(e);
    if (leave)
        commitEdit();
    QLineEdit::focusOutEvent(e);
    if (leave)
        showValue();
}
