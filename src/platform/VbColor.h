#pragma once

#include <QColor>
#include <QtGlobal>

namespace KRML_ReportGen {

// Colours as layouts store them: &H00BBGGRR, red in the lowest byte; a value
// with the top bit set names a system colour by its low byte.
class VbColor
{
public:
    static constexpr quint32 White = 0xFFFFFF;
    static constexpr quint32 WindowText = 0x80000008;
    static constexpr quint32 WindowBackground = 0x80000005;

    static bool isSystemColor(quint32 value) { return (value & 0x80000000u) != 0; }
    static QColor toQColor(quint32 value);
    static quint32 fromQColor(const QColor &color);
    static quint32 rgb(int r, int g, int b) { return quint32(r & 0xFF) | quint32(g & 0xFF) << 8 | quint32(b & 0xFF) << 16; }
};

} // namespace KRML_ReportGen
