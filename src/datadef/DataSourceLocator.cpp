#include "DataSourceLocator.h"

#include "ConnectionString.h"
#include "ModuleState.h"
#include "PathNames.h"

#include <QFileInfo>

namespace KRML_ReportGen {

QString DataSourceLocator::resolve(const QString &text, const QStringList &folders)
{
    ConnectionString cs(text);
    const QString source = cs.dataSource().trimmed();
    if (source.isEmpty() || source == QLatin1String(":memory:") || QFileInfo(PathNames::resolve(source)).isFile())
        return text;
    QString normalized = PathNames::normalize(source);
    const bool drive = normalized.size() > 1 && normalized[1] == QLatin1Char(':');
    if (drive)
        normalized = normalized.mid(2);
    const bool absolute = drive || normalized.startsWith(QLatin1Char('/'));
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        QStringList candidates;
        if (!absolute)
            candidates << PathNames::join(folder, normalized);
        candidates << PathNames::join(folder, PathNames::baseName(normalized));
        for (const QString &candidate : candidates) {
            const QString found = PathNames::resolve(candidate);
            if (QFileInfo(found).isFile()) {
                cs.setValue(QStringLiteral("Data Source"), found);
                return cs.toString();
            }
        }
    }
    return text;
}

QStringList DataSourceLocator::standardFolders()
{
    ModuleState &state = ModuleState::current();
    QStringList folders;
    if (!state.data().packageFolder().isEmpty())
        folders << state.data().packageFolder();
    if (!state.rdAppPath().isEmpty())
        folders << state.rdAppPath();
    return folders;
}

} // namespace KRML_ReportGen
