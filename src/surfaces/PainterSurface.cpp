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

const PainterSurface::FontEntry &PainterSurface::entryFor(const FontDescription &font)
{
    auto it = m_fonts.constFind(font);
    if (it == m_fonts.constEnd()) {
        const QFont f = FontMapper::toQFont(font);
        const QFontMetricsF metrics(f);
        it = m_fonts.insert(font, std::make_shared<const FontEntry>(FontEntry{f, metrics, metrics.height(), metrics.ascent()}));
    }
    return **it;
}

void PainterSurface::setFont(const FontDescription &font)
{
    if (m_entry && font == m_font)
        return;
    m_font = font;
    m_entry = &entryFor(font);
}

double PainterSurface::TextWidth(const QString &text) const
{
    return m_entry->metrics.horizontalAdvance(text);
}

double PainterSurface::TextHeight(const QString &) const
{
    return m_entry->height;
}

void PainterSurface::Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style)
{
    QPainter *p = painter();
    if (!p)
        return;
    const QColor c = VbColor::toQColor(color);
    m_painterColorSet = false; // the pen changes here
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
    const double lineHeight = m_entry->height;
    // Leave out text that falls wholly outside the surface: long lists
    // print far past the page, and drawing what nobody sees costs time.
    if (!text.isEmpty() && m_y < Height() && m_y + lineHeight > 0 && m_x < Width()) {
        if (QPainter *p = painter()) {
            // The painter keeps font and pen between lines: set only what changed.
            if (m_painterFont != m_entry) {
                p->setFont(m_entry->font);
                m_painterFont = m_entry;
            }
            if (!m_painterColorSet || m_painterColor != m_foreColor) {
                p->setPen(VbColor::toQColor(m_foreColor));
                m_painterColor = m_foreColor;
                m_painterColorSet = true;
            }
            p->drawText(QPointF(m_x, m_y + m_entry->ascent), text);
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
