#pragma once

#include "SqlEditorDialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <optional>

namespace KRML_ReportGen {

class UserPrompts;

// The SQL editor's dialogs for tests, answered from queues: the type
// chosen, the lookup set up (nothing, or an empty queue, closes the setup
// without "OK"), the entries a user makes in the parameter prompt (an empty
// entry closes it without "OK"). Everything shown is kept.
class ScriptedEditorDialogs : public SqlEditorDialogs
{
public:
    QQueue<int> types;
    QQueue<std::optional<ReportDefinition::Lookup>> lookups;
    QQueue<std::optional<QVariant>> values;
    QList<int> presets;
    QList<std::optional<ReportDefinition::Lookup>> lookupOpenedOn;
    QStringList promptTitles;
    QList<QStringList> promptEntries;
    // Where a refused entry's message goes (the prompt's "OK").
    UserPrompts *prompts = nullptr;

    int chooseParameterType(int preset) override;
    std::optional<ReportDefinition::Lookup> setupLookup(const ReportDefinition::Lookup *initial, DbConnection *connection,
                                                        const QStringList &tables) override;
    std::optional<QVariant> askParameterValue(ReportParameterPrompt &prompt) override;
};

} // namespace KRML_ReportGen
