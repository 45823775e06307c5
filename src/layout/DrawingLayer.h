#pragma once

#include <QList>
#include <QtGlobal>

namespace KRML_ReportGen {

// The page's drawing layer under its objects: the grid and boxes drawn with
// the box command. It is never saved, and clearing it removes both.
class DrawingLayer
{
public:
    enum class Style { Line, Box, FilledBox };
    struct Stroke
    {
        Style style;
        float x1, y1, x2, y2;
        quint32 color;
        friend bool operator==(const Stroke &, const Stroke &) = default;
    };

    void clear() { m_strokes.clear(); }
    void line(float x1, float y1, float x2, float y2, quint32 color) { m_strokes.append({Style::Line, x1, y1, x2, y2, color}); }
    void box(float x1, float y1, float x2, float y2, quint32 color, bool filled)
    {
        m_strokes.append({filled ? Style::FilledBox : Style::Box, x1, y1, x2, y2, color});
    }
    const QList<Stroke> &strokes() const { return m_strokes; }
    bool isEmpty() const { return m_strokes.isEmpty(); }

private:
    QList<Stroke> m_strokes;
};

} // namespace KRML_ReportGen
