#pragma once

#include "DatabaseReference.h"
#include "ReportDefinition.h"
#include "SqlSyntaxChecker.h"
#include "clsParameter.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace KRML_ReportGen {

class DbConnection;
class FileService;
class TempNameService;
class UserPrompts;

// The SQL editor's window without the window: the statement list (names,
// a rich-text file and a thumbnail per statement, or the placeholder entry
// after "&New"), the SQL box's text and colours, the remembered caret, the
// parameters, and the file commands. The window shows this state and
// forwards its buttons and menus here; tests drive it directly.
class SqlEditorModel
{
public:
    static QString caption() { return QStringLiteral("SQL Editor"); }
    static QString placeholderText() { return QStringLiteral("Table For Retrieving Child Data"); }
    static QString namePrompt() { return QStringLiteral("Please enter a name for this table"); }
    static QString invalidNameMessage() { return QStringLiteral("A Valid Name must be entered before the table can be saved"); }

    SqlEditorModel(FileService &files, TempNameService &tempNames, UserPrompts &prompts);

    // Opening the window: the database reference list, "&New", then the
    // working copy of the report SQL file when there is one.
    void open(DbConnection &connection);

    // The SQL box.
    QString sqlText() const { return m_sql; }
    void setSqlText(const QString &text);
    const QList<SqlSyntaxChecker::Span> &colours() const { return m_colours; }
    // CheckSyntax on the SQL box: keywords upper-cased, words coloured.
    void CheckSyntax();
    // The caret offset, remembered when the SQL box loses the focus.
    void rememberCaret(int offset) { m_caret = offset; }
    int caretMemory() const { return m_caret; }

    // The statement list: the entries' texts in order (the placeholder's
    // text while it is there), their thumbnail files and statement files.
    QStringList entries() const;
    const QStringList &thumbnails() const { return m_thumbnails; }
    const QStringList &statementFiles() const { return m_files; }
    bool hasPlaceholder() const { return m_placeholder; }
    int selectedEntry() const { return m_selected; }

    // Saves the SQL box under name (thumbnail, rich-text file, list entry).
    // A name already in the list is kept: the list then holds both.
    void saveStatementUnder(const QString &name);
    // "Save": asks for the name; false when the user cancels. A statement or
    // a name the report SQL file cannot hold is refused with the reason.
    bool save();
    // Choosing an entry: its statement into the SQL box; false (and the box
    // unchanged) for the placeholder or an unreadable file.
    bool choose(int index);
    // "Insert": the marker of parameter index at the remembered caret
    // offset (at the end when the text has since become shorter).
    void insertMarker(int parameterIndex);

    // The "&File" menu.
    void newDefinition();
    void load();
    void import();
    void saveAs();
    // Writes the working copy; the caller closes the window whatever happens.
    void saveAndExit();

    ReportDefinition &definition() { return m_definition; }
    const ReportDefinition &definition() const { return m_definition; }
    ParameterCollection &sharedParameters();
    const DatabaseReference &reference() const { return m_reference; }
    DbConnection *connection() const { return m_connection; }
    FileService &files() { return m_files_; }
    UserPrompts &prompts() { return m_prompts; }

    static QString workingCopyPath();

private:
    QString renderThumbnail(const QString &text, unsigned ink);
    void appendStatementFiles(const QString &sql);
    void readFile(const QString &path, bool legacy);
    void writeFile(const QString &path);
    void showReadFailure(const QString &message, bool notValid);

    FileService &m_files_;
    TempNameService &m_tempNames;
    UserPrompts &m_prompts;
    DbConnection *m_connection = nullptr;
    DatabaseReference m_reference;
    ReportDefinition m_definition;
    QString m_sql;
    QList<SqlSyntaxChecker::Span> m_colours;
    int m_caret = 0;
    QStringList m_thumbnails;
    QStringList m_files;
    bool m_placeholder = false;
    int m_selected = -1;
};

} // namespace KRML_ReportGen
