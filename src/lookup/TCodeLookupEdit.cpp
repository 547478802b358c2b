#include "TCodeLookupEdit.h"
#include "LookupSupport.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QLabel>

TCodeLookupEdit::TCodeLookupEdit(QWidget *parent) : QLineEdit(parent)
{
    makeUpperCase(this);
    connect(this, &QLineEdit::textEdited, this, [this](const QString &t) {
        qint64 id = 0;
        QString desc;
        if (!t.trimmed().isEmpty() && find(t, &id, &desc))
            show(id, desc);
        else
            show(0, QString());
    });
}

Connection &TCodeLookupEdit::conn() { return m_conn ? *m_conn : TDM::instance()->DMDATA(); }

QString TCodeLookupEdit::statement(const QString &where) const
{
    QString sql = QStringLiteral("SELECT ") + checkedIdentifier(K_LookupIDField) + QStringLiteral(", ")
        + checkedIdentifier(K_DescriptionField) + QStringLiteral(", ") + checkedIdentifier(K_LookupEditField)
        + QStringLiteral(" FROM ") + checkedIdentifier(K_LookupTableName) + QStringLiteral(" WHERE ") + where;
    if (!K_Filter.trimmed().isEmpty())
        sql += QStringLiteral(" AND (") + K_Filter + QLatin1Char(')');
    return sql;
}

bool TCodeLookupEdit::find(const QString &code, qint64 *id, QString *desc)
{
    try {
        Params p = K_FilterParams;
        p.insert(QStringLiteral("lookup_code"), code.trimmed());
        auto q = conn().exec(statement(checkedIdentifier(K_LookupEditField) + QStringLiteral(" = :lookup_code")), p);
        if (!q.next())
            return false;
        *id = q.value(0).toLongLong();
        *desc = dbText(q.value(1));
        return true;
    } catch (const DbError &e) {
        ShowError(e.message());
        return false;
    }
}

void TCodeLookupEdit::show(qint64 id, const QString &desc)
{
    m_id = id;
    m_description = desc;
    if (K_DescriptionLabel)
        K_DescriptionLabel->setText(id > 0 || !desc.isEmpty() ? desc : QStringLiteral("-"));
}

bool TCodeLookupEdit::hasValidValue() const
{
    return text().trimmed().isEmpty() ? K_AllowNull : m_id > 0;
}

void TCodeLookupEdit::setLookupId(qint64 id)
{
    if (id <= 0) {
        clear();
        show(0, QString());
        return;
    }
    try {
        Params p = K_FilterParams;
        p.insert(QStringLiteral("lookup_id"), id);
        auto q = conn().exec(statement(checkedIdentifier(K_LookupIDField) + QStringLiteral(" = :lookup_id")), p);
        if (q.next()) {
            setText(dbText(q.value(2)).trimmed());
            show(id, dbText(q.value(1)));
            return;
        }
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    clear();
    show(0, QString());
}

bool TCodeLookupEdit::checkCode()
{
    const QString code = text().trimmed();
    if (code.isEmpty()) {
        show(0, QString());
        emit codeAccepted(0);
        return K_AllowNull;
    }
    qint64 id = 0;
    QString desc;
    if (find(code, &id, &desc)) {
        if (text() != code)
            setText(code);
        show(id, desc);
        emit codeAccepted(id);
        return true;
    }
    clear();
    show(0, QString());
    emit codeRefused(code);
    return false;
}

void TCodeLookupEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    // A menu or tool tip taking the focus is not leaving the box.
    if (e->reason() == Qt::PopupFocusReason || e->reason() == Qt::ActiveWindowFocusReason)
        return;
    checkCode();
}
