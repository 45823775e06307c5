#pragma once

#include "VbCollection.h"

#include <QString>
#include <QtGlobal>

namespace KRML_ReportGen {

// One report parameter. A Lookup parameter takes its value from the first
// rows of its SQL (with "*" standing for the return field); the other types
// are typed in by the user or supplied by the host.
class clsParameter
{
public:
    enum Type : qint32 { Date = 0, Number = 1, String = 2, Lookup = 3 };

    qint32 ParamType = Date;
    QString ParameterName;
    qint16 Mode = 0; // lookups: 1 table-based, 2 free SQL
    QString DisplayField;
    QString ReturnField;
    QString SQL;

    friend bool operator==(const clsParameter &a, const clsParameter &b)
    {
        return a.ParamType == b.ParamType && a.ParameterName == b.ParameterName && a.Mode == b.Mode
            && a.DisplayField == b.DisplayField && a.ReturnField == b.ReturnField && a.SQL == b.SQL;
    }
    friend bool operator!=(const clsParameter &a, const clsParameter &b) { return !(a == b); }
};

using ParameterCollection = VbCollection<clsParameter>;

} // namespace KRML_ReportGen
