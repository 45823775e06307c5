#include "LookupSetupModel.h"

#include "DbConnection.h"
#include "MsgBoxStyle.h"
#include "ReportError.h"
#include "ReportSqlFileLimits.h"
#include "SqlErrorMessage.h"
#include "UserPrompts.h"

namespace KRML_ReportGen {

namespace {
const QLatin1String kSelectAll("SELECT * FROM ");
}

LookupSetupModel::LookupSetupModel(DbConnection &connection, const QStringList &tables)
    : m_connection(connection), m_tables(tables)
{
    if (!m_tables.isEmpty())
        chooseTable(0);
}

int LookupSetupModel::indexOf(const QStringList &list, const QString &text)
{
    return int(list.indexOf(text));
}

void LookupSetupModel::chooseTable(int index)
{
    m_fields.clear();
    m_display = m_return = -1;
    if (index < 0 || index >= m_tables.size())
        return;
    m_table = index;
    try {
        auto rs = m_connection.openRecordset(kSelectAll + m_tables[index]);
        for (int c = 0; c < rs->fieldCount(); ++c)
            m_fields << rs->fieldName(c);
    } catch (const ReportError &) {
        // A table that cannot be read offers no fields.
    }
    if (!m_fields.isEmpty())
        m_display = m_return = 0;
}

void LookupSetupModel::setMode(qint16 mode)
{
    m_mode = mode == 2 ? 2 : 1;
    if (m_mode == 1 && m_sql.startsWith(kSelectAll)) {
        const int table = indexOf(m_tables, m_sql.mid(kSelectAll.size()));
        if (table >= 0)
            chooseTable(table);
    }
}

void LookupSetupModel::setDisplayField(const QString &field)
{
    m_displayField = field;
    if (m_mode == 1 && indexOf(m_fields, field) >= 0)
        m_display = indexOf(m_fields, field);
}

void LookupSetupModel::setReturnField(const QString &field)
{
    m_returnField = field;
    if (m_mode == 1 && indexOf(m_fields, field) >= 0)
        m_return = indexOf(m_fields, field);
}

bool LookupSetupModel::ok(UserPrompts &prompts)
{
    if (m_mode == 1) {
        m_sql = m_table >= 0 ? kSelectAll + m_tables[m_table] : QString();
        m_displayField = m_display >= 0 ? m_fields[m_display] : QString();
        m_returnField = m_return >= 0 ? m_fields[m_return] : QString();
    }
    // The report SQL file keeps the lookup on one line between commas.
    for (const QString &why : {ReportSqlFileLimits::lookupSql(m_sql), ReportSqlFileLimits::lookupField(QStringLiteral("display field"), m_displayField),
                               ReportSqlFileLimits::lookupField(QStringLiteral("return field"), m_returnField)}) {
        if (!why.isEmpty()) {
            prompts.msgBox(why, MsgBoxStyle::Exclamation);
            return false;
        }
    }
    std::unique_ptr<Recordset> rs;
    try {
        rs = m_connection.openRecordset(m_sql);
    } catch (const ReportError &e) {
        prompts.msgBox(SqlErrorMessage::text(e), SqlErrorMessage::style, SqlErrorMessage::title());
        return false;
    }
    for (const auto &[name, caption] : {std::pair{m_displayField, QStringLiteral("Display Field")},
                                        std::pair{m_returnField, QStringLiteral("Return Field")}}) {
        try {
            if (rs->isEOF() || rs->fieldIndex(name) < 0)
                throw ReportError(Recordset::NoCurrentRecord, QString());
            (void)rs->field(name);
        } catch (const ReportError &) {
            prompts.msgBox(problemMessage(caption), MsgBoxStyle::Information);
            return false;
        }
    }
    return true;
}

} // namespace KRML_ReportGen
