#pragma once

#include "ExpressionNode.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The values of the formula language and its operators. A value is Null
// (an invalid or null QVariant), a number (double), a text, a date
// (QDateTime) or a truth value.
//
// Null rules: arithmetic, comparison and functions of a Null give Null;
// "&" reads Null as empty text; And, Or and Not follow three-valued logic
// (False And Null is False, True Or Null is True). Text that reads as a
// number counts as one in arithmetic; True counts as -1 and False as 0.
// A date plus or minus a number moves by days; a date minus a date is the
// days between them.
class ExpressionValues
{
public:
    static bool isNull(const QVariant &v) { return !v.isValid() || v.isNull(); }
    static bool isNumber(const QVariant &v);
    static bool isDate(const QVariant &v);

    // Conversions; a value that is none of the kind asked for is a type
    // mismatch (error 13).
    static double number(const QVariant &v);
    static QString text(const QVariant &v);
    static QDateTime date(const QVariant &v);
    static bool truth(const QVariant &v);

    static QVariant unary(ExpressionNode::Op op, const QVariant &a);
    static QVariant binary(ExpressionNode::Op op, const QVariant &a, const QVariant &b);
    // -1, 0 or 1; both values not Null. Numbers by value, texts by their
    // characters, dates by time.
    static int compare(const QVariant &a, const QVariant &b);
};

} // namespace KRML_ReportGen
