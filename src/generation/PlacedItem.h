#pragma once

#include "GrownRows.h"
#include "Recordset.h"

#include <QtGlobal>
#include <algorithm>
#include <memory>

namespace KRML_ReportGen {

class Expression;
class LabelExpressionScope;

// One label or picture of the layout page as the report layout placed it:
// on which pages it is drawn and where. Lists and formulas carry the rows
// they print and how those rows fall onto pages.
struct PlacedItem
{
    enum class Kind { FixedText, DataList, Formula, Picture };

    Kind kind = Kind::FixedText;
    int index = 0;       // of the label or picture on the layout page
    bool header = false; // above the body's lists: on every page, exactly as on the first
    bool footer = false; // below the body's end: on every page, exactly as on the first

    // Fixed texts: the page and the position they are drawn at (whole twips,
    // below any earlier list they would collide with). Doubles: below a list
    // of millions of rows the position is beyond what 32 bits of twips hold.
    int page = 1;
    double left = 0;
    double top = 0;
    double textWidth = -1; // of the caption, once measured
    // A formula label that prints once (an aggregate, a total) is placed as
    // a fixed text: what it prints, worked out when placed unless it
    // depends on the page.
    bool computed = false;
    QString text;

    // Lists and formulas.
    std::unique_ptr<Recordset> rows;
    int column = -1;     // the field a list prints
    int count = 0;       // rows
    double lineHeight = 0;
    int linesPerPage = 1;
    int pages = 1;       // a list without rows is on page 1
    int row = 0;         // where rows stands while the pages are drawn
    QString statement;   // whose rows they print (data lists and expressions)
    // The list lines of a list one of whose labels grows (shared by the
    // lists of its statement that start at its Top); null: every line is
    // lineHeight high and a page takes linesPerPage of them.
    std::shared_ptr<const GrownRows> grown;

    // Formulas of the expression language, and what they work on.
    std::shared_ptr<Expression> expression;
    std::shared_ptr<LabelExpressionScope> scope;

    bool everyPage() const { return header || footer; }
    bool isList() const { return kind == Kind::DataList || kind == Kind::Formula; }
    // The rows printed on a page: first (0-based) up to, not including, end.
    int firstRow(int onPage) const { return grown ? grown->firstRow(onPage) : (onPage - 1) * linesPerPage; }
    int endRow(int onPage) const { return grown ? std::min(count, grown->endRow(onPage)) : std::min(count, onPage * linesPerPage); }
    // How far the rows a page prints reach down from the list's Top.
    double spanOn(int onPage) const
    {
        return grown ? grown->span(firstRow(onPage), endRow(onPage)) : (endRow(onPage) - firstRow(onPage)) * lineHeight;
    }
};

} // namespace KRML_ReportGen
