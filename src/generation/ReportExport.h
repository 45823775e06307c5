#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace KRML_ReportGen {

class LayoutPage;
class ReportGenerator;

// The file formats a report is written in, one writer each: the command-
// line renderer and the preview window's Export use the same list, and a
// new format is one more entry in it. A writer runs the generator on its
// surface; a report of several pages becomes one file (PDF) or one file
// per page (OUT-1.png, OUT-2.png ...). A failure removes what was written
// and reaches the caller as a ReportError.
class ReportExport
{
public:
    struct Options
    {
        double dotsPerInch = 150; // pictures (PNG)
        int pngCompression = -1;  // zlib's level 0 (fastest) to 9 (smallest); -1 its default
        bool filePerPage = false; // several pages as OUT-1.ext, OUT-2.ext ...
        int firstPageNumber = 1;  // the report's number of the first page drawn (SVG titles)
        QString documentName;     // the package's name: the PDF's title when no label gives one
        QString author;           // the PDF's author
        bool pdfA = false;        // PDF/A-1b, for archiving
        int csvCodePage = 0;      // CSV text: 0 UTF-8 with a byte order mark, or a Windows code page
        bool csvRaw = false;      // CSV values as a program reads them, not as the report prints them
    };
    struct Format
    {
        QString name;   // "PDF document"
        QString suffix; // "pdf"
        // Writes the report; returns the files written.
        std::function<QStringList(ReportGenerator &, const LayoutPage &, const QString &path, const Options &)> write;
        bool filePerPage = false; // several pages as several files (images)
    };

    static QList<Format> standardFormats();
    // The format a file name's suffix names (any letter case), or null.
    static const Format *formatFor(const QList<Format> &formats, const QString &path);
    // The format of that suffix ("xlsx", any letter case), or null.
    static const Format *formatWithSuffix(const QList<Format> &formats, const QString &suffix);
    // The suffixes, as ".pdf, .png or .svg".
    static QString suffixList(const QList<Format> &formats);
    // "Name (*.suffix)" entries for a file dialog, joined by ";;".
    static QString dialogFilter(const QList<Format> &formats);

    // The label that titles the report: its first visible fixed text with
    // a caption in reading order (the highest, then the leftmost); 0 when
    // there is none.
    static int titleLabel(const LayoutPage &page);
    // The title of a document written from the report: that label's
    // caption, or the package's name.
    static QString title(const LayoutPage &page, const QString &documentName);

    // OUT.png becomes OUT-%1.png, and OUT-3.png for page 3.
    static QString pagePattern(const QString &output);
    static QString pageFile(const QString &output, int page);
};

} // namespace KRML_ReportGen
