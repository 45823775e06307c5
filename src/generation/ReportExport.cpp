#include "ReportExport.h"

#include "ImageSurface.h"
#include "LayoutPage.h"
#include "PdfSurface.h"
#include "PngPageWriter.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "SvgSurface.h"

#include <QFile>
#include <QFileInfo>

namespace KRML_ReportGen {

namespace {

// Runs a writer; on failure nothing it wrote stays behind.
QStringList cleanly(QStringList &written, const std::function<void()> &write)
{
    try {
        write();
    } catch (...) {
        for (const QString &f : written)
            QFile::remove(f);
        throw;
    }
    return written;
}

QStringList writePdf(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &)
{
    QStringList written;
    return cleanly(written, [&] {
        PdfSurface pdf(path, page.Width(), page.Height());
        generator.GenerateOutput(pdf);
        written << path;
    });
}

QStringList writeSvg(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    return cleanly(written, [&] {
        SvgSurface svg(options.filePerPage ? ReportExport::pagePattern(path) : path, page.Width(), page.Height());
        if (options.firstPageNumber > 1)
            svg.setFirstPageNumber(options.firstPageNumber);
        generator.GenerateOutput(svg);
        for (int i = 1; i <= svg.pagesWritten(); ++i)
            written << svg.fileFor(i);
    });
}

QStringList writePng(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    return cleanly(written, [&] {
        ImageSurface image(page.Width(), page.Height(), options.dotsPerInch);
        // Pages are encoded on every core while the next ones are drawn.
        PngPageWriter pngs(options.pngCompression);
        image.setPageSink([&](const QImage &picture, int number) {
            pngs.write(picture, options.filePerPage ? ReportExport::pageFile(path, number) : path);
        });
        try {
            generator.GenerateOutput(image);
            image.finishPages();
            written << pngs.finish();
        } catch (...) {
            written << pngs.written(); // every encoder done: cleanly() removes them
            throw;
        }
    });
}

} // namespace

QList<ReportExport::Format> ReportExport::standardFormats()
{
    return {
        {QStringLiteral("PDF document"), QStringLiteral("pdf"), writePdf},
        {QStringLiteral("PNG image"), QStringLiteral("png"), writePng},
        {QStringLiteral("SVG drawing"), QStringLiteral("svg"), writeSvg},
    };
}

const ReportExport::Format *ReportExport::formatFor(const QList<Format> &formats, const QString &path)
{
    const QString suffix = QFileInfo(path).suffix();
    for (const Format &f : formats)
        if (f.suffix.compare(suffix, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString ReportExport::dialogFilter(const QList<Format> &formats)
{
    QStringList entries;
    for (const Format &f : formats)
        entries << QStringLiteral("%1 (*.%2)").arg(f.name, f.suffix);
    return entries.join(QStringLiteral(";;"));
}

QString ReportExport::pagePattern(const QString &output)
{
    const int dot = output.lastIndexOf(QLatin1Char('.'));
    return output.left(dot) + QStringLiteral("-%1") + output.mid(dot);
}

QString ReportExport::pageFile(const QString &output, int page)
{
    return pagePattern(output).arg(page);
}

} // namespace KRML_ReportGen
