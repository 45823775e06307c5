#pragma once

#include <QGraphicsObject>
#include <functional>
#include <optional>

#include "SizerGeometry.h"

namespace KRML_ReportGen {

class Sizer;

// The sizer on the scene: eight grips and the four sides of the frame's
// outline. One grip class serves all eight handles; its rectangle comes
// from the sizer's layout, the same one for painting and for hit-testing.
// The frame itself draws nothing and only takes the pointer in move mode:
// when it changes, only the grips and the thin sides are drawn again, not
// everything inside it.
class SizerItem : public QGraphicsObject
{
    Q_OBJECT
public:
    // Called after a release changed the selected object (for undo and the
    // picture rule), with the object's geometry before.
    using Changed = std::function<void(const SizerGeometry::Rect &before)>;

    SizerItem(Sizer &sizer, Changed changed);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    Sizer &sizer() { return m_sizer; }
    void reportChange(const std::optional<SizerGeometry::Rect> &before);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    void sync();

    Sizer &m_sizer;
    Changed m_changed;
    QRectF m_rect;
    QList<class GripItem *> m_grips;
    QList<class OutlineSideItem *> m_sides;
};

// One side of the frame's dashed outline (shown from the first grip press
// on, and in move mode).
class OutlineSideItem : public QGraphicsItem
{
public:
    OutlineSideItem(SizerItem *parent, int side);
    void sync(const QRectF &interior, const QColor &colour);
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    int m_side; // 0 top, 1 right, 2 bottom, 3 left
    QLineF m_line;
    QColor m_colour;
};

class GripItem : public QGraphicsItem
{
public:
    GripItem(SizerItem *parent, int index);
    void sync();
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    SizerItem *m_sizerItem;
    int m_index;
    QRectF m_rect;
};

} // namespace KRML_ReportGen
