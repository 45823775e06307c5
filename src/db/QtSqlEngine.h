#pragma once

#include "ConnectionString.h"
#include "DbEngine.h"
#include "JetSqlRewriter.h"
#include "ReportError.h"

#include <QString>

class QSqlError;
class QSqlField;

namespace KRML_ReportGen {

// A database server or driver reached through one of Qt's SQL drivers:
// PostgreSQL (QPSQL) and ODBC (QODBC). Every statement is fetched whole,
// field types become the codes the embedded engine gives for the same
// columns, and the driver's errors become the provider errors reports tell
// apart. Opening gives up after a timeout ("Connect Timeout", 15 seconds
// unless the string says otherwise), so an unreachable server never hangs
// a report.
//
// Unless the connection string says ReadOnly=False, reports only read:
// PostgreSQL runs every statement in a read-only transaction of its own
// (the server refuses any write in it) with the statement timeout of the
// connection's limits; ODBC asks the driver for read-only access and takes
// only statements that start as queries do (SELECT, WITH, VALUES). On
// both, a text of several commands is refused, since a server would run
// them all.
class QtSqlEngine : public DbEngine
{
public:
    enum Kind { PostgreSql, Odbc };

    // "Provider=PostgreSQL;Host=…;Port=…;Database=…;User ID=…;Password=…"
    // ("Server", "Data Source", "Initial Catalog", "UID", "PWD" are read too).
    static std::unique_ptr<QtSqlEngine> openPostgreSql(const ConnectionString &cs);
    // "DSN=…" or "Driver={…};…" (with or without "Provider=MSDASQL"); the
    // rest of the string goes to the driver manager as it stands.
    static std::unique_ptr<QtSqlEngine> openOdbc(const ConnectionString &cs);

    ~QtSqlEngine() override;

    std::unique_ptr<Recordset> run(const QString &sql, const QList<BoundValue> &values) override;
    std::unique_ptr<Recordset> describe(const QString &sql, const QList<BoundValue> &values) override;
    void setLimits(const StatementLimits &limits) override { m_limits = limits; }
    std::unique_ptr<Recordset> tables() override;
    QStringList columns(const QString &table) override;
    void close() override;
    void setParameterValues(const QHash<QString, QVariant> &values) override;

    // The dialect statements are written in for this connection: PostgreSQL's
    // own SQL, or through ODBC the SQL of the database behind the driver
    // (SQLite, PostgreSQL) or the ODBC escapes.
    JetSqlRewriter::Dialect dialect() const { return m_dialect; }

    // The type code of a result column: from the server's own type number
    // (a PostgreSQL type oid, an ODBC SQL type) where there is one.
    static int typeCode(Kind kind, int nativeType, int metaType);
    // A rewritten statement's numbered placeholders as the driver takes
    // them: one "?" per occurrence, in text order, with the value for each
    // in bound. On PostgreSQL each carries its type (CAST(? AS timestamp)),
    // so that a value means what its parameter type says whatever it is
    // compared with; dates go as their text there and as dates through ODBC.
    static QString positional(Kind kind, const QString &sql, const QList<BoundValue> &values, QList<QVariant> &bound);
    // The provider error for a driver error (SQLSTATE and message).
    static ReportError providerError(const QString &sqlState, const QString &message);

    static constexpr int DefaultConnectTimeout = 15;

private:
    QtSqlEngine(Kind kind, QString connectionName, bool readOnly);
    static std::unique_ptr<QtSqlEngine> openWith(Kind kind, const QString &driver, const QString &databaseName,
                                                 const ConnectionString &cs, const QString &options,
                                                 const QString &host = QString(), int port = -1);
    static int connectTimeout(const ConnectionString &cs);
    [[noreturn]] void raise(const QSqlError &error, const QString &sql) const;
    // Runs a statement; without rows, only its fields are looked at.
    std::unique_ptr<Recordset> execute(const QString &sql, const QList<BoundValue> &values, bool fetchRows);
    // Refuses, on a read-only connection, what the server would not be
    // stopped from writing with.
    void checkReadOnly(const QString &sql, const QString &text) const;

    Kind m_kind;
    QString m_connectionName;
    bool m_readOnly;
    StatementLimits m_limits;
    JetSqlRewriter::Dialect m_dialect = JetSqlRewriter::Odbc;
    QHash<QString, QVariant> m_parameters; // by name in lower case
};

} // namespace KRML_ReportGen
