#include "Sizer.h"

#include "LayoutPage.h"

namespace KRML_ReportGen {

Sizer::Sizer(LayoutPage &page, QObject *parent) : QObject(parent), m_page(page)
{
    for (int i = 0; i < 8; ++i)
        m_grips.append(SizerGeometry::grip(i, 2 * SizerGeometry::GripSize, 2 * SizerGeometry::GripSize));
}

void Sizer::setFrame(const Rect &frame)
{
    m_frame = frame;
    if (SizerGeometry::laysOut(frame))
        for (int i = 0; i < 8; ++i)
            m_grips[i] = SizerGeometry::grip(i, frame.width, frame.height);
    emit changed();
}

void Sizer::setBoundControl(const ObjectRef &o)
{
    m_bound = o;
    if (m_moveState)
        m_moveState = false;
    m_visible = !o.isNull();
    m_bodyPressed = false;
    setFrame(o.isNull() ? Rect{} : SizerGeometry::bind(o.geometry(m_page)));
}

void Sizer::hide()
{
    m_visible = false;
    m_bodyPressed = false;
    emit changed();
}

void Sizer::setMoveState(bool on)
{
    m_moveState = on;
    emit changed();
}

void Sizer::setFramePosition(double left, double top)
{
    Rect f = m_frame;
    f.left = left;
    f.top = top;
    setFrame(f);
}

int Sizer::gripAt(double x, double y) const
{
    for (int i = 7; i >= 0; --i) {
        const Rect &g = m_grips[i];
        if (x >= g.left && x < g.left + g.width && y >= g.top && y < g.top + g.height)
            return i;
    }
    return -1;
}

void Sizer::pressGrip(int index, MouseButton button, double x, double y)
{
    Q_UNUSED(button);
    m_anchorX = qint16(x);
    m_anchorY = qint16(y);
    m_pressedGrip = index;
    m_pointer = SizerGeometry::pointerShape(index);
    m_pressOutline = true;
    if (!m_bound.isNull() && !m_before)
        m_before = m_bound.geometry(m_page);
    emit changed();
}

void Sizer::moveOverGrip(int index, MouseButton button, double x, double y)
{
    if (button != MouseButton::Left || m_frame.height <= SizerGeometry::StuckSize || m_frame.width <= SizerGeometry::StuckSize)
        return;
    const Rect dragged = SizerGeometry::dragGrip(m_frame, index, x, y);
    // Snapping never makes the frame stuck (two grips or less).
    const Rect snapped = SizerGeometry::snapGrip(dragged, index, m_snapStep);
    setFrame(snapped.width > SizerGeometry::StuckSize && snapped.height > SizerGeometry::StuckSize ? snapped : dragged);
}

std::optional<SizerGeometry::Rect> Sizer::releaseGrip(MouseButton button)
{
    std::optional<Rect> before = m_before;
    m_before.reset();
    if (m_bound.isNull() || button != MouseButton::Left)
        return std::nullopt;
    const Rect fitted = SizerGeometry::release(m_frame);
    m_bound.setGeometry(m_page, fitted);
    emit changed();
    if (before && *before == fitted)
        return std::nullopt;
    return before;
}

void Sizer::pressBody(MouseButton button, double x, double y)
{
    if (!m_moveState || button != MouseButton::Left || m_bound.isNull())
        return;
    m_anchorX = qint16(x);
    m_anchorY = qint16(y);
    m_bodyPressed = true;
    m_before = m_bound.geometry(m_page);
}

void Sizer::moveBody(MouseButton button, double x, double y)
{
    if (!m_moveState || button != MouseButton::Left || !m_bodyPressed || m_bound.isNull())
        return;
    const double dx = x - m_anchorX;
    const double dy = y - m_anchorY;
    if (dx == 0 && dy == 0)
        return;
    Rect f = m_frame;
    f.left += dx;
    f.top += dy;
    Rect o = m_bound.geometry(m_page);
    o.left += dx;
    o.top += dy;
    m_bound.setGeometry(m_page, o);
    setFrame(f);
}

std::optional<SizerGeometry::Rect> Sizer::releaseBody()
{
    m_bodyPressed = false;
    std::optional<Rect> before = m_before;
    m_before.reset();
    if (!before || m_bound.isNull() || *before == m_bound.geometry(m_page))
        return std::nullopt;
    return before;
}

} // namespace KRML_ReportGen
