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

// Half the width of a side's strip: room for a one-pixel line at any zoom.
constexpr double kSideMargin = 30;

SizerItem::SizerItem(Sizer &sizer, Changed changed) : m_sizer(sizer), m_changed(std::move(changed))
{
    setZValue(1000000);
    setFlag(ItemHasNoContents);
    for (int i = 0; i < 4; ++i)
        m_sides.append(new OutlineSideItem(this, i));
    for (int i = 0; i < 8; ++i)
        m_grips.append(new GripItem(this, i));
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
    const Qt::MouseButtons buttons = m_sizer.MoveState() ? Qt::LeftButton : Qt::NoButton;
    if (acceptedMouseButtons() != buttons) {
        setAcceptedMouseButtons(buttons);
        setCursor(QCursor(m_sizer.MoveState() ? Qt::SizeAllCursor : Qt::ArrowCursor));
    }
    for (GripItem *grip : std::as_const(m_grips))
        grip->sync();
    const bool outline = m_sizer.pressOutlineShown() || m_sizer.MoveState();
    const QRectF interior(SizerGeometry::GripSize, SizerGeometry::GripSize, m_rect.width() - 2 * SizerGeometry::GripSize,
                          m_rect.height() - 2 * SizerGeometry::GripSize);
    const QColor colour = m_sizer.MoveState() ? QColor(0, 0, 255) : QColor(128, 128, 128);
    for (OutlineSideItem *side : std::as_const(m_sides)) {
        side->setVisible(outline);
        if (outline)
            side->sync(interior, colour);
    }
}

QRectF SizerItem::boundingRect() const
{
    return m_rect.normalized();
}

void SizerItem::paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *)
{
    // The grips and the outline's sides draw themselves.
}

OutlineSideItem::OutlineSideItem(SizerItem *parent, int side) : QGraphicsItem(parent), m_side(side)
{
    setAcceptedMouseButtons(Qt::NoButton);
    setVisible(false);
}

void OutlineSideItem::sync(const QRectF &interior, const QColor &colour)
{
    QLineF line;
    switch (m_side) {
    case 0: line = QLineF(interior.topLeft(), interior.topRight()); break;
    case 1: line = QLineF(interior.topRight(), interior.bottomRight()); break;
    case 2: line = QLineF(interior.bottomLeft(), interior.bottomRight()); break;
    default: line = QLineF(interior.topLeft(), interior.bottomLeft()); break;
    }
    if (line == m_line && colour == m_colour)
        return;
    prepareGeometryChange();
    m_line = line;
    m_colour = colour;
}

QRectF OutlineSideItem::boundingRect() const
{
    return QRectF(m_line.p1(), m_line.p2()).normalized().adjusted(-kSideMargin, -kSideMargin, kSideMargin, kSideMargin);
}

void OutlineSideItem::paint(QPainter *p, const QStyleOptionGraphicsItem *, QWidget *)
{
    p->setPen(QPen(m_colour, 0, Qt::DashLine));
    p->drawLine(m_line);
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
    setZValue(1);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
    setCursor(QCursor(cursorFor(SizerGeometry::pointerShape(index))));
}

void GripItem::sync()
{
    const auto g = m_sizerItem->sizer().grips()[m_index];
    if (pos() != QPointF(g.left, g.top))
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
