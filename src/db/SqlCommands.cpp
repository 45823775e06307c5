#include "SqlCommands.h"

#include "SqlLiteralScanner.h"

namespace KRML_ReportGen {

namespace {

// Walks the text and calls visit(position) for every character at the top
// level: outside comments, and for quoted text only at its opening quote.
template<typename Visit>
void walkTopLevel(const QString &sql, Visit visit)
{
    const qsizetype n = sql.size();
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < n ? sql[k] : QChar(); };
    while (i < n) {
        const QChar c = sql[i];
        if (c == QLatin1Char('-') && at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')) {
            int depth = 1;
            i += 2;
            while (i < n && depth > 0) {
                if (sql[i] == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')) {
                    ++depth;
                    i += 2;
                } else if (sql[i] == QLatin1Char('*') && at(i + 1) == QLatin1Char('/')) {
                    --depth;
                    i += 2;
                } else {
                    ++i;
                }
            }
            continue;
        }
        if (SqlLiteralScanner::opensPiece(c)) {
            visit(i); // quoted text stands where it starts
            // E'…' (and e'…') takes backslash escapes, as PostgreSQL reads it.
            const bool escapes = c == QLatin1Char('\'') && i > 0 && (sql[i - 1] == QLatin1Char('E') || sql[i - 1] == QLatin1Char('e'))
                && (i == 1 || !(sql[i - 2].isLetterOrNumber() || sql[i - 2] == QLatin1Char('_')));
            if (!escapes) {
                i = SqlLiteralScanner::pieceEnd(sql, i);
                continue;
            }
            for (++i; i < n && sql[i] != QLatin1Char('\''); ++i)
                if (sql[i] == QLatin1Char('\\'))
                    ++i;
            ++i;
            continue;
        }
        if (c == QLatin1Char('$') && !(i > 0 && (sql[i - 1].isLetterOrNumber() || sql[i - 1] == QLatin1Char('_')))) {
            // $tag$ … $tag$ (a "$1" placeholder has no closing "$").
            qsizetype j = i + 1;
            while (j < n && (sql[j].isLetter() || sql[j] == QLatin1Char('_') || (j > i + 1 && sql[j].isDigit())))
                ++j;
            if (j < n && sql[j] == QLatin1Char('$')) {
                visit(i);
                const QString tag = sql.mid(i, j - i + 1);
                const qsizetype end = sql.indexOf(tag, j + 1);
                i = end < 0 ? n : end + tag.size();
                continue;
            }
        }
        visit(i);
        ++i;
    }
}

} // namespace

int SqlCommands::count(const QString &sql)
{
    int commands = 0;
    bool content = false;
    walkTopLevel(sql, [&](qsizetype i) {
        if (sql[i] == QLatin1Char(';')) {
            if (content)
                ++commands;
            content = false;
        } else if (!sql[i].isSpace()) {
            content = true;
        }
    });
    return commands + (content ? 1 : 0);
}

QString SqlCommands::firstWord(const QString &sql)
{
    QString word;
    bool done = false;
    walkTopLevel(sql, [&](qsizetype i) {
        if (done)
            return;
        const QChar c = sql[i];
        if (c.isLetter() || c == QLatin1Char('_') || (!word.isEmpty() && c.isDigit())) {
            word += c.toUpper();
        } else if (!word.isEmpty() || !(c.isSpace() || c == QLatin1Char('('))) {
            done = true;
        }
    });
    return word;
}

} // namespace KRML_ReportGen
