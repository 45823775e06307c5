#pragma once

#include "KRMLReportGenExport.h"
#include "BoundStatement.h"
#include "Recordset.h"
#include "StatementLimits.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QStringList>
#include <memory>

namespace KRML_ReportGen {

class DbEngine;
class DbProviders;

// A database connection as reports use it: a connection string, a state
// (0 closed, 1 open), Open and Close, Execute, recordsets and the table
// schema. The engine behind it is chosen from the connection string when it
// opens.
class KRML_REPORTGEN_EXPORT DbConnection
{
public:
    enum State { Closed = 0, Open = 1 };
    enum CursorType { ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };
    enum LockType { ReadOnly = 1, Pessimistic = 2, Optimistic = 3 };

    explicit DbConnection(QString connectionString = QString());
    // With another set of engines than the standard ones.
    KRML_REPORTGEN_NO_EXPORT DbConnection(QString connectionString, const DbProviders &providers);
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    int state() const { return m_engine ? Open : Closed; }
    QString connectionString() const { return m_connectionString; }
    // Only while closed, as with every connection object.
    void setConnectionString(const QString &text);

    // Opens with the connection string (user and password empty, options -1).
    void open(const QString &user = QString(), const QString &password = QString(), int options = -1);
    void close();

    // How long a statement may run and how much of its result may be held
    // (StatementLimits' defaults unless set); kept across close and open.
    StatementLimits limits() const { return m_limits; }
    void setLimits(const StatementLimits &limits);

    // Runs a statement; rows come back as an open recordset.
    std::unique_ptr<Recordset> execute(const QString &sql, int options = -1);
    // Runs a statement with its values bound to its placeholders.
    std::unique_ptr<Recordset> execute(const BoundStatement &statement, int options = -1);
    // Opens a recordset on this connection (keyset cursor, optimistic lock).
    std::unique_ptr<Recordset> openRecordset(const QString &sql, CursorType cursorType = Keyset,
                                             LockType lockType = Optimistic, int options = -1);
    std::unique_ptr<Recordset> openRecordset(const BoundStatement &statement, CursorType cursorType = Keyset,
                                             LockType lockType = Optimistic, int options = -1);
    // One row per table, with the column "Table_Name" among others. The
    // engine's own bookkeeping tables are left out; the "MSys" tables of an
    // Access file are not, and callers drop them.
    std::unique_ptr<Recordset> tableSchema();
    // The fields a statement would give, without fetching its rows.
    std::unique_ptr<Recordset> describe(const QString &sql);
    std::unique_ptr<Recordset> describe(const BoundStatement &statement);
    // The values for parameters that statements declare (PARAMETERS) and
    // that saved parameter queries ask for, by name (any letter case).
    // They stay with the connection, across opening and closing.
    void setParameterValues(const QHash<QString, QVariant> &values);
    // The column names of a table, in order, from the schema.
    QStringList columnSchema(const QString &table);

    static constexpr qint32 OperationNotAllowedWhenOpen = 3705;
    static constexpr qint32 OperationNotAllowedWhenClosed = 3704;

private:
    DbEngine &engine();

    QString m_connectionString;
    const DbProviders &m_providers;
    std::unique_ptr<DbEngine> m_engine;
    StatementLimits m_limits;
    QHash<QString, QVariant> m_parameterValues;
};

} // namespace KRML_ReportGen
