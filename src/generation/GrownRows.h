#pragma once

#include <cstddef>
#include <vector>

namespace KRML_ReportGen {

// The heights of the lines of a list whose labels grow, and the rows each
// page takes, in twips.
//
// - The lists of one statement that start at one Top print one list line
//   per row: the line is as high as the tallest of them prints that row
//   (its wrapped lines times its line height), and the rows below move
//   down by as much.
// - Paginated, a line that does not fit on the page goes whole to the next
//   page, where the list starts again at its Top; a line taller than the
//   whole body is printed alone on its page and cut at the body's end.
class GrownRows
{
public:
    // Every row of a list of count rows is at least one line high.
    void include(int count, double lineHeight);
    // The row is at least height high.
    void raise(int row, double height);
    // Breaks the rows into pages of a list starting at top; end is where a
    // page's body ends (infinity: one page).
    void paginate(double top, double end);

    int count() const { return int(m_heights.size()); }
    double height(int row) const { return m_heights[std::size_t(row)]; }
    // Where a page's body ends: lines of a cut row below it are not printed.
    double end() const { return m_end; }
    int pages() const { return int(m_pageStarts.size()); }
    // The rows a page prints: first (0-based) up to, not including, end.
    int firstRow(int page) const;
    int endRow(int page) const;
    // Rows first to end, one after the other.
    double span(int first, int end) const;
    // Every row, one after the other: the list on one long page.
    double extent() const { return m_extent; }
    // Rows from top that end at or above end.
    int rowsAbove(double top, double end) const;

private:
    std::vector<double> m_heights;
    std::vector<int> m_pageStarts{0};
    double m_end = 0;
    double m_extent = 0;
};

} // namespace KRML_ReportGen
