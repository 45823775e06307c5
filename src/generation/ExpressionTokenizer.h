#pragma once

#include "ExpressionToken.h"

#include <QList>
#include <QString>

namespace KRML_ReportGen {

// Splits the text of an expression (the formula after its leading "=")
// into tokens. Numbers use "." whatever the locale; texts are in double
// quotes with "" for a quote; dates in #...#; {Statement.Field} is a field
// reference, except that a "{" right after a function name opens its
// arguments, as the formula editor writes them: Round{{Orders.Amount}; 2}.
class ExpressionTokenizer
{
public:
    // offset: the position of text's first character in the formula.
    // Throws ExpressionError at the first character that starts no token.
    static QList<ExpressionToken> tokenize(const QString &text, int offset = 2);
};

} // namespace KRML_ReportGen
