#include "SqlLiteralScanner.h"

namespace KRML_ReportGen {

qsizetype SqlLiteralScanner::pieceEnd(QStringView sql, qsizetype start)
{
    const qsizetype n = sql.size();
    const QChar open = sql[start];
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    qsizetype j = start + 1;
    while (j < n) {
        if (sql[j] == close) {
            // 'it''s': a doubled quote is part of the text.
            if (close != QLatin1Char(']') && j + 1 < n && sql[j + 1] == close) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return n;
}

QList<SqlLiteralScanner::Range> SqlLiteralScanner::pieces(QStringView sql)
{
    QList<Range> ranges;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        if (!opensPiece(sql[i])) {
            ++i;
            continue;
        }
        const qsizetype end = pieceEnd(sql, i);
        ranges.append({i, end});
        i = end;
    }
    return ranges;
}

} // namespace KRML_ReportGen
