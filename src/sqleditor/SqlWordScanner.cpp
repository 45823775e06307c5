#include "SqlWordScanner.h"

namespace KRML_ReportGen {

bool SqlWordScanner::isDelimiter(QChar c)
{
    static const QString delimiters = QStringLiteral("\"'(),.<>=+/*-! ");
    return delimiters.contains(c);
}

QList<SqlWordScanner::Word> SqlWordScanner::words(const QString &text)
{
    QList<Word> out;
    const int n = int(text.size());
    int pos = 0;
    while (pos < n) {
        if (text[pos] == QLatin1Char(' ')) {
            ++pos;
            continue;
        }
        // Extend the segment until it ends with a delimiter, or until it
        // reaches the text's last character, which is left out (the check
        // makes sure the text ends with a blank).
        int length = 1;
        QString word;
        for (;;) {
            if (isDelimiter(text[pos + length - 1])) {
                word = text.mid(pos, length - 1);
                break;
            }
            if (pos + 1 + length >= n) {
                word = text.mid(pos, length).trimmed();
                break;
            }
            ++length;
        }
        if (!word.isEmpty())
            out.append({pos, word});
        pos += length;
    }
    return out;
}

} // namespace KRML_ReportGen
