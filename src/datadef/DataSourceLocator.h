#pragma once

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

// Finds the database file a connection string names when it does not exist
// as written, as with a report made on Windows ("C:\Reports\Sales.mdb"):
// drive letters and backslashes are mapped, and the file is looked for, by
// its relative path and then by its name, in the given folders (the
// package's folder, the host's application folder), without regard to case.
class DataSourceLocator
{
public:
    // The connection string with its "Data Source" replaced by the file
    // found, or unchanged when it exists as written or nothing is found.
    static QString resolve(const QString &connectionString, const QStringList &folders);
    // The folders a report's data is looked for in: the folder of the open
    // package (when known) and rdAppPath.
    static QStringList standardFolders();
};

} // namespace KRML_ReportGen
