#include "ParameterCommands.h"

#include "MsgBoxStyle.h"
#include "ParameterMarker.h"
#include "ReportSqlFileLimits.h"
#include "SqlEditorDialogs.h"
#include "SqlEditorModel.h"
#include "UserPrompts.h"

namespace KRML_ReportGen {

std::optional<QString> ParameterCommands::askName(const QString &defaultName, bool emptyAllowed)
{
    UserPrompts &prompts = m_model.prompts();
    QString shown = defaultName;
    for (;;) {
        const QString name = prompts.inputBox(namePrompt(), QString(), shown);
        QString why;
        if (name.isEmpty())
            why = emptyAllowed ? QString() : invalidNameMessage();
        else
            why = ReportSqlFileLimits::parameterName(name);
        if (why.isEmpty())
            return name;
        if (prompts.msgBox(why, MsgBoxStyle::RetryCancel) != MsgBoxStyle::Retry)
            return std::nullopt;
        shown = name; // to be corrected
    }
}

bool ParameterCommands::add()
{
    const int type = m_dialogs.chooseParameterType(0);
    const std::optional<QString> asked = askName(QString(), false);
    if (!asked)
        return false;
    const QString name = *asked;
    clsParameter record;
    record.ParamType = type;
    record.ParameterName = name;
    const QString marker = ParameterMarker::make(name, type);
    ReportDefinition &definition = m_model.definition();
    if (type == clsParameter::Lookup) {
        // A lookup setup closed without "OK" adds nothing: a lookup without
        // its details could not be saved.
        const std::optional<ReportDefinition::Lookup> chosen =
            m_dialogs.setupLookup(nullptr, m_model.connection(), m_model.reference().tables());
        if (!chosen)
            return false;
        const ReportDefinition::Lookup lookup = *chosen;
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
    // An empty name is taken as it is; one the file cannot hold is not.
    const std::optional<QString> name = askName(ParameterMarker::nameOf(parameter.marker), true);
    if (!name)
        return;
    if (type == clsParameter::Lookup) {
        const ReportDefinition::Lookup *stored = definition.lookup(parameter.keyNumber);
        std::optional<ReportDefinition::Lookup> chosen;
        if (!stored) {
            prompts.msgBox(lookupMissingMessage(), MsgBoxStyle::OKOnly);
            chosen = m_dialogs.setupLookup(nullptr, m_model.connection(), m_model.reference().tables());
        } else {
            const ReportDefinition::Lookup current = *stored;
            chosen = m_dialogs.setupLookup(&current, m_model.connection(), m_model.reference().tables());
        }
        // Closed without "OK": the parameter stays as it was, its previous
        // lookup included.
        if (!chosen)
            return;
        definition.setLookup(parameter.keyNumber, *chosen);
    }
    parameter.marker = ParameterMarker::make(*name, type);
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
