#pragma once

#include "ObjectRef.h"

#include <QGraphicsItem>

namespace KRML_ReportGen {

class LayoutPage;

// A label or picture of the page on the designer's scene: a view of the
// page model, drawn from it and moved when it changes, never a copy.
class PageObjectItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    PageObjectItem(LayoutPage &page, const ObjectRef &object);

    ObjectRef object() const { return m_object; }
    // Follows the model after a change.
    void sync();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    LayoutPage &m_page;
    ObjectRef m_object;
    QRectF m_rect;
};

// The paper and the page's drawing layer (grid lines, boxes).
class PaperItem : public QGraphicsItem
{
public:
    explicit PaperItem(LayoutPage &page) : m_page(page) { setZValue(-1); }
    void sync();
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    LayoutPage &m_page;
};

} // namespace KRML_ReportGen
