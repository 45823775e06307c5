#include "JetSqlTokenizer.h"

#include "JetSqlRewriter.h"
#include "SqlLiteralScanner.h"

#include <QRegularExpression>

namespace KRML_ReportGen {

QList<JetSqlTokenizer::Token> JetSqlTokenizer::tokens(QStringView sql)
{
    using T = Token;
    QList<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    const auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    while (i < n) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        T::Kind kind = T::Symbol;
        if (c.isSpace()) {
            while (j < n && sql[j].isSpace())
                ++j;
            kind = T::Space;
        } else if (SqlLiteralScanner::opensPiece(c)) {
            j = SqlLiteralScanner::pieceEnd(sql, i);
            kind = c == QLatin1Char('[') ? T::Name : T::Text;
        } else if (c == QLatin1Char('#')) {
            const qsizetype close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close > i && close - i <= 40) {
                const QString inner = sql.mid(i + 1, close - i - 1).toString();
                static const QRegularExpression dateLike(QStringLiteral("^[0-9/:.\\-\\s]+([AaPp][Mm])?\\s*$"));
                if (JetSqlRewriter::parseDateLiteral(inner)) {
                    j = close + 1;
                    kind = T::Date;
                } else if (dateLike.match(inner).hasMatch()) {
                    j = close + 1; // a date that is none (#2006/02/30#): passed on whole, for the engine to refuse
                }
            }
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            while (j < n && sql[j].isDigit())
                ++j;
            if (c != QLatin1Char('.') && j + 1 < n && sql[j] == QLatin1Char('.') && sql[j + 1].isDigit())
                ++j;
            while (j < n && sql[j].isDigit())
                ++j;
            if (j + 1 < n && (sql[j] == QLatin1Char('e') || sql[j] == QLatin1Char('E'))) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == QLatin1Char('+') || sql[k] == QLatin1Char('-')))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    j = k;
                    while (j < n && sql[j].isDigit())
                        ++j;
                }
            }
            // "12abc" is not a number followed by a name.
            if (j < n && isWordChar(sql[j])) {
                while (j < n && isWordChar(sql[j]))
                    ++j;
                kind = T::Word;
            } else {
                kind = T::Number;
            }
        } else if (isWordChar(c)) {
            while (j < n && isWordChar(sql[j]))
                ++j;
            kind = T::Word;
        } else if (c == QLatin1Char('?')) {
            while (j < n && sql[j].isDigit())
                ++j;
            kind = T::Placeholder;
        } else if (j < n) {
            const QChar d = sql[j];
            if ((c == QLatin1Char('<') && (d == QLatin1Char('=') || d == QLatin1Char('>')))
                || (c == QLatin1Char('>') && d == QLatin1Char('=')) || (c == QLatin1Char('!') && d == QLatin1Char('='))
                || (c == QLatin1Char('|') && d == QLatin1Char('|')))
                ++j;
        }
        out.append({kind, i, j});
        i = j;
    }
    return out;
}

QList<int> JetSqlTokenizer::partners(QStringView sql, const QList<Token> &tokens)
{
    QList<int> partner(tokens.size(), -1);
    QList<int> open;
    for (int k = 0; k < tokens.size(); ++k) {
        const Token &t = tokens[k];
        if (t.kind != Token::Symbol || t.length() != 1)
            continue;
        if (sql[t.start] == QLatin1Char('(')) {
            open.append(k);
        } else if (sql[t.start] == QLatin1Char(')') && !open.isEmpty()) {
            const int o = open.takeLast();
            partner[o] = k;
            partner[k] = o;
        }
    }
    return partner;
}

} // namespace KRML_ReportGen
