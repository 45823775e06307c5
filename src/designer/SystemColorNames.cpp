#include "SystemColorNames.h"

#include "VbColor.h"

#include <array>

namespace KRML_ReportGen {

QString SystemColorNames::name(int number)
{
    static const std::array<const char *, Count> names = {
        "Scroll Bars",     "Desktop",        "Active Title Bar", "Inactive Title Bar",    "Menu Bar",
        "Window Background", "Window Frame", "Menu Text",        "Window Text",           "Active Title Text",
        "Active Border",   "Inactive Border", "Application Workspace", "Highlight",       "Highlight Text",
        "Button Face",     "Button Shadow",  "Grey Text",        "Button Text",           "Inactive Title Text",
        "Button Highlight", "3D Dark Shadow", "3D Light",        "ToolTip Text",          "ToolTip Background"};
    if (number < 0 || number >= Count)
        return QStringLiteral("System colour %1").arg(number);
    return QString::fromLatin1(names[size_t(number)]);
}

QString SystemColorNames::describe(quint32 colour)
{
    if (VbColor::isSystemColor(colour))
        return name(int(colour & 0xFF)) + QStringLiteral(" (system)");
    if (colour == VbColor::White)
        return QStringLiteral("White");
    if (colour == 0)
        return QStringLiteral("Black");
    return VbColor::toQColor(colour).name().toUpper();
}

} // namespace KRML_ReportGen
