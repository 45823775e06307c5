#pragma once

#include "CodePage.h"

#include <QByteArray>
#include <QString>

namespace KRML_ReportGen {

class FileService;

// Writes a text file of a code page (Windows-1252 unless told) with CR LF
// line ends; a character the page cannot hold fails the write. The text is gathered
// in memory and reaches the file in one step on close(), so a failure never
// leaves half a file behind.
class TextWriter
{
public:
    enum class Mode { Write, Append };

    TextWriter(FileService &files, QString path, Mode mode = Mode::Write, CodePage codePage = CodePage());
    ~TextWriter();

    void write(const QString &text);
    void writeLine(const QString &text = QString());
    void close();

    const QByteArray &bytes() const { return m_bytes; }

private:
    FileService &m_files;
    QString m_path;
    Mode m_mode;
    CodePage m_codePage;
    QByteArray m_bytes;
    bool m_closed = false;
};

} // namespace KRML_ReportGen
