#include "PageView.h"

#include "FontMapper.h"
#include "LayoutPage.h"
#include "PainterSurface.h"
#include "Twips.h"
#include "VbColor.h"

#include <QMouseEvent>
#include <QPainter>

namespace KRML_ReportGen {

PageView::PageView(LayoutPage *page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setObjectName(QStringLiteral("Page"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const auto repaint = [this] { update(); };
    connect(page, &LayoutPage::sizeChanged, this, &PageView::syncSize);
    connect(page, &LayoutPage::labelAdded, this, repaint);
    connect(page, &LayoutPage::picAdded, this, repaint);
    connect(page, &LayoutPage::labelChanged, this, repaint);
    connect(page, &LayoutPage::picChanged, this, repaint);
    connect(page, &LayoutPage::cleared, this, repaint);
    connect(page, &LayoutPage::drawingChanged, this, repaint);
    syncSize();
}

void PageView::syncSize()
{
    resize(Twips::toPixels(m_page->Width()), Twips::toPixels(m_page->Height()));
    update();
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.scale(1.0 / Twips::PerPixel, 1.0 / Twips::PerPixel);

    for (const auto &s : m_page->drawing().strokes()) {
        const QColor c = VbColor::toQColor(s.color);
        const QRectF r = QRectF(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2)).normalized();
        switch (s.style) {
        case DrawingLayer::Style::Line:
            p.setPen(QPen(c, 0));
            p.drawLine(QPointF(s.x1, s.y1), QPointF(s.x2, s.y2));
            break;
        case DrawingLayer::Style::Box:
            p.setPen(QPen(c, 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
            break;
        case DrawingLayer::Style::FilledBox:
            p.fillRect(r, c);
            break;
        }
    }

    for (int i = 1; i <= m_page->labelCount(); ++i) {
        const LayoutLabel &l = m_page->Label(i);
        if (!l.Visible)
            continue;
        const QRectF r(l.Left, l.Top, l.Width, l.Height);
        // A label on the page is opaque: its back colour covers the grid.
        p.fillRect(r, VbColor::toQColor(l.BackColor));
        if (l.BorderStyle == 1) {
            p.setPen(QPen(Qt::black, 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r);
        }
        p.setFont(FontMapper::toQFont(l.Font));
        p.setPen(VbColor::toQColor(l.ForeColor));
        const Qt::Alignment h = l.Alignment == 1 ? Qt::AlignRight : (l.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        p.drawText(r, int(h | Qt::AlignTop | Qt::TextWordWrap), l.Caption);
    }

    for (int i = 1; i <= m_page->picCount(); ++i) {
        const LayoutPicture &pic = m_page->Pic(i);
        if (!pic.Visible)
            continue;
        const QRectF r(pic.Left, pic.Top, pic.Width, pic.Height);
        p.save();
        p.setClipRect(r);
        if (!pic.Picture.isNull())
            p.drawImage(QRectF(r.topLeft(), PainterSurface::naturalSize(pic.Picture)), pic.Picture);
        p.restore();
    }
}

void PageView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMovedTwips(Twips::fromPixels(event->position().x()), Twips::fromPixels(event->position().y()));
    QWidget::mouseMoveEvent(event);
}

} // namespace KRML_ReportGen
