#pragma once

#include <QString>
#include <optional>

namespace KRML_ReportGen {

class SqlEditorDialogs;
class SqlEditorModel;

// The SQL editor's "Add", "Modify" and "Remove" beside the parameter list:
// the type chooser, the name, the lookup setup for lookups, and the keys
// and lookup details kept consistent.
class ParameterCommands
{
public:
    static QString namePrompt() { return QStringLiteral("Please enter a name for this parameter"); }
    static QString invalidNameMessage() { return QStringLiteral("You must enter a valid name for this new parameter"); }
    static QString lookupMissingMessage() { return QStringLiteral("Parameter Lookup Info Not Found: Assume New Lookup"); }
    static QString removeQuestion() { return QStringLiteral("Are you sure you wish to remove this parameter?"); }

    ParameterCommands(SqlEditorModel &model, SqlEditorDialogs &dialogs) : m_model(model), m_dialogs(dialogs) {}

    // False when the user cancelled at the name or closed the lookup setup
    // without "OK". A name the report SQL file cannot hold is refused with
    // the reason, and asked for again.
    bool add();
    // The parameter at index (nothing happens without one). Cancelling at a
    // refused name or closing the lookup setup without "OK" changes nothing.
    void modify(int index);
    // False when the user said No (or there is no such parameter).
    bool remove(int index);

private:
    // The name typed, once the file can hold it; nothing when the user
    // cancels after a refusal.
    std::optional<QString> askName(const QString &defaultName, bool emptyAllowed);

    SqlEditorModel &m_model;
    SqlEditorDialogs &m_dialogs;
};

} // namespace KRML_ReportGen
