#pragma once

#include <QVariant>

namespace KRML_ReportGen {

// The rows behind a recordset, read-only once built. Recordsets over the
// same rows share one RowData and keep a cursor each; an engine may store
// its rows in whatever form is cheapest and make values only when asked.
class RowData
{
public:
    virtual ~RowData() = default;
    virtual int rowCount() const = 0;
    virtual QVariant value(int row, int column) const = 0;
};

} // namespace KRML_ReportGen
