#include "ParameterBinding.h"

#include "SqlLiteralScanner.h"

namespace KRML_ReportGen {

namespace {

bool continuesWord(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

ParameterBinding::ParameterBinding(QString sql, const QStringList &markers) : m_sql(std::move(sql))
{
    const QStringView text(m_sql);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (SqlLiteralScanner::opensPiece(text[i])) {
            i = SqlLiteralScanner::pieceEnd(text, i);
            continue;
        }
        int best = -1;
        for (int m = 0; m < markers.size(); ++m) {
            const QString &marker = markers[m];
            if (marker.isEmpty() || marker.size() > n - i)
                continue;
            if (best >= 0 && marker.size() <= markers[best].size())
                continue;
            if (text.mid(i, marker.size()).compare(marker, Qt::CaseInsensitive) == 0)
                best = m;
        }
        if (best < 0) {
            ++i;
            continue;
        }
        m_occurrences.append({i, markers[best].size(), best});
        i += markers[best].size();
    }
}

bool ParameterBinding::uses(int parameter) const
{
    for (const Occurrence &o : m_occurrences)
        if (o.parameter == parameter)
            return true;
    return false;
}

BoundStatement ParameterBinding::bind(const QList<std::optional<BoundValue>> &values) const
{
    BoundStatement out;
    out.sql.reserve(m_sql.size());
    QList<int> numberOf(values.size(), 0);
    qsizetype at = 0;
    for (const Occurrence &o : m_occurrences) {
        if (o.parameter >= values.size() || !values[o.parameter])
            continue;
        int &number = numberOf[o.parameter];
        if (number == 0) {
            out.values.append(*values[o.parameter]);
            number = int(out.values.size());
        }
        out.sql += QStringView(m_sql).mid(at, o.start - at);
        out.sql += BoundStatement::placeholder(number);
        at = o.start + o.length;
        // "?1" directly before a digit or a word would read as another
        // placeholder or a longer token.
        if (at < m_sql.size() && continuesWord(m_sql[at]))
            out.sql += QLatin1Char(' ');
    }
    out.sql += QStringView(m_sql).mid(at);
    return out;
}

} // namespace KRML_ReportGen
