#include "WorkingConnectionFile.h"

#include "FileService.h"
#include "TextReader.h"
#include "Windows1252Codec.h"

namespace KRML_ReportGen {

void WorkingConnectionFile::write(FileService &files, const QString &path, const QString &connectionString)
{
    files.writeBytes(path, Windows1252Codec::encode(connectionString));
}

QString WorkingConnectionFile::read(const FileService &files, const QString &path)
{
    return parse(files.readBytes(path));
}

QString WorkingConnectionFile::parse(const QByteArray &bytes)
{
    const QStringList lines = TextReader::splitLines(Windows1252Codec::decode(bytes));
    return lines.isEmpty() ? QString() : lines.first();
}

} // namespace KRML_ReportGen
