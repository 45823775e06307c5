#pragma once

#include "BoundStatement.h"

#include <QHash>
#include <QString>
#include <memory>

namespace KRML_ReportGen {

class DbConnection;
class MemoryRecordset;
class Recordset;

// The rows of each distinct statement (text and bound values) within one
// generation run. A report runs the same statement for several labels (and
// the query loader and the generator both open it); the database is asked
// once and every caller gets its own cursor over the same rows.
class StatementCache
{
public:
    std::unique_ptr<Recordset> open(DbConnection &connection, const BoundStatement &statement);
    int executions() const { return m_executions; }
    void clear() { m_rows.clear(); }

private:
    static QString keyOf(const BoundStatement &statement);
    QHash<QString, std::shared_ptr<const MemoryRecordset>> m_rows;
    int m_executions = 0;
};

} // namespace KRML_ReportGen
