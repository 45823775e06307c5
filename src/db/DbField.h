#pragma once

#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// One field of a recordset's current row: its column name, its type code
// (AdoType) and its value; a null QVariant for an empty column.
struct DbField
{
    QString name;
    int type = 0;
    QVariant value;

    bool isNull() const { return value.isNull(); }
};

} // namespace KRML_ReportGen
