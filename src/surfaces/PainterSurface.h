#pragma once

#include "DrawingSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <memory>

namespace KRML_ReportGen {

// The drawing operations over a QPainter. The painter works in twips; each
// device scales twips to its own resolution. Text is laid out with metrics of
// the font at its twips size, never of the device, so every device puts each
// line at the same twips.
class PainterSurface : public DrawingSurface
{
public:
    PainterSurface();
    ~PainterSurface() override;

    FontDescription Font() const override { return m_font; }
    void setFont(const FontDescription &font) override;
    quint32 ForeColor() const override { return m_foreColor; }
    void setForeColor(quint32 color) override { m_foreColor = color; }
    double CurrentX() const override { return m_x; }
    void setCurrentX(double twips) override { m_x = twips; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double twips) override { m_y = twips; }

    double TextWidth(const QString &text) const override;
    double TextHeight(const QString &text = QString()) const override;

    void Line(double x1, double y1, double x2, double y2, quint32 color, LineStyle style = LineStyle::Line) override;
    void Print(const QString &text) override;
    void PaintPicture(const QImage &picture, double x, double y) override;

    // The natural size of a picture in twips (from its resolution, 96 dpi when
    // it has none).
    static QSizeF naturalSize(const QImage &picture);

protected:
    // The painter for the next operation, working in twips; null when the
    // device cannot be drawn on.
    virtual QPainter *painter() = 0;
    void resetState();
    // Subclasses call this for every new painter: it has none of the
    // surface's font and pen yet.
    void painterStarted() { m_painterFont = nullptr; m_painterColorSet = false; }

private:
    // A layout uses a handful of fonts, switched for every label on every
    // page: each is made into a QFont and measured once per surface.
    struct FontEntry
    {
        QFont font;
        QFontMetricsF metrics;
        double height;
        double ascent;
    };
    const FontEntry &entryFor(const FontDescription &font);

    FontDescription m_font;
    QHash<FontDescription, std::shared_ptr<const FontEntry>> m_fonts;
    const FontEntry *m_entry = nullptr;
    const FontEntry *m_painterFont = nullptr; // the font the painter has
    quint32 m_painterColor = 0;
    bool m_painterColorSet = false;
    quint32 m_foreColor = 0;
    double m_x = 0;
    double m_y = 0;
};

} // namespace KRML_ReportGen
