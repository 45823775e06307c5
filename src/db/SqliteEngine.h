#pragma once

#include "ConnectionString.h"
#include "DbEngine.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace KRML_ReportGen {

// The embedded engine: a SQLite database file opened through the SQLite C
// library. Field types come from the columns' declared types; a computed
// column takes the type of its values.
//
// A database is opened read-only unless its connection string says
// ReadOnly=False: the file is opened for reading and the connection set to
// query only, ATTACH is refused, and a statement that would write is
// refused before it runs, with a message that names it. A database in
// memory is the connection's own and stays writable. Every statement runs
// under the connection's limits: a progress handler stops it at its
// deadline, and fetching stops when the result grows beyond its size.
class SqliteEngine : public DbEngine
{
public:
    enum Acceptance {
        AnyFile,         // the engine's own provider: any file it can open
        SqliteFilesOnly, // a foreign provider's string: decline files of other formats
    };

    // The engine for the "Data Source" of a connection string; nullptr when
    // acceptance is SqliteFilesOnly and the file is not a SQLite database.
    // "Mode=Read" opens read-only; ":memory:" opens an empty database in memory.
    static std::unique_ptr<SqliteEngine> open(const ConnectionString &cs, Acceptance acceptance);
    // Opens a database file only to read it (a converted Access file);
    // shownName is what messages call it.
    static std::unique_ptr<SqliteEngine> openReadOnly(const QString &path, const QString &shownName);
    // Creates (or opens) a database file for building one from a script.
    static std::unique_ptr<SqliteEngine> create(const QString &path);
    // True when the file starts with the SQLite header.
    static bool isSqliteFile(const QString &path);

    ~SqliteEngine() override;

    std::unique_ptr<Recordset> run(const QString &sql, const QList<BoundValue> &values) override;
    std::unique_ptr<Recordset> describe(const QString &sql, const QList<BoundValue> &values) override;
    void setLimits(const StatementLimits &limits) override { m_limits = limits; }
    std::unique_ptr<Recordset> tables() override;
    QStringList columns(const QString &table) override;
    void close() override;
    bool isReadOnly() const { return m_readOnly; }
    void setParameterValues(const QHash<QString, QVariant> &values) override;

    // Runs a script of several statements (building example databases).
    void runScript(const QString &sql);
    // The SQLite handle, for importers that fill a database in bulk.
    sqlite3 *handle() const { return m_db; }
    // A query that cannot be a view (a crosstab whose columns depend on its
    // parameters): "SELECT * FROM [name]" runs its statement instead.
    void addStoredQuery(const QString &name, const QString &sql);

private:
    // path: the file, when the engine gives its tables the legacy meaning
    // through SqliteShadowViews; empty for a database it built itself (or
    // converted, with the meaning already in its columns).
    SqliteEngine(sqlite3 *db, bool readOnly, const QString &path = QString());
    static sqlite3 *openHandle(const QString &path, const QString &shownName, bool readOnly);
    [[noreturn]] void raise(int rc, const QString &sql);
    // A stored query's statement for "SELECT * FROM [name]", else empty.
    QString storedStatement(const QString &sql) const;
    // Runs a statement; without rows, only its fields are looked at.
    std::unique_ptr<Recordset> execute(const QString &sql, const QList<BoundValue> &values, bool fetchRows);
    // Prepares the statement (already rewritten from the Jet dialect) with
    // its values bound; refuses one that writes on a read-only connection.
    // sql is the statement as written, for messages.
    sqlite3_stmt *prepare(const QString &sql, const QByteArray &rewritten, const QList<BoundValue> &values);
    // The shadow views in place before a statement that reads, put aside
    // before any other; on a read-only connection the temporary schema is
    // made writable for that alone.
    void arrangeShadows(bool reads);
    // The declared types the statement's columns have in the file itself,
    // where the shadow views hide them (a column read through COLLATE or
    // jet_datetext has none of its own).
    QList<QByteArray> fileTypes(const QByteArray &statement, int columns);
    void bind(sqlite3_stmt *statement, const QList<BoundValue> &values);
    // A statement's time starts.
    void startClock();
    static int progress(void *engine);
    static int authorize(void *engine, int action, const char *, const char *, const char *, const char *);

    sqlite3 *m_db;
    bool m_readOnly;
    bool m_arranging = false; // the engine itself lifts query_only for its shadow views
    StatementLimits m_limits;
    QDeadlineTimer m_deadline{QDeadlineTimer::Forever};
    QString m_path;
    sqlite3 *m_plain = nullptr; // the same file without the views, for fileTypes
    QHash<QString, QVariant> m_parameters; // by name in lower case
    QHash<QString, QString> m_stored;      // by name in lower case
    std::unique_ptr<class SqliteShadowViews> m_shadows;
};

} // namespace KRML_ReportGen
