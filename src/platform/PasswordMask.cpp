#include "PasswordMask.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

namespace {

// Where the value that starts at i ends (one past its last character).
qsizetype valueEnd(const QString &text, qsizetype i)
{
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
        const QChar quote = text[i++];
        while (i < n) {
            if (text[i] == quote) {
                if (i + 1 < n && text[i + 1] == quote) {
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            ++i;
        }
        return n;
    }
    while (i < n && text[i] != QLatin1Char(';') && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
        ++i;
    return i;
}

} // namespace

QString PasswordMask::hide(const QString &text)
{
    // A key stands at the start, after ";", a blank, a quote or an opening bracket.
    static const QRegularExpression key(QStringLiteral("(?:^|(?<=[;\\s\"'({\\[,]))(?:password|pwd)\\s*=[ \\t]*"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString result;
    qsizetype done = 0;
    auto it = key.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype start = m.capturedEnd();
        if (start < done)
            continue;
        const qsizetype end = valueEnd(text, start);
        result += QStringView(text).mid(done, start - done);
        const QStringView value = QStringView(text).mid(start, end - start);
        if (value.isEmpty() || value.startsWith(QLatin1String(Hidden)))
            result += value; // nothing to hide, or hidden already
        else
            result += QLatin1String(Hidden);
        done = end;
    }
    if (done == 0)
        return text;
    result += QStringView(text).mid(done);
    return result;
}

} // namespace KRML_ReportGen
