#include "SizerItem.h"

#include "Sizer.h"

#include <QCursor>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QPalette>

namespace KRML_ReportGen {

namespace {

Qt::CursorShape cursorFor(PointerShape shape)
{
    switch (shape) {
    case PointerShape::SizeNESW: return Qt::SizeBDiagCursor;
    case PointerShape::SizeNS: return Qt::SizeVerCursor;
    case PointerShape::SizeNWSE: return Qt::SizeFDiagCursor;
    case PointerShape::SizeWE: return Qt::SizeHorCursor;
    default: return Qt::ArrowCursor;
    }
}

MouseButton buttonOf(Qt::MouseButtons buttons)
{
    return buttons & Qt::LeftButton ? MouseButton::Left : (buttons & Qt::RightButton ? MouseButton::Right : MouseButton::None);
}

} // namespace

SizerItem::SizerItem(Sizer &sizer, Changed changed) : m_sizer(sizer), m_changed(std::move(changed))
{
    setZValue(10);
    for (int i = 0; i < 8; ++i)
        new GripItem(this, i);
    connect(&m_sizer, &Sizer::changed, this, &SizerItem::sync);
    sync();
}

void SizerItem::sync()
{
    const auto f = m_sizer.frame();
    const QRectF r(0, 0, f.width, f.height);
    if (r != m_rect) {
        prepareGeometryChange();
        m_rect = r;
    }
    setPos(f.left, f.top);
    setVisible(m_sizer.isVisible());
    // The body takes the pointer only in move mode; otherwise a press goes
    // through to the object under it.
    setAcceptedMouseButtons(m_sizer.MoveState() ? Qt::LeftButton : Qt::NoButton);
    setCursor(QCursor(m_sizer.MoveState() ? Qt::SizeAllCursor : Qt::ArrowCursor));
    for (QGraphicsItem *child : childItems())
        static_cast<GripItem *>(child)->sync();
    update();
}

QRectF SizerItem::boundingRect() const
{
    return m_rect.normalized();
}

void SizerItem::paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF interior(SizerGeometry::GripSize, SizerGeometry::GripSize, m_rect.width() - 2 * SizerGeometry::GripSize,
                          m_rect.height() - 2 * SizerGeometry::GripSize);
    if (m_sizer.pressOutlineShown() || m_sizer.MoveState()) {
        p->setPen(QPen(m_sizer.MoveState() ? QColor(0, 0, 255) : QColor(128, 128, 128), 0, Qt::DashLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(interior);
    }
}

void SizerItem::reportChange(const std::optional<SizerGeometry::Rect> &before)
{
    if (before && m_changed)
        m_changed(*before);
}

void SizerItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_sizer.pressBody(buttonOf(event->button()), event->pos().x(), event->pos().y());
    event->accept();
}

void SizerItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_sizer.moveBody(buttonOf(event->buttons() & Qt::LeftButton), event->pos().x(), event->pos().y());
}

void SizerItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *)
{
    reportChange(m_sizer.releaseBody());
}

GripItem::GripItem(SizerItem *parent, int index) : QGraphicsItem(parent), m_sizerItem(parent), m_index(index)
{
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    setCursor(QCursor(cursorFor(SizerGeometry::pointerShape(index))));
}

void GripItem::sync()
{
    const auto g = m_sizerItem->sizer().grips()[m_index];
    setPos(g.left, g.top);
    const QRectF r(0, 0, g.width, g.height);
    if (r != m_rect) {
        prepareGeometryChange();
        m_rect = r;
    }
}

QRectF GripItem::boundingRect() const
{
    return m_rect;
}

void GripItem::paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *)
{
    p->fillRect(m_rect, QPalette().color(QPalette::Highlight));
}

void GripItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_sizerItem->sizer().pressGrip(m_index, buttonOf(event->button()), event->pos().x(), event->pos().y());
    setCursor(QCursor(cursorFor(m_sizerItem->sizer().pointerShape())));
    event->accept();
}

void GripItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // Relative to the grip where it is now: the frame moves under the pointer.
    const QPointF rel = event->scenePos() - scenePos();
    m_sizerItem->sizer().moveOverGrip(m_index, buttonOf(event->buttons()), rel.x(), rel.y());
}

void GripItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    m_sizerItem->reportChange(m_sizerItem->sizer().releaseGrip(buttonOf(event->button())));
}

} // namespace KRML_ReportGen
