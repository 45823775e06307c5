#include "ExpressionParser.h"

#include "ExpressionError.h"
#include "ExpressionFunctions.h"

namespace KRML_ReportGen {

namespace {

using Kind = ExpressionToken::Kind;
using Op = ExpressionNode::Op;

QString describe(const ExpressionToken &t)
{
    switch (t.kind) {
    case Kind::End:
        return QStringLiteral("the end of the expression");
    case Kind::Number:
    case Kind::Name:
    case Kind::Operator:
    case Kind::Open:
    case Kind::Close:
    case Kind::Separator:
    case Kind::Field:
        return QStringLiteral("\"%1\"").arg(t.text);
    case Kind::Text:
        return QStringLiteral("a text");
    case Kind::Date:
        return QStringLiteral("a date");
    case Kind::Star:
        return QStringLiteral("\"*\"");
    }
    return QString();
}

} // namespace

std::unique_ptr<ExpressionNode> ExpressionParser::parse(const QList<ExpressionToken> &tokens)
{
    ExpressionParser p(tokens);
    if (p.peek().kind == Kind::End)
        p.fail(p.peek(), QStringLiteral("the expression is empty"));
    Node root = p.orExpr();
    if (p.peek().kind != Kind::End)
        p.fail(p.peek(), QStringLiteral("%1 is not expected here").arg(describe(p.peek())));
    return root;
}

void ExpressionParser::fail(const ExpressionToken &at, const QString &message) const
{
    throw ExpressionError(ExpressionError::SyntaxError, at.position, message);
}

bool ExpressionParser::isOperator(const char *op) const
{
    return peek().kind == Kind::Operator && peek().text == QLatin1String(op);
}

bool ExpressionParser::isWord(const char *word) const
{
    return peek().kind == Kind::Name && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

ExpressionParser::Node ExpressionParser::binary(Op op, int position, Node a, Node b)
{
    auto n = std::make_unique<ExpressionNode>();
    n->kind = ExpressionNode::Kind::Binary;
    n->op = op;
    n->position = position;
    n->args.push_back(std::move(a));
    n->args.push_back(std::move(b));
    return n;
}

ExpressionParser::Node ExpressionParser::orExpr()
{
    Node left = andExpr();
    while (isWord("Or")) {
        const int at = take().position;
        left = binary(Op::Or, at, std::move(left), andExpr());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::andExpr()
{
    Node left = notExpr();
    while (isWord("And")) {
        const int at = take().position;
        left = binary(Op::And, at, std::move(left), notExpr());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::notExpr()
{
    if (!isWord("Not"))
        return comparison();
    auto n = std::make_unique<ExpressionNode>();
    n->kind = ExpressionNode::Kind::Unary;
    n->op = Op::Not;
    n->position = take().position;
    n->args.push_back(notExpr());
    return n;
}

ExpressionParser::Node ExpressionParser::comparison()
{
    Node left = concat();
    for (;;) {
        Op op = Op::None;
        if (isOperator("="))
            op = Op::Equal;
        else if (isOperator("<>"))
            op = Op::NotEqual;
        else if (isOperator("<"))
            op = Op::Less;
        else if (isOperator("<="))
            op = Op::LessEqual;
        else if (isOperator(">"))
            op = Op::Greater;
        else if (isOperator(">="))
            op = Op::GreaterEqual;
        else
            return left;
        const int at = take().position;
        left = binary(op, at, std::move(left), concat());
    }
}

ExpressionParser::Node ExpressionParser::concat()
{
    Node left = additive();
    while (isOperator("&")) {
        const int at = take().position;
        left = binary(Op::Concat, at, std::move(left), additive());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::additive()
{
    Node left = modExpr();
    while (isOperator("+") || isOperator("-")) {
        const Op op = isOperator("+") ? Op::Add : Op::Subtract;
        const int at = take().position;
        left = binary(op, at, std::move(left), modExpr());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::modExpr()
{
    Node left = intDivide();
    while (isWord("Mod")) {
        const int at = take().position;
        left = binary(Op::Mod, at, std::move(left), intDivide());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::intDivide()
{
    Node left = multiplicative();
    while (isOperator("\\")) {
        const int at = take().position;
        left = binary(Op::IntDivide, at, std::move(left), multiplicative());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::multiplicative()
{
    Node left = unaryExpr();
    while (isOperator("*") || isOperator("/")) {
        const Op op = isOperator("*") ? Op::Multiply : Op::Divide;
        const int at = take().position;
        left = binary(op, at, std::move(left), unaryExpr());
    }
    return left;
}

ExpressionParser::Node ExpressionParser::unaryExpr()
{
    if (isOperator("+")) {
        take();
        return unaryExpr();
    }
    if (!isOperator("-"))
        return power();
    auto n = std::make_unique<ExpressionNode>();
    n->kind = ExpressionNode::Kind::Unary;
    n->op = Op::Negate;
    n->position = take().position;
    n->args.push_back(unaryExpr());
    return n;
}

ExpressionParser::Node ExpressionParser::power()
{
    Node left = primary();
    while (isOperator("^")) {
        const int at = take().position;
        left = binary(Op::Power, at, std::move(left), powerOperand());
    }
    return left;
}

// 2^-1: a sign right after "^" belongs to the exponent.
ExpressionParser::Node ExpressionParser::powerOperand()
{
    if (!isOperator("-") && !isOperator("+"))
        return primary();
    const bool negate = isOperator("-");
    const int at = take().position;
    Node operand = powerOperand();
    if (!negate)
        return operand;
    auto n = std::make_unique<ExpressionNode>();
    n->kind = ExpressionNode::Kind::Unary;
    n->op = Op::Negate;
    n->position = at;
    n->args.push_back(std::move(operand));
    return n;
}

ExpressionParser::Node ExpressionParser::primary()
{
    const ExpressionToken &t = take();
    auto n = std::make_unique<ExpressionNode>();
    n->position = t.position;
    switch (t.kind) {
    case Kind::Number:
    case Kind::Text:
    case Kind::Date:
        n->value = t.value;
        return n;
    case Kind::Field:
        n->kind = ExpressionNode::Kind::Field;
        n->statement = t.statement;
        n->field = t.field;
        return n;
    case Kind::Open: {
        if (t.text != QLatin1String("("))
            fail(t, QStringLiteral("\"{\" is not expected here"));
        Node inner = orExpr();
        if (peek().kind != Kind::Close || peek().text != QLatin1String(")"))
            fail(peek(), QStringLiteral("expected \")\" instead of %1").arg(describe(peek())));
        take();
        return inner;
    }
    case Kind::Name: {
        if (t.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            n->value = true;
            return n;
        }
        if (t.text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            n->value = false;
            return n;
        }
        if (t.text.compare(QLatin1String("Null"), Qt::CaseInsensitive) == 0)
            return n;
        const int f = ExpressionFunctions::find(t.text);
        if (f < 0)
            fail(t, QStringLiteral("\"%1\" is not a function").arg(t.text));
        return call(t, f);
    }
    default:
        fail(t, QStringLiteral("%1 is not expected here").arg(describe(t)));
    }
}

ExpressionParser::Node ExpressionParser::call(const ExpressionToken &name, int function)
{
    const ExpressionFunctions::Function &f = ExpressionFunctions::all()[function];
    auto n = std::make_unique<ExpressionNode>();
    n->kind = ExpressionNode::Kind::Call;
    n->function = function;
    n->position = name.position;
    const QString fname = QString::fromLatin1(f.name);
    if (peek().kind != Kind::Open) {
        if (f.minArgs > 0)
            fail(peek(), QStringLiteral("%1 needs its arguments in parentheses: %2").arg(fname, QString::fromLatin1(f.signature)));
        return n;
    }
    const QString close = take().text == QLatin1String("(") ? QStringLiteral(")") : QStringLiteral("}");
    if (f.aggregate && m_aggregateDepth > 0)
        fail(name, QStringLiteral("%1 cannot run inside another aggregate").arg(fname));
    if (f.aggregate)
        ++m_aggregateDepth;
    if (!(peek().kind == Kind::Close && peek().text == close)) {
        for (;;) {
            if (peek().kind == Kind::Star) {
                if (f.id != ExpressionFunctions::Count)
                    fail(peek(), QStringLiteral("\"*\" stands only in Count(*)"));
                auto all = std::make_unique<ExpressionNode>();
                all->kind = ExpressionNode::Kind::AllRows;
                all->position = take().position;
                n->args.push_back(std::move(all));
            } else {
                n->args.push_back(orExpr());
            }
            if (peek().kind != Kind::Separator)
                break;
            take();
        }
    }
    if (peek().kind != Kind::Close || peek().text != close)
        fail(peek(), QStringLiteral("expected \"%1\" instead of %2").arg(close, describe(peek())));
    take();
    if (f.aggregate)
        --m_aggregateDepth;
    const int count = int(n->args.size());
    if (count < f.minArgs || count > f.maxArgs) {
        const QString takes = f.minArgs == f.maxArgs
            ? QStringLiteral("%1 argument%2").arg(f.minArgs).arg(f.minArgs == 1 ? QString() : QStringLiteral("s"))
            : QStringLiteral("%1 to %2 arguments").arg(f.minArgs).arg(f.maxArgs);
        fail(name, QStringLiteral("%1 takes %2: %3").arg(fname, takes, QString::fromLatin1(f.signature)));
    }
    return n;
}

} // namespace KRML_ReportGen
