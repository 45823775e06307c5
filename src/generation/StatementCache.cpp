#include "StatementCache.h"

#include "DbConnection.h"
#include "MemoryRecordset.h"

namespace KRML_ReportGen {

QString StatementCache::keyOf(const BoundStatement &statement)
{
    if (statement.values.isEmpty())
        return statement.sql;
    // The text, then each value with its type, exactly.
    QString key = statement.sql;
    for (const BoundValue &v : statement.values) {
        key += QChar(0) + QString::number(int(v.type())) + QChar(1);
        key += v.type() == BoundValue::Type::Double ? QString::number(v.toDouble(), 'g', 17) : v.toVariant().toString();
    }
    return key;
}

std::unique_ptr<Recordset> StatementCache::open(DbConnection &connection, const BoundStatement &statement)
{
    const QString key = keyOf(statement);
    const auto it = m_rows.constFind(key);
    if (it != m_rows.constEnd())
        return std::make_unique<MemoryRecordset>(**it); // rows shared, cursor of its own
    std::unique_ptr<Recordset> rs = connection.openRecordset(statement, DbConnection::Keyset, DbConnection::Optimistic, -1);
    ++m_executions;
    auto *memory = dynamic_cast<MemoryRecordset *>(rs.get());
    if (!memory)
        return rs; // an engine with its own recordsets: nothing to share
    auto shared = std::shared_ptr<const MemoryRecordset>(static_cast<MemoryRecordset *>(rs.release()));
    m_rows.insert(key, shared);
    return std::make_unique<MemoryRecordset>(*shared);
}

} // namespace KRML_ReportGen
