#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

namespace KRML_ReportGen {

// Gives the tables of a SQLite file the legacy engine's meaning without
// touching the file: a temporary view of the same name stands in front of
// each table and view (SQLite looks for a name among the temporary objects
// first) and reads its text columns in the legacy text order (JetCollation:
// =, <, BETWEEN, IN, ORDER BY, GROUP BY, DISTINCT, MIN and MAX without
// regard to case) and its date columns in the one text form of dates
// (JetDateText: "2024-03-15 00:00:00" and "2024-03-15T10:30:00" as written
// by other programs read as "2024-03-15" and "2024-03-15 10:30:00").
//
// Columns that already name a collation keep it. Statements that write or
// change the schema run with the views put aside (a view cannot be written
// to); they come back, rebuilt for the new schema, before the next read.
class SqliteShadowViews
{
public:
    explicit SqliteShadowViews(sqlite3 *db) : m_db(db) {}

    // Before a statement that reads: the views in place for the current schema.
    void ensure();
    // Before a statement that writes or changes the schema.
    void putAside();
    bool inPlace() const { return !m_views.isEmpty(); }

    // True when the statement only reads (SELECT, WITH, VALUES, a bracket).
    static bool reads(const QString &sql);

private:
    int schemaVersion() const;
    void exec(const QString &sql) const;

    sqlite3 *m_db;
    int m_version = -1;
    bool m_built = false;
    QStringList m_views;
};

} // namespace KRML_ReportGen
