#pragma once

#include "MouseButton.h"
#include "ObjectRef.h"
#include "PointerShape.h"
#include "SizerGeometry.h"

#include <QList>
#include <QObject>
#include <optional>

namespace KRML_ReportGen {

class LayoutPage;

// The sizer: the frame of eight grips around the selected object, and how
// it answers the pointer. Binding an object selects it and frames it with
// a margin of one grip; a grip drag changes the frame only; releasing the
// left button fits the object into the frame's interior. In move mode,
// dragging the frame's body moves frame and object together. Positions are
// page twips: the frame lies where its object is, whatever the scrolling.
class Sizer : public QObject
{
    Q_OBJECT
public:
    using Rect = SizerGeometry::Rect;

    explicit Sizer(LayoutPage &page, QObject *parent = nullptr);

    ObjectRef BoundControl() const { return m_bound; }
    // Selects o: frames it, leaves move mode, shows the sizer.
    void setBoundControl(const ObjectRef &o);
    // Nothing selected (the empty page was clicked, or the page changed).
    void hide();
    bool isVisible() const { return m_visible; }

    bool MoveState() const { return m_moveState; }
    void setMoveState(bool on);

    Rect frame() const { return m_frame; }
    // Places the frame's corner (the coordinate dialog's "Move").
    void setFramePosition(double left, double top);
    // The grips relative to the frame, as last laid out (a frame of two
    // grips or less keeps its previous layout).
    const QList<Rect> &grips() const { return m_grips; }
    int gripAt(double x, double y) const; // x, y relative to the frame
    bool pressOutlineShown() const { return m_pressOutline; }
    PointerShape pointerShape() const { return m_pointer; }
    int pressedGrip() const { return m_pressedGrip; }

    // Grip drags put the object's edges on a grid of this step (twips);
    // 0, the default, leaves them where the pointer is.
    void setSnapStep(double twips) { m_snapStep = twips; }
    // Grip i pressed / moved over / released; x, y relative to the grip.
    void pressGrip(int index, MouseButton button, double x, double y);
    void moveOverGrip(int index, MouseButton button, double x, double y);
    // The object's geometry before, when the release changed it.
    std::optional<Rect> releaseGrip(MouseButton button);

    // The body in move mode; x, y relative to the frame.
    void pressBody(MouseButton button, double x, double y);
    void moveBody(MouseButton button, double x, double y);
    // The object's geometry before the move, when it moved.
    std::optional<Rect> releaseBody();

signals:
    void changed();

private:
    void setFrame(const Rect &frame);

    LayoutPage &m_page;
    ObjectRef m_bound;
    bool m_visible = false;
    bool m_moveState = false;
    bool m_pressOutline = false;
    Rect m_frame;
    QList<Rect> m_grips;
    qint16 m_anchorX = 0;
    qint16 m_anchorY = 0;
    int m_pressedGrip = -1;
    PointerShape m_pointer = PointerShape::Default;
    bool m_bodyPressed = false;
    std::optional<Rect> m_before;
    double m_snapStep = 0;
};

} // namespace KRML_ReportGen
