#pragma once

#include <QtGlobal>

namespace KRML_ReportGen {

class DrawingLayer;

// Draws the millimetre grid on the page's drawing layer. Every 10th line is
// dark grey, every other 5th silver, the rest light grey. The loop bounds
// and counters are 16-bit integers: a page or a step beyond their range ends
// the drawing with an Overflow error, leaving the lines drawn so far.
class GridBuilder
{
public:
    static constexpr quint32 Dark = 0x808080;
    static constexpr quint32 Silver = 0xC0C0C0;
    static constexpr quint32 Light = 0xE1E1E1;

    // The grid step in twips for a grid size in millimetres.
    static qint16 stepFor(qint16 gridSizeMm);
    // Clears the layer and draws the grid with step s; s < 1 draws nothing.
    static void draw(DrawingLayer &layer, qint16 step, float pageWidth, float pageHeight);
    static quint32 colorAt(qint16 position, qint16 step);
};

} // namespace KRML_ReportGen
