#pragma once

#include "FontDescription.h"
#include "ObjectRef.h"

#include <QFont>
#include <QGraphicsItem>
#include <QStaticText>

namespace KRML_ReportGen {

class LayoutPage;

// A label or picture of the page on the designer's scene: a view of the
// page model, drawn from it and moved when it changes, never a copy. Its
// text is laid out once per change, not on every repaint. Items stack as
// the report draws them: labels in page order, then pictures; data fields
// and formulas lie over fixed texts, which the report moves below any list
// they would collide with.
class PageObjectItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    PageObjectItem(LayoutPage &page, const ObjectRef &object);

    ObjectRef object() const { return m_object; }
    // The object moved to another index (one before it was taken out or put in).
    void setObject(const ObjectRef &object);
    // Follows the model after a change.
    void sync();
    // Marked as one of several selected objects (the sizer frames the last).
    void setMarked(bool on);
    bool marked() const { return m_marked; }
    // Drawn over all other objects (the sizer's object, while it is).
    void setRaised(bool on);
    // What the label shows while designing (a data field's binding fitted
    // to the label's width); the caption itself for fixed text.
    QString shownText();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    void layoutText();
    double stackingOrder() const;

    LayoutPage &m_page;
    ObjectRef m_object;
    QRectF m_rect;
    QRectF m_extent; // a data field's name past its box, else null
    bool m_marked = false;
    bool m_raised = false;
    // What the label's text was laid out from.
    struct TextKey
    {
        QString caption;
        QString tag;
        FontDescription font;
        qint16 alignment = 0;
        float width = 0;
        float height = 0;
        friend bool operator==(const TextKey &, const TextKey &) = default;
    };
    TextKey m_textKey;
    bool m_textDirty = true;
    // The label's text, laid out for its width and font.
    QString m_shown;
    QFont m_font;
    QStaticText m_text;
    bool m_bound = false;     // data field or formula: one line, tinted
    bool m_overflows = false; // the text passes the label's box: clipped
    bool m_overflowKnown = false;
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
