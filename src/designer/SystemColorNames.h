#pragma once

#include <QString>
#include <QtGlobal>

namespace KRML_ReportGen {

// The names of the system colours a colour value can stand for (values
// with the top bit set, &H80000000 + number), as a colour chooser lists them.
class SystemColorNames
{
public:
    static constexpr int Count = 25;
    static QString name(int number);
    static quint32 value(int number) { return 0x80000000u | quint32(number); }
    // "Window Text (system)", "White", or "#RRGGBB" (red first).
    static QString describe(quint32 colour);
};

} // namespace KRML_ReportGen
