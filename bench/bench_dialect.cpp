// bench_dialect [ROWS] [RUNS]
//
//   What the legacy meaning of text and dates costs on a SQLite file: the
//   same statements on the benchmark database (ROWS orders, 100,000 unless
//   given), once through the embedded engine as reports open a file (its
//   tables read through temporary views in the legacy text order and date
//   form) and once on the same file without those views. Prints the median
//   of RUNS runs of each (7 unless given) and the ratio, and the time the
//   views take when the file is opened.

#include "BenchDatabase.h"
#include "ConnectionString.h"
#include "Recordset.h"
#include "ReportError.h"
#include "SqliteEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KRML_ReportGen;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs the statement and reads every value of every row, as a report does.
double timed(SqliteEngine &engine, const char *sql)
{
    QElapsedTimer t;
    t.start();
    auto rs = engine.run(QString::fromUtf8(sql), {});
    for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
        for (int c = 0; c < rs->fieldCount(); ++c)
            (void)rs->field(c);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    BenchDatabase::build(path, rows);

    const char *statements[] = {
        "SELECT OrderID, Customer, Qty, Total FROM Orders ORDER BY OrderID",
        "SELECT OrderID, Customer FROM Orders ORDER BY Customer, OrderID",
        "SELECT OrderID FROM Orders WHERE Customer = 'customer 5'",
        "SELECT Customer, COUNT(*), SUM(Total) FROM Orders GROUP BY Customer",
        "SELECT OrderID, OrderDate FROM Orders WHERE OrderDate = #2024/03/15#",
        "SELECT OrderID FROM Orders WHERE Customer LIKE 'customer 1%'",
        "SELECT DISTINCT Customer FROM Orders",
    };
    try {
        QElapsedTimer open;
        open.start();
        auto legacy = SqliteEngine::open(ConnectionString(QStringLiteral("Data Source=") + path), SqliteEngine::AnyFile);
        (void)legacy->run(QStringLiteral("SELECT 1 FROM Orders WHERE 1 = 0"), {}); // the views come with the first read
        const double opening = open.nsecsElapsed() / 1e6;
        auto plain = SqliteEngine::create(path); // the same file, no views
        std::printf("%d rows, median of %d runs; views made on opening: %.2f ms\n", rows, runs, opening);
        std::printf("%-72s %10s %10s %7s\n", "statement", "legacy ms", "plain ms", "ratio");
        for (const char *sql : statements) {
            std::vector<double> a, b;
            for (int r = 0; r < runs; ++r) {
                a.push_back(timed(*legacy, sql));
                b.push_back(timed(*plain, sql));
            }
            const double ma = median(a), mb = median(b);
            std::printf("%-72s %10.2f %10.2f %7.2f\n", sql, ma, mb, ma / mb);
        }
    } catch (const ReportError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description()));
        return 1;
    }
    return 0;
}
