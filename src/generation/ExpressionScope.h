#pragma once

#include "ExpressionFunctions.h"

#include <QString>
#include <memory>
#include <utility>

namespace KRML_ReportGen {

class Recordset;

// What an expression works on: the rows of the report's statements, the
// row being printed, the page and the report's settings. The generator
// gives one per formula label; a test or the formula editor gives its own.
class ExpressionScope
{
public:
    virtual ~ExpressionScope() = default;

    // A cursor of its own over a statement's rows. A statement the report
    // does not have fails with a ReportError that says so.
    virtual std::unique_ptr<Recordset> openRows(const QString &statement) = 0;
    // The rows Count(*) counts when the expression names no statement.
    virtual QString defaultStatement() const = 0;
    // The cursor of a per-row expression, on the row being printed, and
    // that row's index from 0; none when the expression prints once.
    virtual Recordset *currentRows() = 0;
    virtual int currentRow() const = 0;
    // The rows of a statement printed on the page being drawn: first
    // (from 0) and end (not included); all rows when there are no pages.
    virtual std::pair<int, int> pageRows(const QString &statement) const = 0;
    virtual const ExpressionFunctions::Settings &settings() const = 0;
};

} // namespace KRML_ReportGen
