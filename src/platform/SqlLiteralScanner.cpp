#include "SqlLiteralScanner.h"

namespace KRML_ReportGen {

namespace {

// One past the end of the piece that opens at start; closed tells whether
// its closing quote or bracket was found before the text ended.
qsizetype scanPiece(QStringView sql, qsizetype start, bool &closed)
{
    closed = true;
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
    closed = false;
    return n;
}

} // namespace

qsizetype SqlLiteralScanner::pieceEnd(QStringView sql, qsizetype start)
{
    bool closed = true;
    return scanPiece(sql, start, closed);
}

bool SqlLiteralScanner::hasUnclosedPiece(QStringView sql)
{
    for (qsizetype i = 0; i < sql.size();) {
        if (!opensPiece(sql[i])) {
            ++i;
            continue;
        }
        bool closed = true;
        i = scanPiece(sql, i, closed);
        if (!closed)
            return true;
    }
    return false;
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
