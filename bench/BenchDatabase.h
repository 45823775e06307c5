#pragma once

#include <QString>

namespace KRML_ReportGen {

// The benchmarks' sales data: ROWS orders in a SQLite file, and the report
// SQL file with the statement "Orders" over them, in a host folder.
class BenchDatabase
{
public:
    static const char *statement();
    static void build(const QString &path, int rows);
    // rdAppPath, the working report SQL file and the shared connection.
    // KRML_BENCH_PARAMETERS=bound gives the statement a Number and a Date
    // parameter (every row passes them) with the host's values in the
    // parameter collections, =literal the same filter written as literals:
    // together they show what binding costs.
    static void prepareHost(const QString &folder, const QString &databasePath);
    // Both in one: "bench.db" of ROWS orders in FOLDER, the host prepared
    // around it. Returns the database's path.
    static QString prepareFolder(const QString &folder, int rows);
    static double peakMegabytes();
};

} // namespace KRML_ReportGen
