#pragma once

#include "BoundStatement.h"
#include "CutList.h"
#include "PlacedItem.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace KRML_ReportGen {

class DrawingSurface;
class GrownRows;
class LayoutPage;
class QueryLoader;
struct LayoutLabel;

// The first step of a report run: runs the statements of the data-field
// labels and places every label and picture of the layout page, in label
// order, without drawing anything.
//
// - A data-field label becomes a list of its column, one line per row from
//   its Top; a formula label a list of its formula over the rows of the
//   last data list before it.
// - A label that grows (CanGrow) wraps each row's text within its width;
//   the lists of its statement that start at its Top then share list lines
//   as high as the tallest of them prints each row (GrownRows), and their
//   pages follow those heights. Other lists keep lines of one height.
// - A fixed text that lies inside the printed range of an earlier list goes
//   below that list (CheckForPrintOverlap).
// - Paginated, the page body ends at the layout's bottom margin. A list
//   that passes it continues on the next page at its own Top; the objects
//   above the highest data list of the body (the header) and those at or
//   below the body's end (the footer) repeat on every page. Not paginated,
//   the report is one page whose body runs on past the page's foot, and
//   the lists cut there are recorded.
//
// The surface lends its font metrics, its height and its print position:
// the ranges the overlap rule reads are those the lists take when printed
// one after the other on one long page.
class ReportLayout
{
public:
    ReportLayout(const LayoutPage &page, QueryLoader &loader);
    ~ReportLayout();

    // Errors of the data layer (and a formula before every data list) end
    // the layout and reach the caller. progress: objects (labels and
    // pictures) done, objects in all.
    void layOut(DrawingSurface &surface, bool paginate, const std::function<void(int, int)> &progress = {});

    // The labels in label order, then the pictures; item i of LabelTops and
    // LabelExtents is items()[i].
    std::vector<PlacedItem> &items() { return m_items; }
    const std::vector<PlacedItem> &items() const { return m_items; }
    int pageCount() const { return m_pageCount; }
    // One page only: the statements whose lists ran past the page's foot.
    const QList<CutList> &cutLists() const { return m_cut; }

    // The Top of every label placed and the height of what it prints (0 for
    // fixed text), in label order.
    const QList<double> &LabelTops() const { return m_tops; }
    const QList<double> &LabelExtents() const { return m_extents; }

    // Where a fixed-text label goes on one long page: below the first
    // earlier list whose range its Top lies strictly inside. True when it
    // was moved.
    bool CheckForPrintOverlap(const LayoutLabel &label, qint32 &returnLeft, qint32 &returnTop) const;

private:
    void noteIfCut(const LayoutLabel &label, const PlacedItem &item, const QString &statement);
    void noteCut(const QString &statement, int printed, int total);
    // The first item whose printed range holds top strictly inside, or -1.
    int firstOverlap(double top) const;
    void placeDataList(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item);
    // A data list's statement, opened; a failure names the statement.
    std::unique_ptr<Recordset> openStatement(const QString &statement, const BoundStatement &sql);
    void placeFormula(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item);
    // A formula's rows from its Top: its range is what they print.
    void placeFormulaRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item);
    // A formula of the expression language: a list over its statement's
    // rows, or one line placed as a fixed text.
    void placeExpression(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item);
    // The rows of a statement named in an expression (any letter case),
    // run with the run's parameter values.
    std::unique_ptr<Recordset> openNamed(const QString &statement);
    void placeFixedText(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item);
    // Line height and pages of a list's rows (of the named statement);
    // returns where its last line ends on one long page.
    double placeRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, const QString &statement);
    // The same for a list one of whose labels grows: the list lines of all
    // lists of the statement at that Top, laid out again with this one.
    double placeGrownRows(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, const QString &statement);
    // Raises each row of a label that grows to the lines it wraps into.
    void measureGrowth(DrawingSurface &surface, const LayoutLabel &label, PlacedItem &item, GrownRows &rows) const;

    const LayoutPage &m_page;
    QueryLoader &m_loader;
    std::vector<PlacedItem> m_items;
    QList<double> m_tops;
    QList<double> m_extents;
    QList<CutList> m_cut;
    int m_pageCount = 1;

    // State of one run of layOut.
    bool m_paginate = false;
    double m_headerEnd = 0;   // objects above it are the header
    double m_bodyEnd = 0;     // where a page's lists end, and the footer begins
    double m_surfaceEnd = 0;  // rows from here down cannot be seen
    double m_printY = 0;      // the print position on one long page
    bool m_firstList = true;  // no data list placed yet: lookups search rows
    bool m_haveList = false;
    BoundStatement m_lastListSql; // the rows formulas work on
    QString m_lastListStatement;
    QHash<QString, BoundStatement> m_statementSql; // by lower-case name
    QStringList m_statementNames;                  // of the report SQL file, once read
    // The lists of one statement at one Top print their rows on shared
    // list lines: those of lists that grow, by statement and Top.
    struct ListLines
    {
        QList<int> members; // items
        std::shared_ptr<GrownRows> grown;
    };
    QHash<QString, ListLines> m_listLines;
};

} // namespace KRML_ReportGen
