#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The field type codes reports know their columns by, and how a column's
// declared SQL type (or, for a computed column, its value) maps onto them.
class AdoType
{
public:
    enum Code : int {
        Empty = 0,
        SmallInt = 2,
        Integer = 3,
        Single = 4,
        Double = 5,
        Currency = 6,
        Date = 7,
        Boolean = 11,
        TinyInt = 16,
        UnsignedTinyInt = 17,
        BigInt = 20,
        Numeric = 131,
        VarWChar = 202,
        LongVarWChar = 203,
        LongVarBinary = 205,
    };

    // The code for a declared column type such as "INTEGER", "varchar(50)",
    // "CURRENCY" or "Yes/No"; VarWChar for a type nobody recognises.
    static int fromDeclaredType(const QString &declared);
    // The code for a value of a computed column.
    static int fromValue(const QVariant &value);
};

} // namespace KRML_ReportGen
