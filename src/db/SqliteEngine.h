#pragma once

#include "ConnectionString.h"
#include "DbEngine.h"

struct sqlite3;
struct sqlite3_stmt;

namespace KRML_ReportGen {

// The embedded engine: a SQLite database file opened through the SQLite C
// library. Field types come from the columns' declared types; a computed
// column takes the type of its values.
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
    // Creates (or opens) a database file for building one from a script.
    static std::unique_ptr<SqliteEngine> create(const QString &path);
    // True when the file starts with the SQLite header.
    static bool isSqliteFile(const QString &path);

    ~SqliteEngine() override;

    std::unique_ptr<Recordset> run(const QString &sql, const QList<BoundValue> &values) override;
    std::unique_ptr<Recordset> tables() override;
    QStringList columns(const QString &table) override;
    void close() override;

    // Runs a script of several statements (building example databases).
    void runScript(const QString &sql);
    // The SQLite handle, for importers that fill a database in bulk.
    sqlite3 *handle() const { return m_db; }

private:
    explicit SqliteEngine(sqlite3 *db);
    [[noreturn]] void raise(int rc);
    void bind(sqlite3_stmt *statement, const QList<BoundValue> &values);
    sqlite3 *m_db;
};

} // namespace KRML_ReportGen
