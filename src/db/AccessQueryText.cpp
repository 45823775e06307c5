#include "AccessQueryText.h"

#include <QStringList>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

QString bracketed(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

struct Source
{
    QString key;  // how the query refers to it: the alias, else the name
    QString text; // as the FROM clause writes it
};

// A part of the FROM clause: one table, or tables already joined.
struct FromPart
{
    QStringList keys;
    QString text;
};

} // namespace

QString AccessQueryText::selectText(const QList<Row> &rows)
{
    int type = 0;
    int flags = 0;
    QString top;
    QList<Source> sources;
    QStringList columns, where, groupBy, having, orderBy;
    QList<const Row *> joins;
    for (const Row &r : rows) {
        switch (r.attribute) {
        case Type:
            type = r.flag;
            break;
        case Parameter:
            return QString();
        case Flags:
            flags = r.flag;
            top = r.name1;
            break;
        case Table:
            if (r.name1.isEmpty())
                return QString();
            sources.append({r.name2.isEmpty() ? r.name1 : r.name2,
                            r.name2.isEmpty() ? bracketed(r.name1) : bracketed(r.name1) + QLatin1String(" AS ") + bracketed(r.name2)});
            break;
        case Column:
            if (!r.expression.isEmpty())
                columns << (r.name1.isEmpty() ? r.expression : r.expression + QLatin1String(" AS ") + bracketed(r.name1));
            break;
        case Join:
            joins.append(&r);
            break;
        case Where:
            where << r.expression;
            break;
        case GroupBy:
            groupBy << r.expression;
            break;
        case Having:
            having << r.expression;
            break;
        case OrderBy:
            orderBy << (r.name1.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0 ? r.expression + QLatin1String(" DESC")
                                                                                         : r.expression);
            break;
        default:
            break;
        }
    }
    if (type != Select || sources.isEmpty())
        return QString();
    if (flags & SelectStar)
        columns.prepend(QStringLiteral("*"));
    if (columns.isEmpty())
        return QString();

    // Joins nest in the order Access lists them: each joins the parts that
    // hold its two tables into one.
    QList<FromPart> parts;
    for (const Source &s : sources)
        parts.append({{s.key}, s.text});
    const auto partOf = [&parts](const QString &key) {
        for (int i = 0; i < parts.size(); ++i)
            if (parts[i].keys.contains(key, Qt::CaseInsensitive))
                return i;
        return -1;
    };
    for (const Row *j : joins) {
        const int left = partOf(j->name1);
        const int right = partOf(j->name2);
        if (left < 0 || right < 0 || left == right)
            return QString();
        const char *kind = j->flag == LeftJoin ? " LEFT JOIN " : j->flag == RightJoin ? " RIGHT JOIN " : " INNER JOIN ";
        FromPart joined;
        joined.keys = parts[left].keys + parts[right].keys;
        joined.text = QLatin1Char('(') + parts[left].text + QLatin1String(kind) + parts[right].text + QLatin1String(" ON ")
            + j->expression + QLatin1Char(')');
        const int first = std::min(left, right);
        parts[first] = joined;
        parts.removeAt(std::max(left, right));
    }
    QStringList from;
    for (const FromPart &p : parts) {
        QString text = p.text;
        if (p.keys.size() > 1 && text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')')))
            text = text.mid(1, text.size() - 2); // the outermost join needs no parentheses
        from << text;
    }

    QString sql = QStringLiteral("SELECT ");
    if (flags & DistinctRow)
        sql += QLatin1String("DISTINCTROW ");
    else if (flags & Distinct)
        sql += QLatin1String("DISTINCT ");
    if ((flags & Top) && !top.isEmpty()) {
        sql += QLatin1String("TOP ") + top + QLatin1Char(' ');
        if (flags & Percent)
            sql += QLatin1String("PERCENT ");
    }
    sql += columns.join(QStringLiteral(", "));
    sql += QLatin1String("\r\nFROM ") + from.join(QStringLiteral(", "));
    if (!where.isEmpty())
        sql += QLatin1String("\r\nWHERE ") + where.join(QStringLiteral(" AND "));
    if (!groupBy.isEmpty())
        sql += QLatin1String("\r\nGROUP BY ") + groupBy.join(QStringLiteral(", "));
    if (!having.isEmpty())
        sql += QLatin1String("\r\nHAVING ") + having.join(QStringLiteral(" AND "));
    if (!orderBy.isEmpty())
        sql += QLatin1String("\r\nORDER BY ") + orderBy.join(QStringLiteral(", "));
    return isOneStatement(sql) ? sql : QString();
}

bool AccessQueryText::isOneStatement(const QString &sql)
{
    // SQLite's own tokenizer decides where a statement ends: a prefix that
    // ends in ";" is complete when that ";" stands outside quotes and
    // comments. Saved queries hardly ever hold a ";", so a text with many
    // is refused rather than searched.
    const QByteArray text = sql.toUtf8();
    int semicolons = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != ';')
            continue;
        if (++semicolons > 64)
            return false;
        if (sqlite3_complete(text.left(i + 1).constData()) && !text.mid(i + 1).trimmed().isEmpty())
            return false;
    }
    return true;
}

} // namespace KRML_ReportGen
