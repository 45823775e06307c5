#include "Ruler.h"

#include "DesignerCommands.h"
#include "DesignerView.h"
#include "LayoutPage.h"
#include "Selection.h"
#include "Sizer.h"

#include <QPainter>
#include <QPaintEvent>
#include <cmath>

namespace KRML_ReportGen {

namespace {
constexpr double kTwipsPerMm = 56.7;
constexpr int kThickness = 22;
} // namespace

Ruler::Ruler(Qt::Orientation orientation, DesignerView &view, QWidget *parent)
    : QWidget(parent), m_orientation(orientation), m_view(&view)
{
    setObjectName(orientation == Qt::Horizontal ? QStringLiteral("rulerTop") : QStringLiteral("rulerLeft"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont f = font();
    f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
    setFont(f);
    connect(&view, &DesignerView::placementChanged, this, qOverload<>(&QWidget::update));
    connect(&view, &DesignerView::zoomChanged, this, qOverload<>(&QWidget::update));
    connect(&view, &DesignerView::mouseMovedTwips, this, &Ruler::pointerAt);
    connect(&view.sizer(), &Sizer::changed, this, &Ruler::followSelection);
    connect(&view.commands().selection(), &Selection::changed, this, &Ruler::followSelection);
}

QSize Ruler::sizeHint() const
{
    return m_orientation == Qt::Horizontal ? QSize(100, kThickness) : QSize(kThickness, 100);
}

double Ruler::pixelsPerMm() const
{
    return m_view ? m_view->transform().m11() * kTwipsPerMm : 1;
}

double Ruler::origin() const
{
    if (!m_view)
        return 0;
    // The page's corner, as this ruler sees it (both live in one window).
    const QPoint corner = m_view->viewport()->mapTo(window(), m_view->mapFromScene(QPointF(0, 0)));
    const QPoint mine = mapTo(window(), QPoint(0, 0));
    return m_orientation == Qt::Horizontal ? corner.x() - mine.x() : corner.y() - mine.y();
}

void Ruler::pointerAt(double xTwips, double yTwips)
{
    m_pointer = m_orientation == Qt::Horizontal ? xTwips : yTwips;
    update();
}

void Ruler::followSelection()
{
    m_bandFrom = m_bandTo = 0;
    if (m_view) {
        const LayoutPage &page = m_view->page();
        bool first = true;
        for (const ObjectRef &o : m_view->commands().selection().objects()) {
            const auto g = o.geometry(page);
            const double from = m_orientation == Qt::Horizontal ? g.left : g.top;
            const double to = from + (m_orientation == Qt::Horizontal ? g.width : g.height);
            m_bandFrom = first ? from : std::min(m_bandFrom, from);
            m_bandTo = first ? to : std::max(m_bandTo, to);
            first = false;
        }
    }
    update();
}

void Ruler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Window));
    const bool h = m_orientation == Qt::Horizontal;
    const double o = origin();
    const double ppm = pixelsPerMm();
    const int length = h ? width() : height();
    const int thick = h ? height() : width();
    const double pageMm = m_view ? (h ? m_view->page().Width() : m_view->page().Height()) / kTwipsPerMm : 0;

    // The page's extent in white, the selection's in the highlight colour.
    const auto band = [&](double fromMm, double toMm, const QColor &c) {
        const double a = o + fromMm * ppm, b = o + toMm * ppm;
        p.fillRect(h ? QRectF(a, 2, b - a, thick - 4) : QRectF(2, a, thick - 4, b - a), c);
    };
    band(0, pageMm, pal.color(QPalette::Base));
    if (m_bandTo > m_bandFrom) {
        QColor c = pal.color(QPalette::Highlight);
        c.setAlpha(60);
        band(m_bandFrom / kTwipsPerMm, m_bandTo / kTwipsPerMm, c);
    }

    // Ticks: every millimetre when there is room, longer ones every 5 and
    // 10 mm, numbers every 10 mm (or every 50 when zoomed far out).
    const int labelStep = ppm * 10 >= 28 ? 10 : 50;
    const int tickStep = ppm >= 3 ? 1 : (ppm * 5 >= 3 ? 5 : 10);
    p.setPen(pal.color(QPalette::WindowText));
    const int firstMm = int(std::floor(-o / ppm / tickStep)) * tickStep;
    const int lastMm = int(std::ceil((length - o) / ppm));
    for (int mm = firstMm; mm <= lastMm; mm += tickStep) {
        const double at = std::round(o + mm * ppm) + 0.5;
        const int tick = mm % 10 == 0 ? (h ? thick / 2 : thick / 3) : (mm % 5 == 0 ? thick / 4 : thick / 6);
        if (h)
            p.drawLine(QPointF(at, thick - tick), QPointF(at, thick));
        else
            p.drawLine(QPointF(thick - tick, at), QPointF(thick, at));
        if (mm % labelStep == 0) {
            const QString text = QString::number(mm);
            // Beside the tick on the top ruler, under it on the left one.
            if (h)
                p.drawText(QPointF(at + 2, p.fontMetrics().ascent() + 1), text);
            else
                p.drawText(QPointF(2, at + p.fontMetrics().ascent() + 1), text);
        }
    }
    p.setPen(pal.color(QPalette::Mid));
    if (h)
        p.drawLine(0, thick - 1, length, thick - 1);
    else
        p.drawLine(thick - 1, 0, thick - 1, length);

    if (m_pointer >= 0) {
        const double at = std::round(o + m_pointer / kTwipsPerMm * ppm) + 0.5;
        p.setPen(QPen(QColor(0xC0, 0x39, 0x2B), 1));
        if (h)
            p.drawLine(QPointF(at, 0), QPointF(at, thick));
        else
            p.drawLine(QPointF(0, at), QPointF(thick, at));
    }
}

} // namespace KRML_ReportGen
