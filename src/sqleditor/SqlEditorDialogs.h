#pragma once

#include "ReportDefinition.h"

#include <QVariant>
#include <optional>

namespace KRML_ReportGen {

class DbConnection;
class ReportParameterPrompt;

// The SQL editor's own modal dialogs, as its commands use them. The widget
// layer shows the real dialogs; tests answer from a script.
class SqlEditorDialogs
{
public:
    virtual ~SqlEditorDialogs() = default;

    // "Add Report Parameter" with the type preset selected; the type code
    // selected when it closed (AddParameterType).
    virtual int chooseParameterType(int preset) = 0;
    // "Lookup Parameter Setup" on the editor's connection and tables,
    // opened on initial (its defaults when null); the values read from it
    // when it closed with "OK", nothing when it was closed otherwise.
    virtual std::optional<ReportDefinition::Lookup> setupLookup(const ReportDefinition::Lookup *initial,
                                                                DbConnection *connection, const QStringList &tables) = 0;
    // "Report Parameters" for one parameter, set up by the caller; its
    // ReturnData, or nothing when it was closed without "OK".
    virtual std::optional<QVariant> askParameterValue(ReportParameterPrompt &prompt) = 0;
};

} // namespace KRML_ReportGen
