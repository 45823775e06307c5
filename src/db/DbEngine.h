#pragma once

#include "Recordset.h"
#include "StatementLimits.h"

#include <QString>
#include <memory>

namespace KRML_ReportGen {

// One open database of one engine. DbConnection talks to every engine
// through this interface; supporting another engine means writing one class
// like SqliteEngine and registering it with DbProviders.
class DbEngine
{
public:
    virtual ~DbEngine() = default;

    // Runs one statement. A statement with a result gives an open recordset
    // with every row fetched; one without (an UPDATE, a CREATE) a closed one.
    // Errors are ReportErrors with the numbers of ProviderErrors.
    virtual std::unique_ptr<Recordset> run(const QString &sql) = 0;
    // The fields a statement would give (names and types), without running
    // it to its rows: an open recordset with no rows.
    virtual std::unique_ptr<Recordset> columns(const QString &sql) = 0;
    // The limits every later statement runs under.
    virtual void setLimits(const StatementLimits &limits) = 0;
    // One row per table and view, with the columns TABLE_CATALOG, TABLE_SCHEMA,
    // TABLE_NAME and TABLE_TYPE.
    virtual std::unique_ptr<Recordset> tables() = 0;
    virtual void close() = 0;
};

} // namespace KRML_ReportGen
