#pragma once

namespace KRML_ReportGen {

class LayoutPage;

// The benchmarks' report on BenchDatabase's "Orders": a title, column
// headings repeated on every page, four lists of the statement, a page
// number in the footer zone and a closing line after the lists.
class BenchLayout
{
public:
    static const char *const fields[4];
    static void build(LayoutPage &page);
};

} // namespace KRML_ReportGen
