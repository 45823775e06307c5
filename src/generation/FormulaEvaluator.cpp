#include "FormulaEvaluator.h"

#include "Expression.h"
#include "ExpressionValues.h"
#include "MemoryRecordset.h"
#include "RowsExpressionScope.h"

#include "LegacyNumber.h"
#include "ReportError.h"
#include "Recordset.h"
#include "ValueText.h"

#include <cmath>

namespace KRML_ReportGen {

QString FormulaEvaluator::AnalyseFunction(const QString &funcString, Recordset &funcRS)
{
    if (Expression::isExpression(funcString))
        return evaluateExpression(funcString, funcRS);
    return evaluate(funcString, funcRS, true);
}

QString FormulaEvaluator::evaluateExpression(const QString &funcString, Recordset &funcRS)
{
    Expression expression(funcString);
    const MemoryRecordset rows = MemoryRecordset::copyOf(funcRS);
    if (!funcRS.isEOF() || funcRS.recordCount() > 0)
        funcRS.moveFirst();
    RowsExpressionScope scope;
    scope.setLoader([&rows](const QString &) { return std::optional<MemoryRecordset>(rows); });
    scope.setDefaultStatement(QStringLiteral("Rows"));
    expression.bind(scope);
    if (!expression.printsOnce())
        scope.standOn(expression.rowStatement(), 0);
    const QVariant v = expression.evaluate(scope);
    return ExpressionValues::isNull(v) ? QString() : ExpressionValues::text(v);
}

QString FormulaEvaluator::evaluateCurrentRow(const QString &funcString, Recordset &rs)
{
    return evaluate(funcString, rs, false);
}

QString FormulaEvaluator::evaluate(const QString &funcString, Recordset &rs, bool firstRow)
{
    QString working = funcString;
    int scan = 0;
    for (;;) {
        const int open = funcString.indexOf(QLatin1Char('{'), scan);
        if (open < 0)
            break;
        const int close = funcString.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        const QString reference = funcString.mid(open, close - open + 1);
        const int dot = reference.indexOf(QLatin1Char('.'));
        if (dot >= 0) {
            const QString fieldName = reference.mid(dot + 1, reference.size() - dot - 2);
            if (firstRow && !rs.isEOF())
                rs.moveFirst();
            for (int i = 0; i < rs.fieldCount(); ++i) {
                if (rs.fieldName(i) == fieldName) {
                    const QVariant value = rs.field(i).value;
                    if (value.isNull())
                        throw ReportError(ReportError::InvalidUseOfNull, QStringLiteral("Invalid use of Null"));
                    working.replace(reference, ValueText::of(value));
                    break;
                }
            }
        }
        scan = close + 1;
    }

    const int slash = working.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return working;
    const double a = LegacyNumber::leadingValue(working.left(slash + 1));
    const double b = LegacyNumber::leadingValue(working.mid(slash + 1));
    if (b == 0.0) {
        if (a == 0.0)
            throw ReportError::overflow();
        throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
    }
    return ValueText::number(a / b);
}

} // namespace KRML_ReportGen
