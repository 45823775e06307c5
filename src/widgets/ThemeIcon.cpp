#include "ThemeIcon.h"

namespace KRML_ReportGen {

QIcon ThemeIcon::bundled(const QString &name)
{
    return QIcon(QStringLiteral(":/krml/icons/%1.svg").arg(name));
}

QIcon ThemeIcon::get(const QString &name)
{
    return QIcon::fromTheme(name, bundled(name));
}

} // namespace KRML_ReportGen
