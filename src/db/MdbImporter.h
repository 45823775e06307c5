#pragma once

#include <QString>
#include <QStringList>
#include <memory>

namespace KRML_ReportGen {

class SqliteEngine;

// Opens an Access (Jet or ACE) database file on this platform: every user
// table is read with mdbtools into an embedded database in memory, with the
// Access column types as declared types, so reports see the type codes they
// expect (Long 3, Integer 2, Single 4, Double 5, Currency 6, Date/Time 7,
// Yes/No 11, Text 202, Memo 203), text in the legacy text order
// (JetCollation) and dates in their one text form (JetDateText). Saved
// queries that read become views (MdbImporter::SavedQueries). The file
// itself is only read.
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
    static std::unique_ptr<SqliteEngine> import(const QString &path, SavedQueries *savedQueries = nullptr);
    // The declared type an Access column type is stored under.
    static QString declaredType(int mdbColumnType);
};

} // namespace KRML_ReportGen
