#pragma once

namespace KRML_ReportGen {

// The arithmetic of paginated reports, in twips.
//
// - The page body ends at the page height minus the layout's bottom margin,
//   wherever the objects lie: below it is the footer zone.
// - A list prints from its designed Top downwards; a line that would pass
//   the body's end goes to the next page, again from the designed Top.
// - A fixed text that follows a list lands on the list's last page below
//   its last line, or, when it does not fit there, on the next page at the
//   list's designed Top.
class PagePlanner
{
public:
    static double bodyEnd(double pageHeight, double bottomMargin);
    // Lines of one list on one page (at least one, so a list always ends).
    static int linesPerPage(double top, double lineHeight, double bodyEnd);
    // Pages a list of count rows spans (a list without rows is on page 1).
    static int pagesFor(int count, int linesPerPage);
    // Lines of a list from top that end at or above end (0 to count).
    static int linesAbove(double top, double lineHeight, int count, double end);

    struct Placement
    {
        int page;
        double top;
    };
    // Where a fixed text of the given height goes after a list that ends on
    // lastPage with its last line's bottom at lastBottom.
    static Placement afterList(double listTop, int lastPage, double lastBottom, double height, double bodyEnd);
};

} // namespace KRML_ReportGen
