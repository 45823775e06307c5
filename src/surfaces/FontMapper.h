#pragma once

#include "FontDescription.h"

#include <QFont>
#include <QString>

namespace KRML_ReportGen {

// Turns a layout's font into a QFont of this platform. The typefaces of
// legacy layouts map to installed fonts with the same metrics (Arial to
// Liberation Sans, Times New Roman to Liberation Serif, Courier New to
// Liberation Mono). The size is set in twips as the font's pixel size, so a
// painter working in twips gets text of the right size and the metrics are
// the same on every device and at every screen resolution.
class FontMapper
{
public:
    static QString family(const QString &legacyName);
    static QFont toQFont(const FontDescription &font);
    static int twipsForPoints(double points);
};

} // namespace KRML_ReportGen
