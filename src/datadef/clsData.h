#pragma once

#include "DbConnection.h"
#include "Recordset.h"
#include "VbCollection.h"

#include <memory>

namespace KRML_ReportGen {

// The shared data holder: the report's connection and the connection string
// last given to it. One per thread, reached through ModuleState.
class clsData
{
public:
    // Created closed and empty on first use.
    std::shared_ptr<DbConnection> RDDataConnection();
    void setRDDataConnection(std::shared_ptr<DbConnection> connection);

    // The connection string as it was given: where the data source had to
    // be looked for on this machine, the text as set, not the local path it
    // was found at (that is only used to connect). Otherwise the string the
    // connection reports.
    QString RDDataConnectionString();
    // Keeps the text, closes the connection if open and opens it with the
    // text (its data source located, see DataSourceLocator). A provider's
    // failure reaches the caller; the connection then stays closed.
    void setRDDataConnectionString(const QString &text);

    // Kept for the host; the report itself does not use them.
    std::shared_ptr<Recordset> CurRst();
    void setCurRst(std::shared_ptr<Recordset> recordset) { m_curRst = std::move(recordset); }
    std::shared_ptr<VariantCollection> ColCurUsers();
    void setColCurUsers(std::shared_ptr<VariantCollection> collection) { m_colCurUsers = std::move(collection); }
    qint32 CurUsersPos() const { return m_curUsersPos; }
    void setCurUsersPos(qint32 pos) { m_curUsersPos = pos; }

private:
    QString m_connectionString;
    // The string the connection was given for m_connectionString; empty
    // once the host set a connection of its own.
    QString m_locatedString;
    std::shared_ptr<DbConnection> m_connection;
    std::shared_ptr<VariantCollection> m_colCurUsers;
    std::shared_ptr<Recordset> m_curRst;
    qint32 m_curUsersPos = 0;
};

} // namespace KRML_ReportGen
