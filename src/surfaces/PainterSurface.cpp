#include "PainterSurface.h"

#include "FontMapper.h"
#include "VbColor.h"

#include <cmath>

namespace KRML_ReportGen {

PainterSurface::PainterSurface()
{
    setFont(FontDescription());
}

PainterSurface::~PainterSurface() = default;

void PainterSurface::resetState()
{
    m_x = 0;
    m_y = 0;
}

void PainterSurface::setFont(const FontDescription &font)
{
    m_font = font;
    m_qfont = FontMapper::toQFont(font);
    m_metrics = std::make_unique<QFontMetricsF>(m_qfont);
}

double PainterSurface::TextWidth(const QString &text) const
{
    return m_metrics->horizontalAdvance(text);
}

double PainterSurface::TextHeight(const QString &) const
{
    return m_metrics->height();
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style)
{
    QPainter *p = painter();
    if (!p)
        return;
    const QColor c = VbColor::toQColor(color);
    const QRectF r = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    switch (style) {
    case LineStyle::Line:
        p->setPen(QPen(c, 0));
        p->drawLine(QPointF(x1, y1), QPointF(x2, y2));
        break;
    case LineStyle::Box:
        p->setPen(QPen(c, 0));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r);
        break;
    case LineStyle::FilledBox:
        p->fillRect(r, c);
        break;
    }
}

void PainterSurface::Print(const QString &text)
{
    QPainter *p = painter();
    const double lineHeight = m_metrics->height();
    if (p && !text.isEmpty()) {
        // Leave out text that falls wholly outside the surface: long lists
        // print far past the page, and drawing what nobody sees costs time.
        const bool visible = m_y < Height() && m_y + lineHeight > 0 && m_x < Width();
        if (visible) {
            p->setFont(m_qfont);
            p->setPen(VbColor::toQColor(m_foreColor));
            p->drawText(QPointF(m_x, m_y + m_metrics->ascent()), text);
        }
    }
    m_x = 0;
    m_y += lineHeight;
}

static double dotsPerInch(int dotsPerMeter)
{
    if (dotsPerMeter <= 0)
        return 96.0;
    // Files store whole dots per metre (3780 for 96 dpi): take the whole
    // resolution they were made at.
    const double dpi = dotsPerMeter * 0.0254;
    return std::abs(dpi - std::round(dpi)) < 0.05 ? std::round(dpi) : dpi;
}

QSizeF PainterSurface::naturalSize(const QImage &picture)
{
    return QSizeF(picture.width() * 1440.0 / dotsPerInch(picture.dotsPerMeterX()),
                  picture.height() * 1440.0 / dotsPerInch(picture.dotsPerMeterY()));
}

void PainterSurface::PaintPicture(const QImage &picture, double x, double y)
{
    QPainter *p = painter();
    if (!p || picture.isNull())
        return;
    p->drawImage(QRectF(QPointF(x, y), naturalSize(picture)), picture);
}

} // namespace KRML_ReportGen
