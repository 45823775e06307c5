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
// Double 5, Currency 6, Date/Time 7, Yes/No 11, Text 202, Memo 203). Saved
// select queries become views where their SQL translates and is one
// statement that only reads. The Access file itself is only read.
//
// mdbtools trusts the file it reads, so a damaged file can crash or hang it:
// the conversion runs in a helper process of its own (MdbImportProcess),
// never in a host. Every result of libmdb is checked; the database being
// filled has an authorizer that lets through only what the conversion
// itself does (no ATTACH, no writes beyond its own tables and views).
class MdbImporter
{
public:
    // True when the file starts like a Jet or ACE database.
    static bool isAccessFile(const QString &path);
    // Converts accessPath into a new SQLite database at sqlitePath; a
    // ReportError says why the file could not be read. Queries that are
    // left out are reported to warn.
    static void convert(const QString &accessPath, const QString &sqlitePath,
                        const std::function<void(const QString &)> &warn = {});
    // Creates a view for each saved query (name, SQL for the embedded
    // engine) that is one SELECT statement that only reads and runs; a
    // query may read views made before it. Returns the views made; the
    // others are reported to warn. Nothing but the views is written.
    static QStringList createViews(SqliteEngine &engine, QMap<QString, QString> queries,
                                   const std::function<void(const QString &)> &warn = {});
    // The declared type an Access column type is stored under.
    static QString declaredType(int mdbColumnType);
};

} // namespace KRML_ReportGen
