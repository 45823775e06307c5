#include "FormulaCheck.h"

#include "Expression.h"
#include "ExpressionError.h"
#include "ExpressionValues.h"
#include "RowsExpressionScope.h"
#include "ValueFormat.h"

namespace KRML_ReportGen {

FormulaCheck::Result FormulaCheck::check(const QString &formula, RowsExpressionScope *rows)
{
    Result r;
    r.expression = Expression::isExpression(formula);
    if (!r.expression) {
        if (!formula.isEmpty())
            r.message = QStringLiteral("Without a leading \"=\" the formula is worked out as before: field values and one division.");
        return r;
    }
    try {
        Expression e(formula);
        if (!rows)
            return r;
        e.bind(*rows);
        if (!e.printsOnce()) {
            rows->standOn(e.rowStatement(), 0);
            if (!rows->currentRows() || rows->currentRows()->isEOF()) {
                r.message = QStringLiteral("\"%1\" has no rows to show a result on.").arg(e.rowStatement());
                return r;
            }
        }
        const QVariant v = e.evaluate(*rows);
        r.sample = ExpressionValues::isNull(v) ? QStringLiteral("Null") : ValueFormat::unformatted(v, QLocale());
    } catch (const ExpressionError &error) {
        r.ok = false;
        r.position = error.position();
        r.message = error.description();
    }
    return r;
}

} // namespace KRML_ReportGen
