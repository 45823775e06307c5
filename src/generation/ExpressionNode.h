#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace KRML_ReportGen {

// A parsed expression as a tree. Every node keeps the position of the token
// it came from, so that an error while it is worked out can say where.
struct ExpressionNode
{
    enum class Kind { Literal, Field, Unary, Binary, Call, AllRows };
    enum class Op {
        None,
        Negate, Not,
        Power, Multiply, Divide, IntDivide, Mod, Add, Subtract, Concat,
        Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual,
        And, Or,
    };

    Kind kind = Kind::Literal;
    int position = 0;
    QVariant value;          // Literal
    QString statement;       // Field; for an aggregate, the statement whose rows it runs over
    QString field;           // Field
    mutable int column = -1; // Field: the column once the rows are known
    Op op = Op::None;        // Unary, Binary
    int function = -1;       // Call: the index in ExpressionFunctions::all()
    std::vector<std::unique_ptr<ExpressionNode>> args;
};

} // namespace KRML_ReportGen
