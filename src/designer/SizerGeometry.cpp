#include "SizerGeometry.h"

#include <cmath>

namespace KRML_ReportGen {

SizerGeometry::Rect SizerGeometry::bind(const Rect &o, double g)
{
    return {o.left - g, o.top - g, o.width + 2 * g, o.height + 2 * g};
}

SizerGeometry::Rect SizerGeometry::grip(int index, double w, double h, double g)
{
    const double centreX = (w + g) / 2 - g;
    const double middleY = (h + g) / 2 - g;
    switch (index) {
    case 0: return {0, 0, g, g};
    case 1: return {centreX, 0, g, g};
    case 2: return {w - g, 0, g, g};
    case 3: return {0, middleY, g, g};
    case 4: return {w - g, middleY, g, g};
    case 5: return {0, h - g, g, g};
    case 6: return {centreX, h - g, g, g};
    case 7: return {w - g, h - g, g, g};
    default: return {};
    }
}

PointerShape SizerGeometry::pointerShape(int index)
{
    static const PointerShape shapes[8] = {PointerShape::SizeNWSE, PointerShape::SizeNS, PointerShape::SizeNESW,
                                           PointerShape::SizeWE,   PointerShape::SizeWE, PointerShape::SizeNESW,
                                           PointerShape::SizeNS,   PointerShape::SizeNWSE};
    return index >= 0 && index < 8 ? shapes[index] : PointerShape::Default;
}

int SizerGeometry::gripAt(double x, double y, double w, double h, double g)
{
    for (int i = 0; i < 8; ++i) {
        const Rect r = grip(i, w, h, g);
        if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height)
            return i;
    }
    return -1;
}

bool SizerGeometry::laysOut(const Rect &frame, double g)
{
    return frame.height > 2 * g && frame.width > 2 * g;
}

SizerGeometry::Rect SizerGeometry::interior(const Rect &f, double g)
{
    return {f.left + g, f.top + g, f.width - 2 * g, f.height - 2 * g};
}

SizerGeometry::Rect SizerGeometry::dragGrip(const Rect &frame, int index, double x, double y)
{
    if (!(frame.height > StuckSize && frame.width > StuckSize))
        return frame;
    Rect p = frame;
    switch (index) {
    case 0: p.top += y; p.left += x; p.width -= x; p.height -= y; break;
    case 1: p.top += y; p.height -= y; break;
    case 2: p.top += y; p.width += x; p.height -= y; break;
    case 3: p.left += x; p.width -= x; break;
    case 4: p.width += x; break;
    case 5: p.left += x; p.width -= x; p.height += y; break;
    case 6: p.height += y; break;
    case 7: p.height += y; p.width += x; break;
    default: break;
    }
    return p;
}

SizerGeometry::Rect SizerGeometry::snapGrip(const Rect &frame, int index, double step, double g)
{
    if (step < 1)
        return frame;
    const auto snap = [step](double v) { return std::round(v / step) * step; };
    Rect p = frame;
    // The edges the grip moves: the object's edge (one grip inside the
    // frame) goes to the nearest grid line, the opposite edge stays.
    if (index == 0 || index == 3 || index == 5) {
        const double right = p.left + p.width;
        p.left = snap(p.left + g) - g;
        p.width = right - p.left;
    }
    if (index == 2 || index == 4 || index == 7)
        p.width = snap(p.left + p.width - g) + g - p.left;
    if (index == 0 || index == 1 || index == 2) {
        const double bottom = p.top + p.height;
        p.top = snap(p.top + g) - g;
        p.height = bottom - p.top;
    }
    if (index == 5 || index == 6 || index == 7)
        p.height = snap(p.top + p.height - g) + g - p.top;
    return p;
}

} // namespace KRML_ReportGen
