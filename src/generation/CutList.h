#pragma once

#include <QString>

namespace KRML_ReportGen {

// A list of a one-page report that ran past the page's foot: of its
// statement's total rows only the first printed ones are on the page.
struct CutList
{
    QString statement;
    int printed = 0;
    int total = 0;
};

} // namespace KRML_ReportGen
