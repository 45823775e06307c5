#include "clsData.h"

#include "DataSourceLocator.h"
#include "MemoryRecordset.h"

namespace KRML_ReportGen {

std::shared_ptr<DbConnection> clsData::RDDataConnection()
{
    if (!m_connection)
        m_connection = std::make_shared<DbConnection>();
    return m_connection;
}

void clsData::setRDDataConnection(std::shared_ptr<DbConnection> connection)
{
    m_connection.reset();
    m_connection = std::move(connection);
    // A connection of the host's own reports its own string.
    m_locatedString.clear();
}

QString clsData::RDDataConnectionString()
{
    const QString reported = RDDataConnection()->connectionString();
    // A host may since have replaced the connection or its string.
    if (!m_locatedString.isEmpty() && reported == m_locatedString)
        return m_connectionString;
    return reported;
}

void clsData::setRDDataConnectionString(const QString &text)
{
    m_connectionString = text;
    auto connection = RDDataConnection();
    if (connection->state() == DbConnection::Open)
        connection->close();
    // A data source that does not exist as written (a report made on
    // another machine) is looked for beside the package and the host.
    m_locatedString = DataSourceLocator::resolve(text, DataSourceLocator::standardFolders());
    connection->setConnectionString(m_locatedString);
    connection->open(QString(), QString());
}

std::shared_ptr<Recordset> clsData::CurRst()
{
    if (!m_curRst)
        m_curRst = std::make_shared<MemoryRecordset>();
    return m_curRst;
}

std::shared_ptr<VariantCollection> clsData::ColCurUsers()
{
    if (!m_colCurUsers)
        m_colCurUsers = std::make_shared<VariantCollection>();
    return m_colCurUsers;
}

} // namespace KRML_ReportGen
