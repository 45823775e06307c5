#include "PageDrawer.h"

#include "DrawingSurface.h"
#include "Expression.h"
#include "ExpressionError.h"
#include "LabelExpressionScope.h"
#include "LayoutPage.h"
#include "ReportLayout.h"
#include "TextWrapper.h"
#include "ValueFormat.h"
#include "VbColor.h"

#include <algorithm>
#include <limits>

namespace KRML_ReportGen {

namespace {

constexpr double kBorderInset = 50;

// Where a text starts, by the label's alignment, inside a frame of the
// label's width whose left edge is at left.
double alignedX(const LayoutLabel &label, float left, double textWidth, bool inset)
{
    const double pad = inset && label.BorderStyle == 1 ? kBorderInset : 0;
    switch (label.Alignment) {
    case 1:
        return left + label.Width - textWidth - pad;
    case 2:
        return left + label.Width / 2 - textWidth / 2;
    default:
        return left + pad;
    }
}

} // namespace

PageDrawer::PageDrawer(const LayoutPage &page, DrawingSurface &surface)
    : m_page(page), m_surface(surface), m_locale(ValueFormat::localeOf(page.extension().Locale)), m_lineText(page)
{
}

double PageDrawer::textRoom(const LayoutLabel &label)
{
    return std::max(0.0, double(label.Width) - (label.BorderStyle == 1 ? 2 * kBorderInset : 0));
}

QString PageDrawer::pageCaption(const QString &caption, int page, int pages)
{
    if (!caption.contains(QLatin1Char('[')))
        return caption;
    QString out = caption;
    out.replace(QLatin1String("[Page]"), QString::number(page));
    out.replace(QLatin1String("[Pages]"), QString::number(pages));
    return out;
}

void PageDrawer::draw(ReportLayout &layout, int page)
{
    for (PlacedItem &item : layout.items()) {
        switch (item.kind) {
        case PlacedItem::Kind::Picture:
            if (item.everyPage() || page == 1)
                drawPicture(item.index);
            break;
        case PlacedItem::Kind::FixedText:
            if (item.everyPage() || item.page == page) {
                if (item.computed && item.expression && item.expression->usesPage())
                    item.text = pageText(m_page.Label(item.index), item, layout, page);
                drawFixedText(m_page.Label(item.index), item, page, layout.pageCount());
            }
            break;
        case PlacedItem::Kind::DataList:
        case PlacedItem::Kind::Formula:
            // Header and footer show the rows of the first page on every page.
            drawRows(m_page.Label(item.index), item, item.everyPage() ? 1 : page);
            break;
        }
    }
}

void PageDrawer::drawFixedText(const LayoutLabel &label, PlacedItem &item, int page, int pages)
{
    const double left = item.left;
    const double top = item.top;
    const QString caption = item.computed ? item.text : pageCaption(label.Caption, page, pages);
    m_surface.setFont(label.Font);
    m_surface.setForeColor(label.ForeColor);
    if (label.BackColor != VbColor::White)
        m_surface.Line(left, top, left + label.Width, top + label.Height, label.BackColor, DrawingSurface::LineStyle::FilledBox);
    if (label.BorderStyle == 1)
        m_surface.Line(left, top, left + label.Width, top + label.Height, 0, DrawingSurface::LineStyle::Box);
    if (label.CanGrow) {
        // A fixed text that grows wraps within its frame and pushes nothing.
        printWrapped(label, caption, top, std::numeric_limits<double>::infinity(), {item.index, left, double(label.Width), false, {}, {}, false});
        return;
    }
    m_surface.setCurrentY(top);
    // Left-aligned text needs no width; a heading repeated on every page is
    // measured once.
    double width = 0;
    if (label.Alignment != 0) {
        if (caption != label.Caption)
            width = m_surface.TextWidth(caption);
        else {
            if (item.textWidth < 0)
                item.textWidth = m_surface.TextWidth(caption);
            width = item.textWidth;
        }
    }
    m_surface.setCurrentX(alignedX(label, float(left), width, false));
    m_surface.setPrintSource({item.index, left, double(label.Width), false, {}, {}, false});
    m_surface.Print(caption);
}

QString PageDrawer::pageText(const LayoutLabel &label, PlacedItem &item, ReportLayout &layout, int page) const
{
    // The page's rows of a statement are those its first list in the body
    // prints on the page.
    item.scope->setPageRows([&layout, page](const QString &statement) -> std::pair<int, int> {
        for (const PlacedItem &list : layout.items())
            if (list.isList() && !list.everyPage() && list.statement.compare(statement, Qt::CaseInsensitive) == 0)
                return {list.firstRow(page), page > list.pages ? list.firstRow(page) : list.endRow(page)};
        return {0, -1};
    });
    try {
        return ValueFormat::forLabel(item.expression->evaluate(*item.scope), label.Format, label.NullText, m_locale);
    } catch (const ExpressionError &e) {
        throw e.forLabel(item.index, label.Caption);
    }
}

void PageDrawer::drawRows(const LayoutLabel &label, PlacedItem &item, int page)
{
    const double right = label.Left + label.Width;
    if (page > item.pages || item.count <= 0) {
        if (page == 1 && label.BorderStyle == 1)
            m_surface.Line(label.Left, label.Top, right, label.Top + label.Height, 0, DrawingSurface::LineStyle::Box);
        return;
    }
    const int first = item.firstRow(page);
    const int end = item.endRow(page);
    Recordset &rs = *item.rows;
    if (item.row > first) {
        rs.moveFirst();
        item.row = 0;
    }
    for (; item.row < first; ++item.row)
        rs.moveNext();
    // Lines of one height, or list lines as high as a growing label makes them.
    const GrownRows *grown = item.grown.get();

    // One row keeps the designed frame; more rows stretch it to their last line.
    const double bottom = item.count < 2 ? label.Top + label.Height : label.Top + item.spanOn(page);
    m_surface.setFont(label.Font);
    m_surface.setForeColor(label.ForeColor);
    // The background goes under the text: drawn first, so the text is
    // printed once and stays selectable in a PDF.
    if (item.kind == PlacedItem::Kind::DataList && label.BackColor != VbColor::White)
        m_surface.Line(label.Left, label.Top, right, bottom, label.BackColor, DrawingSurface::LineStyle::FilledBox);
    double y = label.Top;
    for (; item.row < end; ++item.row) {
        if (y >= m_surface.Height()) {
            // The rest of the list lies below the surface: nothing of it can
            // be seen, so only the print position moves on.
            m_surface.setCurrentY(y + (grown ? grown->span(item.row, end) : (end - item.row) * item.lineHeight));
            break;
        }
        const QVariant value = item.kind == PlacedItem::Kind::DataList ? rs.field(item.column).value : QVariant();
        const QString text = m_lineText.of(label, item, value);
        const DrawingSurface::PrintSource source{item.index, double(label.Left), double(label.Width), true, value, {}, false};
        if (grown && label.CanGrow) {
            printWrapped(label, text, y, grown->end(), source);
        } else {
            m_surface.setCurrentY(y);
            m_surface.setPrintSource(source);
            if (!text.isNull())
                m_surface.setCurrentX(alignedX(label, label.Left, label.Alignment == 0 ? 0 : m_surface.TextWidth(text), true));
            m_surface.Print(text);
        }
        y += grown ? grown->height(item.row) : item.lineHeight;
        rs.moveNext();
    }
    if (label.BorderStyle == 1)
        m_surface.Line(label.Left, label.Top, right, item.kind == PlacedItem::Kind::DataList ? bottom : label.Top + label.Height,
                       0, DrawingSurface::LineStyle::Box);
}

void PageDrawer::printWrapped(const LayoutLabel &label, const QString &text, double top, double end,
                              DrawingSurface::PrintSource source)
{
    const QStringList lines = TextWrapper::lines(m_surface, text, textRoom(label));
    const double lineHeight = m_surface.TextHeight();
    // A workbook keeps a text that grows in one cell: the whole text comes
    // with its first line, the further lines are marked as such.
    if (lines.size() > 1)
        source.grownText = text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const double y = top + double(i) * lineHeight;
        if (i > 0 && y + lineHeight > end)
            break;
        source.continued = i > 0;
        m_surface.setCurrentY(y);
        m_surface.setPrintSource(source);
        const QString &line = lines[i];
        if (!line.isNull())
            m_surface.setCurrentX(alignedX(label, float(source.left), label.Alignment == 0 ? 0 : m_surface.TextWidth(line), source.list));
        m_surface.Print(line);
    }
}

void PageDrawer::drawPicture(int index)
{
    const LayoutPicture &picture = m_page.Pic(index);
    m_surface.setCurrentX(picture.Left);
    m_surface.setCurrentY(picture.Top);
    m_surface.PaintPicture(picture.Picture, picture.Left, picture.Top);
}

} // namespace KRML_ReportGen
