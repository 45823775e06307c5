#include "JetCrosstab.h"

#include "JetSqlRewriter.h"
#include "JetSqlTokenizer.h"
#include "ValueText.h"

#include <QDateTime>
#include <QSet>

namespace KRML_ReportGen {

namespace {

using Token = JetSqlTokenizer::Token;

struct Cursor
{
    QStringView sql;
    QList<Token> t;
    QList<int> partner;

    QStringView text(int i) const { return sql.mid(t[i].start, t[i].length()); }
    bool isWord(int i, const char *w) const
    {
        return i >= 0 && i < t.size() && t[i].kind == Token::Word && text(i).compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(int i, const char *s) const
    {
        return i >= 0 && i < t.size() && t[i].kind == Token::Symbol && text(i) == QLatin1String(s);
    }
    int skipSpace(int i) const
    {
        while (i < t.size() && t[i].kind == Token::Space)
            ++i;
        return i;
    }
    // The first token at this level from `from` that is the word w, or -1.
    int find(int from, int end, const char *w) const
    {
        for (int k = from; k < end; ++k) {
            if (isSymbol(k, "(") && partner[k] > k) {
                k = partner[k];
                continue;
            }
            if (isWord(k, w))
                return k;
        }
        return -1;
    }
    QString source(int b, int e) const
    {
        if (b >= e)
            return QString();
        return sql.mid(t[b].start, t[e - 1].end - t[b].start).toString();
    }
};

bool isAggregate(QStringView w)
{
    static const QSet<QString> names = {QStringLiteral("SUM"),   QStringLiteral("COUNT"),  QStringLiteral("AVG"),
                                        QStringLiteral("MIN"),   QStringLiteral("MAX"),    QStringLiteral("FIRST"),
                                        QStringLiteral("LAST"),  QStringLiteral("STDEV"),  QStringLiteral("STDEVP"),
                                        QStringLiteral("VAR"),   QStringLiteral("VARP")};
    return names.contains(w.toString().toUpper());
}

// The aggregate with every aggregate call taking only the rows where the
// condition holds: Sum(x) as Sum(IIf(condition, x, Null)).
QString restricted(const QString &aggregate, const QString &condition)
{
    Cursor cur{aggregate, JetSqlTokenizer::tokens(aggregate), {}};
    cur.partner = JetSqlTokenizer::partners(aggregate, cur.t);
    QString out;
    int k = 0;
    while (k < cur.t.size()) {
        const int open = cur.skipSpace(k + 1);
        if (cur.t[k].kind == Token::Word && isAggregate(cur.text(k)) && cur.isSymbol(open, "(") && cur.partner[open] > open) {
            const int close = cur.partner[open];
            QString inner = cur.source(open + 1, close).trimmed();
            if (inner == QLatin1String("*"))
                inner = QStringLiteral("1");
            out += cur.text(k).toString() + QStringLiteral("(IIf(%1, %2, Null))").arg(condition, inner);
            k = close + 1;
            continue;
        }
        out += cur.text(k);
        ++k;
    }
    return out;
}

QString heading(const QString &text)
{
    QString h = text;
    h.replace(QLatin1Char(']'), QLatin1Char(')'));
    return QLatin1Char('[') + h + QLatin1Char(']');
}

} // namespace

QString JetCrosstab::literal(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("Null");
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return ValueText::of(value);
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("#yyyy/MM/dd#"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("#yyyy/MM/dd HH:mm:ss#"));
    default:
        return QLatin1Char('\'') + value.toString().replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    }
}

std::optional<JetCrosstab> JetCrosstab::parse(const QString &sql)
{
    Cursor c{sql, JetSqlTokenizer::tokens(sql), {}};
    c.partner = JetSqlTokenizer::partners(sql, c.t);
    const int n = int(c.t.size());
    JetCrosstab x;
    int k = c.skipSpace(0);
    if (c.isWord(k, "PARAMETERS")) {
        int semicolon = k;
        while (semicolon < n && !c.isSymbol(semicolon, ";"))
            ++semicolon;
        if (semicolon >= n)
            return std::nullopt;
        x.m_parameters = c.source(k, semicolon + 1) + QLatin1Char(' ');
        k = c.skipSpace(semicolon + 1);
    }
    if (!c.isWord(k, "TRANSFORM"))
        return std::nullopt;
    const int select = c.find(k + 1, n, "SELECT");
    const int pivot = select < 0 ? -1 : c.find(select + 1, n, "PIVOT");
    if (select < 0 || pivot < 0)
        return std::nullopt;
    const int from = c.find(select + 1, pivot, "FROM");
    if (from < 0)
        return std::nullopt;
    int rest = pivot;
    for (const char *clause : {"GROUP", "HAVING", "ORDER"}) {
        const int at = c.find(from + 1, pivot, clause);
        if (at >= 0 && at < rest)
            rest = at;
    }
    // The aggregate, without a name Access may give it.
    const int as = c.find(k + 1, select, "AS");
    x.m_transform = c.source(k + 1, as >= 0 ? as : select).trimmed();
    x.m_list = c.source(select + 1, from).trimmed();
    x.m_from = c.source(from, rest).trimmed();
    x.m_rest = c.source(rest, pivot).trimmed();
    // PIVOT expression [IN (values)] [;]
    int end = n;
    while (end > pivot + 1 && (c.t[end - 1].kind == Token::Space || c.isSymbol(end - 1, ";")))
        --end;
    const int in = c.find(pivot + 1, end, "IN");
    if (in >= 0) {
        const int open = c.skipSpace(in + 1);
        if (!c.isSymbol(open, "(") || c.partner[open] < 0)
            return std::nullopt;
        const int close = c.partner[open];
        int itemStart = open + 1;
        for (int j = open + 1; j <= close; ++j) {
            if (c.isSymbol(j, "(") && c.partner[j] > j && j < close) {
                j = c.partner[j];
                continue;
            }
            if (c.isSymbol(j, ",") || j == close) {
                const QString item = c.source(itemStart, j).trimmed();
                if (!item.isEmpty())
                    x.m_fixed << item;
                itemStart = j + 1;
            }
        }
        end = in;
    }
    x.m_pivot = c.source(pivot + 1, end).trimmed();
    if (x.m_transform.isEmpty() || x.m_pivot.isEmpty())
        return std::nullopt;
    return x;
}

std::unique_ptr<Recordset> JetCrosstab::run(const QString &sql, const Runner &run)
{
    const auto crosstab = parse(sql);
    if (!crosstab)
        return nullptr;
    // The pivot's values first, then one column for each.
    QList<QVariant> values;
    if (crosstab->needsValues()) {
        auto rs = run(crosstab->valuesQuery());
        for (rs->moveFirst(); !rs->isEOF(); rs->moveNext())
            values << rs->field(0).value;
    }
    return run(crosstab->select(values));
}

QString JetCrosstab::valuesQuery() const
{
    return m_parameters + QStringLiteral("SELECT DISTINCT %1 AS jet_pivot %2 ORDER BY 1").arg(m_pivot, m_from);
}

QString JetCrosstab::select(const QList<QVariant> &values) const
{
    QStringList columns;
    if (!m_list.isEmpty())
        columns << m_list;
    const QString pivot = QLatin1Char('(') + m_pivot + QLatin1Char(')');
    if (!m_fixed.isEmpty()) {
        for (const QString &v : m_fixed) {
            const bool quoted = v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\''));
            const QString name = quoted ? JetSqlRewriter::textOf(v) : v;
            columns << restricted(m_transform, pivot + QStringLiteral(" = ") + v) + QStringLiteral(" AS ") + heading(name);
        }
    } else {
        for (const QVariant &v : values) {
            if (v.isNull())
                columns << restricted(m_transform, pivot + QStringLiteral(" Is Null")) + QStringLiteral(" AS [<>]");
            else
                columns << restricted(m_transform, pivot + QStringLiteral(" = ") + literal(v)) + QStringLiteral(" AS ")
                        + heading(ValueText::of(v));
        }
    }
    QString sql = m_parameters + QStringLiteral("SELECT ") + columns.join(QLatin1String(", ")) + QLatin1Char(' ') + m_from;
    if (!m_rest.isEmpty())
        sql += QLatin1Char(' ') + m_rest;
    return sql;
}

} // namespace KRML_ReportGen
