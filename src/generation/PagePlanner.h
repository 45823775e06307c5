#pragma once

namespace KRML_ReportGen {

// The arithmetic of paginated reports, in twips.
//
// - The page body ends at the page height minus the bottom margin: the
//   space below the lowest object of the layout, but at least 1 cm.
// - A list prints from its designed Top downwards; a line that would pass
//   the body's end goes to the next page, again from the designed Top.
// - A fixed text that follows a list lands on the list's last page below
//   its last line, or, when it does not fit there, on the next page at the
//   list's designed Top.
class PagePlanner
{
public:
    static constexpr double MinimumBottomMargin = 567;

    static double bodyEnd(double pageHeight, double lowestBottom);
    // Lines of one list on one page (at least one, so a list always ends).
    static int linesPerPage(double top, double lineHeight, double bodyEnd);
    // Pages a list of count rows spans (a list without rows is on page 1).
    static int pagesFor(int count, int linesPerPage);

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
