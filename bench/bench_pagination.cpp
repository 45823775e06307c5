// Paginated reports: the generator against reading the rows and drawing the
// same lines with QPainter alone.
//
//   bench_pagination ROWS [RUNS] [grow]
//
// A layout of 4 data-field labels on one statement, a title and column
// headings (repeated on every page), a page number in the footer zone and
// a closing line after the lists, paginated into a PDF (about 60 rows a
// page). Prints the median times, the reference (reading the rows through
// the same connection plus QPainter drawing the same lines page by page on
// a QPdfWriter, measured in the same run), the page count and the peak
// memory. Up to 10,000 rows the pages are also written as PNG files at
// 96 dpi, encoded on the drawing thread and then on all cores. The exit
// code is 2 when the PDF run is over 1.2 times the reference or memory
// reaches 100 MB. With "grow" the customer list's label grows: narrowed
// so that every name wraps onto two lines, its list lines are two lines
// high (the reference draws the lines as before: the figure to compare is
// the PDF time without "grow").

#include "BenchDatabase.h"
#include "BenchReport.h"
#include "DbConnection.h"
#include "FontMapper.h"
#include "HeadlessEnvironment.h"
#include "ImageSurface.h"
#include "ModuleState.h"
#include "PdfSurface.h"
#include "PngPageWriter.h"
#include "ReportGenerator.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QThread>
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

// Reading every row through the connection, and QPainter drawing the same
// lines page by page into a PDF.
double reference(const QString &file, int rows, double lineHeight, int linesPerPage)
{
    QElapsedTimer t;
    t.start();
    auto rs = ModuleState::current().data().RDDataConnection()->openRecordset(QString::fromLatin1(BenchDatabase::statement()));
    QPdfWriter writer(file);
    writer.setResolution(1440);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&writer);
    const QFont title = FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 16, true});
    const QFont bold = FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 9, true});
    const QFont body = FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 9});
    const int pages = (rows + linesPerPage - 1) / linesPerPage;
    rs->moveFirst();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        p.setFont(title);
        p.drawText(QPointF(600, 800), QStringLiteral("Orders"));
        p.setFont(body);
        p.drawText(QPointF(600, 16560), QStringLiteral("Page %1 of %2").arg(page).arg(pages));
        p.setFont(bold);
        for (int c = 0; c < 4; ++c)
            p.drawText(QPointF(600 + c * 2500, 1600), QLatin1String(BenchReport::fields[c]));
        p.setFont(body);
        for (int line = 0; line < linesPerPage && !rs->isEOF(); ++line) {
            for (int c = 0; c < 4; ++c)
                p.drawText(QPointF(600 + c * 2500, 1800 + line * lineHeight + 160), rs->field(c).value.toString());
            rs->moveNext();
        }
    }
    p.end();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const bool grow = argc > 3 && qstrcmp(argv[3], "grow") == 0;

    BenchReport report(rows);
    ReportGenerator &generator = report.generator;
    if (grow)
        for (int i = 1; i <= report.page.labelCount(); ++i)
            if (report.page.Label(i).Tag.endsWith(QLatin1String(".Customer"))) {
                report.page.Label(i).CanGrow = true;
                report.page.Label(i).Width = 900;
            }

    std::vector<double> pdf, png, ref;
    QElapsedTimer t;
    for (int i = 0; i < runs; ++i) {
        PdfSurface out(report.filePath(QStringLiteral("paginated.pdf")));
        t.start();
        generator.GenerateOutput(out);
        pdf.push_back(t.nsecsElapsed() / 1e6);
    }
    const int pages = generator.pageCount();
    // The reference draws as many lines per page as the report does.
    ImageSurface metrics(100, 100, 96);
    metrics.setFont(FontDescription{QStringLiteral("Arial"), 9});
    const double lineHeight = metrics.TextHeight();
    const int perPage = (rows + pages - 1) / pages;
    for (int i = 0; i < runs; ++i)
        ref.push_back(reference(report.filePath(QStringLiteral("reference.pdf")), rows, lineHeight, perPage));
    // PNG pages: encoded one after the other on the drawing thread, then
    // on every core while the next pages are drawn.
    const auto pngRun = [&](int threads) {
        QTemporaryDir out;
        ImageSurface image(11907, 16840, 96);
        PngPageWriter writer(-1, threads);
        image.setPageSink([&](const QImage &picture, int number) {
            writer.write(picture, out.filePath(QStringLiteral("p-%1.png").arg(number)));
        });
        t.start();
        generator.GenerateOutput(image);
        image.finishPages();
        writer.finish();
        return t.nsecsElapsed() / 1e6;
    };
    std::vector<double> pngAll;
    if (rows <= 10000)
        for (int i = 0; i < runs; ++i) {
            png.push_back(pngRun(0));
            pngAll.push_back(pngRun(-1));
        }
    const double peak = BenchDatabase::peakMegabytes();
    const double target = 1.2 * median(ref);
    std::printf("%6d rows%s, %4d pages: pdf %.0f ms (target %.0f = 1.2 x reference %.0f), peak %.1f MB", rows, grow ? " (growing)" : "", pages, median(pdf),
                target, median(ref), peak);
    if (!png.empty())
        std::printf(", png one core %.0f ms, all %d cores %.0f ms (speed-up %.2f)", median(png), QThread::idealThreadCount(),
                    median(pngAll), median(png) / median(pngAll));
    std::printf("\n");
    // Growing lines draw more than the reference: only memory is judged.
    return (grow || median(pdf) <= target) && peak < 100 ? 0 : 2;
}
