#include "PageObjectItem.h"

#include "FontMapper.h"
#include "LayoutPage.h"
#include "PainterSurface.h"
#include "VbColor.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

namespace KRML_ReportGen {

PageObjectItem::PageObjectItem(LayoutPage &page, const ObjectRef &object) : m_page(page), m_object(object)
{
    setZValue(1);
    sync();
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
    const bool visible = m_object.kind == ObjectRef::Label ? m_page.Label(m_object.index).Visible
                                                             : m_page.Pic(m_object.index).Visible;
    setVisible(visible);
    update();
}

QRectF PageObjectItem::boundingRect() const
{
    return m_rect.normalized();
}

void PageObjectItem::paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF r = m_rect.normalized();
    if (m_object.kind == ObjectRef::Label) {
        const LayoutLabel &l = m_page.Label(m_object.index);
        // A label on the page is opaque: its back colour covers the grid.
        p->fillRect(r, VbColor::toQColor(l.BackColor));
        if (l.BorderStyle == 1) {
            p->setPen(QPen(Qt::black, 0));
            p->setBrush(Qt::NoBrush);
            p->drawRect(r);
        }
        p->setFont(FontMapper::toQFont(l.Font));
        p->setPen(VbColor::toQColor(l.ForeColor));
        const Qt::Alignment h = l.Alignment == 1 ? Qt::AlignRight : (l.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        p->drawText(r, int(h | Qt::AlignTop | Qt::TextWordWrap), l.Caption);
        return;
    }
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
