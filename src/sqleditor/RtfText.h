#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace KRML_ReportGen {

// The SQL editor keeps each statement as rich text in a file of its own:
// the statement's text with the colours of its last check. This writes
// such a file (RTF, Windows-1252, other characters as \u escapes) and reads
// the text back out of it, ignoring formatting.
class RtfText
{
public:
    struct Run
    {
        int start;
        int length;
        unsigned rgb;
    };

    static QByteArray write(const QString &text, const QList<Run> &colours = {});
    // The plain text of an RTF document (paragraphs as CR LF).
    static QString plainText(const QByteArray &rtf);
};

} // namespace KRML_ReportGen
