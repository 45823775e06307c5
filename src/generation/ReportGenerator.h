#pragma once

#include <QList>
#include <optional>
#include <QString>
#include <functional>
#include <limits>
#include <memory>

namespace KRML_ReportGen {

class BoundStatement;
class DrawingSurface;
class LayoutPage;
class QueryLoader;
class Recordset;
class StatementCache;
class StatementPalette;
struct LayoutLabel;

// Draws the filled layout on a surface: fixed texts (moved below any data
// list they would collide with), data-field labels as one line per row of
// their statement, formula labels evaluated row by row, pictures last.
// Everything at the layout's own coordinates, in twips, on one page.
class ReportGenerator
{
public:
    ReportGenerator(const LayoutPage &page, QueryLoader &loader, StatementPalette &palette);
    ~ReportGenerator();

    // Errors of the surface, the data layer and the formula evaluator are
    // not caught: they end the run and reach the caller.
    void GenerateOutput(DrawingSurface &surface);

    // The Top of every label drawn and the height of what it printed
    // (0 for fixed text), in label order; item i of both is one label.
    const QList<double> &LabelTops() const { return m_tops; }
    const QList<double> &LabelExtents() const { return m_extents; }

    // Where a fixed-text label goes: below the first earlier list whose
    // range its Top lies strictly inside. True when it was moved.
    bool CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const;
    // Where a fixed text lands below the list it would collide with, if it
    // does, in twips of any size.
    std::optional<double> overlapTop(const LayoutLabel &label) const;

    // How often the run asked the database (each distinct statement once).
    int executions() const;

    // Told after each label and picture: objects done, objects in all.
    void setProgress(std::function<void(int, int)> progress) { m_progress = std::move(progress); }

    // Paginated reports: lists that pass the page body continue on further
    // pages, the header area repeats on each. Off, everything is drawn on
    // one page as it always was.
    void setPaginate(bool on) { m_paginate = on; }
    bool paginate() const { return m_paginate; }
    // Only pages first..last (1-based) are drawn; the others are laid out.
    void setPageRange(int first, int last);
    // Pages of the last run (1 when not paginated).
    int pageCount() const { return m_pageCount; }

    // "[Page]" and "[Pages]" in a fixed text, replaced.
    static QString pageCaption(const QString &caption, int page, int pages);

private:
    struct Plan;
    void generatePages(DrawingSurface &surface);
    void drawPlanOnPage(DrawingSurface &surface, Plan &plan, int page, bool draw);
    void drawTextAt(DrawingSurface &surface, const LayoutLabel &label, double left, double top, const QString &caption);
    void drawFixedText(DrawingSurface &surface, const LayoutLabel &label);
    void drawDataField(DrawingSurface &surface, const LayoutLabel &label);
    // A data list's statement, opened; a failure names the statement.
    std::unique_ptr<Recordset> openStatement(const QString &statement, const BoundStatement &sql);
    void drawFormula(DrawingSurface &surface, const LayoutLabel &label);
    // Prints one text per row from the label's Top; returns the number of
    // lines (rows beyond the surface's bottom only move the position).
    int printRows(DrawingSurface &surface, const LayoutLabel &label, Recordset &rs,
                  const std::function<QString(Recordset &)> &textOf);

    const LayoutPage &m_page;
    QueryLoader &m_loader;
    StatementPalette &m_palette;
    std::unique_ptr<StatementCache> m_cache;
    std::unique_ptr<Recordset> m_runRecordset;
    QList<double> m_tops;
    QList<double> m_extents;
    double m_lastListBottom = 0;
    std::function<void(int, int)> m_progress;
    bool m_paginate = false;
    int m_firstPage = 1;
    int m_lastPage = std::numeric_limits<int>::max();
    int m_pageCount = 1;
};

} // namespace KRML_ReportGen
