#pragma once

#include "ReportSqlFile.h"

namespace KRML_ReportGen {

class FileService;

// The legacy report file (".kwr") of the maker's earlier product, which the
// SQL editor imports: "kwmtallymasterfile", a key=value line, the
// parameters, an optional statement count and statements whose parameter
// placeholders "%v#p" i "%" become the parameters' markers.
class LegacyReportFile
{
public:
    static QString magic() { return QStringLiteral("kwmtallymasterfile"); }
    static QString filter() { return QStringLiteral("Kindlewood Report (*.kwr)|*.kwr"); }
    static QString notValidMessage() { return QStringLiteral("This is not a valid Kindlewood Report"); }
    // A statement without a "tablename=" header is saved under this name.
    static QString defaultStatementName() { return QStringLiteral("ReportDetails"); }

    // Adds the file's parameters (new keys; lookups table-based) and
    // statements to into. On any failure nothing is applied.
    static ReportSqlFile::ReadResult import(const QByteArray &bytes, const QString &fileName, ReportDefinition &into);
    static ReportSqlFile::ReadResult importFile(const FileService &files, const QString &path, ReportDefinition &into);
};

} // namespace KRML_ReportGen
