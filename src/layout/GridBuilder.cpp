#include "GridBuilder.h"

#include "DrawingLayer.h"
#include "ReportError.h"
#include "VbConvert.h"

namespace KRML_ReportGen {

namespace {

qint16 add16(qint16 a, qint16 b)
{
    const int r = int(a) + int(b);
    if (r > 32767 || r < -32768)
        throw ReportError::overflow();
    return qint16(r);
}

qint16 mul16(qint16 a, qint16 b)
{
    const int r = int(a) * int(b);
    if (r > 32767 || r < -32768)
        throw ReportError::overflow();
    return qint16(r);
}

} // namespace

qint16 GridBuilder::stepFor(qint16 gridSizeMm)
{
    return VbConvert::toInt16(double(gridSizeMm) * 0.1 * 567.0);
}

quint32 GridBuilder::colorAt(qint16 position, qint16 step)
{
    if (position % mul16(10, step) == 0)
        return Dark;
    if (position % mul16(5, step) == 0)
        return Silver;
    return Light;
}

void GridBuilder::draw(DrawingLayer &layer, qint16 step, float pageWidth, float pageHeight)
{
    layer.clear();
    if (step < 1)
        return;
    const qint16 right = VbConvert::toInt16(pageWidth);
    for (qint16 x = 0; x <= right; x = add16(x, step))
        layer.line(x, 0, x, pageHeight, colorAt(x, step));
    const qint16 bottom = VbConvert::toInt16(pageHeight);
    for (qint16 y = 0; y <= bottom; y = add16(y, step))
        layer.line(0, y, pageWidth, y, colorAt(y, step));
}

} // namespace KRML_ReportGen
