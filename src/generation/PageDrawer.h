#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

class DrawingSurface;
class LayoutPage;
class ReportLayout;
struct LayoutLabel;
struct PlacedItem;

// The second step of a report run: draws one page of a report layout on a
// surface, item by item in label order and the pictures last. Fixed texts
// print their caption with "[Page]" and "[Pages]" replaced; lists print the
// page's rows, one line each, a background box under them and a border
// around them; formula lists print their formula evaluated row by row, a
// row that cannot be worked out as an empty line.
class PageDrawer
{
public:
    PageDrawer(const LayoutPage &page, DrawingSurface &surface);

    // Pages are drawn in any order; the lists' cursors move to the rows
    // each page needs.
    void draw(ReportLayout &layout, int page);

    // "[Page]" and "[Pages]" in a fixed text, replaced.
    static QString pageCaption(const QString &caption, int page, int pages);

private:
    // The line a list prints for the row its cursor stands on; a null text
    // prints an empty line without moving the print position across.
    QString lineText(const LayoutLabel &label, PlacedItem &item, const QVariant &value) const;
    void drawFixedText(const LayoutLabel &label, PlacedItem &item, int page, int pages);
    // A formula that prints once but reads the page's rows (PageSum).
    QString pageText(const LayoutLabel &label, PlacedItem &item, ReportLayout &layout, int page) const;
    void drawRows(const LayoutLabel &label, PlacedItem &item, int page);
    void drawPicture(int index);

    const LayoutPage &m_page;
    DrawingSurface &m_surface;
    QLocale m_locale; // the report's
};

} // namespace KRML_ReportGen
