#pragma once

#include "RowData.h"

#include <QList>

namespace KRML_ReportGen {

// Rows held as values, for recordsets a program builds itself.
class VariantRows : public RowData
{
public:
    explicit VariantRows(int columns) : m_columns(columns) {}

    void append(const QList<QVariant> &row)
    {
        for (int c = 0; c < m_columns; ++c)
            m_values.append(c < row.size() ? row[c] : QVariant());
        ++m_rows;
    }
    int rowCount() const override { return m_rows; }
    QVariant value(int row, int column) const override { return m_values[qsizetype(row) * m_columns + column]; }

private:
    int m_columns;
    int m_rows = 0;
    QList<QVariant> m_values;
};

} // namespace KRML_ReportGen
