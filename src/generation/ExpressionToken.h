#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// One word of an expression: its kind, where it starts (1-based, counted
// in the whole formula text with its leading "=") and what it says.
struct ExpressionToken
{
    enum class Kind {
        End,
        Number,     // value: a double
        Text,       // value: the text between the quotes
        Date,       // value: a QDateTime
        Field,      // statement and field of {Statement.Field}
        Name,       // a function name or a word operator (text as written)
        Operator,   // text: + - * / \ ^ & = <> < <= > >=
        Open,       // ( or the { right after a function name
        Close,      // ) or }
        Separator,  // , or ;
        Star,       // * as the argument of Count(*)
    };

    Kind kind = Kind::End;
    int position = 0;
    QString text;
    QVariant value;
    QString statement;
    QString field;
};

} // namespace KRML_ReportGen
