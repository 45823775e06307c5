#include "StatementPalette.h"

#include "ReportError.h"

namespace KRML_ReportGen {

void StatementPalette::setStatements(const QStringList &names)
{
    if (names == m_statements)
        return;
    m_statements = names;
    m_selected = -1;
    emit statementsChanged();
}

void StatementPalette::setSelected(int index)
{
    m_selected = (index >= 0 && index < m_statements.size()) ? index : -1;
    emit selectionChanged(m_selected);
}

void StatementPalette::setFields(const QStringList &fields)
{
    m_fields = fields;
    emit fieldsChanged();
}

void StatementPalette::clear()
{
    m_statements.clear();
    m_selected = -1;
    m_fields.clear();
    emit statementsChanged();
    emit fieldsChanged();
}

void StatementPalette::prepareForReport(const QStringList &names, bool noStatementRunYet, const FieldsOf &fieldsOf)
{
    if (m_selected >= 0)
        return;
    setStatements(names);
    if (!noStatementRunYet || m_statements.isEmpty())
        return;
    setSelected(0);
    try {
        setFields(fieldsOf(m_statements.first()));
    } catch (const ReportError &) {
        // The designer's lists are no part of the report: it goes on.
    }
}

} // namespace KRML_ReportGen
