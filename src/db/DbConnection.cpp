#include "DbConnection.h"

#include "DbEngine.h"
#include "DbProviders.h"
#include "PasswordMask.h"
#include "ReportError.h"

namespace KRML_ReportGen {

DbConnection::DbConnection(QString connectionString)
    : DbConnection(std::move(connectionString), DbProviders::standard())
{
}

DbConnection::DbConnection(QString connectionString, const DbProviders &providers)
    : m_connectionString(std::move(connectionString)), m_providers(providers)
{
}

DbConnection::~DbConnection()
{
    if (m_engine)
        m_engine->close();
}

void DbConnection::setConnectionString(const QString &text)
{
    if (m_engine)
        throw ReportError(OperationNotAllowedWhenOpen, QStringLiteral("Operation is not allowed when the object is open."));
    m_connectionString = text;
}

void DbConnection::open(const QString &, const QString &, int)
{
    if (m_engine)
        throw ReportError(OperationNotAllowedWhenOpen, QStringLiteral("Operation is not allowed when the object is open."));
    try {
        m_engine = m_providers.open(m_connectionString);
    } catch (const ReportError &e) {
        // A provider's message may quote the connection string.
        throw ReportError(e.number(), PasswordMask::hide(e.description()), e.source());
    }
    m_engine->setLimits(m_limits);
    m_engine->setParameterValues(m_parameterValues);
}

void DbConnection::setLimits(const StatementLimits &limits)
{
    m_limits = limits;
    if (m_engine)
        m_engine->setLimits(limits);
}

void DbConnection::setParameterValues(const QHash<QString, QVariant> &values)
{
    m_parameterValues = values;
    if (m_engine)
        m_engine->setParameterValues(values);
}

void DbConnection::close()
{
    if (!m_engine)
        throw ReportError(OperationNotAllowedWhenClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    m_engine->close();
    m_engine.reset();
}

DbEngine &DbConnection::engine()
{
    if (!m_engine)
        throw ReportError(OperationNotAllowedWhenClosed, QStringLiteral("Operation is not allowed when the object is closed."));
    return *m_engine;
}

std::unique_ptr<Recordset> DbConnection::execute(const QString &sql, int)
{
    return engine().run(sql, {});
}

std::unique_ptr<Recordset> DbConnection::execute(const BoundStatement &statement, int)
{
    return engine().run(statement.sql, statement.values);
}

std::unique_ptr<Recordset> DbConnection::openRecordset(const QString &sql, CursorType, LockType, int)
{
    // Every engine fetches the whole result, which is what a keyset cursor
    // promises: a true record count and free movement over the rows.
    return engine().run(sql, {});
}

std::unique_ptr<Recordset> DbConnection::openRecordset(const BoundStatement &statement, CursorType, LockType, int)
{
    return engine().run(statement.sql, statement.values);
}

std::unique_ptr<Recordset> DbConnection::tableSchema()
{
    return engine().tables();
}

std::unique_ptr<Recordset> DbConnection::describe(const QString &sql)
{
    return engine().describe(sql, {});
}

std::unique_ptr<Recordset> DbConnection::describe(const BoundStatement &statement)
{
    return engine().describe(statement.sql, statement.values);
}

QStringList DbConnection::columnSchema(const QString &table)
{
    return engine().columns(table);
}

} // namespace KRML_ReportGen
