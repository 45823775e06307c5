#include "TextWriter.h"

#include "FileService.h"

namespace KRML_ReportGen {

TextWriter::TextWriter(FileService &files, QString path, Mode mode, CodePage codePage)
    : m_files(files), m_path(std::move(path)), m_mode(mode), m_codePage(codePage)
{
}

TextWriter::~TextWriter()
{
    // A writer dropped without close() (an error on the way) writes nothing.
}

void TextWriter::write(const QString &text)
{
    m_bytes += m_codePage.encode(text);
}

void TextWriter::writeLine(const QString &text)
{
    write(text);
    m_bytes += "\r\n";
}

void TextWriter::close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_mode == Mode::Append)
        m_files.appendBytes(m_path, m_bytes);
    else
        m_files.writeBytes(m_path, m_bytes);
}

} // namespace KRML_ReportGen
