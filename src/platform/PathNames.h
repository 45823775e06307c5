#pragma once

#include <QString>

namespace KRML_ReportGen {

// Paths as the system and its hosts write them: with "\" or "/", and with
// any letter case for the working files ("\Temp\SQL.mtq" and "\temp\sql.mtq"
// are one file). These helpers turn them into paths of this file system.
class PathNames
{
public:
    // "\" becomes "/"; doubled separators collapse.
    static QString normalize(const QString &path);
    // Joins a folder and a relative name given in either separator style.
    static QString join(const QString &folder, const QString &name);
    // The existing path that matches without regard to letter case, component
    // by component; where nothing matches, the rest is kept as given.
    static QString resolve(const QString &path);
    // The last component, after the last "/" or "\".
    static QString baseName(const QString &path);
    // Everything before the last component (no trailing separator).
    static QString folderOf(const QString &path);
};

} // namespace KRML_ReportGen
