#pragma once

#include <QString>
#include <functional>

namespace KRML_ReportGen {

class FileService;
class LayoutPage;

// The layout text file "Layout.krml": six header lines, 16 lines per label
// and 5 per picture, each "key=value", with one bitmap "Picture" i ".bmp"
// per picture beside it. Values are taken by position, never by key.
class LayoutFile
{
public:
    static QString fileName() { return QStringLiteral("Layout.krml"); }
    static QString bitmapName(int index) { return QStringLiteral("Picture%1.bmp").arg(index); }

    // Called with a diagnostic text where development mode wants a message.
    using DevReport = std::function<void(const QString &)>;

    // The text after the first "="; empty when there is none (reported
    // through devReport when given).
    static QString GetTextAfterEquals(const QString &line, const DevReport &devReport = {});

    // A truth value: "True" or "False" in any letter case, or a number (0
    // is false). Anything else is a type mismatch (error 13).
    static bool readTruth(const QString &text);

    static QString toText(const LayoutPage &page);
    // Writes Layout.krml and the bitmaps into folder.
    static void WriteLayoutFile(FileService &files, const QString &folder, const LayoutPage &page);
    // Reads Layout.krml and the bitmaps from folder into a page that has
    // just been cleared. A failure ends reading with a ReportError; the
    // objects created before it stay on the page. fetchBitmap, when given,
    // is called with each bitmap's file name before it is read from folder.
    static void ReadLayoutFile(const FileService &files, const QString &folder, LayoutPage &page,
                               const DevReport &devReport = {},
                               const std::function<void(const QString &)> &fetchBitmap = {});
    // The same from the file's bytes; pictures are loaded through loadBitmap.
    static void read(const QByteArray &bytes, LayoutPage &page, const std::function<QByteArray(const QString &)> &loadBitmap,
                     const DevReport &devReport = {});
};

} // namespace KRML_ReportGen
