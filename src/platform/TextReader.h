#pragma once

#include "CodePage.h"

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class FileService;

// Reads a text file of a code page (Windows-1252 unless told) line by line.
// Lines end in CR LF; a lone LF is accepted too, so files edited on this
// platform still read. A lone CR stays in its line, unless the reader is
// told that it ends one (files whose values never hold a line break, saved
// by editors that end lines with CR alone).
class TextReader
{
public:
    enum class LoneCr { InLine, EndsLine };

    TextReader(const FileService &files, const QString &path, const CodePage &codePage = CodePage());
    // Reads from text already in memory (the fuzzers and the tests use this).
    static TextReader fromBytes(const QByteArray &bytes, LoneCr loneCr = LoneCr::InLine,
                                const CodePage &codePage = CodePage());

    bool atEnd() const { return m_next >= m_lines.size(); }
    QString readLine();
    // The next line into line; false, and line untouched, at the end.
    bool readLine(QString &line);
    void skipLine();
    // Every line not read yet, joined with CR LF.
    QString readAll();
    // The 1-based number of the line read last.
    int lineNumber() const { return m_next; }

    // A whole file as lines (no line ends).
    static QStringList splitLines(const QString &text, LoneCr loneCr = LoneCr::InLine);

private:
    TextReader() = default;
    QStringList m_lines;
    int m_next = 0;
};

} // namespace KRML_ReportGen
