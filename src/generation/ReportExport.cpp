#include "ReportExport.h"

#include "CsvExport.h"
#include "HtmlSurface.h"
#include "ImageSurface.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "PdfSurface.h"
#include "PngPageWriter.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "SvgSurface.h"
#include "XlsxExport.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

QStringList writePdf(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    return cleanly(written, [&] {
        PdfSurface pdf(path, page.Width(), page.Height());
        pdf.setMetadata({ReportExport::title(page, options.documentName), options.author, options.pdfA});
        generator.GenerateOutput(pdf);
        written << path;
    });
}

// Pictures, a file per page, are written under part names beside their
// own ("OUT-1.png.part.1a2b3c4d", cleared like any part file a killed
// process left) and take their names only once every page is written: a
// run stopped on the way leaves the older pictures as they were.
QString stagingSuffix()
{
    return QStringLiteral(".part.%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

// Renames the staged files to their own names; returns those.
QStringList putInPlace(QStringList &staged, const QString &suffix)
{
    staged.removeDuplicates();
    QStringList placed;
    while (!staged.isEmpty()) {
        const QString from = staged.first();
        const QString to = from.chopped(suffix.size());
        if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
            throw ReportError(ReportError::PathFileAccessError,
                              QStringLiteral("The file could not be put in place: '%1' (%2)").arg(to, QString::fromLocal8Bit(std::strerror(errno))));
        staged.removeFirst();
        placed << to;
    }
    return placed;
}

QStringList writeSvg(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    const QString stage = stagingSuffix();
    cleanly(written, [&] {
        SvgSurface svg((options.filePerPage ? ReportExport::pagePattern(path) : path) + stage, page.Width(), page.Height());
        if (options.firstPageNumber > 1)
            svg.setFirstPageNumber(options.firstPageNumber);
        const auto pages = [&] {
            for (int i = 1; i <= svg.pagesWritten(); ++i)
                written << svg.fileFor(i);
        };
        try {
            generator.GenerateOutput(svg);
        } catch (...) {
            pages(); // cleanly() removes them
            throw;
        }
        pages();
        written = putInPlace(written, stage);
    });
    return written;
}

QStringList writePng(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    const QString stage = stagingSuffix();
    cleanly(written, [&] {
        ImageSurface image(page.Width(), page.Height(), options.dotsPerInch);
        // Pages are encoded on every core while the next ones are drawn.
        PngPageWriter pngs(options.pngCompression);
        image.setPageSink([&](const QImage &picture, int number) {
            pngs.write(picture, (options.filePerPage ? ReportExport::pageFile(path, number) : path) + stage);
        });
        try {
            generator.GenerateOutput(image);
            image.finishPages();
            written << pngs.finish();
        } catch (...) {
            written << pngs.written(); // every encoder done: cleanly() removes them
            throw;
        }
        written = putInPlace(written, stage);
    });
    return written;
}

QStringList writeHtml(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    QStringList written;
    return cleanly(written, [&] {
        HtmlSurface html(path, page.Width(), page.Height());
        html.setTitle(ReportExport::title(page, options.documentName));
        generator.GenerateOutput(html);
        written << path;
    });
}

QStringList writeCsv(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &options)
{
    return CsvExport::write(generator, page, path, {options.csvCodePage, options.csvRaw});
}

QStringList writeXlsx(ReportGenerator &generator, const LayoutPage &page, const QString &path, const ReportExport::Options &)
{
    return XlsxExport::write(generator, page, path, ReportExport::titleLabel(page));
}

} // namespace

int ReportExport::titleLabel(const LayoutPage &page)
{
    // The first text a reader meets: the highest, then the leftmost.
    int title = 0;
    for (int i = 1; i <= page.labelCount(); ++i) {
        const LayoutLabel &label = page.Label(i);
        if (!label.Visible || LabelTag::kindOf(label.Tag) != LabelTag::Kind::FixedText || label.Caption.trimmed().isEmpty())
            continue;
        if (title == 0 || label.Top < page.Label(title).Top
            || (label.Top == page.Label(title).Top && label.Left < page.Label(title).Left))
            title = i;
    }
    return title;
}

QString ReportExport::title(const LayoutPage &page, const QString &documentName)
{
    const int label = titleLabel(page);
    return label > 0 ? page.Label(label).Caption.simplified() : documentName;
}

QList<ReportExport::Format> ReportExport::standardFormats()
{
    return {
        {QStringLiteral("PDF document"), QStringLiteral("pdf"), writePdf},
        {QStringLiteral("PNG image"), QStringLiteral("png"), writePng, true},
        {QStringLiteral("SVG drawing"), QStringLiteral("svg"), writeSvg, true},
        {QStringLiteral("Excel workbook"), QStringLiteral("xlsx"), writeXlsx},
        {QStringLiteral("Web page"), QStringLiteral("html"), writeHtml},
        {QStringLiteral("CSV files of the lists' rows"), QStringLiteral("csv"), writeCsv},
    };
}

const ReportExport::Format *ReportExport::formatFor(const QList<Format> &formats, const QString &path)
{
    return formatWithSuffix(formats, QFileInfo(path).suffix());
}

const ReportExport::Format *ReportExport::formatWithSuffix(const QList<Format> &formats, const QString &suffix)
{
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

QString ReportExport::suffixList(const QList<Format> &formats)
{
    QStringList suffixes;
    for (const Format &f : formats)
        suffixes << QLatin1Char('.') + f.suffix;
    if (suffixes.size() < 2)
        return suffixes.join(QString());
    const QString last = suffixes.takeLast();
    return suffixes.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
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
