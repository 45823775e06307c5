// The generator against SQLite alone and QPainter alone.
//
//   bench_generator ROWS [RUNS]
//
// Builds a sales database with ROWS orders, a layout of 4 data-field
// labels on one statement, 1 formula label and 10 fixed labels, and
// prints one line of figures (milliseconds, medians of RUNS runs):
//   the generator into an image and into a PDF, SQLite alone reading the
//   rows, QPainter alone drawing the visible lines (into an image, into a
//   PDF), the budgets of 1.5 x (SQLite + QPainter), the statements run per
//   report and the peak memory. The exit code is 2 when a budget is missed.

#include "BenchDatabase.h"
#include "FontMapper.h"
#include "HeadlessEnvironment.h"
#include "ImageSurface.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "PdfSurface.h"
#include "QueryLoader.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"
#include "SqliteEngine.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QPageSize>
#include <QPdfWriter>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace KRML_ReportGen;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void buildLayout(LayoutPage &page)
{
    const char *fields[] = {"OrderID", "Customer", "Qty", "Total"};
    for (int i = 0; i < 4; ++i) {
        const int l = page.createLabel();
        page.Label(l).Left = 600 + i * 2000;
        page.Label(l).Top = 2000;
        page.Label(l).Tag = LabelTag::dataTag(QStringLiteral("Orders"), QLatin1String(fields[i]));
        page.Label(l).Font.name = QStringLiteral("Arial");
        page.Label(l).Alignment = i >= 2 ? 1 : 0;
        page.Label(l).Visible = true;
    }
    const int f = page.createLabel();
    page.Label(f).Left = 8600;
    page.Label(f).Top = 2000;
    page.Label(f).Caption = QStringLiteral("{Orders.Total}/{Orders.Qty}");
    page.Label(f).Tag = LabelTag::formulaTag(page.Label(f).Caption);
    page.Label(f).Font.name = QStringLiteral("Arial");
    page.Label(f).Visible = true;
    for (int i = 0; i < 10; ++i) {
        const int l = page.createLabel();
        page.Label(l).Left = 600 + (i % 5) * 2000;
        page.Label(l).Top = 500 + (i / 5) * 500;
        page.Label(l).Caption = QStringLiteral("Heading %1").arg(i);
        page.Label(l).Font = FontDescription{QStringLiteral("Arial"), 10, true};
        page.Label(l).Visible = true;
    }
}

double sqliteAlone(const QString &path)
{
    QElapsedTimer t;
    t.start();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, BenchDatabase::statement(), -1, &st, nullptr);
    long long sum = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        sum += sqlite3_column_int(st, 0);
        sum += sqlite3_column_bytes(st, 1);
        sum += sqlite3_column_int(st, 2);
        sum += (long long)sqlite3_column_double(st, 3);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (sum == 42)
        std::puts("");
    return t.nsecsElapsed() / 1e6;
}

// QPainter drawing the lines that are visible on the page: as many rows as
// fit below the lists' top, five columns, and the ten headings.
double painterAlone(int rows)
{
    ImageSurface surface(11907, 16840, 96);
    surface.setFont(FontDescription{QStringLiteral("Arial"), 8.25f});
    const double line = surface.TextHeight();
    // The page image exists before the clock starts, as the generator's
    // surface does: only the drawing is timed.
    QImage img(794, 1123, QImage::Format_RGB32);
    img.fill(Qt::white);
    QElapsedTimer t;
    t.start();
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(96 / 1440.0, 96 / 1440.0);
    const QFont body = FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 8.25f});
    const QFont bold = FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 10, true});
    p.setFont(bold);
    for (int i = 0; i < 10; ++i)
        p.drawText(QPointF(600 + (i % 5) * 2000, 700 + (i / 5) * 500), QStringLiteral("Heading %1").arg(i));
    p.setFont(body);
    const int visible = std::min(rows, int((16840 - 2000) / line) + 1);
    for (int r = 0; r < visible; ++r)
        for (int c = 0; c < 5; ++c)
            p.drawText(QPointF(600 + c * 2000, 2000 + r * line + 150), QStringLiteral("Customer %1").arg(r));
    p.end();
    return t.nsecsElapsed() / 1e6;
}

// The same lines drawn by QPainter straight into a PDF (kept in memory).
double painterAlonePdf(int rows)
{
    ImageSurface metrics(100, 100, 96);
    metrics.setFont(FontDescription{QStringLiteral("Arial"), 8.25f});
    const double line = metrics.TextHeight();
    QElapsedTimer t;
    t.start();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1440);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&writer);
    p.setFont(FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 10, true}));
    for (int i = 0; i < 10; ++i)
        p.drawText(QPointF(600 + (i % 5) * 2000, 700 + (i / 5) * 500), QStringLiteral("Heading %1").arg(i));
    p.setFont(FontMapper::toQFont(FontDescription{QStringLiteral("Arial"), 8.25f}));
    const int visible = std::min(rows, int((16840 - 2000) / line) + 1);
    for (int r = 0; r < visible; ++r)
        for (int c = 0; c < 5; ++c)
            p.drawText(QPointF(600 + c * 2000, 2000 + r * line + 150), QStringLiteral("Customer %1").arg(r));
    p.end();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QTemporaryDir dir;
    const QString dbPath = BenchDatabase::prepareFolder(dir.path(), rows);
    LocalFileService files;

    LayoutPage page;
    buildLayout(page);
    ScriptedPrompts prompts;
    QueryLoader loader(files, prompts);
    ReportGenerator generator(page, loader);

    // Each measurement in a phase of its own, after warm-up runs: fonts load
    // and glyph caches fill on first use, and the PDF engine's fonts must
    // not disturb the image runs' caches.
    std::vector<double> image, pdf, sqlite, painter, painterPdf;
    for (int i = 0; i < runs; ++i)
        sqlite.push_back(sqliteAlone(dbPath));
    for (int i = 0; i < 3; ++i)
        painterAlone(rows);
    if (qEnvironmentVariableIsSet("KRML_BENCH_VERBOSE"))
        for (int i = 0; i < 5; ++i)
            std::fprintf(stderr, "painter run: %.1f ms\n", painterAlone(rows));
    for (int i = 0; i < runs; ++i)
        painter.push_back(painterAlone(rows));
    painterAlonePdf(rows);
    for (int i = 0; i < runs; ++i)
        painterPdf.push_back(painterAlonePdf(rows));
    QElapsedTimer t;
    for (int i = 0; i < (qEnvironmentVariableIsSet("KRML_BENCH_PDF_ONLY") ? 0 : runs + 3); ++i) {
        ImageSurface surface(11907, 16840, 96);
        t.start();
        generator.GenerateOutput(surface);
        if (i >= 3)
            image.push_back(t.nsecsElapsed() / 1e6);
    }
    const int executions = generator.executions();
    for (int i = 0; i < runs; ++i) {
        PdfSurface out(dir.filePath(QStringLiteral("bench.pdf")));
        t.start();
        generator.GenerateOutput(out);
        pdf.push_back(t.nsecsElapsed() / 1e6);
        if (qEnvironmentVariableIsSet("KRML_BENCH_VERBOSE"))
            std::fprintf(stderr, "pdf run %d: %.1f ms\n", i, pdf.back());
    }
    const double budget = 1.5 * (median(sqlite) + median(painter));
    const double pdfBudget = 1.5 * (median(sqlite) + median(painterPdf));
    std::printf("%6d rows: image %.1f ms (budget %.1f = 1.5 x (sqlite %.1f + qpainter %.1f)), "
                "pdf %.1f ms (budget %.1f = 1.5 x (sqlite + qpainter into pdf %.1f)), statements %d, peak %.1f MB\n",
                rows, median(image), budget, median(sqlite), median(painter), median(pdf), pdfBudget, median(painterPdf),
                executions, BenchDatabase::peakMegabytes());
    return median(image) <= budget && median(pdf) <= pdfBudget ? 0 : 2;
}
