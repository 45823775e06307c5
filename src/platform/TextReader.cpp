#include "TextReader.h"

#include "FileService.h"
#include "ReportError.h"

namespace KRML_ReportGen {

TextReader::TextReader(const FileService &files, const QString &path, const CodePage &codePage)
    : m_lines(splitLines(codePage.decode(files.readBytes(path))))
{
}

TextReader TextReader::fromBytes(const QByteArray &bytes, LoneCr loneCr, const CodePage &codePage)
{
    TextReader r;
    r.m_lines = splitLines(codePage.decode(bytes), loneCr);
    return r;
}

QString TextReader::readLine()
{
    if (atEnd())
        throw ReportError(ReportError::InputPastEndOfFile, QStringLiteral("Input past end of file"));
    return m_lines[m_next++];
}

bool TextReader::readLine(QString &line)
{
    if (atEnd())
        return false;
    line = m_lines[m_next++];
    return true;
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

QStringList TextReader::splitLines(const QString &text, LoneCr loneCr)
{
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        if (loneCr == LoneCr::EndsLine && text[i] == QLatin1Char('\r') && (i + 1 == n || text[i + 1] != QLatin1Char('\n'))) {
            lines.append(text.mid(start, i - start));
            start = i + 1;
        } else if (text[i] == QLatin1Char('\n')) {
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
