#include "ReportParameterPrompt.h"

#include "MsgBoxStyle.h"
#include "ParameterValue.h"
#include "Recordset.h"
#include "UserPrompts.h"
#include "ValueText.h"
#include "clsParameter.h"

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
    const int column = rs.fieldIndex(returnField);
    m_returnType = column >= 0 ? rs.fieldType(column) : 0;
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
    case DateInput: {
        const auto date = ParameterValue::convert(clsParameter::Date, entry);
        if (!date)
            return false; // the picker always holds a date
        m_value = *date;
        return true;
    }
    case NumberInput: {
        // The same conversion the statement's binding makes, so that what
        // the prompt accepts always binds.
        const auto number = ParameterValue::convert(clsParameter::Number, entry.toString());
        if (!number) {
            prompts.msgBox(notANumberMessage(), MsgBoxStyle::Information);
            return false;
        }
        m_value = *number;
        return true;
    }
    case StringInput:
        // As typed: the text is bound as a value, quotes and all.
        m_value = BoundValue::text(entry.toString());
        return true;
    case LookupInput: {
        const int index = entry.toInt();
        if (index < 0 || index >= m_values.size())
            return false; // nothing chosen: nothing to return
        const QVariant &v = m_values[index];
        m_value = ParameterValue::forColumnType(v, m_returnType).value_or(BoundValue::fromVariant(v));
        return true;
    }
    default:
        return true;
    }
}

} // namespace KRML_ReportGen
