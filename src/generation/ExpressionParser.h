#pragma once

#include "ExpressionNode.h"
#include "ExpressionToken.h"

#include <QList>
#include <memory>

namespace KRML_ReportGen {

// Reads the tokens of an expression into a tree, with the precedence of
// the legacy language, lowest first: Or; And; Not; comparisons (= <> < <=
// > >=); &; + and -; Mod; \; * and /; unary minus; ^. Functions take their
// arguments in parentheses or in the braces the formula editor writes,
// separated by "," or ";". Throws ExpressionError at the first token that
// does not fit, and for a function with the wrong number of arguments, an
// unknown function and an aggregate inside an aggregate.
class ExpressionParser
{
public:
    static std::unique_ptr<ExpressionNode> parse(const QList<ExpressionToken> &tokens);

private:
    explicit ExpressionParser(const QList<ExpressionToken> &tokens) : m_tokens(tokens) {}

    using Node = std::unique_ptr<ExpressionNode>;
    Node orExpr();
    Node andExpr();
    Node notExpr();
    Node comparison();
    Node concat();
    Node additive();
    Node modExpr();
    Node intDivide();
    Node multiplicative();
    Node unaryExpr();
    Node power();
    Node powerOperand();
    Node primary();
    Node call(const ExpressionToken &name, int function);

    const ExpressionToken &peek() const { return m_tokens[m_at]; }
    const ExpressionToken &take() { return m_tokens[m_at++]; }
    bool isOperator(const char *op) const;
    bool isWord(const char *word) const;
    [[noreturn]] void fail(const ExpressionToken &at, const QString &message) const;
    static Node binary(ExpressionNode::Op op, int position, Node a, Node b);

    const QList<ExpressionToken> &m_tokens;
    int m_at = 0;
    int m_aggregateDepth = 0;
};

} // namespace KRML_ReportGen
