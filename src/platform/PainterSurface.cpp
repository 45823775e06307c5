#include "PainterSurface.h"

#include "FontMapper.h"
#include "VbColor.h"

namespace KRML_ReportGen {

PainterSurface::PainterSurface()
{
    setFont(FontSpec());
}

PainterSurface::~PainterSurface() = default;

void PainterSurface::resetState()
{
    m_x = 0;
    m_y = 0;
}

void PainterSurface::setFont(const FontSpec &font)
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

QSizeF PainterSurface::naturalSize(const QImage &picture)
{
    const double dpmX = picture.dotsPerMeterX() > 0 ? picture.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = picture.dotsPerMeterY() > 0 ? picture.dotsPerMeterY() : 96 / 0.0254;
    // twips = pixels / (dots per metre) * 1440 per inch / 0.0254 metre per inch
    return QSizeF(picture.width() / dpmX * 1440.0 / 0.0254, picture.height() / dpmY * 1440.0 / 0.0254);
}

void PainterSurface::PaintPicture(const QImage &picture, double x, double y)
{
    QPainter *p = painter();
    if (!p || picture.isNull())
        return;
    p->drawImage(QRectF(QPointF(x, y), naturalSize(picture)), picture);
}

} // namespace KRML_ReportGen
