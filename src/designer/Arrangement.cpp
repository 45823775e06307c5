#include "Arrangement.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace KRML_ReportGen {

QList<Arrangement::Rect> Arrangement::align(const QList<Rect> &rects, int measure, Align edge)
{
    QList<Rect> out = rects;
    if (measure < 0 || measure >= rects.size())
        return out;
    const Rect m = rects[measure];
    for (Rect &r : out) {
        switch (edge) {
        case Align::Left: r.left = m.left; break;
        case Align::Right: r.left = m.left + m.width - r.width; break;
        case Align::Top: r.top = m.top; break;
        case Align::Bottom: r.top = m.top + m.height - r.height; break;
        case Align::HorizontalCentre: r.left = m.left + (m.width - r.width) / 2; break;
        case Align::VerticalCentre: r.top = m.top + (m.height - r.height) / 2; break;
        }
    }
    return out;
}

QList<Arrangement::Rect> Arrangement::sameSize(const QList<Rect> &rects, int measure, Size what)
{
    QList<Rect> out = rects;
    if (measure < 0 || measure >= rects.size())
        return out;
    for (Rect &r : out) {
        if (what != Size::Height)
            r.width = rects[measure].width;
        if (what != Size::Width)
            r.height = rects[measure].height;
    }
    return out;
}

QList<Arrangement::Rect> Arrangement::distribute(const QList<Rect> &rects, Axis axis)
{
    QList<Rect> out = rects;
    if (rects.size() < 3)
        return out;
    const bool h = axis == Axis::Horizontal;
    const auto start = [h](const Rect &r) { return h ? r.left : r.top; };
    const auto extent = [h](const Rect &r) { return h ? r.width : r.height; };
    QList<int> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return start(rects[a]) < start(rects[b]); });
    const Rect &first = rects[order.first()];
    const Rect &last = rects[order.last()];
    double occupied = 0;
    for (const Rect &r : rects)
        occupied += extent(r);
    const double span = start(last) + extent(last) - start(first);
    const double gap = (span - occupied) / double(rects.size() - 1);
    double at = start(first);
    for (int i : order) {
        Rect &r = out[i];
        (h ? r.left : r.top) = at;
        at += extent(r) + gap;
    }
    // The last keeps its place exactly, whatever the rounding.
    (h ? out[order.last()].left : out[order.last()].top) = start(last);
    return out;
}

double Arrangement::snap(double value, double step)
{
    if (step < 1)
        return value;
    return std::round(value / step) * step;
}

} // namespace KRML_ReportGen
