#include "ReportParameterPrompt.h"

#include "LegacyNumber.h"
#include "MsgBoxStyle.h"
#include "ParameterLiteral.h"
#include "Recordset.h"
#include "UserPrompts.h"
#include "ValueText.h"
#include "VbConvert.h"

namespace KRML_ReportGen {

void ReportParameterPrompt::setReportParameterType(int type)
{
    if (type >= DateInput && type <= LookupInput)
        m_type = type;
}

void ReportParameterPrompt::LoadLookupValues(Recordset &rs, const QString &displayField, const QString &returnField)
{
    m_entries.clear();
    m_values.clear();
    if (!(rs.isEOF() && !rs.isBOF()))
        rs.moveFirst();
    while (!rs.isEOF()) {
        m_entries << ValueText::of(rs.field(displayField).value);
        m_values << rs.field(returnField).value;
        rs.moveNext();
    }
}

bool ReportParameterPrompt::ok(const QVariant &entry, UserPrompts &prompts)
{
    switch (m_type) {
    case DateInput:
        m_returnData = ParameterLiteral::date(entry.toDate());
        return true;
    case NumberInput: {
        const QString text = entry.toString();
        if (!LegacyNumber::isNumber(text)) {
            prompts.msgBox(notANumberMessage(), MsgBoxStyle::Information);
            return false;
        }
        m_returnData = text;
        return true;
    }
    case StringInput:
        // As typed: quotes inside are the user's own SQL.
        m_returnData = QLatin1Char('\'') + entry.toString() + QLatin1Char('\'');
        return true;
    case LookupInput: {
        const int index = entry.toInt();
        if (index < 0 || index >= m_values.size())
            return false; // nothing chosen: nothing to return
        m_returnData = m_values[index];
        return true;
    }
    default:
        return true;
    }
}

} // namespace KRML_ReportGen
