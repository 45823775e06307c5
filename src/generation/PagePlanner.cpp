#include "PagePlanner.h"

#include <algorithm>
#include <cmath>

namespace KRML_ReportGen {

double PagePlanner::bodyEnd(double pageHeight, double bottomMargin)
{
    return pageHeight - std::max(0.0, bottomMargin);
}

int PagePlanner::linesAbove(double top, double lineHeight, int count, double end)
{
    if (lineHeight <= 0)
        return top <= end ? count : 0;
    const double fit = std::floor((end - top) / lineHeight + 1e-9);
    return int(std::clamp(fit, 0.0, double(std::max(0, count))));
}

int PagePlanner::linesPerPage(double top, double lineHeight, double bodyEnd)
{
    if (lineHeight <= 0)
        return 1;
    // A tiny tolerance keeps a line that ends exactly on the body's end.
    const double fit = std::floor((bodyEnd - top) / lineHeight + 1e-9);
    return std::max(1, int(std::min(fit, 1e9)));
}

int PagePlanner::pagesFor(int count, int linesPerPage)
{
    if (count <= 0)
        return 1;
    return (count + linesPerPage - 1) / linesPerPage;
}

PagePlanner::Placement PagePlanner::afterList(double listTop, int lastPage, double lastBottom, double height, double bodyEnd)
{
    if (lastBottom + height <= bodyEnd)
        return {lastPage, lastBottom};
    return {lastPage + 1, listTop};
}

} // namespace KRML_ReportGen
