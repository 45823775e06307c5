#pragma once

#include <QString>

namespace KRML_ReportGen {

// A parameter's marker is its name followed directly by its type suffix:
// Customer(String), Start(Date), Qty(Number), Region(Lookup). The type is
// read from the last six characters only, the name up to the first "(".
// Statements are run with their markers bound (ParameterBinding).
class ParameterMarker
{
public:
    // -1 when the last six characters name no type.
    static int typeOf(const QString &marker);
    static QString nameOf(const QString &marker);
    static QString make(const QString &name, int type);
    static QString suffix(int type);
    static QString typeName(int type);
};

} // namespace KRML_ReportGen
