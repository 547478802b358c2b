#include "LookupSupport.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

QValidator::State UpperCaseValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QString up = input.toUpper();
    if (up != input)
        input = up;
    if (m_max > 0 && input.size() > m_max)
        return Invalid;
    return Acceptable;
}

void makeUpperCase(QLineEdit *edit, int maxLength)
{
    edit->setValidator(new UpperCaseValidator(edit, maxLength));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
}

bool isSqlIdentifier(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*\\.)?[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

QString checkedIdentifier(const QString &name)
{
    const QString n = name.trimmed();
    if (!isSqlIdentifier(n))
        throw DbError(QStringLiteral("Invalid object name '%1'.").arg(name));
    return n;
}

void SqlConditions::add(const QString &condition, const QVariantList &values)
{
    QString text;
    int v = 0;
    for (const QChar ch : condition) {
        if (ch == QLatin1Char('?') && v < values.size()) {
            const QString key = QStringLiteral("qc%1").arg(++m_next);
            m_params.insert(key, values.at(v++));
            text += QLatin1Char(':') + key;
        } else {
            text += ch;
        }
    }
    m_lines << QStringLiteral("And (") + text + QLatin1Char(')');
}

KeyPreview::KeyPreview(QWidget *owner, Handler handler) : QObject(owner), m_owner(owner), m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_enabled || !m_owner || event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    // Only keys for this window's own controls; a dialog opened on top has its own.
    if (w->window() != m_owner.data())
        return false;
    auto *k = static_cast<QKeyEvent *>(event);
    return m_handler(w, k->key(), k->modifiers());
}
