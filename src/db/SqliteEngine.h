#pragma once

#include "ConnectionString.h"
#include "DbEngine.h"

#include <QHash>
#include <QVariant>

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
    // through SqliteShadowViews; empty for a database it built itself.
    SqliteEngine(sqlite3 *db, const QString &path = QString());
    [[noreturn]] void raise(int rc);
    std::unique_ptr<Recordset> execute(const QString &rewritten, const QList<BoundValue> &values);
    // The declared types the statement's columns have in the file itself,
    // where the shadow views hide them (a column read through COLLATE or
    // jet_datetext has none of its own).
    QList<QByteArray> fileTypes(const QByteArray &statement, int columns);

    void bind(sqlite3_stmt *statement, const QList<BoundValue> &values);
    sqlite3 *m_db;
    QString m_path;
    sqlite3 *m_plain = nullptr; // the same file without the views, for fileTypes
    QHash<QString, QVariant> m_parameters; // by name in lower case
    QHash<QString, QString> m_stored;      // by name in lower case
    std::unique_ptr<class SqliteShadowViews> m_shadows;
};

} // namespace KRML_ReportGen
