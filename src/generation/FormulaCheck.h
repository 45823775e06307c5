#pragma once

#include <QString>

namespace KRML_ReportGen {

class RowsExpressionScope;

// What the formula editor says about a formula while it is typed: whether
// it is an expression, the first error and where it is, and the result on
// the first row of the sample rows.
class FormulaCheck
{
public:
    struct Result
    {
        bool expression = false; // begins with "="
        bool ok = true;
        int position = 0;        // of the error, 1-based in the formula; 0 when none
        QString message;         // the error, or a note on a legacy formula
        QString sample;          // the result on the sample's first row
    };

    // rows: the report's statements' first rows, or none to check the text alone.
    static Result check(const QString &formula, RowsExpressionScope *rows);
};

} // namespace KRML_ReportGen
