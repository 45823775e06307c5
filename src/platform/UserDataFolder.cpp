#include "UserDataFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace KRML_ReportGen {

QString UserDataFolder::path()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return folder;
}

} // namespace KRML_ReportGen
