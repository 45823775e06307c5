#pragma once

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

class DbConnection;
class FileService;

// The SQL editor's knowledge of the database: the table names and all
// tables' column names (for colouring and the lookup setup), and the
// reference text file the completion list reads: for each table a line
// "Table.", one line "Table.Column" per column, then "!".
class DatabaseReference
{
public:
    // CreateDBReferenceFile: opens the connection when it is closed and has
    // a connection string, and walks its tables, leaving out any whose name
    // contains "MSys". A table whose columns cannot be read is left out; a
    // connection that cannot be opened leaves the lists empty.
    void CreateDBReferenceFile(FileService &files, const QString &path, DbConnection &connection);

    const QStringList &tables() const { return m_tables; }
    const QStringList &columns() const { return m_columns; }
    QString path() const { return m_path; }

    // The word the completion list is for: the text before the caret back to
    // the last blank, line break or ".", ending in "." (for example
    // "Customers."); empty when the caret does not follow a ".".
    static QString completionWord(const QString &text, int caret);
    // The column names listed under word (a table name and ".") in the
    // reference file, found without regard to case and surrounding blanks.
    static QStringList completionEntries(const FileService &files, const QString &path, const QString &word);
    // The first entry that begins with prefix, ignoring case and blanks; -1
    // when none does.
    static int matchingEntry(const QStringList &entries, const QString &prefix);

private:
    QStringList m_tables;
    QStringList m_columns;
    QString m_path;
};

} // namespace KRML_ReportGen
