#pragma once

#include "ReportDefinition.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class FileService;

// The report SQL file (".mtq"): the magic line, "noofparams=", one "p" i "="
// line per parameter, "##########", the statement count, a "tablename="
// section per statement and the closing "tablename=endreport" without a line
// end. Windows-1252, CR LF. The one reader and writer of the format: the SQL
// editor, the query loader, the formula editor and the designer's lists ask
// it, and the legacy report file reads its shared lines through it.
class ReportSqlFile
{
public:
    static QString magic() { return QStringLiteral("marlowentallymasterfile"); }
    // The working copy of the open report: rdAppPath\Temp\SQL.mtq.
    static QString workingFileName() { return QStringLiteral("SQL.mtq"); }
    static QString workingFile();
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

    // The statement names as the designer's and the formula editor's lists
    // show them: every "tablename=" header but the closing one, in file
    // order, with nothing else of the file looked at. When the file does
    // not exist the list stays as it was (previous is returned).
    static QStringList statementNames(const FileService &files, const QString &path,
                                      const QStringList &previous = QStringList());

    // Lines the legacy report file shares with this one. Each gives an
    // error text when the line cannot be read.
    static QString readParameterCount(const QString &line, int &count);
    static QString readStatementCount(const QString &line, int &count);
    // "tablename=" followed by a statement's name (or "endreport").
    static bool isSectionHeader(const QString &line);
    static QString sectionName(const QString &line);
    static bool isTerminator(const QString &sectionName);

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
