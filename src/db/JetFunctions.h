#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

struct sqlite3;

namespace KRML_ReportGen {

// The functions of the Jet dialect that report statements use, made known
// to an embedded database: Nz, UCase, LCase, Len, Left, Right, Mid, Trim,
// CStr, CInt, CLng, CDbl, CSng, CCur, Val, Int, Fix, Round, Abs, Sgn, Year,
// Month, Day, Hour, Minute, Second, Weekday, Now, Date, Time, DateSerial,
// DateAdd, DateDiff, DatePart, Format, and the aggregates First, Last,
// StDev, StDevP, Var, VarP (Left and Right as jet_left and jet_right,
// which JetSqlRewriter writes for them). IIf and Trim SQLite already has.
//
// Also what the rewriter writes for the dialect's operators and LIKE:
// LIKE itself (ANSI-92 wildcards and character lists, without regard to
// case; JetLikePattern), jet_like89 (Access's wildcards as ANSI-92),
// jet_concat ("&"), jet_mod, jet_intdiv, jet_power, jet_param (a declared
// parameter's value), and jet_datetext (a stored date in its one text form,
// JetDateText).
class JetFunctions
{
public:
    // parameters: the values of declared parameters by name (compared
    // without regard to case); the caller keeps it alive with the
    // connection. A parameter without a value fails the statement.
    static void install(sqlite3 *db, const QHash<QString, QVariant> *parameters = nullptr);
};

} // namespace KRML_ReportGen
