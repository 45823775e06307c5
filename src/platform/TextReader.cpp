#include "TextReader.h"

#include "FileService.h"
#include "ReportError.h"

namespace KRML_ReportGen {

TextReader::TextReader(const FileService &files, const QString &path, const CodePage &codePage)
    : m_lines(splitLines(codePage.decode(files.readBytes(path))))
{
}

TextReader TextReader::fromBytes(const QByteArray &bytes, const CodePage &codePage)
{
    TextReader r;
    r.m_lines = splitLines(codePage.decode(bytes));
    return r;
}

QString TextReader::readLine()
{
    if (atEnd())
        throw ReportError(62, QStringLiteral("Input past end of file"));
    return m_lines[m_next++];
}

void TextReader::skipLine()
{
    readLine();
}

QString TextReader::readAll()
{
    const QString rest = m_lines.mid(m_next).join(QStringLiteral("\r\n"));
    m_next = m_lines.size();
    return rest;
}

QStringList TextReader::splitLines(const QString &text)
{
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        if (text[i] == QLatin1Char('\n')) {
            int end = i;
            if (end > start && text[end - 1] == QLatin1Char('\r'))
                --end;
            lines.append(text.mid(start, end - start));
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace KRML_ReportGen
