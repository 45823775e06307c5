#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace KRML_ReportGen {

// A report statement cut into the pieces the dialect rewriter works on.
// Quoted pieces ('text', "text", [name]) are found by SqlLiteralScanner, so
// nothing inside them is ever taken for SQL. Every character of the
// statement belongs to exactly one token, in order.
class JetSqlTokenizer
{
public:
    struct Token
    {
        enum Kind {
            Space,       // blanks and line breaks
            Word,        // a keyword, a name or a function name
            Name,        // [a bracketed name]
            Text,        // 'text' or "text"
            Number,      // 12, 1.5, 1e3
            Date,        // #2024/03/15# (only when it reads as a date)
            Placeholder, // ?1, ?
            Symbol,      // operators and punctuation ("<=", "<>" and "||" as one)
        };
        Kind kind = Symbol;
        qsizetype start = 0;
        qsizetype end = 0;
        qsizetype length() const { return end - start; }
    };

    static QList<Token> tokens(QStringView sql);
    // For each "(" the index of its ")" and the other way round; -1 for
    // every other token and for a bracket without its partner.
    static QList<int> partners(QStringView sql, const QList<Token> &tokens);
};

} // namespace KRML_ReportGen
