#pragma once

#include "JetSqlRewriter.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

// The dialect's functions (IIf, Nz, UCase, Mid, DateAdd, Format, …) written
// in a server's own SQL, for the engines that cannot be taught new
// functions: PostgreSQL (report connections there may create nothing), a
// SQLite file through ODBC (SQLite's built-in functions), and any other ODBC
// driver (the ODBC escapes {fn …}). The embedded engine knows the functions
// themselves (JetFunctions) and needs none of this.
//
// Each translation gives what the embedded engine gives: halves rounded to
// the even neighbour, DateDiff counting the boundaries crossed, DateAdd
// keeping the day within its month, Format with the dialect's pattern
// letters. An interval or a Format pattern must be written as a literal
// where the server has no way to choose at run time.
class JetFunctionSql
{
public:
    // The call in the dialect's SQL, its arguments already rewritten; nothing
    // when the name is none of the dialect's functions or the dialect cannot
    // say it (the call then goes to the server as written, which reports it).
    static std::optional<QString> call(JetSqlRewriter::Dialect dialect, QStringView name, const QStringList &arguments);

    // The text of a quoted literal argument ('m' gives m); nothing for any
    // other argument.
    static std::optional<QString> literal(const QString &argument);
};

} // namespace KRML_ReportGen
