#include "StatementCatalog.h"
#include "ModuleState.h"

#include "FileService.h"
#include "TextReader.h"

namespace KRML_ReportGen {

QStringList StatementCatalog::FillStatementList(const FileService &files, const QString &path,
                                                const QStringList &previous)
{
    if (!files.fileExists(path))
        return previous;
    TextReader reader(files, path, ModuleState::current().codec());
    // The first line is read but not examined; every line after it, and the
    // first one too, may be a header.
    QStringList names;
    while (!reader.atEnd()) {
        const QString line = reader.readLine();
        if (line.left(10) == QLatin1String("tablename=")) {
            const QString name = line.mid(10);
            if (name != QLatin1String("endreport"))
                names.append(name);
        }
    }
    return names;
}

} // namespace KRML_ReportGen
