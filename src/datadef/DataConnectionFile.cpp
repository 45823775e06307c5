#include "DataConnectionFile.h"
#include "ModuleState.h"

#include "FileService.h"
#include "ReportError.h"
#include "TextReader.h"

namespace KRML_ReportGen {

namespace {

const QString kSeparator = QStringLiteral(", ");

QStringList splitList(const QString &value)
{
    return value.isEmpty() ? QStringList() : value.split(kSeparator);
}

} // namespace

QString DataConnectionFile::toText() const
{
    const QString crlf = QStringLiteral("\r\n");
    return magic() + crlf + QStringLiteral("###########") + crlf + QStringLiteral("CnnString=") + cnnString + crlf
           + QStringLiteral("SelTables=") + selTables.join(kSeparator) + crlf + QStringLiteral("SelFields=")
           + selFields.join(kSeparator) + crlf + QStringLiteral("TableLinks=") + tableLinks.join(kSeparator) + crlf
           + QStringLiteral("Params=") + params.join(kSeparator) + crlf;
}

void DataConnectionFile::write(FileService &files, const QString &path, bool overwrite) const
{
    if (overwrite && files.fileExists(path))
        files.deleteFile(path);
    files.writeBytes(path, ModuleState::current().codec().encode(toText()));
}

bool DataConnectionFile::read(const QByteArray &bytes, QString *why)
{
    const QStringList lines = TextReader::splitLines(ModuleState::current().codec().decode(bytes));
    const auto fail = [&](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (lines.isEmpty() || lines[0] != magic())
        return fail(QStringLiteral("This is not a data connection file."));
    static const char *keys[] = {"CnnString=", "SelTables=", "SelFields=", "TableLinks=", "Params="};
    QStringList values;
    for (int i = 0; i < 5; ++i) {
        const int lineIndex = i + 2;
        const QLatin1String key(keys[i]);
        if (lineIndex >= lines.size() || !lines[lineIndex].startsWith(key))
            return fail(QStringLiteral("Line %1 of the data connection file should begin with \"%2\".").arg(lineIndex + 1).arg(key));
        values.append(lines[lineIndex].mid(key.size()));
    }
    cnnString = values[0];
    selTables = splitList(values[1]);
    selFields = splitList(values[2]);
    tableLinks = splitList(values[3]);
    params = splitList(values[4]);
    return true;
}

bool DataConnectionFile::readFile(const FileService &files, const QString &path, QString *why)
{
    try {
        return read(files.readBytes(path), why);
    } catch (const ReportError &e) {
        if (why)
            *why = e.description();
        return false;
    }
}

} // namespace KRML_ReportGen
