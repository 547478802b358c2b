#pragma once
#include "db/Connection.h"
#include <QLineEdit>
#include <QPointer>

class QLabel;

// A code box bound to a table: typing a code shows its description in a label;
// leaving it with a code that is not in the table (or outside the filter) clears
// it. Names of the table and columns come from code and are checked as plain
// identifiers; the code and the filter's values are bound.
class TCodeLookupEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TCodeLookupEdit(QWidget *parent = nullptr);

    QString K_LookupTableName;
    QString K_LookupIDField = QStringLiteral("Id");
    QString K_LookupEditField = QStringLiteral("Code");
    QString K_DescriptionField = QStringLiteral("Description");
    QPointer<QLabel> K_DescriptionLabel;
    // A fixed condition written by the program (for example "GroupCode = :grp"),
    // with its values in K_FilterParams.
    QString K_Filter;
    Params K_FilterParams;
    bool K_AllowNull = true;
    // The record column that holds the chosen id, for windows bound to a record.
    QString DataField;

    qint64 lookupId() const { return m_id; }
    QString description() const { return m_description; }
    // Empty and allowed, or a code found in the table.
    bool hasValidValue() const;
    // Shows the row of the given id (a record loaded by the module).
    void setLookupId(qint64 id);
    // Checks the current text now, as leaving the box does; false when it was refused.
    bool checkCode();

    // Connection used for the look-up; the company's by default.
    void setConnection(Connection *c) { m_conn = c; }

signals:
    // After leaving the box: the code was accepted (possibly empty) or refused and cleared.
    void codeAccepted(qint64 id);
    void codeRefused(const QString &code);

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    // The row of a code: id and description; false when absent.
    bool find(const QString &code, qint64 *id, QString *desc);
    void show(qint64 id, const QString &desc);
    Connection &conn();
    QString statement(const QString &where) const;
    Connection *m_conn = nullptr;
    qint64 m_id = 0;
    QString m_description;
};
