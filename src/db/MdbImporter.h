#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace KRML_ReportGen {

class SqliteEngine;

// Reads an Access (Jet or ACE) database file with mdbtools into a SQLite
// database file, with the Access column types as declared types, so
// reports see the type codes they expect (Long 3, Integer 2, Single 4,
// Double 5, Currency 6, Date/Time 7, Yes/No 11, Text 202, Memo 203), text
// in the legacy text order (JetCollation) and dates in their one text form
// (JetDateText). Saved queries that read become views (select, union,
// crosstab and parameter queries) where their SQL translates and is one
// statement that only reads; what became of each is recorded in the file
// (MdbImporter::SavedQueries). The Access file itself is only read.
//
// mdbtools trusts the file it reads, so a damaged file can crash or hang it:
// the conversion runs in a helper process of its own (MdbImportProcess),
// never in a host. Every result of libmdb is checked; the database being
// filled has an authorizer that lets through only what the conversion
// itself does (no ATTACH, no writes beyond its own tables, views and the
// record of its saved queries).
class MdbImporter
{
public:
    // True when the file starts like a Jet or ACE database.
    static bool isAccessFile(const QString &path);

    // What became of the file's saved queries.
    struct SavedQueries
    {
        QStringList views;      // select, union, crosstab and parameter queries read as tables
        QStringList statements; // run when a statement reads them by name (SELECT * FROM [name])
        QStringList leftOut;    // action, data-definition and pass-through queries, and any that do not translate
    };

    // Converts accessPath into a new SQLite database at sqlitePath; a
    // ReportError says why the file could not be read. Queries that are
    // left out are reported to warn.
    static void convert(const QString &accessPath, const QString &sqlitePath,
                        const std::function<void(const QString &)> &warn = {});
    // Makes every saved query (name, Jet SQL as Access keeps it; empty for
    // one that does not read) usable: a view where it translates, is one
    // SELECT statement that only reads and runs (a query may read views made
    // before it), else a statement the engine runs when a report reads the
    // query by name (a crosstab whose columns depend on its parameters). The
    // others are left out and reported to warn. Nothing but the views and
    // the record of what became of the queries (SavedQueriesTable) is
    // written.
    static SavedQueries createViews(SqliteEngine &engine, QMap<QString, QString> queries,
                                    const std::function<void(const QString &)> &warn = {});
    // What a converted database records of its saved queries; the engine
    // is given the statements of those that run as statements.
    static SavedQueries readSavedQueries(SqliteEngine &converted);
    // The declared type an Access column type is stored under.
    static QString declaredType(int mdbColumnType);

    // The table of a converted database that records its saved queries
    // (a system table by its name, which the designer's lists of tables
    // pass over as they do Access's own).
    static constexpr const char *SavedQueriesTable = "MSysSavedQueries";
};

} // namespace KRML_ReportGen
