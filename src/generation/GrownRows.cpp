#include "GrownRows.h"

#include <algorithm>
#include <cmath>

namespace KRML_ReportGen {

namespace {

// As for lines of one height: a line that ends exactly on the body's end fits.
constexpr double kTolerance = 1e-9;

} // namespace

void GrownRows::include(int count, double lineHeight)
{
    if (count > this->count())
        m_heights.resize(std::size_t(count), 0.0);
    for (int row = 0; row < count; ++row)
        raise(row, lineHeight);
}

void GrownRows::raise(int row, double height)
{
    double &h = m_heights[std::size_t(row)];
    h = std::max(h, height);
}

void GrownRows::paginate(double top, double end)
{
    m_end = end;
    m_pageStarts.assign(1, 0);
    m_extent = 0;
    double y = top;
    for (int row = 0; row < count(); ++row) {
        const double h = m_heights[std::size_t(row)];
        m_extent += h;
        // A line that does not fit starts the next page, unless it is the
        // page's first: then it is cut rather than moved on for ever.
        if (y + h > end + kTolerance * std::max(1.0, end) && row > m_pageStarts.back()) {
            m_pageStarts.push_back(row);
            y = top;
        }
        y += h;
    }
}

int GrownRows::firstRow(int page) const
{
    if (page < 1)
        return 0;
    return page <= pages() ? m_pageStarts[std::size_t(page - 1)] : count();
}

int GrownRows::endRow(int page) const
{
    if (page < 1)
        return 0;
    return page < pages() ? m_pageStarts[std::size_t(page)] : count();
}

double GrownRows::span(int first, int end) const
{
    double sum = 0;
    for (int row = std::max(0, first); row < std::min(end, count()); ++row)
        sum += m_heights[std::size_t(row)];
    return sum;
}

int GrownRows::rowsAbove(double top, double end) const
{
    double y = top;
    for (int row = 0; row < count(); ++row) {
        y += m_heights[std::size_t(row)];
        if (y > end + kTolerance * std::max(1.0, std::abs(end)))
            return row;
    }
    return count();
}

} // namespace KRML_ReportGen
