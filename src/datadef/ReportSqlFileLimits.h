#pragma once

#include <QString>

namespace KRML_ReportGen {

// What the report SQL file cannot hold, said where the user types it: the
// file has no quoting or escaping, keeps a parameter on one line with its
// fields between commas, ends a parameter's name at its first "(", starts
// a statement at a line beginning "tablename=", ends the statements at the
// name "endreport", and is written in the code page in force (Windows-1252
// unless the control's CodePage says otherwise). Each
// check returns why the text cannot be stored, or an empty text when it
// can.
class ReportSqlFileLimits
{
public:
    static QString parameterName(const QString &name);
    static QString lookupSql(const QString &sql);
    // field: "Display Field" or "Return Field".
    static QString lookupField(const QString &field, const QString &value);
    static QString statementName(const QString &name);
    static QString statementSql(const QString &sql);

private:
    // The characters of text the code page lacks, or an empty text.
    static QString foreignCharacters(const QString &text);
    static QString codePageProblem(const QString &what, const QString &text);
};

} // namespace KRML_ReportGen
