#pragma once

#include <QIcon>
#include <QString>

namespace KRML_ReportGen {

// An icon of the desktop's theme by its standard name ("document-open",
// "edit-undo", ...), or the one bundled with the program when the theme
// has none (no theme on the platform, or a name only this program uses).
class ThemeIcon
{
public:
    static QIcon get(const QString &name);
    static QIcon bundled(const QString &name);
};

} // namespace KRML_ReportGen
