#pragma once

#include "ReportDefinition.h"

#include <QByteArray>
#include <QString>

namespace KRML_ReportGen {

class FileService;

// The report SQL file (".mtq"): the magic line, "noofparams=", one "p" i "="
// line per parameter, "##########", the statement count, a "tablename="
// section per statement and the closing "tablename=endreport" without a line
// end. Windows-1252, CR LF.
class ReportSqlFile
{
public:
    static QString magic() { return QStringLiteral("marlowentallymasterfile"); }
    static QString filter() { return QStringLiteral("Marlowen Tallymaster (*.mtq)|*.mtq"); }
    static QString notValidMessage() { return QStringLiteral("This is not a valid Marlowen Report"); }
    static QString lookupInfoMissingMessage() { return QStringLiteral("Error Saving Parameter: Parameter Lookup Info Not Found"); }
    static constexpr qint32 LookupInfoMissing = 5;

    struct ReadResult
    {
        enum Status { Ok, NotValid, Malformed };
        Status status = Ok;
        // For NotValid the message to show (information icon); for
        // Malformed one naming the file and the line.
        QString message;
        bool ok() const { return status == Ok; }
    };

    // The whole file as text. A Lookup parameter without details under its
    // key fails with LookupInfoMissing, before anything is written.
    static QString toText(const ReportDefinition &definition);
    static void write(FileService &files, const QString &path, const ReportDefinition &definition);

    // Appends the file's parameters (with new keys) and statements to into;
    // each parameter read is also appended to shared when given. On any
    // failure nothing is applied.
    static ReadResult read(const QByteArray &bytes, const QString &fileName, ReportDefinition &into,
                           ParameterCollection *shared = nullptr);
    static ReadResult readFile(const FileService &files, const QString &path, ReportDefinition &into,
                               ParameterCollection *shared = nullptr);

    struct ParameterLine
    {
        int type = 0;
        QString name;
        ReportDefinition::Lookup lookup; // Lookup lines only
    };
    // Reads one parameter line; an error text when it cannot. legacy: the
    // lookup fields are display, return and table (no mode, no SQL).
    static QString parseParameterLine(const QString &line, bool legacy, ParameterLine &out);
};

} // namespace KRML_ReportGen
