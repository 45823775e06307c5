#include "VbColor.h"

#include <array>

namespace KRML_ReportGen {

namespace {

// The classic Windows default scheme, indexed by the system colour number.
constexpr std::array<quint32, 25> kSystem = {
    0xC8C8C8, // 0 scroll bars
    0x000000, // 1 desktop
    0xD1B499, // 2 active title bar
    0xDBCDBF, // 3 inactive title bar
    0xF0F0F0, // 4 menu bar
    0xFFFFFF, // 5 window background
    0x646464, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0x000000, // 9 active title text
    0xB4B4B4, // 10 active border
    0xFCF7F4, // 11 inactive border
    0xABABAB, // 12 application workspace
    0xD77800, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xF0F0F0, // 15 button face
    0xA0A0A0, // 16 button shadow
    0x6D6D6D, // 17 grey text
    0x000000, // 18 button text
    0x000000, // 19 inactive title text
    0xFFFFFF, // 20 button highlight
    0x696969, // 21 3D dark shadow
    0xE3E3E3, // 22 3D light
    0x000000, // 23 tooltip text
    0xE1FFFF, // 24 tooltip background
};

} // namespace

QColor VbColor::toQColor(quint32 value)
{
    quint32 bgr = value & 0xFFFFFF;
    if (isSystemColor(value)) {
        const quint32 index = value & 0xFF;
        bgr = index < kSystem.size() ? kSystem[index] : 0;
    }
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 VbColor::fromQColor(const QColor &color)
{
    return rgb(color.red(), color.green(), color.blue());
}

} // namespace KRML_ReportGen
