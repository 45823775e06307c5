#pragma once

#include "SizerGeometry.h"

#include <QList>

namespace KRML_ReportGen {

// Where aligning, sizing and distributing put several objects (twips). The
// measure is one of the rectangles (the sizer's object); it never moves.
class Arrangement
{
public:
    using Rect = SizerGeometry::Rect;
    enum class Align { Left, Right, Top, Bottom, HorizontalCentre, VerticalCentre };
    enum class Size { Width, Height, Both };
    enum class Axis { Horizontal, Vertical };

    static QList<Rect> align(const QList<Rect> &rects, int measure, Align edge);
    static QList<Rect> sameSize(const QList<Rect> &rects, int measure, Size what);
    // Equal gaps between neighbours along the axis; the first and the last
    // (by position) stay where they are. Fewer than three change nothing.
    static QList<Rect> distribute(const QList<Rect> &rects, Axis axis);

    // The nearest multiple of step (no snapping when step < 1).
    static double snap(double value, double step);
};

} // namespace KRML_ReportGen
