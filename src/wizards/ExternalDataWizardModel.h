#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace KRML_ReportGen {

class DbConnection;
class FileService;
class UserPrompts;

// "Connect to External Data" without its window: the six pages (connection,
// tables, table links, fields, conditions, the composed SELECT), the lists
// and their entry formats, the page buttons' rules and messages, "Save"
// (the working connection) and "Finish" (a data connection file). The
// wizard reads the database through a connection of its own.
class ExternalDataWizardModel
{
public:
    static QString caption() { return QStringLiteral("Connect to External Data"); }
    static QStringList operators();
    static QString noTableMessage() { return QStringLiteral("At least one table must be selected before proceeding"); }
    static QString noFieldMessage() { return QStringLiteral("At least one field must be selected before proceeding"); }
    static QString checkSettings() { return QStringLiteral("Please check connection settings and try again."); }
    static QString overwriteQuestion();
    enum Page { ConnectionPage = 1, TablesPage, LinksPage, FieldsPage, ConditionsPage, SqlPage };

    // editConnection: the connection dialog (EditCnn); true with the new string.
    using EditConnection = std::function<bool(QString &connectionString)>;

    ExternalDataWizardModel(FileService &files, UserPrompts &prompts);
    ~ExternalDataWizardModel();

    // Opening: the shared connection's string is tested, then the box takes
    // the current connection string.
    void open(const QString &sharedConnectionString, const QString &currentConnectionString);

    int page() const { return m_page; }
    bool backVisible() const { return m_page > ConnectionPage; }
    bool nextVisible() const { return m_page < SqlPage; }
    bool nextEnabled() const { return m_nextEnabled; }
    bool finishVisible() const { return m_page == SqlPage; }

    QString connectionText() const { return m_cnnText; }
    void setConnectionText(const QString &text) { m_cnnText = text; }
    // Tests the box's string on the wizard's own connection; false after
    // the error message (and, in development mode, "Resume Next?" No).
    bool testConnection();
    // "Create Connection String": the Jet string of dbPath, edited.
    void createConnectionString(const EditConnection &edit, const QString &dbPath);
    // "Load Existing Data Connection": a ".mdq" back into box and lists.
    bool loadDataConnection(const QString &path);
    // "Save": the working connection file and the current connection string.
    // False after the message when the string cannot be written in the
    // code page (nothing is changed then).
    bool save();

    bool next();
    void back();

    // Page 2.
    const QStringList &availableTables() const { return m_available; }
    const QStringList &selectedTables() const { return m_selected; }
    void selectTables(const QStringList &entries);
    void deselectTables(const QStringList &entries);
    // Page 3: the choosers offer the selected tables; a chosen table's
    // columns fill its field chooser.
    QStringList linkFields(int side) const { return m_linkFields[side]; }
    void chooseLinkTable(int side, const QString &table);
    static bool canLink(const QStringList &parts);
    void addLink(const QString &table0, const QString &field0, const QString &op, const QString &table1, const QString &field1);
    void removeLinks(const QList<int> &rows);
    const QStringList &links() const { return m_links; }
    // Page 4.
    const QStringList &availableFields() const { return m_availableFields; }
    const QStringList &selectedFields() const { return m_selectedFields; }
    void selectFields(const QStringList &entries);
    void deselectFields(const QStringList &entries);
    // Page 5.
    const QStringList &conditionFields() const { return m_conditionFields; }
    static bool canAddCondition(const QString &field, const QString &op, const QString &value);
    void addCondition(const QString &field, const QString &op, const QString &value);
    void removeConditions(const QList<int> &rows);
    const QStringList &conditions() const { return m_conditions; }
    // Page 6.
    QString sql() const { return m_sql; }
    QString composeSql() const;
    // "Finish": with saveFile, asks for the file (and whether to replace
    // one that exists) and writes it. True when the window may hide.
    bool finish(bool saveFile);

private:
    QStringList columnsOf(const QString &table);
    void reportError(const QString &what);

    FileService &m_files;
    UserPrompts &m_prompts;
    std::unique_ptr<DbConnection> m_connection;
    int m_page = ConnectionPage;
    bool m_nextEnabled = false;
    QString m_cnnText;
    QStringList m_available, m_selected, m_availableFields, m_selectedFields, m_links, m_conditions, m_conditionFields;
    QStringList m_linkFields[2];
    // The selections of a data connection file loaded, for the next listing.
    QStringList m_pendingTables, m_pendingFields;
    QString m_sql;
};

} // namespace KRML_ReportGen
