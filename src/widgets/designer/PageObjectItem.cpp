#include "PageObjectItem.h"

#include "FontMapper.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "PainterSurface.h"
#include "VbColor.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionGraphicsItem>
#include <QTextOption>

namespace KRML_ReportGen {

namespace {

// Stacking: fixed texts, then data fields and formulas, then pictures (the
// report draws pictures last); within each, page order.
constexpr double kFixedText = 1;
constexpr double kBound = 100000;
constexpr double kPicture = 200000;
// The object being worked on shows whole, over everything else.
constexpr double kRaised = 300000;

// Behind a data field or formula whose back is white (no box in the
// report): a light tint tells them from fixed text.
const QColor kDataTint(0xE8, 0xF0, 0xFE);
const QColor kFormulaTint(0xEA, 0xF6, 0xEA);

} // namespace

PageObjectItem::PageObjectItem(LayoutPage &page, const ObjectRef &object) : m_page(page), m_object(object)
{
    sync();
}

void PageObjectItem::setObject(const ObjectRef &object)
{
    m_object = object;
    sync();
}

void PageObjectItem::setMarked(bool on)
{
    if (m_marked == on)
        return;
    m_marked = on;
    update();
}

void PageObjectItem::setRaised(bool on)
{
    if (m_raised == on)
        return;
    m_raised = on;
    setZValue(stackingOrder());
}

double PageObjectItem::stackingOrder() const
{
    // Between an object leaving the page and this item following it, the
    // index may be past the end: the item keeps its place until then.
    if ((m_object.kind == ObjectRef::Label && m_object.index > m_page.labelCount())
        || (m_object.kind == ObjectRef::Picture && m_object.index > m_page.picCount()))
        return zValue();
    if (m_raised)
        return kRaised + m_object.index;
    if (m_object.kind == ObjectRef::Picture)
        return kPicture + m_object.index;
    return (LabelTag::kindOf(m_page.Label(m_object.index).Tag) == LabelTag::Kind::FixedText ? kFixedText : kBound) + m_object.index;
}

void PageObjectItem::sync()
{
    const auto g = m_object.geometry(m_page);
    const QRectF r(0, 0, g.width, g.height);
    if (r != m_rect) {
        prepareGeometryChange();
        m_rect = r;
    }
    setPos(g.left, g.top);
    if (m_object.kind == ObjectRef::Label) {
        const LayoutLabel &l = m_page.Label(m_object.index);
        setVisible(l.Visible);
        const LabelTag::Kind kind = LabelTag::kindOf(l.Tag);
        setZValue(stackingOrder());
        // The text is laid out only when what it depends on changed (not
        // when the label merely moved); a fixed text when it is next drawn.
        const TextKey key{l.Caption, l.Tag, l.Font, l.Alignment, l.Width, l.Height};
        if (!(key == m_textKey)) {
            m_textKey = key;
            m_textDirty = true;
            setToolTip(kind == LabelTag::Kind::FixedText ? QString() : l.Tag);
            // A data field's name may reach past its box: the item's extent
            // must be known before anything is drawn.
            if (kind != LabelTag::Kind::FixedText)
                layoutText();
            else if (!m_extent.isNull()) {
                prepareGeometryChange();
                m_extent = QRectF();
            }
        }
    } else {
        setVisible(m_page.Pic(m_object.index).Visible);
        setZValue(stackingOrder());
    }
    update();
}

QString PageObjectItem::shownText()
{
    if (m_textDirty)
        layoutText();
    return m_shown;
}

void PageObjectItem::layoutText()
{
    m_textDirty = false;
    const LayoutLabel &l = m_page.Label(m_object.index);
    const QRectF r = m_rect.normalized();
    m_font = FontMapper::toQFont(l.Font);
    const LabelTag::Kind kind = LabelTag::kindOf(l.Tag);
    m_bound = kind != LabelTag::Kind::FixedText;
    QTextOption option;
    option.setAlignment(l.Alignment == 1 ? Qt::AlignRight : (l.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft));
    QRectF extent;
    if (m_bound) {
        // One row of a list, never wrapped out of sight: statement.field as
        // it fits, else the field alone, in a font down to three quarters of
        // the label's size. A field name longer than that reaches past the
        // box in its own size, as the values the report prints there do; a
        // formula's text is cut short with an ellipsis (its value is what
        // prints).
        const QString full = l.Caption;
        const bool dataField = kind == LabelTag::Kind::DataField && l.Caption == LabelTag::dataCaption(l.Tag);
        const double width = std::max(0.0, r.width());
        QFontMetricsF metrics(m_font);
        m_shown = metrics.horizontalAdvance(full) <= width || !dataField ? full : LabelTag::fieldName(l.Tag);
        const double needed = metrics.horizontalAdvance(m_shown);
        // Smaller, when that makes it fit (or a formula's text will be cut).
        if (needed > width && m_font.pixelSize() > 1 && (!dataField || needed * 0.75 <= width)) {
            const double scale = std::max(0.75, width / needed);
            m_font.setPixelSize(std::max(1, int(m_font.pixelSize() * scale)));
            metrics = QFontMetricsF(m_font);
        }
        if (!dataField)
            m_shown = metrics.elidedText(m_shown, Qt::ElideRight, width);
        const double over = std::max(0.0, metrics.horizontalAdvance(m_shown) - width);
        if (over > 0) {
            // Past the right edge, whatever the alignment: the labels
            // before it in the row stay readable.
            extent = r.adjusted(0, 0, over, 0);
            option.setAlignment(Qt::AlignLeft);
        }
        option.setWrapMode(QTextOption::NoWrap);
    } else {
        m_shown = l.Caption;
        option.setWrapMode(QTextOption::WordWrap);
    }
    if (extent != m_extent) {
        prepareGeometryChange();
        m_extent = extent;
    }
    m_text = QStaticText(m_shown);
    m_text.setTextFormat(Qt::PlainText);
    m_text.setTextOption(option);
    m_text.setTextWidth(std::max(1.0, r.width()));
    // Whether a fixed text passes its box is known once it is laid out,
    // which drawing does (with the view's scale): until then it is clipped.
    m_overflowKnown = m_bound;
    m_overflows = false;
}

QPainterPath PageObjectItem::shape() const
{
    // The pointer takes the box, not a field name reaching past it.
    QPainterPath path;
    path.addRect(m_rect.normalized());
    return path;
}

QRectF PageObjectItem::boundingRect() const
{
    return m_extent.isNull() ? m_rect.normalized() : m_rect.normalized().united(m_extent);
}

void PageObjectItem::paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF r = m_rect.normalized();
    if (m_object.kind == ObjectRef::Label) {
        if (m_textDirty)
            layoutText();
        const LayoutLabel &l = m_page.Label(m_object.index);
        // A label on the page is opaque: its back colour covers the grid.
        QColor back = VbColor::toQColor(l.BackColor);
        if (m_bound && l.BackColor == VbColor::White)
            back = LabelTag::kindOf(l.Tag) == LabelTag::Kind::Formula ? kFormulaTint : kDataTint;
        p->fillRect(r, back);
        if (l.BorderStyle == 1) {
            p->setPen(QPen(Qt::black, 0));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r);
        }
        p->setFont(m_font);
        p->setPen(VbColor::toQColor(l.ForeColor));
        if (m_overflowKnown && !m_overflows) {
            p->drawStaticText(r.topLeft(), m_text);
        } else {
            p->save();
            p->setClipRect(r, Qt::IntersectClip);
            p->drawStaticText(r.topLeft(), m_text);
            p->restore();
            const QSizeF size = m_text.size(); // in twips, however it was drawn
            m_overflows = size.height() > r.height() + 0.5 || size.width() > r.width() + 0.5;
            m_overflowKnown = true;
        }
    } else {
        const LayoutPicture &pic = m_page.Pic(m_object.index);
        p->save();
        p->setClipRect(r);
        if (!pic.Picture.isNull())
            p->drawImage(QRectF(r.topLeft(), PainterSurface::naturalSize(pic.Picture)), pic.Picture);
        else {
            // An empty picture box shows where it is.
            p->setPen(QPen(Qt::gray, 0, Qt::DashLine));
            p->drawRect(r);
        }
        p->restore();
    }
    if (m_marked) {
        p->setPen(QPen(QColor(0x1F, 0x6F, 0xEB), 0, Qt::DashLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r);
    }
}

void PaperItem::sync()
{
    prepareGeometryChange();
    update();
}

QRectF PaperItem::boundingRect() const
{
    return QRectF(0, 0, m_page.Width(), m_page.Height());
}

void PaperItem::paint(QPainter *p, const QStyleOptionGraphicsItem *option, QWidget *)
{
    p->fillRect(boundingRect(), Qt::white);
    const QRectF exposed = option->exposedRect;
    for (const auto &s : m_page.drawing().strokes()) {
        const QRectF r = QRectF(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2)).normalized();
        if (!r.adjusted(-1, -1, 1, 1).intersects(exposed))
            continue;
        const QColor c = VbColor::toQColor(s.color);
        switch (s.style) {
        case DrawingLayer::Style::Line:
            p->setPen(QPen(c, 0));
            p->drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
            break;
        case DrawingLayer::Style::Box:
            p->setPen(QPen(c, 0));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r);
            break;
        case DrawingLayer::Style::FilledBox:
            p->fillRect(r, c);
            break;
        }
    }
}

} // namespace KRML_ReportGen
