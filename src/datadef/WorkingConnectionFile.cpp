#include "WorkingConnectionFile.h"
#include "ModuleState.h"

#include "FileService.h"
#include "TextReader.h"

namespace KRML_ReportGen {

void WorkingConnectionFile::write(FileService &files, const QString &path, const QString &connectionString)
{
    files.writeBytes(path, ModuleState::current().codec().encode(connectionString));
}

QString WorkingConnectionFile::read(const FileService &files, const QString &path)
{
    return parse(files.readBytes(path));
}

QString WorkingConnectionFile::parse(const QByteArray &bytes)
{
    const QStringList lines = TextReader::splitLines(ModuleState::current().codec().decode(bytes));
    return lines.isEmpty() ? QString() : lines.first();
}

} // namespace KRML_ReportGen
