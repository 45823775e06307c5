#include "BoundStatement.h"

#include "SqlLiteralScanner.h"

namespace KRML_ReportGen {

QList<BoundStatement::Placeholder> BoundStatement::placeholders(QStringView sql)
{
    QList<Placeholder> found;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (SqlLiteralScanner::opensPiece(c)) {
            i = SqlLiteralScanner::pieceEnd(sql, i);
            continue;
        }
        if (c == QLatin1Char('?')) {
            qsizetype j = i + 1;
            int number = 0;
            while (j < n && sql[j].unicode() >= '0' && sql[j].unicode() <= '9' && number < 100000) {
                number = number * 10 + (sql[j].unicode() - '0');
                ++j;
            }
            if (j > i + 1 && number > 0) {
                found.append({i, j - i, number});
                i = j;
                continue;
            }
        }
        ++i;
    }
    return found;
}

QString BoundStatement::displayText() const
{
    if (values.isEmpty())
        return sql;
    QString out;
    out.reserve(sql.size());
    qsizetype at = 0;
    for (const Placeholder &p : placeholders(sql)) {
        if (p.number > values.size())
            continue;
        out += QStringView(sql).mid(at, p.start - at);
        out += values[p.number - 1].literal();
        at = p.start + p.length;
    }
    out += QStringView(sql).mid(at);
    return out;
}

} // namespace KRML_ReportGen
