#pragma once
#include "db/Connection.h"
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QValidator>
#include <functional>

class QLineEdit;
class QWidget;

// Turns letters into upper case as they are typed (code boxes), optionally limited
// to a width.
class UpperCaseValidator : public QValidator
{
public:
    explicit UpperCaseValidator(QObject *parent = nullptr, int maxLength = 0) : QValidator(parent), m_max(maxLength) {}
    State validate(QString &input, int &pos) const override;

private:
    int m_max;
};
void makeUpperCase(QLineEdit *edit, int maxLength = 0);

// Table and column names put into statements come from code, never from the user;
// they are still checked so that a slip cannot turn into arbitrary SQL.
bool isSqlIdentifier(const QString &name);
// Throws DbError when the name is not a plain identifier (optionally "Alias.Name").
QString checkedIdentifier(const QString &name);

// Conditions a search adds to its statement, one "And (...)" line each, with the
// values bound. A "?" in the condition stands for the next value.
class SqlConditions
{
public:
    void clear() { m_lines.clear(); m_params.clear(); }
    void add(const QString &condition, const QVariantList &values = {});
    const QStringList &lines() const { return m_lines; }
    const Params &params() const { return m_params; }
    bool isEmpty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
    Params m_params;
    int m_next = 0;
};

// Key preview: an application-wide filter that sees the key presses meant for the
// controls of one window before those controls do. The handler returns true to
// swallow the key. It can be switched off and on (memo boxes, editable grids).
class KeyPreview : public QObject
{
public:
    using Handler = std::function<bool(QWidget *target, int key, Qt::KeyboardModifiers mods)>;
    KeyPreview(QWidget *owner, Handler handler);
    ~KeyPreview() override;
    void setEnabled(bool on) { m_enabled = on; }
    bool isEnabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_owner;
    Handler m_handler;
    bool m_enabled = true;
};
