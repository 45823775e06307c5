#pragma once

#include <QString>

namespace KRML_ReportGen {

class FileService;

// The working connection file "Data.cnn" in the temporary folder (and the
// package member of that name): exactly one connection string, Windows-1252,
// no line end.
class WorkingConnectionFile
{
public:
    static QString fileName() { return QStringLiteral("Data.cnn"); }
    static void write(FileService &files, const QString &path, const QString &connectionString);
    // The connection string (a line end, if an editor added one, dropped).
    static QString read(const FileService &files, const QString &path);
    static QString parse(const QByteArray &bytes);
};

} // namespace KRML_ReportGen
