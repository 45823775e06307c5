#pragma once

#include "DbConnection.h"
#include "Recordset.h"
#include "VbCollection.h"

#include <memory>

namespace KRML_ReportGen {

// The shared data holder: the report's connection and the connection string
// last given to it, the working connection the wizards choose, and where a
// report's database is looked for. One per thread, reached through
// ModuleState.
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

    // The connection string chosen last in the data wizard or read from the
    // working connection file, and the data source taken from it.
    QString currentConnectionString() const { return m_currentConnectionString; }
    void setCurrentConnectionString(const QString &text) { m_currentConnectionString = text; }
    QString currentDataSource() const { return m_currentDataSource; }
    void setCurrentDataSource(const QString &source) { m_currentDataSource = source; }

    // The folder of the layout package opened last: a report's database
    // that does not exist as written is looked for there.
    QString packageFolder() const { return m_packageFolder; }
    void setPackageFolder(const QString &folder) { m_packageFolder = folder; }

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
    QString m_currentConnectionString;
    QString m_currentDataSource;
    QString m_packageFolder;
    std::shared_ptr<DbConnection> m_connection;
    std::shared_ptr<VariantCollection> m_colCurUsers;
    std::shared_ptr<Recordset> m_curRst;
    qint32 m_curUsersPos = 0;
};

} // namespace KRML_ReportGen
