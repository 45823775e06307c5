#pragma once

#include <QString>

namespace KRML_ReportGen {

// A font as layouts store it: a typeface name, a size in points and the four
// styles.
struct FontDescription
{
    QString name = QStringLiteral("MS Sans Serif");
    float size = 8.25f;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;

    friend bool operator==(const FontDescription &, const FontDescription &) = default;
};

} // namespace KRML_ReportGen
