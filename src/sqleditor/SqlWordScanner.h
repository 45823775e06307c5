#pragma once

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// The word scan of the SQL editor's check: words end at the delimiters
// "\"'(),.<>=+/*-! " (line breaks and tabs do not end a word), blanks
// between words are skipped. Headless, so the check can be tested and
// fuzzed without a window.
class SqlWordScanner
{
public:
    struct Word
    {
        int start;
        QString text;
        friend bool operator==(const Word &, const Word &) = default;
    };

    static bool isDelimiter(QChar c);
    // Every word of text with its start, in order (empty words left out).
    static QList<Word> words(const QString &text);
};

} // namespace KRML_ReportGen
