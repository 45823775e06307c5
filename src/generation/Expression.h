#pragma once

#include "ExpressionNode.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <map>
#include <memory>
#include <vector>

namespace KRML_ReportGen {

class ExpressionScope;
class Recordset;

// A formula of the expression language: a formula text that begins with
// "=". Any other formula keeps the legacy rules (FormulaEvaluator).
//
// Field references {Statement.Field} read the statement's rows. Outside an
// aggregate they read the row being printed, so the expression prints once
// per row of that statement (all per-row fields must come from one
// statement). Aggregates (Sum, Avg, Count, Min, Max) run over all rows of
// the statement their argument names, skipping Null as SQL does;
// RunningSum sums up to the row being printed and PageSum over the page's
// rows. An expression without per-row fields and without RunningSum prints
// once.
//
// Every error is an ExpressionError with the position it concerns.
class Expression
{
public:
    static bool isExpression(const QString &formula) { return formula.startsWith(QLatin1Char('=')); }

    // Parses the formula (with its "="); a syntax error is thrown.
    explicit Expression(const QString &formula);
    ~Expression();
    Expression(Expression &&) noexcept;
    Expression &operator=(Expression &&) noexcept;

    const QString &text() const { return m_text; }
    bool printsOnce() const { return m_rowStatement.isEmpty() && !m_perRowAggregate; }
    // The statement whose rows a per-row expression prints; empty when it prints once.
    QString rowStatement() const { return m_rowStatement; }
    bool usesPage() const { return m_usesPage; }

    // Finds the statements and fields the expression names; an unknown one
    // is an error at its reference. Forgets what earlier rows gave.
    void bind(ExpressionScope &scope);
    // The value for the scope's current row (and page).
    QVariant evaluate(ExpressionScope &scope);

private:
    QVariant eval(const ExpressionNode &node, ExpressionScope &scope, Recordset *rows);
    QVariant aggregate(const ExpressionNode &node, ExpressionScope &scope);
    void analyse(const ExpressionNode &node, bool insideAggregate);
    void bindNode(ExpressionNode &node, ExpressionScope &scope, const QString &aggregateStatement,
                  std::map<QString, std::unique_ptr<Recordset>> &rows);

    QString m_text;
    std::unique_ptr<ExpressionNode> m_root;
    QString m_rowStatement;
    bool m_perRowAggregate = false;
    bool m_usesPage = false;
    // Aggregates over all rows, once per run; running sums by row.
    QHash<const ExpressionNode *, QVariant> m_totals;
    QHash<const ExpressionNode *, std::vector<QVariant>> m_running;
};

} // namespace KRML_ReportGen
