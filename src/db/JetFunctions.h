#pragma once

struct sqlite3;

namespace KRML_ReportGen {

// The functions of the Jet dialect that report statements use, made known
// to an embedded database: Nz, UCase, LCase, Len, Left, Right, Mid, CStr,
// CInt, CLng, CDbl, Val, Int, Year, Month, Day, Now, DateSerial, DateAdd,
// DateDiff, Format (Left and
// Right as jet_left and jet_right, which JetSqlRewriter writes for them).
// IIf, Trim, Round and others SQLite already has under the same names.
class JetFunctions
{
public:
    static void install(sqlite3 *db);
};

} // namespace KRML_ReportGen
