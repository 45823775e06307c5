#include "ParameterCommands.h"

#include "MsgBoxStyle.h"
#include "ParameterMarker.h"
#include "SqlEditorDialogs.h"
#include "SqlEditorModel.h"
#include "UserPrompts.h"

namespace KRML_ReportGen {

bool ParameterCommands::add()
{
    UserPrompts &prompts = m_model.prompts();
    const int type = m_dialogs.chooseParameterType(0);
    QString name;
    for (;;) {
        name = prompts.inputBox(namePrompt());
        if (!name.isEmpty())
            break;
        if (prompts.msgBox(invalidNameMessage(), MsgBoxStyle::RetryCancel) != MsgBoxStyle::Retry)
            return false;
    }
    clsParameter record;
    record.ParamType = type;
    record.ParameterName = name;
    const QString marker = ParameterMarker::make(name, type);
    ReportDefinition &definition = m_model.definition();
    if (type == clsParameter::Lookup) {
        const ReportDefinition::Lookup lookup = m_dialogs.setupLookup(nullptr, m_model.connection(), m_model.reference().tables());
        record.Mode = lookup.mode;
        record.DisplayField = lookup.displayField;
        record.ReturnField = lookup.returnField;
        record.SQL = lookup.sql;
        definition.addParameter(marker, &lookup);
    } else {
        definition.addParameter(marker);
    }
    m_model.sharedParameters().Add(record);
    return true;
}

void ParameterCommands::modify(int index)
{
    ReportDefinition &definition = m_model.definition();
    if (index < 0 || index >= definition.parameters().size())
        return;
    UserPrompts &prompts = m_model.prompts();
    ReportDefinition::Parameter &parameter = definition.parameters()[index];
    const int type = m_dialogs.chooseParameterType(std::max(0, ParameterMarker::typeOf(parameter.marker)));
    const QString name = prompts.inputBox(namePrompt(), QString(), ParameterMarker::nameOf(parameter.marker));
    if (type == clsParameter::Lookup) {
        const ReportDefinition::Lookup *stored = definition.lookup(parameter.keyNumber);
        if (!stored) {
            prompts.msgBox(lookupMissingMessage(), MsgBoxStyle::OKOnly);
            definition.setLookup(parameter.keyNumber, m_dialogs.setupLookup(nullptr, m_model.connection(), m_model.reference().tables()));
        } else {
            const ReportDefinition::Lookup current = *stored;
            definition.setLookup(parameter.keyNumber, m_dialogs.setupLookup(&current, m_model.connection(), m_model.reference().tables()));
        }
    }
    parameter.marker = ParameterMarker::make(name, type);
}

bool ParameterCommands::remove(int index)
{
    ReportDefinition &definition = m_model.definition();
    if (index < 0 || index >= definition.parameters().size())
        return false;
    if (m_model.prompts().msgBox(removeQuestion(), MsgBoxStyle::YesNo | MsgBoxStyle::Question) != MsgBoxStyle::Yes)
        return false;
    definition.removeParameter(index); // its lookup details go with it
    return true;
}

} // namespace KRML_ReportGen
