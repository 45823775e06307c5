#pragma once

#include "CutList.h"

#include <QList>
#include <optional>
#include <QString>
#include <functional>
#include <limits>
#include <memory>

namespace KRML_ReportGen {

class DrawingSurface;
class LayoutPage;
class QueryLoader;
class Recordset;
class ReportLayout;
class StatementCache;
struct LayoutLabel;

// Draws the filled layout on a surface in two steps: ReportLayout runs the
// statements and places every label and picture (lists one line per row,
// fixed texts below any list they would collide with, formulas evaluated
// row by row), then PageDrawer draws the pages. A report is one page whose
// lists run on past the page's foot unless it is paginated.
class ReportGenerator
{
public:
    ReportGenerator(const LayoutPage &page, QueryLoader &loader);
    ~ReportGenerator();

    // Errors of the surface, the data layer and the formula evaluator are
    // not caught: they end the run and reach the caller. A failure while
    // the report is laid out leaves the surface as it was cleared.
    void GenerateOutput(DrawingSurface &surface);
    // The first step alone: runs the statements and places the objects with
    // the surface's metrics, drawing nothing (exports that need only the
    // rows).
    void layOut(DrawingSurface &surface);

    // A statement the last run drew in lists, with every row it gave
    // (whatever the pages showed); the cursor is free to move.
    struct ListedStatement
    {
        QString name;
        Recordset *rows = nullptr;
    };
    // In the order their first list comes in the layout, each once.
    QList<ListedStatement> listedStatements() const;

    // The Top of every label placed in the last run and the height of what
    // it printed (0 for fixed text), in label order; item i of both is one
    // label.
    const QList<double> &LabelTops() const;
    const QList<double> &LabelExtents() const;

    // Where a fixed-text label goes: below the first list of the last run
    // whose range its Top lies strictly inside. True when it was moved.
    bool CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const;
    // Where a fixed text lands below the list it would collide with, if it
    // does, in twips of any size.
    std::optional<double> overlapTop(const LayoutLabel &label) const;

    // How often the run asked the database (each distinct statement once).
    int executions() const;

    // Told as the labels and pictures are laid out: objects done, objects in all.
    void setProgress(std::function<void(int done, int total)> progress) { m_progress = std::move(progress); }
    // Told after each page is drawn: pages done, pages to draw. Like the
    // objects' progress, it may end the run by throwing.
    void setPageProgress(std::function<void(int done, int total)> progress) { m_pageProgress = std::move(progress); }
    // Told as an export writes the statements' rows after (or instead of)
    // the pages (a workbook's data sheets, CSV files): rows done, rows in
    // all. It too may end the run by throwing.
    void setRowProgress(std::function<void(int done, int total)> progress) { m_rowProgress = std::move(progress); }
    // For the exports that write rows: tells the row progress, every few
    // hundred rows and at the last.
    void tellRows(int done, int total) const
    {
        if (m_rowProgress && (done % kRowsPerStep == 0 || done == total))
            m_rowProgress(done, total);
    }
    // The rows of the listed statements of the last run, in all.
    int listedRows() const;

    // Paginated reports: lists that pass the page body continue on further
    // pages, the header and footer zones repeat on each. Off, the report is
    // one page whose lists run on past its foot.
    enum class Pagination {
        FromLayout, // as the layout's own setting (Page.Paginate) says
        On,
        Off, // one page, whatever the layout says
    };
    void setPagination(Pagination pagination) { m_pagination = pagination; }
    // On, or as the layout says: a host that does not ask for pages still
    // gets them for a layout made to be paginated.
    void setPaginate(bool on) { m_pagination = on ? Pagination::On : Pagination::FromLayout; }
    // Whether the next run makes pages.
    bool paginate() const;
    // The lists of the last run that were cut at the page's foot (one page
    // only; empty when every row was printed).
    const QList<CutList> &cutLists() const;
    // Only pages first..last (1-based) are drawn; a range past the report's
    // end draws its last page.
    void setPageRange(int first, int last);
    // Pages of the last run (1 when not paginated).
    int pageCount() const;

private:
    void drawPages(DrawingSurface &surface);

    const LayoutPage &m_page;
    QueryLoader &m_loader;
    std::unique_ptr<StatementCache> m_cache;
    std::unique_ptr<ReportLayout> m_layout;
    std::function<void(int, int)> m_progress;
    std::function<void(int, int)> m_pageProgress;
    std::function<void(int, int)> m_rowProgress;
    static constexpr int kRowsPerStep = 500;
    Pagination m_pagination = Pagination::FromLayout;
    int m_firstPage = 1;
    int m_lastPage = std::numeric_limits<int>::max();
};

} // namespace KRML_ReportGen
