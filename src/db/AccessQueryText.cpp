#include "AccessQueryText.h"

#include "JetCrosstab.h"
#include "JetSqlRewriter.h"
#include "JetSqlTokenizer.h"
#include "SqlLiteralScanner.h"

#include <QStringList>
#include <sqlite3.h>

namespace KRML_ReportGen {

namespace {

QString bracketed(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// Access allows no brackets and no control characters in the names of
// tables, columns and parameters; a row naming one so comes from a damaged
// or hostile file, and its "]" would end the bracketed name early.
bool isWritableName(const QString &name)
{
    for (const QChar c : name)
        if (c == QLatin1Char('[') || c == QLatin1Char(']') || c.unicode() < 0x20)
            return false;
    return true;
}

bool namesAreWritable(const QList<AccessQueryText::Row> &rows)
{
    using A = AccessQueryText;
    for (const A::Row &r : rows)
        if ((r.attribute == A::Parameter || r.attribute == A::Table || r.attribute == A::Column)
            && (!isWritableName(r.name1) || !isWritableName(r.name2)))
            return false;
    return true;
}

// Jet SQL has no comments and quotes names only in brackets, but the
// database engines read ` as a quote and -- and /* as comments. Outside a
// literal such a mark would hide part of the text from one reader and not
// the other (and a rewrite that repeats the statement would pair it up
// with its own copy), so a saved query holding one makes no statement.
bool hasForeignQuoteOrComment(const QString &sql)
{
    qsizetype from = 0;
    const auto outside = [&](qsizetype to) {
        const QStringView gap = QStringView(sql).mid(from, to - from);
        return gap.contains(QLatin1Char('`')) || gap.contains(QLatin1String("--")) || gap.contains(QLatin1String("/*"));
    };
    for (const SqlLiteralScanner::Range &piece : SqlLiteralScanner::pieces(sql)) {
        if (outside(piece.start))
            return true;
        from = piece.end;
    }
    return outside(sql.size());
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

// The SELECT a select query's rows (or a crosstab's, without its value and
// pivot) make; empty when they make none.
QString selectBody(const QList<AccessQueryText::Row> &rows, bool crosstab)
{
    using A = AccessQueryText;
    int flags = 0;
    QString top;
    QList<Source> sources;
    QStringList columns, where, groupBy, having, orderBy;
    QList<const A::Row *> joins;
    for (const A::Row &r : rows) {
        switch (r.attribute) {
        case A::Flags:
            flags = r.flag;
            top = r.name1;
            break;
        case A::Table:
            if (r.name1.isEmpty())
                return QString();
            sources.append({r.name2.isEmpty() ? r.name1 : r.name2,
                            r.name2.isEmpty() ? bracketed(r.name1) : bracketed(r.name1) + QLatin1String(" AS ") + bracketed(r.name2)});
            break;
        case A::Column:
            if (crosstab && r.flag != A::CrosstabRowHeading)
                break;
            if (!r.expression.isEmpty())
                columns << (r.name1.isEmpty() ? r.expression : r.expression + QLatin1String(" AS ") + bracketed(r.name1));
            break;
        case A::Join:
            joins.append(&r);
            break;
        case A::Where:
            where << r.expression;
            break;
        case A::GroupBy:
            if (!crosstab || r.flag == A::CrosstabRowHeading)
                groupBy << r.expression;
            break;
        case A::Having:
            having << r.expression;
            break;
        case A::OrderBy:
            orderBy << (r.name1.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0 ? r.expression + QLatin1String(" DESC")
                                                                                         : r.expression);
            break;
        default:
            break;
        }
    }
    if (sources.isEmpty())
        return QString();
    if (flags & A::SelectStar)
        columns.prepend(QStringLiteral("*"));
    if (columns.isEmpty() && !crosstab)
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
    for (const A::Row *j : joins) {
        const int left = partOf(j->name1);
        const int right = partOf(j->name2);
        if (left < 0 || right < 0 || left == right)
            return QString();
        const char *kind = j->flag == A::LeftJoin ? " LEFT JOIN " : j->flag == A::RightJoin ? " RIGHT JOIN " : " INNER JOIN ";
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
    if (flags & A::DistinctRow)
        sql += QLatin1String("DISTINCTROW ");
    else if (flags & A::Distinct)
        sql += QLatin1String("DISTINCT ");
    if ((flags & A::Top) && !top.isEmpty()) {
        sql += QLatin1String("TOP ") + top + QLatin1Char(' ');
        if (flags & A::Percent)
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
    return sql;
}

// TRANSFORM value SELECT row headings … PIVOT pivot.
QString crosstabBody(const QList<AccessQueryText::Row> &rows)
{
    using A = AccessQueryText;
    QString value, pivot;
    for (const A::Row &r : rows) {
        if (r.attribute != A::Column)
            continue;
        if (r.flag == A::CrosstabValue)
            value = r.expression;
        else if (r.flag == A::CrosstabPivot)
            pivot = r.expression;
    }
    const QString select = selectBody(rows, true);
    if (value.isEmpty() || pivot.isEmpty() || select.isEmpty())
        return QString();
    // Pieces that break the statement's shape (an unclosed parenthesis in
    // the value, as a damaged file may hold) make a crosstab that cannot be
    // run, and so no statement.
    const QString text = QStringLiteral("TRANSFORM %1\r\n%2\r\nPIVOT %3").arg(value, select, pivot);
    return JetCrosstab::parse(text) ? text : QString();
}

// The two parts of a union, kept as text by Access, and its ordering.
QString unionBody(const QList<AccessQueryText::Row> &rows)
{
    using A = AccessQueryText;
    QString first, second;
    int flags = 0;
    QStringList orderBy;
    const auto part = [](QString text) {
        text = text.trimmed();
        while (text.endsWith(QLatin1Char(';')))
            text.chop(1);
        return text.trimmed();
    };
    for (const A::Row &r : rows) {
        if (r.attribute == A::Table && r.name2 == QLatin1String("X7YZ_____1"))
            first = part(r.expression);
        else if (r.attribute == A::Table && r.name2 == QLatin1String("X7YZ_____2"))
            second = part(r.expression);
        else if (r.attribute == A::Flags)
            flags = r.flag;
        else if (r.attribute == A::OrderBy)
            orderBy << (r.name1.compare(QLatin1String("D"), Qt::CaseInsensitive) == 0 ? r.expression + QLatin1String(" DESC")
                                                                                         : r.expression);
    }
    if (first.isEmpty() || second.isEmpty())
        return QString();
    QString sql = first + ((flags & A::UnionDistinct) ? QLatin1String("\r\nUNION ") : QLatin1String("\r\nUNION ALL ")) + second;
    if (!orderBy.isEmpty())
        sql += QLatin1String("\r\nORDER BY ") + orderBy.join(QStringLiteral(", "));
    return sql;
}

QString parameterType(int flag)
{
    switch (flag) {
    case 1: return QStringLiteral("Bit");
    case 2: return QStringLiteral("Byte");
    case 3: return QStringLiteral("Short");
    case 4: return QStringLiteral("Long");
    case 5: return QStringLiteral("Currency");
    case 6: return QStringLiteral("IEEESingle");
    case 7: return QStringLiteral("IEEEDouble");
    case 8: return QStringLiteral("DateTime");
    case 9: return QStringLiteral("Binary");
    case 10:
    case 12: return QStringLiteral("Text");
    case 11: return QStringLiteral("LongBinary");
    case 15: return QStringLiteral("Guid");
    default: return QStringLiteral("Value");
    }
}

// The form and report controls a statement reads: Forms!Name!Control.
QStringList formReferences(const QString &sql)
{
    using Token = JetSqlTokenizer::Token;
    const QList<Token> t = JetSqlTokenizer::tokens(sql);
    const auto piece = [&](int i) { return QStringView(sql).mid(t[i].start, t[i].length()); };
    const auto isName = [&](int i) { return i < t.size() && (t[i].kind == Token::Word || t[i].kind == Token::Name); };
    const auto isBang = [&](int i) { return i < t.size() && t[i].kind == Token::Symbol && piece(i) == QLatin1String("!"); };
    QStringList found;
    for (int i = 0; i < t.size(); ++i) {
        if (!isName(i) || (i > 0 && (isBang(i - 1) || piece(i - 1) == QLatin1String("."))))
            continue;
        const QString first = JetSqlRewriter::parameterName(piece(i));
        if (first.compare(QLatin1String("Forms"), Qt::CaseInsensitive) != 0
            && first.compare(QLatin1String("Reports"), Qt::CaseInsensitive) != 0)
            continue;
        int end = i + 1;
        while (isBang(end) && isName(end + 1))
            end += 2;
        if (end == i + 1)
            continue;
        const QString name = JetSqlRewriter::parameterName(QStringView(sql).mid(t[i].start, t[end - 1].end - t[i].start));
        if (!found.contains(name, Qt::CaseInsensitive))
            found << name;
        i = end - 1;
    }
    return found;
}

} // namespace

int AccessQueryText::queryType(const QList<Row> &rows)
{
    for (const Row &r : rows)
        if (r.attribute == Type)
            return r.flag;
    return 0;
}

QString AccessQueryText::sqlText(const QList<Row> &rows)
{
    if (!namesAreWritable(rows))
        return QString();
    QString body;
    switch (queryType(rows)) {
    case Select:
        body = selectBody(rows, false);
        break;
    case Crosstab:
        body = crosstabBody(rows);
        break;
    case Union:
        body = unionBody(rows);
        break;
    default:
        return QString();
    }
    // A quote or bracket left open swallows whatever a rewrite puts after
    // it (a TOP PERCENT repeats the statement inside itself), so such a
    // text, which Access itself would not have saved, makes no statement.
    if (body.isEmpty() || !isOneStatement(body) || SqlLiteralScanner::hasUnclosedPiece(body)
        || hasForeignQuoteOrComment(body))
        return QString();
    QStringList declarations, names;
    for (const Row &r : rows) {
        if (r.attribute != Parameter || r.name1.isEmpty())
            continue;
        names << JetSqlRewriter::parameterName(r.name1);
        declarations << bracketed(names.last()) + QLatin1Char(' ') + parameterType(r.flag);
    }
    for (const QString &name : formReferences(body)) {
        if (names.contains(name, Qt::CaseInsensitive))
            continue;
        names << name;
        declarations << bracketed(name) + QStringLiteral(" Value");
    }
    if (declarations.isEmpty())
        return body;
    return QStringLiteral("PARAMETERS ") + declarations.join(QStringLiteral(", ")) + QStringLiteral(";\r\n") + body;
}

bool AccessQueryText::isOneStatement(const QString &sql)
{
    // SQLite's own tokenizer decides where a statement ends: a prefix that
    // ends in ";" is complete when that ";" stands outside quotes and
    // comments. Saved queries hardly ever hold a ";", so a text with many
    // is refused rather than searched. The tokenizer reads a C string, so a
    // NUL (which no saved query holds) would hide the rest of the text from
    // it: such a text is refused too.
    if (sql.contains(QChar(0)))
        return false;
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
