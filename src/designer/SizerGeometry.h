#pragma once

#include "PointerShape.h"

#include <QtGlobal>

namespace KRML_ReportGen {

// The arithmetic of the sizer, the frame of eight grips around the selected
// object (twips). Binding frames the object with a margin of one grip size;
// a grip drag changes the frame only (by the pointer's position relative to
// the grip); releasing fits the object into the frame's interior. One
// function gives a grip's rectangle, for painting and for hit-testing alike.
class SizerGeometry
{
public:
    struct Rect
    {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
        friend bool operator==(const Rect &, const Rect &) = default;
    };

    static constexpr qint16 GripSize = 100;
    // A frame this small (2 grips) or smaller neither lays out its grips
    // nor takes grip drags until an object is bound again.
    static constexpr double StuckSize = 200;

    // The frame of an object bound to the sizer.
    static Rect bind(const Rect &object, double g = GripSize);
    // Grip index 0..7 (top left, top centre, top right, middle left, middle
    // right, bottom left, bottom centre, bottom right), relative to the frame.
    static Rect grip(int index, double frameWidth, double frameHeight, double g = GripSize);
    // The pointer shape a grip sets when pressed.
    static PointerShape pointerShape(int index);
    // The grip under a point of the frame, or -1.
    static int gripAt(double x, double y, double frameWidth, double frameHeight, double g = GripSize);
    static bool laysOut(const Rect &frame, double g = GripSize);
    static Rect interior(const Rect &frame, double g = GripSize);
    // The frame after the pointer moved over grip index with the left button
    // held, at (x, y) relative to the grip's top-left corner.
    static Rect dragGrip(const Rect &frame, int index, double x, double y);
    // The frame after a grip drag with the object's moved edges put on the
    // nearest line of a grid of step twips (no change when step < 1).
    static Rect snapGrip(const Rect &frame, int index, double step, double g = GripSize);
    // Where the object goes when the grip is released.
    static Rect release(const Rect &frame, double g = GripSize) { return interior(frame, g); }
};

} // namespace KRML_ReportGen
