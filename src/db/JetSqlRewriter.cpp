#include "JetSqlRewriter.h"

#include "JetCollation.h"
#include "JetDateText.h"
#include "JetFunctionSql.h"
#include "JetSqlTokenizer.h"
#include "ProviderErrors.h"
#include "SqlLiteralScanner.h"

#include <QRegularExpression>
#include <QSet>

namespace KRML_ReportGen {

std::optional<QDateTime> JetSqlRewriter::parseDateLiteral(const QString &text, bool *hasTime)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{1,4})([/-])(\d{1,2})\2(\d{1,4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int a = m.captured(1).toInt(), b = m.captured(3).toInt(), c = m.captured(4).toInt();
    int y, mo, d;
    if (m.captured(1).size() >= 3) { // year first
        y = a;
        mo = b;
        d = c;
    } else { // month/day/year, as the dialect reads an ambiguous literal
        mo = a;
        d = b;
        y = c;
        if (m.captured(4).size() <= 2)
            y += y < 30 ? 2000 : 1900;
    }
    const QDate date(y, mo, d);
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    const bool withTime = !m.captured(5).isEmpty();
    if (withTime) {
        int h = m.captured(5).toInt();
        const QString ampm = m.captured(8).toUpper();
        if (ampm == QLatin1String("PM") && h < 12)
            h += 12;
        if (ampm == QLatin1String("AM") && h == 12)
            h = 0;
        time = QTime(h, m.captured(6).toInt(), m.captured(7).isEmpty() ? 0 : m.captured(7).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    if (hasTime)
        *hasTime = withTime;
    return QDateTime(date, time);
}

QString JetSqlRewriter::textOf(QStringView piece)
{
    if (piece.size() < 2)
        return QString();
    const QChar q = piece[0];
    QString inner = piece.mid(1, piece.size() - (piece.back() == q ? 2 : 1)).toString();
    return inner.replace(QString(2, q), QString(q));
}

QString JetSqlRewriter::parameterName(QStringView reference)
{
    // [Forms]![Orders]![OrderID], Forms!Orders!OrderID and [Forms!Orders!OrderID] are one name.
    QString name;
    const QStringView r = reference.trimmed();
    for (qsizetype i = 0; i < r.size();) {
        if (r[i] == QLatin1Char('[')) {
            const qsizetype end = SqlLiteralScanner::pieceEnd(r, i);
            name += r.mid(i + 1, end - i - (r[end - 1] == QLatin1Char(']') ? 2 : 1));
            i = end;
        } else if (!r[i].isSpace() || (!name.isEmpty() && !name.endsWith(QLatin1Char('!')))) {
            name += r[i++];
        } else {
            ++i;
        }
    }
    return name.trimmed();
}

namespace {

using Dialect = JetSqlRewriter::Dialect;
using Token = JetSqlTokenizer::Token;

QString quoted(QStringView text)
{
    return QLatin1Char('\'') + text.toString().replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

bool isPlainWord(QStringView name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_')))
        return false;
    for (QChar ch : name)
        if (!(ch.isLetterOrNumber() || ch == QLatin1Char('_')) || ch.unicode() > 127)
            return false;
    return true;
}

// Words that end an operand whatever stands around them.
bool boundaryWord(QStringView w)
{
    static const QSet<QString> words = {
        QStringLiteral("SELECT"), QStringLiteral("FROM"),     QStringLiteral("WHERE"),   QStringLiteral("HAVING"),
        QStringLiteral("ON"),     QStringLiteral("BY"),       QStringLiteral("AS"),      QStringLiteral("WHEN"),
        QStringLiteral("THEN"),   QStringLiteral("ELSE"),     QStringLiteral("CASE"),    QStringLiteral("DISTINCT"),
        QStringLiteral("DISTINCTROW"), QStringLiteral("TOP"), QStringLiteral("PERCENT"), QStringLiteral("ALL"),
        QStringLiteral("SET"),    QStringLiteral("VALUES"),   QStringLiteral("UNION"),   QStringLiteral("JOIN"),
        QStringLiteral("INNER"),  QStringLiteral("OUTER"),    QStringLiteral("CROSS"),   QStringLiteral("ESCAPE"),
        QStringLiteral("ORDER"),  QStringLiteral("GROUP"),    QStringLiteral("ASC"),     QStringLiteral("DESC"),
        QStringLiteral("INTO"),   QStringLiteral("LIMIT"),    QStringLiteral("PIVOT"),   QStringLiteral("TRANSFORM"),
        QStringLiteral("PARAMETERS"), QStringLiteral("WITH"), QStringLiteral("END"),     QStringLiteral("COLLATE"),
    };
    return words.contains(w.toString().toUpper());
}

class Rewriter
{
public:
    Rewriter(const QString &sql, Dialect dialect, const JetSqlRewriter::Options &options)
        : m_sql(sql), m_dialect(dialect), m_options(options), m_t(JetSqlTokenizer::tokens(sql)),
          m_partner(JetSqlTokenizer::partners(sql, m_t))
    {
    }

    JetSqlRewriter::Result run();

private:
    enum { Boundary = 100 };

    QStringView text(int i) const { return QStringView(m_sql).mid(m_t[i].start, m_t[i].length()); }
    int size() const { return int(m_t.size()); }
    bool isWord(int i, const char *w) const
    {
        return i >= 0 && i < size() && m_t[i].kind == Token::Word && text(i).compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(int i, const char *s) const
    {
        return i >= 0 && i < size() && m_t[i].kind == Token::Symbol && text(i) == QLatin1String(s);
    }
    int skipSpace(int i, int e) const
    {
        while (i < e && m_t[i].kind == Token::Space)
            ++i;
        return i;
    }
    int previous(int i, int b) const
    {
        --i;
        while (i >= b && m_t[i].kind == Token::Space)
            --i;
        return i;
    }
    // The end of the range without closing blanks and ";".
    int contentEnd(int b, int e) const
    {
        int k = e;
        while (k > b && (m_t[k - 1].kind == Token::Space || isSymbol(k - 1, ";")))
            --k;
        return k;
    }
    QString source(int b, int e) const
    {
        if (b >= e)
            return QString();
        return m_sql.mid(m_t[b].start, m_t[e - 1].end - m_t[b].start);
    }
    bool embedded() const { return m_dialect == Dialect::Sqlite; }

    int precedence(int i, bool unaryPosition) const;
    bool unaryAt(int i, int b) const;
    int leftStart(int b, int op, int prec, bool withEqual) const;
    int rightEnd(int from, int e, int prec) const;
    QList<std::pair<int, int>> split(int b, int e) const;

    void parameters(int &start);
    QString query(int b, int e);
    QString top(int b, int e, bool distinct, int topWord);
    QString expr(int b, int e);
    QString word(int i, int b, int e, QString &out, QList<qsizetype> &at, int &next);
    QString literal(int i) const;
    QString dateLiteral(int i) const;
    QString requotedName(int i) const;
    QString like(const QString &left, int patternBegin, int patternEnd, bool negated, const QString &escape);
    QString binary(QStringView op, const QString &l, const QString &r) const;
    QString parameter(const QString &name) const;

    const QString &m_sql;
    Dialect m_dialect;
    JetSqlRewriter::Options m_options;
    QList<Token> m_t;
    QList<int> m_partner;
    bool m_collate = false;
    QStringList m_parameters;
    QStringList m_parameterTypes;
    int m_firstPlaceholder = 0;
};

int Rewriter::precedence(int i, bool unaryPosition) const
{
    const Token &t = m_t[i];
    const QStringView s = text(i);
    if (t.kind == Token::Symbol) {
        if (s == QLatin1String(",") || s == QLatin1String(";"))
            return Boundary;
        if (s == QLatin1String("^"))
            return 1;
        if ((s == QLatin1String("-") || s == QLatin1String("+")) && unaryPosition)
            return 2;
        if (s == QLatin1String("*") || s == QLatin1String("/"))
            return 3;
        if (s == QLatin1String("\\"))
            return 4;
        if (s == QLatin1String("+") || s == QLatin1String("-"))
            return 6;
        if (s == QLatin1String("&") || s == QLatin1String("||"))
            return 7;
        if (s == QLatin1String("=") || s == QLatin1String("<") || s == QLatin1String(">") || s == QLatin1String("<=")
            || s == QLatin1String(">=") || s == QLatin1String("<>") || s == QLatin1String("!="))
            return 8;
        return 0;
    }
    if (t.kind != Token::Word)
        return 0;
    const QString w = s.toString().toUpper();
    if (w == QLatin1String("MOD"))
        return 5;
    if (w == QLatin1String("LIKE") || w == QLatin1String("IS") || w == QLatin1String("BETWEEN") || w == QLatin1String("IN"))
        return 8;
    if (w == QLatin1String("NOT"))
        return 9;
    if (w == QLatin1String("AND"))
        return 10;
    if (w == QLatin1String("OR") || w == QLatin1String("XOR") || w == QLatin1String("EQV") || w == QLatin1String("IMP"))
        return 11;
    // LEFT and RIGHT are join words unless a call follows.
    if ((w == QLatin1String("LEFT") || w == QLatin1String("RIGHT")) && !isSymbol(skipSpace(i + 1, size()), "("))
        return Boundary;
    if (boundaryWord(s))
        return Boundary;
    return 0;
}

// True when the sign at i stands before its operand (nothing, an operator
// or an opening bracket before it).
bool Rewriter::unaryAt(int i, int b) const
{
    const int p = previous(i, b);
    if (p < b)
        return true;
    if (isSymbol(p, "("))
        return true;
    return precedence(p, false) > 0;
}

// The first token of the operand left of the operator at op: tokens are
// taken while they bind more tightly than prec (or as tightly, withEqual).
// -1 when there is none.
int Rewriter::leftStart(int b, int op, int prec, bool withEqual) const
{
    int start = -1;
    int k = previous(op, b);
    while (k >= b) {
        if (isSymbol(k, ")")) {
            const int open = m_partner[k];
            if (open < b)
                break;
            start = open;
            k = previous(open, b);
            // The function the brackets belong to.
            if (k >= b && m_t[k].kind == Token::Word && precedence(k, false) == 0) {
                start = k;
                k = previous(k, b);
            }
            continue;
        }
        if (isSymbol(k, "("))
            break;
        const bool unary = (isSymbol(k, "-") || isSymbol(k, "+")) && unaryAt(k, b);
        const int p = precedence(k, unary);
        if (p >= Boundary)
            break;
        if (p > 0 && !unary && (p > prec || (p == prec && !withEqual)))
            break;
        start = k;
        k = previous(k, b);
    }
    return start;
}

// One past the last token of the operand right of an operator, starting at
// from: it ends before an operator that binds as loosely as prec or more.
int Rewriter::rightEnd(int from, int e, int prec) const
{
    int last = -1;
    int k = skipSpace(from, e);
    bool operandExpected = true;
    while (k < e) {
        if (isSymbol(k, "(")) {
            const int close = m_partner[k];
            if (close < 0 || close >= e) {
                last = e - 1;
                break;
            }
            last = close;
            k = skipSpace(close + 1, e);
            operandExpected = false;
            continue;
        }
        if (isSymbol(k, ")"))
            break;
        const bool unary = operandExpected && (isSymbol(k, "-") || isSymbol(k, "+"));
        const int p = precedence(k, unary);
        if (p >= Boundary)
            break;
        if (p > 0 && !unary && p >= prec)
            break;
        // "x NOT LIKE y", "x IS NOT NULL": NOT after an operand belongs to the operator.
        last = k;
        operandExpected = p > 0;
        k = skipSpace(k + 1, e);
    }
    return last < 0 ? from : last + 1;
}

// The items of a list at this level: ranges between the commas.
QList<std::pair<int, int>> Rewriter::split(int b, int e) const
{
    QList<std::pair<int, int>> items;
    int start = b;
    for (int k = b; k < e; ++k) {
        if (isSymbol(k, "(") && m_partner[k] > k && m_partner[k] < e) {
            k = m_partner[k];
            continue;
        }
        if (isSymbol(k, ",")) {
            items.append({start, k});
            start = k + 1;
        }
    }
    items.append({start, e});
    return items;
}

// PARAMETERS name type, …; at the head of the statement.
void Rewriter::parameters(int &start)
{
    const int p = skipSpace(start, size());
    if (!isWord(p, "PARAMETERS"))
        return;
    int end = p + 1;
    while (end < size() && !isSymbol(end, ";"))
        ++end;
    for (const auto &[b, e] : split(p + 1, end)) {
        // The name is everything before the type, the last word (with any "(size)").
        int last = previous(e, b);
        if (last >= b && isSymbol(last, ")") && m_partner[last] >= b)
            last = previous(m_partner[last], b);
        const int nameEnd = last;
        const int nameStart = skipSpace(b, e);
        if (nameStart >= nameEnd)
            continue;
        m_parameters << JetSqlRewriter::parameterName(source(nameStart, nameEnd).trimmed());
        m_parameterTypes << source(skipSpace(nameEnd, e), e).trimmed();
    }
    start = end < size() ? end + 1 : end;
}

QString Rewriter::parameter(const QString &name) const
{
    if (embedded())
        return QStringLiteral("jet_param(%1)").arg(quoted(name));
    int index = 0;
    for (; index < m_parameters.size(); ++index)
        if (m_parameters[index].compare(name, Qt::CaseInsensitive) == 0)
            break;
    return QLatin1Char('?') + QString::number(m_firstPlaceholder + index);
}

JetSqlRewriter::Result Rewriter::run()
{
    int start = 0;
    parameters(start);
    if (!m_parameters.isEmpty() && !embedded()) {
        int highest = 0;
        for (const Token &t : m_t)
            if (t.kind == Token::Placeholder && t.length() > 1)
                highest = std::max(highest, m_sql.mid(t.start + 1, t.length() - 1).toInt());
        m_firstPlaceholder = highest + 1;
    }
    const int first = skipSpace(start, size());
    if (embedded() && first < size()) {
        // Text literals take the legacy order in statements that compare;
        // never in a table's definition, where COLLATE would change a column.
        static const QSet<QString> comparing = {QStringLiteral("SELECT"), QStringLiteral("WITH"), QStringLiteral("INSERT"),
                                                QStringLiteral("UPDATE"), QStringLiteral("DELETE"), QStringLiteral("REPLACE"),
                                                QStringLiteral("VALUES")};
        m_collate = isSymbol(first, "(") || comparing.contains(text(first).toString().toUpper())
            || (isWord(first, "CREATE") && isWord(skipSpace(first + 1, size()), "VIEW"));
    }
    JetSqlRewriter::Result r;
    // The declaration itself is not passed on.
    r.sql = query(skipSpace(start, size()), size());
    r.parameters = m_parameters;
    r.parameterTypes = m_parameterTypes;
    r.firstPlaceholder = m_firstPlaceholder;
    return r;
}

QString Rewriter::query(int b, int e)
{
    const int select = skipSpace(b, e);
    if (!isWord(select, "SELECT"))
        return expr(b, e);
    int q = skipSpace(select + 1, e);
    bool distinct = false;
    if (isWord(q, "DISTINCT") || isWord(q, "DISTINCTROW")) {
        distinct = true;
        q = skipSpace(q + 1, e);
    } else if (isWord(q, "ALL")) {
        q = skipSpace(q + 1, e);
    }
    if (!isWord(q, "TOP") || skipSpace(q + 1, e) >= e || m_t[skipSpace(q + 1, e)].kind != Token::Number)
        return expr(b, e);
    return top(b, e, distinct, q);
}

QString Rewriter::top(int b, int e, bool distinct, int topWord)
{
    const int number = skipSpace(topWord + 1, e);
    int listStart = number + 1;
    const bool percent = isWord(skipSpace(listStart, e), "PERCENT");
    if (percent)
        listStart = skipSpace(listStart, e) + 1;
    listStart = skipSpace(listStart, e);
    const QString n = text(number).toString();
    const int end = contentEnd(b, e);
    const QString tail = source(end, e);

    int from = -1, order = -1, unionAt = -1;
    for (int k = listStart; k < end; ++k) {
        if (isSymbol(k, "(") && m_partner[k] > k) {
            k = m_partner[k];
            continue;
        }
        if (from < 0 && isWord(k, "FROM"))
            from = k;
        else if (isWord(k, "ORDER") && isWord(skipSpace(k + 1, end), "BY"))
            order = k;
        else if (unionAt < 0 && isWord(k, "UNION"))
            unionAt = k;
    }
    const QString head = expr(b, topWord);
    if (unionAt >= 0) {
        // TOP belongs to the first SELECT of a union: that one as a table.
        const QString alias = m_dialect == Dialect::PostgreSql ? QStringLiteral(" AS jet_top") : QString();
        return QStringLiteral("SELECT * FROM (%1)%2 ").arg(query(b, unionAt).trimmed(), alias) + expr(unionAt, e);
    }
    const int listEnd = from >= 0 ? from : order >= 0 ? order : end;
    const int bodyEnd = order >= 0 ? order : end;
    const QString list = expr(listStart, listEnd);
    const QString body = from >= 0 ? expr(from, bodyEnd) : QString();
    const QString all = (head + list + body).trimmed(); // the statement without TOP and ORDER BY
    const QString ordered = order >= 0 ? QLatin1Char(' ') + expr(order, end).trimmed() : QString();

    if (m_dialect == Dialect::Odbc) {
        const QString quantity = QStringLiteral("TOP %1 %2%3").arg(n, percent ? QStringLiteral("PERCENT ") : QString(),
                                                                 order >= 0 ? QStringLiteral("WITH TIES ") : QString());
        return head + quantity + list + body.trimmed() + ordered + tail;
    }

    // How many rows: n, or n percent of all rows rounded up.
    QString count = n;
    if (percent) {
        if (m_dialect == Dialect::PostgreSql)
            count = QStringLiteral("(SELECT CAST(ceil(COUNT(*) * %1 / 100.0) AS bigint) FROM (%2) AS jet_all)").arg(n, all);
        else
            count = QStringLiteral("(SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM "
                                   "(SELECT COUNT(*) * %1 / 100.0 AS c FROM (%2)))")
                        .arg(n, all);
    }
    if (order < 0)
        return all + QStringLiteral(" LIMIT ") + count + tail;
    if (m_dialect == Dialect::PostgreSql)
        return all + ordered + QStringLiteral(" FETCH FIRST ") + (percent ? count : n) + QStringLiteral(" ROWS WITH TIES") + tail;

    // SQLite: the limit counts the rows that rank within the first n, so
    // rows tied with the last one come too.
    const auto items = split(listStart, listEnd);
    struct Item
    {
        int b, e;     // the expression
        QString alias;
    };
    QList<Item> columns;
    bool star = false;
    for (const auto &[ib, ie] : items) {
        int as = -1;
        for (int k = ib; k < ie; ++k) {
            if (isSymbol(k, "(") && m_partner[k] > k) {
                k = m_partner[k];
                continue;
            }
            if (isWord(k, "AS"))
                as = k;
        }
        Item it{ib, as >= 0 ? as : ie, {}};
        if (as >= 0) {
            const int a = skipSpace(as + 1, ie);
            if (a < ie)
                it.alias = JetSqlRewriter::parameterName(text(a));
        }
        const QString s = source(skipSpace(ib, ie), it.e).trimmed();
        if (s == QLatin1String("*") || s.endsWith(QLatin1String(".*")))
            star = true;
        columns.append(it);
    }
    const auto normalised = [&](int kb, int ke) {
        QString s = source(skipSpace(kb, ke), ke).trimmed();
        s.remove(QLatin1Char('[')).remove(QLatin1Char(']')).remove(QLatin1Char(' '));
        return s.toLower();
    };
    // Each key as the column of the list it names, if any.
    QStringList keys;
    QList<int> keyColumns;
    for (const auto &[kb, ke] : split(skipSpace(skipSpace(order + 1, end) + 1, end), end)) {
        int exprEnd = previous(ke, kb) + 1;
        QString direction;
        if (isWord(exprEnd - 1, "DESC") || isWord(exprEnd - 1, "ASC")) {
            direction = QLatin1Char(' ') + text(exprEnd - 1).toString().toUpper();
            exprEnd = previous(exprEnd - 1, kb) + 1;
        }
        const int first = skipSpace(kb, exprEnd);
        int column = -1;
        if (first + 1 == exprEnd && m_t[first].kind == Token::Number) {
            const int ordinal = text(first).toInt();
            if (!star && ordinal >= 1 && ordinal <= columns.size())
                column = ordinal - 1;
        } else {
            const QString key = normalised(first, exprEnd);
            for (int c = 0; c < columns.size() && column < 0; ++c) {
                const QString item = normalised(columns[c].b, columns[c].e);
                const QString alias = columns[c].alias.toLower().remove(QLatin1Char(' '));
                if ((!alias.isEmpty() && key == alias) || key == item
                    || (alias.isEmpty() && item.section(QLatin1Char('.'), -1) == key.section(QLatin1Char('.'), -1)
                        && !key.contains(QLatin1Char('('))))
                    column = c;
            }
        }
        keyColumns << column;
        if (column >= 0 && (!columns[column].alias.isEmpty() || (first + 1 == exprEnd && m_t[first].kind == Token::Number)))
            keys << expr(columns[column].b, columns[column].e).trimmed() + direction;
        else
            keys << expr(first, exprEnd).trimmed() + direction;
    }
    QString ranked;
    if (!distinct) {
        ranked = QStringLiteral("SELECT RANK() OVER (ORDER BY %1) AS jet_rank %2").arg(keys.join(QLatin1String(", ")), body.trimmed());
    } else if (!star && !keyColumns.contains(-1)) {
        // The distinct rows, their columns named so the keys can reach them.
        QStringList named, outer;
        for (int c = 0; c < columns.size(); ++c)
            named << expr(columns[c].b, columns[c].e).trimmed() + QStringLiteral(" AS jet_c%1").arg(c);
        int k = 0;
        for (const QString &key : keys) {
            const QString direction = key.endsWith(QLatin1String(" DESC")) ? QStringLiteral(" DESC") : QString();
            outer << QStringLiteral("jet_c%1").arg(keyColumns[k++]) + direction;
        }
        ranked = QStringLiteral("SELECT RANK() OVER (ORDER BY %1) AS jet_rank FROM (SELECT DISTINCT %2 %3)")
                     .arg(outer.join(QLatin1String(", ")), named.join(QLatin1String(", ")), body.trimmed());
    } else {
        return all + ordered + QStringLiteral(" LIMIT ") + count + tail;
    }
    return all + ordered + QStringLiteral(" LIMIT (SELECT COUNT(*) FROM (%1) WHERE jet_rank <= %2)").arg(ranked, count) + tail;
}

QString Rewriter::literal(int i) const
{
    const QStringView piece = text(i);
    if (piece.size() < 2 || piece.back() != piece.front())
        return piece.toString(); // not closed: the engine reports it
    const QString value = quoted(JetSqlRewriter::textOf(piece));
    if (!m_collate)
        return value;
    // Not where the engine wants a bare literal (a column's default, an
    // alias), nor where the literal stands alone as an item of a list (a
    // result column keeps the name the literal gives it; a call's argument).
    const int p = previous(i, 0);
    if (isWord(p, "DEFAULT") || isWord(p, "AS") || isWord(p, "ESCAPE"))
        return value;
    const int n = skipSpace(i + 1, size());
    const bool itemStart = p < 0 || isSymbol(p, ",") || isSymbol(p, "(") || isWord(p, "SELECT") || isWord(p, "DISTINCT")
        || isWord(p, "ALL");
    const bool itemEnd = n >= size() || isSymbol(n, ",") || isSymbol(n, ")") || isSymbol(n, ";") || isWord(n, "FROM")
        || isWord(n, "UNION");
    if (itemStart && itemEnd)
        return value;
    return value + QStringLiteral(" COLLATE ") + QLatin1String(JetCollation::Name);
}

QString Rewriter::dateLiteral(int i) const
{
    const QStringView piece = text(i);
    bool withTime = false;
    const auto dt = JetSqlRewriter::parseDateLiteral(piece.mid(1, piece.size() - 2).toString(), &withTime);
    const QString t = withTime ? dt->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : dt->date().toString(QStringLiteral("yyyy-MM-dd"));
    switch (m_dialect) {
    case Dialect::PostgreSql:
        return (withTime ? QLatin1String("TIMESTAMP '") : QLatin1String("DATE '")) + t + QLatin1Char('\'');
    case Dialect::Odbc:
        return (withTime ? QLatin1String("{ts '") : QLatin1String("{d '")) + t + QLatin1String("'}");
    case Dialect::Sqlite:
    case Dialect::SqliteNative:
        break;
    }
    return QLatin1Char('\'') + JetDateText::canonical(*dt) + QLatin1Char('\'');
}

QString Rewriter::requotedName(int i) const
{
    const QStringView piece = text(i);
    if (m_dialect != Dialect::PostgreSql || piece.size() < 2 || piece.back() != QLatin1Char(']'))
        return piece.toString();
    // Unquoted names fold to one case there, as Jet compares names without
    // regard to case; only names that need quotes keep them.
    const QStringView name = piece.mid(1, piece.size() - 2);
    if (isPlainWord(name))
        return name.toString();
    return QLatin1Char('"') + name.toString().replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString Rewriter::binary(QStringView op, const QString &l, const QString &r) const
{
    const bool pg = m_dialect == Dialect::PostgreSql;
    const auto whole = [](const QString &x) { return QStringLiteral("CAST(CAST(%1 AS double precision) AS bigint)").arg(x); };
    if (op == QLatin1String("&")) {
        switch (m_dialect) {
        case Dialect::Sqlite: return QStringLiteral("jet_concat(%1, %2)").arg(l, r);
        case Dialect::PostgreSql: return QStringLiteral("concat(%1, %2)").arg(l, r);
        case Dialect::SqliteNative: return QStringLiteral("(COALESCE(%1, '') || COALESCE(%2, ''))").arg(l, r);
        case Dialect::Odbc: return QStringLiteral("{fn CONCAT(%1, %2)}").arg(l, r);
        }
    }
    if (op.compare(QLatin1String("MOD"), Qt::CaseInsensitive) == 0) {
        switch (m_dialect) {
        case Dialect::Sqlite: return QStringLiteral("jet_mod(%1, %2)").arg(l, r);
        case Dialect::PostgreSql: return QStringLiteral("MOD(%1, %2)").arg(whole(l), whole(r));
        case Dialect::SqliteNative: return QStringLiteral("(CAST(round(%1) AS INTEGER) % CAST(round(%2) AS INTEGER))").arg(l, r);
        case Dialect::Odbc: return QStringLiteral("{fn MOD(%1, %2)}").arg(l, r);
        }
    }
    if (op == QLatin1String("\\")) {
        switch (m_dialect) {
        case Dialect::Sqlite: return QStringLiteral("jet_intdiv(%1, %2)").arg(l, r);
        case Dialect::PostgreSql: return QStringLiteral("(%1 / %2)").arg(whole(l), whole(r));
        case Dialect::SqliteNative: return QStringLiteral("(CAST(round(%1) AS INTEGER) / CAST(round(%2) AS INTEGER))").arg(l, r);
        case Dialect::Odbc: return QStringLiteral("{fn TRUNCATE(%1 / %2, 0)}").arg(l, r);
        }
    }
    if (op == QLatin1String("/")) // always a division of numbers with a fraction, never of whole numbers
        return QStringLiteral("(1.0 * %1 / %2)").arg(l, r);
    // "^"
    if (pg)
        return QStringLiteral("power(%1, %2)").arg(l, r);
    switch (m_dialect) {
    case Dialect::Sqlite: return QStringLiteral("jet_power(%1, %2)").arg(l, r);
    case Dialect::SqliteNative: return QStringLiteral("pow(%1, %2)").arg(l, r);
    default: return QStringLiteral("{fn POWER(%1, %2)}").arg(l, r);
    }
}

QString Rewriter::like(const QString &left, int pb, int pe, bool negated, const QString &escape)
{
    const QString notWord = negated ? QStringLiteral(" NOT") : QString();
    const QString escapeClause = escape.isEmpty() ? QString() : QStringLiteral(" ESCAPE ") + escape;
    const int first = skipSpace(pb, pe);
    const bool single = first + 1 == pe && m_t[first].kind == Token::Text;
    const QString right = expr(pb, pe).trimmed();
    if (embedded()) {
        if (m_options.like == JetLikePattern::Ansi89)
            return QStringLiteral("%1%2 LIKE jet_like89(%3)%4").arg(left, notWord, right, escapeClause);
        return QStringLiteral("%1%2 LIKE %3%4").arg(left, notWord, right, escapeClause);
    }
    if (!single || !escape.isEmpty()) {
        if (m_dialect == Dialect::PostgreSql)
            return QStringLiteral("CAST(%1 AS text)%2 ILIKE %3%4").arg(left, notWord, right,
                                                                       escape.isEmpty() ? QStringLiteral(" ESCAPE ''") : escapeClause);
        return QStringLiteral("%1%2 LIKE %3%4").arg(left, notWord, right, escapeClause);
    }
    const JetLikePattern pattern(JetSqlRewriter::textOf(text(first)), m_options.like);
    if (m_dialect == Dialect::PostgreSql)
        return QStringLiteral("CAST(%1 AS text) %2 %3").arg(left, negated ? QStringLiteral("!~*") : QStringLiteral("~*"), quoted(pattern.toRegex()));
    const auto plain = pattern.toPlain();
    if (!plain)
        throw ProviderErrors::syntaxError(QStringLiteral("the LIKE pattern %1 cannot be written for this database").arg(text(first)));
    const bool odbc = m_dialect == Dialect::Odbc;
    const auto term = [&](const QString &p) {
        const QString esc = plain->escaped ? (odbc ? QStringLiteral(" {escape '\\'}") : QStringLiteral(" ESCAPE '\\'")) : QString();
        if (odbc)
            return QStringLiteral("{fn UCASE(%1)} LIKE {fn UCASE(%2)}%3").arg(left, quoted(p), esc);
        return QStringLiteral("%1 LIKE %2%3").arg(left, quoted(p), esc);
    };
    if (plain->any.size() == 1 && plain->none.isEmpty() && !odbc)
        return QStringLiteral("%1%2 LIKE %3%4").arg(left, notWord, quoted(plain->any[0]),
                                                    plain->escaped ? QStringLiteral(" ESCAPE '\\'") : QString());
    QStringList any, none;
    for (const QString &p : plain->any)
        any << term(p);
    for (const QString &p : plain->none)
        none << term(p);
    QString sql = QLatin1Char('(') + any.join(QLatin1String(" OR ")) + QLatin1Char(')');
    if (!none.isEmpty())
        sql += QStringLiteral(" AND NOT (") + none.join(QLatin1String(" OR ")) + QLatin1Char(')');
    return (negated ? QStringLiteral("NOT (") : QStringLiteral("(")) + sql + QLatin1Char(')');
}

QString Rewriter::expr(int b, int e)
{
    QString out;
    QList<qsizetype> at(std::max(0, e - b), -1);
    int i = b;
    // Replaces the operand that starts at token `from` (already written)
    // and the operator's right side by `make(left)`.
    const auto operandText = [&](int from) -> std::optional<QString> {
        if (from < b || from >= e || at[from - b] < 0)
            return std::nullopt;
        const QString left = out.mid(at[from - b]);
        out.truncate(at[from - b]);
        return left.trimmed();
    };
    while (i < e) {
        at[i - b] = out.size();
        const Token &t = m_t[i];
        switch (t.kind) {
        case Token::Space:
        case Token::Number:
        case Token::Placeholder:
            out += text(i);
            ++i;
            continue;
        case Token::Text:
            out += literal(i);
            ++i;
            continue;
        case Token::Date:
            out += dateLiteral(i);
            ++i;
            continue;
        case Token::Name:
        case Token::Word: {
            int next = i + 1;
            const QString w = word(i, b, e, out, at, next);
            out += w;
            i = next;
            continue;
        }
        case Token::Symbol:
            break;
        }
        const QStringView s = text(i);
        if (s == QLatin1String("(")) {
            const int close = m_partner[i];
            const int inner = skipSpace(i + 1, e);
            const int end = (close > i && close < e) ? close : e;
            out += QLatin1Char('(') + (isWord(inner, "SELECT") ? query(i + 1, end) : expr(i + 1, end));
            if (end == close)
                out += QLatin1Char(')');
            i = end == close ? close + 1 : e;
            continue;
        }
        if (s == QLatin1String("&") || s == QLatin1String("\\") || s == QLatin1String("^") || s == QLatin1String("/")) {
            const int prec = precedence(i, false);
            const int from = leftStart(b, i, prec, true);
            const auto left = operandText(from);
            if (left) {
                const int end = rightEnd(i + 1, e, prec);
                const QString right = expr(skipSpace(i + 1, end), end).trimmed();
                out += binary(s, *left, right);
                i = end;
                continue;
            }
        }
        out += s;
        ++i;
    }
    return out;
}

// A word (or [name]) at i: a function call, an operator word, a literal
// word of the dialect, a declared parameter, or a name as written. Tokens
// it consumes end before `next`.
QString Rewriter::word(int i, int b, int e, QString &out, QList<qsizetype> &at, int &next)
{
    const QStringView w = text(i);
    const bool bracketed = m_t[i].kind == Token::Name;
    const int before = previous(i, 0);
    const bool qualified = before >= 0 && (isSymbol(before, ".") || isSymbol(before, "!"));
    const int after = skipSpace(i + 1, e);

    // Declared parameters, also written as Forms![Form]![Control]. A
    // parameter may be called [From] or [And]; written without brackets,
    // such a word is the keyword all the same.
    if (!m_parameters.isEmpty() && !qualified && (bracketed || precedence(i, false) == 0)) {
        int end = i + 1;
        while (isSymbol(end, "!") && end + 1 < e && (m_t[end + 1].kind == Token::Word || m_t[end + 1].kind == Token::Name))
            end += 2;
        if (!isSymbol(end, ".")) {
            const QString name = JetSqlRewriter::parameterName(source(i, end));
            for (const QString &declared : m_parameters)
                if (declared.compare(name, Qt::CaseInsensitive) == 0) {
                    next = end;
                    return parameter(declared);
                }
        }
    }
    if (bracketed)
        return requotedName(i);
    if (qualified)
        return w.toString();

    const QString upper = w.toString().toUpper();
    if (isSymbol(after, "(") && precedence(i, false) == 0) {
        const int close = m_partner[after];
        if (close > after && close < e) {
            if (embedded()) {
                // LEFT and RIGHT are words of the engine's joins: the
                // dialect's functions go by other names there.
                if (upper == QLatin1String("LEFT") || upper == QLatin1String("RIGHT"))
                    return QLatin1String("jet_") + w.toString().toLower();
                return w.toString();
            }
            QStringList args;
            for (const auto &[ab, ae] : split(after + 1, close))
                args << expr(ab, ae);
            if (const auto sql = JetFunctionSql::call(m_dialect, w, args)) {
                next = close + 1;
                return *sql;
            }
            return w.toString();
        }
    }
    if (upper == QLatin1String("TRUE") || upper == QLatin1String("YES"))
        return m_dialect == Dialect::PostgreSql ? QStringLiteral("TRUE") : QStringLiteral("1");
    if (upper == QLatin1String("FALSE") || upper == QLatin1String("NO"))
        return m_dialect == Dialect::PostgreSql ? QStringLiteral("FALSE") : QStringLiteral("0");
    if (upper == QLatin1String("DISTINCTROW"))
        return QStringLiteral("DISTINCT");
    if (upper == QLatin1String("MOD")) {
        const int from = leftStart(b, i, 5, true);
        if (from >= b && at[from - b] >= 0) {
            const QString left = out.mid(at[from - b]).trimmed();
            out.truncate(at[from - b]);
            const int end = rightEnd(i + 1, e, 5);
            next = end;
            return binary(w, left, expr(skipSpace(i + 1, end), end).trimmed());
        }
    }
    if (upper == QLatin1String("LIKE") || (upper == QLatin1String("IN") && m_collate)) {
        const int notAt = previous(i, b);
        const bool negated = isWord(notAt, "NOT");
        const int from = leftStart(b, negated ? notAt : i, 8, false);
        if (from >= b && at[from - b] >= 0 && (!negated || at[notAt - b] >= 0)) {
            // The operand, without the NOT already written after it.
            const qsizetype cut = at[from - b];
            const QString left = out.mid(cut, negated ? at[notAt - b] - cut : -1).trimmed();
            out.truncate(cut);
            if (upper == QLatin1String("IN")) {
                // The list compares in the legacy order, as a text column would.
                return QStringLiteral("%1 COLLATE %2%3 IN").arg(left, QLatin1String(JetCollation::Name),
                                                               negated ? QStringLiteral(" NOT") : QString());
            }
            const int end = rightEnd(i + 1, e, 8);
            QString escape;
            next = end;
            const int esc = skipSpace(end, e);
            if (isWord(esc, "ESCAPE")) {
                const int value = skipSpace(esc + 1, e);
                if (value < e) {
                    escape = quoted(JetSqlRewriter::textOf(text(value)));
                    next = value + 1;
                }
            }
            return like(left, i + 1, end, negated, escape);
        }
    }
    return w.toString();
}

} // namespace

JetSqlRewriter::Result JetSqlRewriter::translate(const QString &sql, Dialect dialect)
{
    return translate(sql, dialect, Options());
}

JetSqlRewriter::Result JetSqlRewriter::translate(const QString &sql, Dialect dialect, const Options &options)
{
    Rewriter r(sql, dialect, options);
    return r.run();
}

} // namespace KRML_ReportGen
