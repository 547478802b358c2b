#pragma once
#include "core/Decimal.h"
#include <QByteArray>
#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

// A failure while loading, preparing or rendering a report. The message names
// what went wrong and where in the layout.
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// One value of the expression language. Numbers are exact decimals; text that
// looks like a number takes part in arithmetic as one.
struct RValue
{
    enum class Type { Null, Number, Text, Date, Bool, Bytes };
    Type type = Type::Null;
    Decimal num;
    QString text;
    QDate date;
    bool flag = false;
    QByteArray bytes;

    static RValue number(const Decimal &d) { RValue v; v.type = Type::Number; v.num = d; return v; }
    static RValue fromText(const QString &t) { RValue v; v.type = Type::Text; v.text = t; return v; }
    static RValue fromDate(const QDate &d) { RValue v; v.type = d.isValid() ? Type::Date : Type::Null; v.date = d; return v; }
    static RValue boolean(bool b) { RValue v; v.type = Type::Bool; v.flag = b; return v; }
    static RValue fromBytes(const QByteArray &b) { RValue v; v.type = Type::Bytes; v.bytes = b; return v; }
    // Database values: numbers stay numbers, dates (also ISO date text) become dates.
    static RValue fromVariant(const QVariant &v);

    bool isNull() const { return type == Type::Null; }
    // Numeric value; text must parse as a number, else a ReportError naming `what`.
    Decimal toNumber(const QString &what) const;
    bool isNumeric() const;
    bool toBool() const;
    // What a text object shows: numbers plainly, dates as the short date.
    QString toDisplay() const;
};

// What an expression can ask of the report while it is evaluated.
class ExprContext
{
public:
    virtual ~ExprContext() = default;
    // A variable, a special value (PAGE, TOTALPAGES, ...) or a field; nullopt when
    // the name is unknown. `dataset` is empty for an unqualified name.
    virtual std::optional<RValue> lookup(const QString &dataset, const QString &name) = 0;
};

struct ExprNode;

// A compiled expression. Compilation checks the syntax and the function names, so
// a layout with an unknown function fails as soon as it is loaded.
class Expr
{
public:
    Expr() = default;
    static Expr compile(const QString &text);
    RValue eval(ExprContext &ctx) const;
    bool isValid() const { return m_root != nullptr; }
    const QString &text() const { return m_text; }

    // Band aggregates (SUM, COUNT) in this expression: the engine feeds them with
    // the master rows and resets them at group, page or report start.
    struct Aggregate
    {
        bool isCount = false;
        std::shared_ptr<ExprNode> argument; // empty for COUNT()
        Decimal total;
        qint64 count = 0;
    };
    std::vector<std::shared_ptr<Aggregate>> aggregates() const;
    // True when the expression reads the page count (needs a second pass).
    bool usesPageCount() const;

    static RValue evalNode(const ExprNode &n, ExprContext &ctx);

private:
    std::shared_ptr<ExprNode> m_root;
    QString m_text;
};

// Text with embedded [expressions]; "[[" stands for a literal "[".
class TemplateText
{
public:
    static TemplateText compile(const QString &text);
    QString eval(ExprContext &ctx) const;
    bool isConstant() const;
    std::vector<std::shared_ptr<Expr::Aggregate>> aggregates() const;
    bool usesPageCount() const;

private:
    struct Part { QString literal; Expr expr; };
    std::vector<Part> m_parts;
};

// Names of the built-in functions (upper case), for error messages and checks.
QStringList reportFunctionNames();
