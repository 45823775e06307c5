// bench_access FILE [RUNS]
//
//   Opens an Access file as a report does (the Jet provider, read into the
//   embedded engine with mdbtools) and runs a report query over its largest
//   table. Prints the load time, the query time, and how far the process's
//   peak memory grew over the file's size. The exit code is 2 when the peak
//   grew by more than twice the file's size (the load did not stream).

#include "BenchDatabase.h"
#include "DbConnection.h"
#include "ReportError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

using namespace KRML_ReportGen;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_access FILE.mdb [RUNS]\n");
        return 1;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    const double fileMb = QFileInfo(path).size() / (1024.0 * 1024.0);
    const double before = BenchDatabase::peakMegabytes();
    const QString cs = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path;
    try {
        double bestLoad = 1e9, bestQuery = 1e9;
        QString largest;
        int rows = 0;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            DbConnection c(cs);
            c.open();
            bestLoad = std::min(bestLoad, t.nsecsElapsed() / 1e6);
            if (largest.isEmpty()) {
                int most = -1;
                auto tables = c.tableSchema();
                for (; !tables->isEOF(); tables->moveNext()) {
                    const QString name = tables->field(QStringLiteral("TABLE_NAME")).value.toString();
                    if (tables->field(QStringLiteral("TABLE_TYPE")).value.toString() != QLatin1String("TABLE"))
                        continue;
                    const int n = c.openRecordset(QStringLiteral("SELECT COUNT(*) FROM [%1]").arg(name))->field(0).value.toInt();
                    if (n > most) {
                        most = n;
                        largest = name;
                    }
                }
            }
            t.restart();
            // What a report asks of it: every row, in an order, read to the end.
            auto rs = c.openRecordset(QStringLiteral("SELECT * FROM [%1] ORDER BY 1").arg(largest));
            for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
                (void)rs->field(0);
            rows = rs->recordCount();
            bestQuery = std::min(bestQuery, t.nsecsElapsed() / 1e6);
        }
        const double grown = BenchDatabase::peakMegabytes() - before;
        std::printf("%s: %.1f MB, load %.1f ms (%.1f MB/s), query over [%s] (%d rows) %.1f ms, peak grew %.1f MB (%.2f x the file)\n",
                    qPrintable(QFileInfo(path).fileName()), fileMb, bestLoad, fileMb / (bestLoad / 1000.0),
                    qPrintable(largest), rows, bestQuery, grown, grown / fileMb);
        return grown > 2.0 * fileMb && fileMb > 8.0 ? 2 : 0;
    } catch (const ReportError &e) {
        std::fprintf(stderr, "%s: error %d: %s\n", qPrintable(path), e.number(), qPrintable(e.description()));
        return 1;
    }
}
