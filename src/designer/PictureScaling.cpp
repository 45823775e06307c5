#include "PictureScaling.h"

#include "ReportError.h"

namespace KRML_ReportGen {

PictureScaling::Fitted PictureScaling::fit(double w, double h, double areaWidth, double areaHeight)
{
    if (areaWidth == 0 || areaHeight == 0 || h == 0)
        throw ReportError(ReportError::DivisionByZero, QStringLiteral("Division by zero"));
    const double rx = w / areaWidth;
    const double ry = h / areaHeight;
    const double aspect = w / h;
    if (rx <= 1 && ry <= 1)
        return {w, h, 1};
    if (rx > ry)
        return {areaWidth, areaWidth / aspect, rx};
    if (rx < ry)
        return {aspect * areaHeight, areaHeight, ry};
    return {areaWidth, areaHeight, rx};
}

PictureScaling::Offset PictureScaling::centre(double width, double height, double areaWidth, double areaHeight)
{
    return {(areaWidth - width) / 2, (areaHeight - height) / 2};
}

} // namespace KRML_ReportGen
