#include "ScriptedEditorDialogs.h"

#include "ReportParameterPrompt.h"

namespace KRML_ReportGen {

int ScriptedEditorDialogs::chooseParameterType(int preset)
{
    presets << preset;
    return types.isEmpty() ? preset : types.dequeue();
}

std::optional<ReportDefinition::Lookup> ScriptedEditorDialogs::setupLookup(const ReportDefinition::Lookup *initial,
                                                                           DbConnection *, const QStringList &)
{
    lookupOpenedOn << (initial ? std::optional(*initial) : std::nullopt);
    return lookups.isEmpty() ? std::nullopt : lookups.dequeue();
}

std::optional<QVariant> ScriptedEditorDialogs::askParameterValue(ReportParameterPrompt &prompt)
{
    promptTitles << prompt.messageTitle();
    promptEntries << prompt.lookupEntries();
    const std::optional<QVariant> entry = values.isEmpty() ? std::nullopt : values.dequeue();
    if (!entry || !prompts || !prompt.ok(*entry, *prompts))
        return std::nullopt;
    return prompt.ReturnData();
}

} // namespace KRML_ReportGen
