#include "StatementCache.h"

#include "DbConnection.h"
#include "MemoryRecordset.h"

namespace KRML_ReportGen {

std::unique_ptr<Recordset> StatementCache::open(DbConnection &connection, const QString &sql)
{
    const auto it = m_rows.constFind(sql);
    if (it != m_rows.constEnd())
        return std::make_unique<MemoryRecordset>(**it); // rows shared, cursor of its own
    std::unique_ptr<Recordset> rs = connection.openRecordset(sql, DbConnection::Keyset, DbConnection::Optimistic, -1);
    ++m_executions;
    auto *memory = dynamic_cast<MemoryRecordset *>(rs.get());
    if (!memory)
        return rs; // an engine with its own recordsets: nothing to share
    auto shared = std::shared_ptr<const MemoryRecordset>(static_cast<MemoryRecordset *>(rs.release()));
    m_rows.insert(sql, shared);
    return std::make_unique<MemoryRecordset>(*shared);
}

} // namespace KRML_ReportGen
