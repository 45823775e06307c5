#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace KRML_ReportGen {

// Rewrites the SQL that reports are written in (the Jet dialect of their
// parameter literals) into what the embedded engine understands. Today that
// are the date literal (#2024/03/15#, #2024-03-15# and the US form
// #03/15/2024#, with an optional time, become '2024-03-15' or
// '2024-03-15 10:30:00', the text form dates are stored in), "&" for text
// concatenation, True and False, DISTINCTROW and SELECT TOP n. Text inside quotes and
// [bracketed names] is never touched. The dialect's common functions are
// known to the engine itself (JetFunctions).
class JetSqlRewriter
{
public:
    static QString toSqlite(const QString &sql);
    // The date (and time) a literal's text between the "#" names, if any.
    static std::optional<QDateTime> parseDateLiteral(const QString &text, bool *hasTime = nullptr);
};

} // namespace KRML_ReportGen
