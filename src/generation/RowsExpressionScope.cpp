#include "RowsExpressionScope.h"

#include "ExpressionError.h"

namespace KRML_ReportGen {

void RowsExpressionScope::addStatement(const QString &name, const MemoryRecordset &rows)
{
    if (m_default.isEmpty())
        m_default = name;
    m_rows.insert_or_assign(name.toLower(), rows);
}

std::unique_ptr<Recordset> RowsExpressionScope::openRows(const QString &statement)
{
    auto it = m_rows.find(statement.toLower());
    if (it == m_rows.end() && m_loader) {
        if (std::optional<MemoryRecordset> loaded = m_loader(statement))
            it = m_rows.insert_or_assign(statement.toLower(), std::move(*loaded)).first;
    }
    if (it == m_rows.end())
        throw ReportError(ExpressionError::UnknownName, QStringLiteral("The report SQL file has no statement \"%1\"").arg(statement));
    auto rows = std::make_unique<MemoryRecordset>(it->second);
    if (rows->recordCount() > 0)
        rows->moveFirst();
    return rows;
}

void RowsExpressionScope::standOn(const QString &statement, int row)
{
    m_current = openRows(statement);
    for (int i = 0; i < row && !m_current->isEOF(); ++i)
        m_current->moveNext();
    m_row = row;
}

} // namespace KRML_ReportGen
