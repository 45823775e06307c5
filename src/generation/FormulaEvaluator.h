#pragma once

#include <QString>

namespace KRML_ReportGen {

class Recordset;

// The formula language of formula labels: field references {Statement.Field}
// replaced by field values (the qualifier before the first "." is not
// looked at), and at most one division, of the leading numbers of the text
// before and after the first "/". Function names such as Round{} or Now
// carry no meaning and stay in the text.
class FormulaEvaluator
{
public:

    // The control's AnalyseFunction: values from the first row of funcRS.
    // A null field, a recordset at its end and a division by zero fail.
    // A formula that begins with "=" is an expression (Expression) whose
    // fields, whatever statement they name, are funcRS's; its errors are
    // ExpressionErrors.
    static QString AnalyseFunction(const QString &funcString, Recordset &funcRS);
    // The generator's form: values from the recordset's current row.
    static QString evaluateCurrentRow(const QString &funcString, Recordset &rs);

private:
    static QString evaluateExpression(const QString &funcString, Recordset &funcRS);
    static QString evaluate(const QString &funcString, Recordset &rs, bool firstRow);
};

} // namespace KRML_ReportGen
