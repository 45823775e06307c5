#pragma once

namespace KRML_ReportGen {

// Screen pixels of the control's views: 15 twips to a pixel, whatever the
// screen's own resolution, so a page always shows at the same size in pixels.
namespace Twips {
constexpr double PerPixel = 15.0;
constexpr int toPixels(double twips) { return int(twips / PerPixel + (twips >= 0 ? 0.5 : -0.5)); }
constexpr double fromPixels(double pixels) { return pixels * PerPixel; }
} // namespace Twips

} // namespace KRML_ReportGen
