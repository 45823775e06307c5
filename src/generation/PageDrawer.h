#pragma once

#include "DrawingSurface.h"
#include "ListLineText.h"

#include <QLocale>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

class LayoutPage;
class ReportLayout;
struct LayoutLabel;
struct PlacedItem;

// The second step of a report run: draws one page of a report layout on a
// surface, item by item in label order and the pictures last. Fixed texts
// print their caption with "[Page]" and "[Pages]" replaced; lists print the
// page's rows, one line each, a background box under them and a border
// around them; formula lists print their formula evaluated row by row, a
// row that cannot be worked out as an empty line. A label that grows
// prints its text wrapped, line under line, each row on its list line.
class PageDrawer
{
public:
    PageDrawer(const LayoutPage &page, DrawingSurface &surface);

    // Pages are drawn in any order; the lists' cursors move to the rows
    // each page needs.
    void draw(ReportLayout &layout, int page);

    // "[Page]" and "[Pages]" in a fixed text, replaced.
    static QString pageCaption(const QString &caption, int page, int pages);
    // How wide the text of a label that grows may be: its width, less the
    // inset a border keeps on either side.
    static double textRoom(const LayoutLabel &label);

private:
    void drawFixedText(const LayoutLabel &label, PlacedItem &item, int page, int pages);
    // A formula that prints once but reads the page's rows (PageSum).
    QString pageText(const LayoutLabel &label, PlacedItem &item, ReportLayout &layout, int page) const;
    void drawRows(const LayoutLabel &label, PlacedItem &item, int page);
    // Prints a text that grows, line under line from top; lines that would
    // pass end are left out (the first is always printed).
    void printWrapped(const LayoutLabel &label, const QString &text, double top, double end,
                      DrawingSurface::PrintSource source);
    void drawPicture(int index);

    const LayoutPage &m_page;
    DrawingSurface &m_surface;
    QLocale m_locale; // the report's
    ListLineText m_lineText;
};

} // namespace KRML_ReportGen
