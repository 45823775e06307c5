#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace KRML_ReportGen {

// Rewrites the SQL that reports are written in (the Jet dialect of their
// parameter literals) into what an engine understands: the date literal
// (#2024/03/15#, #2024-03-15# and the US form #03/15/2024#, with an optional
// time), "&" for text concatenation, True and False, DISTINCTROW and SELECT
// TOP n. Text inside quotes and [bracketed names] is never rewritten, only
// re-quoted where an engine quotes differently. The dialect's common
// functions are known to the embedded engine itself (JetFunctions).
class JetSqlRewriter
{
public:
    enum Dialect {
        // The embedded engine: dates as the text they are stored in
        // ('2024-03-15', '2024-03-15 10:30:00'), "&" as "||", True and False
        // as 1 and 0, TOP n as LIMIT n, Left( and Right( as the engine's
        // jet_left and jet_right.
        Sqlite,
        // PostgreSQL: DATE '2024-03-15' and TIMESTAMP '…', "&" as "||",
        // [Name] as Name (or "Name" when it is not a plain word), "text" as
        // 'text', TOP n as LIMIT n.
        PostgreSql,
        // Any ODBC driver: dates as the ODBC escapes {d '…'} and {ts '…'};
        // everything else goes to the driver as written, in its own dialect.
        Odbc,
    };

    static QString rewrite(const QString &sql, Dialect dialect);
    static QString toSqlite(const QString &sql) { return rewrite(sql, Sqlite); }
    // The date (and time) a literal's text between the "#" names, if any.
    static std::optional<QDateTime> parseDateLiteral(const QString &text, bool *hasTime = nullptr);
};

} // namespace KRML_ReportGen
