#include "JetSqlRewriter.h"

#include "JetDateText.h"
#include "SqlLiteralScanner.h"

#include <QRegularExpression>

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

namespace {

// True when the next thing after position at (blanks skipped) is "(".
bool callFollows(const QString &sql, int at)
{
    while (at < sql.size() && sql[at] == QLatin1Char(' '))
        ++at;
    return at < sql.size() && sql[at] == QLatin1Char('(');
}

// True when the text so far ends with SELECT or SELECT DISTINCT.
bool afterSelect(const QString &out)
{
    const QString tail = out.right(20).simplified().toUpper();
    return tail.endsWith(QLatin1String("SELECT")) || tail.endsWith(QLatin1String("SELECT DISTINCT"));
}

} // namespace

namespace {

bool isPlainWord(QStringView name)
{
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == QLatin1Char('_')))
        return false;
    for (QChar ch : name)
        if (!(ch.isLetterOrNumber() || ch == QLatin1Char('_')) || ch.unicode() > 127)
            return false;
    return true;
}

// A quoted piece (a 'string', a "string" or a [name]) as the dialect writes it.
QString requote(QStringView piece, JetSqlRewriter::Dialect dialect)
{
    if (dialect != JetSqlRewriter::PostgreSql || piece.size() < 2)
        return piece.toString();
    const QChar open = piece[0];
    const QChar last = piece[piece.size() - 1];
    if (open == QLatin1Char('[') && last == QLatin1Char(']')) {
        // Unquoted names fold to one case there, as Jet compares names
        // without regard to case; only names that need quotes keep them.
        const QStringView name = piece.mid(1, piece.size() - 2);
        if (isPlainWord(name))
            return name.toString();
        return QLatin1Char('"') + name.toString().replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    }
    if (open == QLatin1Char('"') && last == QLatin1Char('"')) {
        // A text literal of the dialect, a name there.
        QString text = piece.mid(1, piece.size() - 2).toString();
        text.replace(QLatin1String("\"\""), QLatin1String("\""));
        text.replace(QLatin1Char('\''), QLatin1String("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    }
    return piece.toString();
}

QString dateLiteral(const QDateTime &dt, bool withTime, JetSqlRewriter::Dialect dialect)
{
    const QString text = withTime ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                  : dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    switch (dialect) {
    case JetSqlRewriter::PostgreSql:
        return (withTime ? QLatin1String("TIMESTAMP '") : QLatin1String("DATE '")) + text + QLatin1Char('\'');
    case JetSqlRewriter::Odbc:
        return (withTime ? QLatin1String("{ts '") : QLatin1String("{d '")) + text + QLatin1String("'}");
    case JetSqlRewriter::Sqlite:
        break;
    }
    return QLatin1Char('\'') + JetDateText::canonical(dt) + QLatin1Char('\'');
}

} // namespace

QString JetSqlRewriter::rewrite(const QString &sql, Dialect dialect)
{
    const bool odbc = dialect == Odbc;
    QString out;
    QString limit;
    out.reserve(sql.size());
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (SqlLiteralScanner::opensPiece(c)) {
            const int end = int(SqlLiteralScanner::pieceEnd(sql, i));
            out += requote(QStringView(sql).mid(i, end - i), dialect);
            i = end;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close > i && close - i <= 40) {
                bool withTime = false;
                const auto dt = parseDateLiteral(sql.mid(i + 1, close - i - 1), &withTime);
                if (dt) {
                    out += dateLiteral(*dt, withTime, dialect);
                    i = close + 1;
                    continue;
                }
            }
        }
        if (odbc) {
            out += c;
            ++i;
            continue;
        }
        if (c == QLatin1Char('&')) {
            // Text concatenation.
            out += QLatin1String("||");
            ++i;
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
                ++j;
            const QStringView word = QStringView(sql).mid(i, j - i);
            // A name written after a "." (a table's column) is a name, not a word of the dialect.
            const bool qualified = i > 0 && sql[i - 1] == QLatin1Char('.');
            // Yes and No are the dialect's other names for True and False.
            const bool yes = word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0
                || word.compare(QLatin1String("Yes"), Qt::CaseInsensitive) == 0;
            const bool no = word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0
                || word.compare(QLatin1String("No"), Qt::CaseInsensitive) == 0;
            if (!qualified && yes)
                out += dialect == Sqlite ? QLatin1String("1") : QLatin1String("TRUE");
            else if (!qualified && no)
                out += dialect == Sqlite ? QLatin1String("0") : QLatin1String("FALSE");
            else if (!qualified && word.compare(QLatin1String("DISTINCTROW"), Qt::CaseInsensitive) == 0)
                out += QLatin1String("DISTINCT");
            else if (!qualified && word.compare(QLatin1String("TOP"), Qt::CaseInsensitive) == 0 && limit.isEmpty()
                     && afterSelect(out)) {
                // SELECT TOP n: the engine writes the limit at the end.
                int k = j;
                while (k < n && sql[k] == QLatin1Char(' '))
                    ++k;
                int d = k;
                while (d < n && sql[d].isDigit())
                    ++d;
                if (d > k) {
                    limit = sql.mid(k, d - k);
                    while (d < n && sql[d] == QLatin1Char(' '))
                        ++d;
                    j = d;
                } else {
                    out += word;
                }
            }
            else if (!qualified && dialect == Sqlite && callFollows(sql, j)
                     && (word.compare(QLatin1String("Left"), Qt::CaseInsensitive) == 0
                         || word.compare(QLatin1String("Right"), Qt::CaseInsensitive) == 0))
                // LEFT and RIGHT are words of the engine's joins: the
                // dialect's functions go by other names there.
                out += QLatin1String("jet_") + word.toString().toLower();
            else
                out += word;
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    if (!limit.isEmpty()) {
        // Before any closing blanks and ";".
        int end = int(out.size());
        while (end > 0 && (out[end - 1].isSpace() || out[end - 1] == QLatin1Char(';')))
            --end;
        out.insert(end, QStringLiteral(" LIMIT ") + limit);
    }
    return out;
}

} // namespace KRML_ReportGen
