#include "ExternalDataWizardModel.h"

#include "DataConnectionFile.h"
#include "DataSource.h"
#include "DbConnection.h"
#include "FileService.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "ReportError.h"
#include "UserPrompts.h"
#include "WorkingConnectionFile.h"

namespace KRML_ReportGen {

namespace {

void sortedInsert(QStringList &list, const QString &entry)
{
    list.append(entry);
    std::sort(list.begin(), list.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

void moveEntries(QStringList &from, QStringList &to, const QStringList &entries)
{
    for (const QString &e : entries)
        if (from.removeOne(e))
            sortedInsert(to, e);
}

void removeRows(QStringList &list, QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int r : rows)
        if (r >= 0 && r < list.size())
            list.removeAt(r);
}

} // namespace

QStringList ExternalDataWizardModel::operators()
{
    return {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral(">"), QStringLiteral("<"), QStringLiteral(">="),
            QStringLiteral("<="), QStringLiteral("And"), QStringLiteral("Or"), QStringLiteral("Like")};
}

QString ExternalDataWizardModel::overwriteQuestion()
{
    return QStringLiteral("A file with this name already exists, are you sure you want overwrite it?\r\n\r\n"
                          "Click Yes to overwrite the existing file.\r\n\r\n"
                          "Click No to choose another filename.\r\n\r\n"
                          "Click Cancel to abort the save operation.");
}

ExternalDataWizardModel::ExternalDataWizardModel(FileService &files, UserPrompts &prompts)
    : m_files(files), m_prompts(prompts), m_connection(std::make_unique<DbConnection>())
{
}

ExternalDataWizardModel::~ExternalDataWizardModel() = default;

void ExternalDataWizardModel::open(const QString &sharedConnectionString, const QString &currentConnectionString)
{
    if (!sharedConnectionString.isEmpty())
        m_cnnText = sharedConnectionString;
    if (!m_cnnText.isEmpty()) {
        m_nextEnabled = true;
        testConnection();
    }
    m_cnnText = currentConnectionString;
}

void ExternalDataWizardModel::reportError(const QString &what)
{
    m_prompts.msgBox(what, MsgBoxStyle::Exclamation);
}

bool ExternalDataWizardModel::testConnection()
{
    if (m_connection->state() == DbConnection::Open)
        m_connection->close();
    if (m_cnnText.isEmpty())
        return false;
    try {
        m_connection->setConnectionString(m_cnnText);
        m_connection->open();
        m_nextEnabled = true;
        return true;
    } catch (const ReportError &e) {
        m_prompts.msgBox(QStringLiteral("Error %1: %2\r\n\r\n").arg(e.number()).arg(e.description()) + checkSettings());
        if (ModuleState::current().devMode()
            && m_prompts.msgBox(QStringLiteral("Resume Next?"), MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                                QStringLiteral("Development Mode Message"))
                   == MsgBoxStyle::Yes)
            m_nextEnabled = true; // going on past the failing step
        return false;
    }
}

void ExternalDataWizardModel::createConnectionString(const EditConnection &edit, const QString &dbPath)
{
    QString text = DataSource::jetConnectionString(dbPath);
    if (!edit(text))
        return;
    m_cnnText = text;
    testConnection();
}

bool ExternalDataWizardModel::loadDataConnection(const QString &path)
{
    DataConnectionFile file;
    QString why;
    if (!file.readFile(m_files, path, &why)) {
        reportError(why);
        return false;
    }
    m_cnnText = file.cnnString;
    m_selected = file.selTables;
    m_selectedFields = file.selFields;
    // Kept for the pages that list tables and fields afresh.
    m_pendingTables = file.selTables;
    m_pendingFields = file.selFields;
    m_links = file.tableLinks;
    m_conditions = file.params;
    testConnection();
    return true;
}

bool ExternalDataWizardModel::save()
{
    ModuleState &state = ModuleState::current();
    const QString folder = state.tempFolder();
    if (!m_files.folderExists(folder))
        m_files.createFolder(folder);
    const QString path = state.workingFile(WorkingConnectionFile::fileName());
    const qsizetype bad = state.codec().unencodableAt(m_cnnText);
    if (bad >= 0) {
        m_prompts.msgBox(state.codec().cannotHoldMessage(m_cnnText, bad), MsgBoxStyle::Exclamation);
        return false;
    }
    if (m_files.fileExists(path))
        m_files.deleteFile(path);
    WorkingConnectionFile::write(m_files, path, m_cnnText);
    state.data().setCurrentConnectionString(m_cnnText);
    return true;
}

QStringList ExternalDataWizardModel::columnsOf(const QString &table)
{
    // From the schema: a query on the table itself takes a quoting that not
    // every driver reads.
    return m_connection->columnSchema(table);
}

bool ExternalDataWizardModel::next()
{
    try {
        switch (m_page) {
        case ConnectionPage: {
            QStringList tables;
            auto schema = m_connection->tableSchema();
            for (; !schema->isEOF(); schema->moveNext()) {
                const QString name = schema->field(QStringLiteral("TABLE_NAME")).value.toString();
                if (!name.startsWith(QLatin1String("MSys")))
                    tables << name;
            }
            // The tables start unselected; a data connection file loaded
            // since selects its tables that are there.
            m_available.clear();
            m_selected.clear();
            for (const QString &t : tables)
                sortedInsert(m_pendingTables.contains(t) ? m_selected : m_available, t);
            m_pendingTables.clear();
            m_linkFields[0].clear();
            m_linkFields[1].clear();
            break;
        }
        case TablesPage:
            if (m_selected.isEmpty()) {
                m_prompts.msgBox(noTableMessage(), MsgBoxStyle::Information);
                return false;
            }
            break;
        case LinksPage: {
            QStringList fields;
            for (const QString &table : m_selected)
                for (const QString &column : columnsOf(table))
                    fields << table + QLatin1Char('.') + column;
            // Both field lists start afresh; a data connection file loaded
            // since selects its fields that are there.
            m_availableFields.clear();
            m_selectedFields.clear();
            for (const QString &f : fields)
                sortedInsert(m_pendingFields.contains(f) ? m_selectedFields : m_availableFields, f);
            m_pendingFields.clear();
            break;
        }
        case FieldsPage:
            if (m_selectedFields.isEmpty()) {
                m_prompts.msgBox(noFieldMessage(), MsgBoxStyle::Information);
                return false;
            }
            m_conditionFields = m_availableFields + m_selectedFields;
            std::sort(m_conditionFields.begin(), m_conditionFields.end(),
                      [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
            break;
        case ConditionsPage:
            m_sql = composeSql();
            break;
        default:
            return false;
        }
    } catch (const ReportError &e) {
        reportError(QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
        return false;
    }
    ++m_page;
    return true;
}

void ExternalDataWizardModel::back()
{
    if (m_page == LinksPage) {
        m_linkFields[0].clear();
        m_linkFields[1].clear();
    }
    if (m_page > ConnectionPage)
        --m_page;
}

void ExternalDataWizardModel::selectTables(const QStringList &entries)
{
    moveEntries(m_available, m_selected, entries);
}

void ExternalDataWizardModel::deselectTables(const QStringList &entries)
{
    moveEntries(m_selected, m_available, entries);
}

void ExternalDataWizardModel::chooseLinkTable(int side, const QString &table)
{
    if (side < 0 || side > 1)
        return;
    try {
        m_linkFields[side] = table.isEmpty() ? QStringList() : columnsOf(table);
    } catch (const ReportError &e) {
        m_linkFields[side].clear();
        reportError(QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description()));
    }
}

bool ExternalDataWizardModel::canLink(const QStringList &parts)
{
    return parts.size() == 5 && std::none_of(parts.cbegin(), parts.cend(), [](const QString &p) { return p.isEmpty(); });
}

void ExternalDataWizardModel::addLink(const QString &t0, const QString &f0, const QString &op, const QString &t1, const QString &f1)
{
    if (!canLink({t0, f0, op, t1, f1}))
        return;
    m_links << t0 + QLatin1Char('.') + f0 + QLatin1Char(' ') + op + QLatin1Char(' ') + t1 + QLatin1Char('.') + f1;
}

void ExternalDataWizardModel::removeLinks(const QList<int> &rows)
{
    removeRows(m_links, rows);
}

void ExternalDataWizardModel::selectFields(const QStringList &entries)
{
    moveEntries(m_availableFields, m_selectedFields, entries);
}

void ExternalDataWizardModel::deselectFields(const QStringList &entries)
{
    moveEntries(m_selectedFields, m_availableFields, entries);
}

bool ExternalDataWizardModel::canAddCondition(const QString &field, const QString &op, const QString &value)
{
    return !field.isEmpty() && !op.isEmpty() && !value.isEmpty();
}

void ExternalDataWizardModel::addCondition(const QString &field, const QString &op, const QString &value)
{
    if (canAddCondition(field, op, value))
        m_conditions << field + QLatin1Char(' ') + op + QLatin1Char(' ') + value;
}

void ExternalDataWizardModel::removeConditions(const QList<int> &rows)
{
    removeRows(m_conditions, rows);
}

QString ExternalDataWizardModel::composeSql() const
{
    QString conditions = m_links.join(QStringLiteral(" and "));
    if (!conditions.isEmpty())
        conditions += QStringLiteral(" and ");
    conditions += m_conditions.join(QStringLiteral(" and "));
    if (conditions.right(4).trimmed() == QLatin1String("and"))
        conditions.chop(4);
    QString sql = QStringLiteral("SELECT ") + m_selectedFields.join(QStringLiteral(", ")) + QStringLiteral("\r\nFROM ")
        + m_selected.join(QStringLiteral(", "));
    // Without links or conditions there is nothing to write after WHERE.
    if (!conditions.trimmed().isEmpty())
        sql += QStringLiteral("\r\nWHERE ") + conditions;
    return sql;
}

bool ExternalDataWizardModel::finish(bool saveFile)
{
    if (!saveFile)
        return true;
    DataConnectionFile file;
    file.cnnString = m_cnnText;
    file.selTables = m_selected;
    file.selFields = m_selectedFields;
    file.tableLinks = m_links;
    file.params = m_conditions;
    for (;;) {
        const QString path = m_prompts.saveFileName(QString(), DataConnectionFile::filter(), 1, QString());
        if (path.isEmpty())
            return true;
        bool overwrite = false;
        if (m_files.fileExists(path)) {
            const int answer = m_prompts.msgBox(overwriteQuestion(), MsgBoxStyle::YesNoCancel | MsgBoxStyle::Question);
            if (answer == MsgBoxStyle::No)
                continue;
            if (answer != MsgBoxStyle::Yes)
                return true;
            overwrite = true;
        }
        try {
            file.write(m_files, path, overwrite);
        } catch (const ReportError &e) {
            reportError(e.description());
            return false;
        }
        return true;
    }
}

} // namespace KRML_ReportGen
