#pragma once

#include "BoundValue.h"
#include "Recordset.h"
#include "StatementLimits.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>
#include <QStringList>
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
    // values[i] is bound to the placeholder ?(i+1) of the text (see
    // BoundStatement): as a value of its type, never as text spliced into
    // the statement. Without values the text runs as written.
    // Errors are ReportErrors with the numbers of ProviderErrors.
    virtual std::unique_ptr<Recordset> run(const QString &sql, const QList<BoundValue> &values) = 0;
    // The fields a statement would give (names and types), without running
    // it to its rows: an open recordset with no rows.
    virtual std::unique_ptr<Recordset> describe(const QString &sql, const QList<BoundValue> &values) = 0;
    // The limits every later statement runs under.
    virtual void setLimits(const StatementLimits &limits) = 0;
    // One row per table and view, with the columns TABLE_CATALOG, TABLE_SCHEMA,
    // TABLE_NAME and TABLE_TYPE.
    virtual std::unique_ptr<Recordset> tables() = 0;
    // The column names of a table or view, in their order, from the
    // engine's own schema (no query on the table itself, which some
    // drivers refuse in the forms others accept). A table that is not
    // there is the provider error for a missing table.
    virtual QStringList columns(const QString &table) = 0;
    virtual void close() = 0;
    // The values of the parameters statements declare (PARAMETERS) or
    // saved parameter queries ask for, by name in lower case.
    virtual void setParameterValues(const QHash<QString, QVariant> &values) = 0;
};

} // namespace KRML_ReportGen
