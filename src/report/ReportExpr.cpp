#include "ReportExpr.h"
#include "core/DateFormat.h"
#include "core/FormatFloat.h"
#include "services/TDM.h"
#include "services/TextUtils.h"
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>
#include <QVariant>

// ------------------------------------------------------------------ values

RValue RValue::fromVariant(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.metaType().id()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort:
        return number(Decimal(v.toLongLong()));
    case QMetaType::Double: case QMetaType::Float:
        return number(Decimal::fromDouble(v.toDouble()));
    case QMetaType::Bool:
        return boolean(v.toBool());
    case QMetaType::QDate:
        return fromDate(v.toDate());
    case QMetaType::QDateTime:
        return fromDate(v.toDateTime().date());
    case QMetaType::QByteArray:
        return fromBytes(v.toByteArray());
    default:
        break;
    }
    if (v.metaType() == QMetaType::fromType<Decimal>())
        return number(v.value<Decimal>());
    const QString t = v.toString();
    // SQLite hands dates back as ISO text; a date column must still print as a date.
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:[ T]\\d{2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?$"));
    const auto m = iso.match(t);
    if (m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (d.isValid())
            return fromDate(d);
    }
    return fromText(t);
}

bool RValue::isNumeric() const
{
    if (type == Type::Number || type == Type::Null || type == Type::Bool)
        return true;
    return type == Type::Text && Decimal::parse(text).has_value();
}

Decimal RValue::toNumber(const QString &what) const
{
    switch (type) {
    case Type::Number: return num;
    case Type::Null: return Decimal(0);
    case Type::Bool: return Decimal(flag ? 1 : 0);
    case Type::Text: {
        if (text.trimmed().isEmpty())
            return Decimal(0);
        if (auto d = Decimal::parse(text))
            return *d;
        break;
    }
    default:
        break;
    }
    throw ReportError(QStringLiteral("%1: \"%2\" is not a number").arg(what, toDisplay()));
}

bool RValue::toBool() const
{
    switch (type) {
    case Type::Bool: return flag;
    case Type::Number: return !num.isZero();
    case Type::Text: return !text.isEmpty() && text.compare(QLatin1String("N")) != 0 && text.compare(QLatin1String("0")) != 0;
    case Type::Date: return true;
    default: return false;
    }
}

QString RValue::toDisplay() const
{
    switch (type) {
    case Type::Null: return {};
    case Type::Number: {
        // Computed numbers print without the trailing zeros of their working scale.
        QString t = num.toString();
        if (t.contains(QLatin1Char('.'))) {
            while (t.endsWith(QLatin1Char('0')))
                t.chop(1);
            if (t.endsWith(QLatin1Char('.')))
                t.chop(1);
        }
        return t;
    }
    case Type::Text: return text;
    case Type::Date: return formatShortDate(date);
    case Type::Bool: return flag ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Bytes: return {};
    }
    return {};
}

// ------------------------------------------------------------------ syntax tree

struct ExprNode
{
    enum class Kind { Const, Name, Unary, Binary, Call, Aggregate };
    Kind kind = Kind::Const;
    RValue value;
    QString dataset, name; // Name; name also holds the function / operator
    std::vector<std::shared_ptr<ExprNode>> args;
    std::shared_ptr<Expr::Aggregate> aggregate;
};

namespace {

struct FunctionInfo { const char *name; int minArgs; int maxArgs; };
const FunctionInfo kFunctions[] = {
    {"IIF", 3, 3}, {"FORMATFLOAT", 2, 2}, {"FORMATDATETIME", 2, 2}, {"DATETOSTR", 1, 1}, {"TRIM", 1, 1},
    {"UPPER", 1, 1}, {"LOWER", 1, 1}, {"LENGTH", 1, 1}, {"COPY", 3, 3}, {"STR", 1, 1}, {"ROUND", 2, 2},
    {"SUM", 1, 1}, {"COUNT", 0, 0},
    {"TELL_REAL_THAI", 2, 2}, {"TELL_REAL_THAI2", 2, 2}, {"TELL_REAL_ENG", 2, 2}, {"TELL_REAL_ENG2", 2, 2},
    {"ONHANDQUANTITY", 2, 2}, {"ONHANDQUANTITYLSUNIT", 3, 3}, {"FRACSMALLBYSTOCK", 2, 2},
};

const FunctionInfo *findFunction(const QString &upperName)
{
    for (const auto &f : kFunctions)
        if (upperName == QLatin1String(f.name))
            return &f;
    return nullptr;
}

struct Token
{
    enum class T { End, Number, String, Ident, QuotedIdent, Op };
    T type = T::End;
    QString text;
    int pos = 0;
};

class Parser
{
public:
    explicit Parser(const QString &src) : m_src(src) { advance(); }

    std::shared_ptr<ExprNode> parseAll()
    {
        auto n = parseOr();
        if (m_tok.type != Token::T::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tok.text));
        return n;
    }

private:
    [[noreturn]] void fail(const QString &what) const
    {
        throw ReportError(QStringLiteral("error in expression \"%1\" at position %2: %3").arg(m_src).arg(m_tok.pos + 1).arg(what));
    }

    void advance()
    {
        int i = m_pos;
        while (i < m_src.size() && m_src.at(i).isSpace())
            ++i;
        m_tok = Token();
        m_tok.pos = i;
        if (i >= m_src.size()) {
            m_pos = i;
            return;
        }
        const QChar c = m_src.at(i);
        if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < m_src.size() && m_src.at(i + 1).isDigit())) {
            int j = i;
            while (j < m_src.size() && (m_src.at(j).isDigit() || m_src.at(j) == QLatin1Char('.')))
                ++j;
            m_tok.type = Token::T::Number;
            m_tok.text = m_src.mid(i, j - i);
            m_pos = j;
            return;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString s;
            int j = i + 1;
            for (;;) {
                if (j >= m_src.size()) {
                    m_tok.pos = i;
                    fail(QStringLiteral("unterminated quote"));
                }
                if (m_src.at(j) == c) {
                    if (j + 1 < m_src.size() && m_src.at(j + 1) == c) { s += c; j += 2; continue; }
                    break;
                }
                s += m_src.at(j++);
            }
            m_tok.type = c == QLatin1Char('\'') ? Token::T::String : Token::T::QuotedIdent;
            m_tok.text = s;
            m_pos = j + 1;
            return;
        }
        if (c.isLetter() || c == QLatin1Char('_') || c.isMark()) {
            int j = i;
            while (j < m_src.size() && (m_src.at(j).isLetterOrNumber() || m_src.at(j).isMark() || m_src.at(j) == QLatin1Char('_') || m_src.at(j) == QLatin1Char('#')))
                ++j;
            m_tok.type = Token::T::Ident;
            m_tok.text = m_src.mid(i, j - i);
            m_pos = j;
            return;
        }
        static const QStringList two = {QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!=")};
        const QString pair = m_src.mid(i, 2);
        m_tok.type = Token::T::Op;
        if (two.contains(pair)) {
            m_tok.text = pair == QLatin1String("!=") ? QStringLiteral("<>") : pair;
            m_pos = i + 2;
        } else if (QStringLiteral("+-*/=<>(),.&").contains(c)) {
            m_tok.text = c;
            m_pos = i + 1;
        } else {
            fail(QStringLiteral("unexpected character \"%1\"").arg(c));
        }
    }

    bool isOp(const char *op) const { return m_tok.type == Token::T::Op && m_tok.text == QLatin1String(op); }
    bool isWord(const char *w) const { return m_tok.type == Token::T::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; }
    void expect(const char *op)
    {
        if (!isOp(op))
            fail(QStringLiteral("\"%1\" expected").arg(QLatin1String(op)));
        advance();
    }

    static std::shared_ptr<ExprNode> binary(const QString &op, std::shared_ptr<ExprNode> a, std::shared_ptr<ExprNode> b)
    {
        auto n = std::make_shared<ExprNode>();
        n->kind = ExprNode::Kind::Binary;
        n->name = op;
        n->args = {std::move(a), std::move(b)};
        return n;
    }

    std::shared_ptr<ExprNode> parseOr()
    {
        auto l = parseAnd();
        while (isWord("OR")) { advance(); l = binary(QStringLiteral("OR"), l, parseAnd()); }
        return l;
    }
    std::shared_ptr<ExprNode> parseAnd()
    {
        auto l = parseNot();
        while (isWord("AND")) { advance(); l = binary(QStringLiteral("AND"), l, parseNot()); }
        return l;
    }
    std::shared_ptr<ExprNode> parseNot()
    {
        if (isWord("NOT")) {
            advance();
            auto n = std::make_shared<ExprNode>();
            n->kind = ExprNode::Kind::Unary;
            n->name = QStringLiteral("NOT");
            n->args = {parseNot()};
            return n;
        }
        return parseCompare();
    }
    std::shared_ptr<ExprNode> parseCompare()
    {
        auto l = parseAdd();
        for (const char *op : {"=", "<>", "<=", ">=", "<", ">"}) {
            if (isOp(op)) {
                advance();
                return binary(QLatin1String(op), l, parseAdd());
            }
        }
        return l;
    }
    std::shared_ptr<ExprNode> parseAdd()
    {
        auto l = parseMul();
        while (isOp("+") || isOp("-") || isOp("&")) {
            const QString op = m_tok.text;
            advance();
            l = binary(op, l, parseMul());
        }
        return l;
    }
    std::shared_ptr<ExprNode> parseMul()
    {
        auto l = parseUnary();
        while (isOp("*") || isOp("/") || isWord("MOD") || isWord("DIV")) {
            const QString op = m_tok.text.toUpper();
            advance();
            l = binary(op, l, parseUnary());
        }
        return l;
    }
    std::shared_ptr<ExprNode> parseUnary()
    {
        if (isOp("-") || isOp("+")) {
            const QString op = m_tok.text;
            advance();
            auto n = std::make_shared<ExprNode>();
            n->kind = ExprNode::Kind::Unary;
            n->name = op;
            n->args = {parseUnary()};
            return n;
        }
        return parsePrimary();
    }
    std::shared_ptr<ExprNode> parsePrimary()
    {
        auto n = std::make_shared<ExprNode>();
        switch (m_tok.type) {
        case Token::T::Number: {
            auto d = Decimal::parse(m_tok.text);
            if (!d)
                fail(QStringLiteral("bad number \"%1\"").arg(m_tok.text));
            n->value = RValue::number(*d);
            advance();
            return n;
        }
        case Token::T::String:
            n->value = RValue::fromText(m_tok.text);
            advance();
            return n;
        case Token::T::Ident:
        case Token::T::QuotedIdent: {
            const bool quoted = m_tok.type == Token::T::QuotedIdent;
            const QString first = m_tok.text;
            const int at = m_tok.pos;
            advance();
            if (!quoted && isOp("(")) {
                const QString fn = first.toUpper();
                const FunctionInfo *info = findFunction(fn);
                if (!info) {
                    m_tok.pos = at;
                    fail(QStringLiteral("unknown function %1").arg(first));
                }
                advance();
                std::vector<std::shared_ptr<ExprNode>> args;
                if (!isOp(")")) {
                    args.push_back(parseOr());
                    while (isOp(",")) { advance(); args.push_back(parseOr()); }
                }
                expect(")");
                if (int(args.size()) < info->minArgs || int(args.size()) > info->maxArgs) {
                    m_tok.pos = at;
                    fail(QStringLiteral("%1 takes %2 argument(s), not %3").arg(fn).arg(info->minArgs).arg(args.size()));
                }
                if (fn == QLatin1String("SUM") || fn == QLatin1String("COUNT")) {
                    n->kind = ExprNode::Kind::Aggregate;
                    n->aggregate = std::make_shared<Expr::Aggregate>();
                    n->aggregate->isCount = fn == QLatin1String("COUNT");
                    if (!args.empty())
                        n->aggregate->argument = args.front();
                    return n;
                }
                n->kind = ExprNode::Kind::Call;
                n->name = fn;
                n->args = std::move(args);
                return n;
            }
            n->kind = ExprNode::Kind::Name;
            if (isOp(".")) {
                advance();
                if (m_tok.type != Token::T::Ident && m_tok.type != Token::T::QuotedIdent)
                    fail(QStringLiteral("field name expected after \"%1.\"").arg(first));
                n->dataset = first;
                n->name = m_tok.text;
                advance();
            } else {
                n->name = first;
            }
            return n;
        }
        case Token::T::Op:
            if (isOp("(")) {
                advance();
                auto inner = parseOr();
                expect(")");
                return inner;
            }
            fail(QStringLiteral("unexpected \"%1\"").arg(m_tok.text));
        case Token::T::End:
            fail(QStringLiteral("unexpected end"));
        }
        fail(QStringLiteral("unexpected input"));
    }

    QString m_src;
    int m_pos = 0;
    Token m_tok;
};

void collect(const std::shared_ptr<ExprNode> &n, std::vector<std::shared_ptr<Expr::Aggregate>> &out)
{
    if (!n)
        return;
    if (n->kind == ExprNode::Kind::Aggregate) {
        out.push_back(n->aggregate);
        collect(n->aggregate->argument, out);
    }
    for (const auto &a : n->args)
        collect(a, out);
}

bool readsPageCount(const std::shared_ptr<ExprNode> &n)
{
    if (!n)
        return false;
    if (n->kind == ExprNode::Kind::Name && n->dataset.isEmpty()
        && (n->name.compare(QLatin1String("TOTALPAGES"), Qt::CaseInsensitive) == 0
            || n->name.compare(QLatin1String("PAGECOUNT"), Qt::CaseInsensitive) == 0))
        return true;
    if (n->aggregate && readsPageCount(n->aggregate->argument))
        return true;
    for (const auto &a : n->args)
        if (readsPageCount(a))
            return true;
    return false;
}

int compareValues(const RValue &a, const RValue &b)
{
    if (a.type == RValue::Type::Date && b.type == RValue::Type::Date)
        return a.date < b.date ? -1 : (a.date > b.date ? 1 : 0);
    const bool numeric = (a.type == RValue::Type::Number || b.type == RValue::Type::Number) && a.isNumeric() && b.isNumeric();
    if (numeric) {
        const auto c = a.toNumber(QString()) <=> b.toNumber(QString());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return QString::compare(a.toDisplay(), b.toDisplay());
}

// Delphi-style date pictures, as layouts are written: d dd m mm mmm mmmm yy yyyy,
// plus bbbb for the Buddhist-era year that Thai documents print.
QString formatDatePicture(const QString &picture, const QDate &d)
{
    static const QLocale thai(QLocale::Thai, QLocale::Thailand);
    QString out;
    int i = 0;
    auto run = [&](QChar c) {
        int n = 0;
        while (i + n < picture.size() && picture.at(i + n).toLower() == c)
            ++n;
        return n;
    };
    while (i < picture.size()) {
        const QChar c = picture.at(i).toLower();
        if (c == QLatin1Char('d')) {
            const int n = run(c);
            out += n >= 2 ? QString::number(d.day()).rightJustified(2, QLatin1Char('0')) : QString::number(d.day());
            i += n;
        } else if (c == QLatin1Char('m')) {
            const int n = run(c);
            if (n >= 4) out += thai.monthName(d.month(), QLocale::LongFormat);
            else if (n == 3) out += thai.monthName(d.month(), QLocale::ShortFormat);
            else if (n == 2) out += QString::number(d.month()).rightJustified(2, QLatin1Char('0'));
            else out += QString::number(d.month());
            i += n;
        } else if (c == QLatin1Char('y') || c == QLatin1Char('b')) {
            const int n = run(c);
            const int year = d.year() + (c == QLatin1Char('b') ? 543 : 0);
            out += n >= 3 ? QString::number(year) : QString::number(year % 100).rightJustified(2, QLatin1Char('0'));
            i += n;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = picture.indexOf(picture.at(i), i + 1);
            out += picture.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? picture.size() : end + 1;
        } else {
            out += picture.at(i++);
        }
    }
    return out;
}

RValue callFunction(const ExprNode &n, ExprContext &ctx)
{
    const QString &fn = n.name;
    if (fn == QLatin1String("IIF"))
        return Expr::evalNode(*n.args[0], ctx).toBool() ? Expr::evalNode(*n.args[1], ctx) : Expr::evalNode(*n.args[2], ctx);
    std::vector<RValue> a;
    a.reserve(n.args.size());
    for (const auto &arg : n.args)
        a.push_back(Expr::evalNode(*arg, ctx));
    auto num = [&](int i) { return a[i].toNumber(QStringLiteral("%1, argument %2").arg(fn).arg(i + 1)); };
    auto integer = [&](int i) { return int(num(i).toInt64()); };
    auto real = [&](int i) { return num(i).toDouble(); };
    auto date = [&](int i) {
        if (a[i].type == RValue::Type::Date || a[i].isNull())
            return a[i].date;
        bool ok = false;
        const QDate d = parseShortDate(a[i].toDisplay(), &ok);
        if (!ok)
            throw ReportError(QStringLiteral("%1: \"%2\" is not a date").arg(fn, a[i].toDisplay()));
        return d;
    };
    if (fn == QLatin1String("FORMATFLOAT"))
        return RValue::fromText(a[1].isNull() ? QString() : formatFloat(QStringView(a[0].toDisplay()), num(1)));
    if (fn == QLatin1String("FORMATDATETIME")) {
        const QDate d = date(1);
        return RValue::fromText(d.isValid() ? formatDatePicture(a[0].toDisplay(), d) : QString());
    }
    if (fn == QLatin1String("DATETOSTR")) {
        const QDate d = date(0);
        return RValue::fromText(d.isValid() ? formatShortDate(d) : QString());
    }
    if (fn == QLatin1String("TRIM")) return RValue::fromText(a[0].toDisplay().trimmed());
    if (fn == QLatin1String("UPPER")) return RValue::fromText(a[0].toDisplay().toUpper());
    if (fn == QLatin1String("LOWER")) return RValue::fromText(a[0].toDisplay().toLower());
    if (fn == QLatin1String("LENGTH")) return RValue::number(Decimal(qint64(a[0].toDisplay().size())));
    if (fn == QLatin1String("COPY")) // 1-based start, as layouts are written
        return RValue::fromText(a[0].toDisplay().mid(qMax(0, integer(1) - 1), qMax(0, integer(2))));
    if (fn == QLatin1String("STR")) return RValue::fromText(a[0].toDisplay());
    if (fn == QLatin1String("ROUND")) return RValue::number(num(0).round(qBound(0, integer(1), Decimal::kMaxScale)));
    if (fn == QLatin1String("TELL_REAL_THAI")) return RValue::fromText(ThaiBahtText(integer(1), real(0)));
    if (fn == QLatin1String("TELL_REAL_THAI2")) return RValue::fromText(ThaiPointText(integer(1), real(0)));
    if (fn == QLatin1String("TELL_REAL_ENG")) return RValue::fromText(EnglishBahtText(integer(1), real(0)));
    if (fn == QLatin1String("TELL_REAL_ENG2")) return RValue::fromText(EnglishPointText(integer(1), real(0)));
    // The quantity functions read the unit rows and the configuration row of the
    // company database.
    auto dm = [&]() -> TDM & {
        if (!TDM::instance())
            throw ReportError(QStringLiteral("%1 needs the company database").arg(fn));
        return *TDM::instance();
    };
    if (fn == QLatin1String("ONHANDQUANTITY"))
        return RValue::fromText(dm().FormatOnhand(integer(1), real(0)));
    if (fn == QLatin1String("ONHANDQUANTITYLSUNIT"))
        return RValue::fromText(dm().FormatOnhandPart(integer(1), integer(2), real(0)));
    if (fn == QLatin1String("FRACSMALLBYSTOCK"))
        return RValue::fromText(dm().FormatStockFraction(integer(1), real(0)));
    throw ReportError(QStringLiteral("unknown function %1").arg(fn));
}

} // namespace

QStringList reportFunctionNames()
{
    QStringList l;
    for (const auto &f : kFunctions)
        l << QLatin1String(f.name);
    return l;
}

// ------------------------------------------------------------------ evaluation

RValue Expr::evalNode(const ExprNode &n, ExprContext &ctx)
{
    switch (n.kind) {
    case ExprNode::Kind::Const:
        return n.value;
    case ExprNode::Kind::Name: {
        if (auto v = ctx.lookup(n.dataset, n.name))
            return *v;
        if (n.dataset.isEmpty())
            throw ReportError(QStringLiteral("unknown field or variable %1").arg(n.name));
        throw ReportError(QStringLiteral("unknown field %1.%2").arg(n.dataset, n.name));
    }
    case ExprNode::Kind::Aggregate:
        return n.aggregate->isCount ? RValue::number(Decimal(n.aggregate->count)) : RValue::number(n.aggregate->total);
    case ExprNode::Kind::Call:
        return callFunction(n, ctx);
    case ExprNode::Kind::Unary: {
        const RValue v = evalNode(*n.args[0], ctx);
        if (n.name == QLatin1String("NOT"))
            return RValue::boolean(!v.toBool());
        const Decimal d = v.toNumber(QStringLiteral("sign"));
        return RValue::number(n.name == QLatin1String("-") ? -d : d);
    }
    case ExprNode::Kind::Binary: {
        const QString &op = n.name;
        if (op == QLatin1String("AND"))
            return RValue::boolean(evalNode(*n.args[0], ctx).toBool() && evalNode(*n.args[1], ctx).toBool());
        if (op == QLatin1String("OR"))
            return RValue::boolean(evalNode(*n.args[0], ctx).toBool() || evalNode(*n.args[1], ctx).toBool());
        const RValue a = evalNode(*n.args[0], ctx);
        const RValue b = evalNode(*n.args[1], ctx);
        if (op == QLatin1String("&"))
            return RValue::fromText(a.toDisplay() + b.toDisplay());
        if (op == QLatin1String("+")) {
            // Text joins text; a number next to numeric text (exact numerics come
            // from the database as text) adds.
            const bool numeric = (a.type == RValue::Type::Number || b.type == RValue::Type::Number) && a.isNumeric() && b.isNumeric();
            if (!numeric && (a.type == RValue::Type::Text || b.type == RValue::Type::Text || a.type == RValue::Type::Date || b.type == RValue::Type::Date))
                return RValue::fromText(a.toDisplay() + b.toDisplay());
            return RValue::number(a.toNumber(QStringLiteral("+")) + b.toNumber(QStringLiteral("+")));
        }
        if (op == QLatin1String("=")) return RValue::boolean(compareValues(a, b) == 0);
        if (op == QLatin1String("<>")) return RValue::boolean(compareValues(a, b) != 0);
        if (op == QLatin1String("<")) return RValue::boolean(compareValues(a, b) < 0);
        if (op == QLatin1String(">")) return RValue::boolean(compareValues(a, b) > 0);
        if (op == QLatin1String("<=")) return RValue::boolean(compareValues(a, b) <= 0);
        if (op == QLatin1String(">=")) return RValue::boolean(compareValues(a, b) >= 0);
        const Decimal x = a.toNumber(op), y = b.toNumber(op);
        try {
            if (op == QLatin1String("-")) return RValue::number(x - y);
            if (op == QLatin1String("*")) return RValue::number(x * y);
            if (op == QLatin1String("/")) {
                // Enough decimals for money and rates; trailing zeros do not matter to formatFloat.
                return RValue::number(x.divide(y, qMin(Decimal::kMaxScale, qMax(10, x.scale()))));
            }
            if (op == QLatin1String("DIV") || op == QLatin1String("MOD")) {
                const qint64 xi = x.toInt64(), yi = y.toInt64();
                if (yi == 0)
                    throw std::domain_error("division by zero");
                return RValue::number(Decimal(op == QLatin1String("DIV") ? xi / yi : xi % yi));
            }
        } catch (const std::domain_error &) {
            throw ReportError(QStringLiteral("division by zero"));
        } catch (const std::overflow_error &) {
            throw ReportError(QStringLiteral("number too large in \"%1\"").arg(op));
        }
        throw ReportError(QStringLiteral("unknown operator %1").arg(op));
    }
    }
    return {};
}

Expr Expr::compile(const QString &text)
{
    Expr e;
    e.m_text = text;
    Parser p(text);
    e.m_root = p.parseAll();
    return e;
}

RValue Expr::eval(ExprContext &ctx) const
{
    if (!m_root)
        return {};
    try {
        return evalNode(*m_root, ctx);
    } catch (const std::overflow_error &) {
        throw ReportError(QStringLiteral("number too large in \"%1\"").arg(m_text));
    }
}

std::vector<std::shared_ptr<Expr::Aggregate>> Expr::aggregates() const
{
    std::vector<std::shared_ptr<Aggregate>> out;
    collect(m_root, out);
    return out;
}

bool Expr::usesPageCount() const { return readsPageCount(m_root); }

// ------------------------------------------------------------------ templates

TemplateText TemplateText::compile(const QString &text)
{
    TemplateText t;
    QString literal;
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('[') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('[')) {
            literal += c;
            i += 2;
            continue;
        }
        if (c != QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        // Find the matching bracket, skipping quoted text and nested brackets.
        int depth = 1, j = i + 1;
        QChar quote;
        for (; j < text.size(); ++j) {
            const QChar d = text.at(j);
            if (!quote.isNull()) {
                if (d == quote) quote = QChar();
            } else if (d == QLatin1Char('\'') || d == QLatin1Char('"')) {
                quote = d;
            } else if (d == QLatin1Char('[')) {
                ++depth;
            } else if (d == QLatin1Char(']') && --depth == 0) {
                break;
            }
        }
        if (j >= text.size())
            throw ReportError(QStringLiteral("missing \"]\" in \"%1\"").arg(text));
        if (!literal.isEmpty())
            t.m_parts.push_back({literal, {}});
        literal.clear();
        t.m_parts.push_back({QString(), Expr::compile(text.mid(i + 1, j - i - 1))});
        i = j + 1;
    }
    if (!literal.isEmpty())
        t.m_parts.push_back({literal, {}});
    return t;
}

QString TemplateText::eval(ExprContext &ctx) const
{
    QString out;
    for (const auto &p : m_parts)
        out += p.expr.isValid() ? p.expr.eval(ctx).toDisplay() : p.literal;
    return out;
}

bool TemplateText::isConstant() const
{
    for (const auto &p : m_parts)
        if (p.expr.isValid())
            return false;
    return true;
}

std::vector<std::shared_ptr<Expr::Aggregate>> TemplateText::aggregates() const
{
    std::vector<std::shared_ptr<Expr::Aggregate>> out;
    for (const auto &p : m_parts)
        for (auto &a : p.expr.aggregates())
            out.push_back(a);
    return out;
}

bool TemplateText::usesPageCount() const
{
    for (const auto &p : m_parts)
        if (p.expr.usesPageCount())
            return true;
    return false;
}
