// Exports of a long report: the workbook, the web page and the CSV files.
//
//   bench_export ROWS FORMAT [RUNS]      FORMAT: xlsx, html or csv
//
// The paginated orders report of bench_pagination (about 60 rows a page)
// exported RUNS times. Prints the median time, the size written and the
// peak memory of the process, and for reference the median time of the
// same report as a PDF in the same run. One format per process, so that
// the peak is that format's. The exit code is 2 when a workbook's peak
// memory reaches 100 MB (it is written row by row in libxlsxwriter's
// constant-memory mode).

#include "BenchDatabase.h"
#include "BenchReport.h"
#include "HeadlessEnvironment.h"
#include "ReportExport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
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

} // namespace

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString suffix = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("xlsx");
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    const QList<ReportExport::Format> formats = ReportExport::standardFormats();
    const ReportExport::Format *format = ReportExport::formatWithSuffix(formats, suffix);
    const ReportExport::Format *pdf = ReportExport::formatWithSuffix(formats, QStringLiteral("pdf"));
    if (!format) {
        std::fprintf(stderr, "bench_export: no format %s\n", qPrintable(suffix));
        return 1;
    }

    BenchReport report(rows);
    ReportGenerator &generator = report.generator;
    const LayoutPage &page = report.page;

    const QString out = report.filePath(QStringLiteral("out.") + suffix);
    std::vector<double> times, pdfTimes;
    qint64 bytes = 0;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        t.start();
        const QStringList written = format->write(generator, page, out, {});
        times.push_back(t.nsecsElapsed() / 1e6);
        bytes = 0;
        for (const QString &f : written)
            bytes += QFileInfo(f).size();
    }
    const double peak = BenchDatabase::peakMegabytes();
    for (int i = 0; i < runs; ++i) {
        t.start();
        pdf->write(generator, page, report.filePath(QStringLiteral("out.pdf")), {});
        pdfTimes.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%6d rows, %4d pages: %s %.0f ms, %.1f MB written, peak %.1f MB (pdf of the same report %.0f ms)\n", rows,
                generator.pageCount(), qPrintable(suffix), median(times), bytes / 1048576.0, peak, median(pdfTimes));
    return suffix.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0 && peak >= 100 ? 2 : 0;
}
