#include "QtSqlEditorDialogs.h"

#include "DbConnection.h"
#include "LookupSetupDialog.h"
#include "ParameterTypeDialog.h"
#include "ReportParameterPrompt.h"
#include "ReportParametersDialog.h"

namespace KRML_ReportGen {

int QtSqlEditorDialogs::chooseParameterType(int preset)
{
    ParameterTypeDialog dialog(m_parent);
    dialog.setAddParameterType(preset);
    dialog.exec();
    // Closed either way, the caller reads the selected type.
    return dialog.AddParameterType();
}

std::optional<ReportDefinition::Lookup> QtSqlEditorDialogs::setupLookup(const ReportDefinition::Lookup *initial,
                                                                        DbConnection *connection, const QStringList &tables)
{
    DbConnection none;
    LookupSetupModel model(connection ? *connection : none, tables);
    if (initial) {
        model.setSQL(initial->sql);
        model.setMode(initial->mode);
        model.setReturnField(initial->returnField);
        model.setDisplayField(initial->displayField);
    }
    LookupSetupDialog dialog(model, m_prompts, m_parent);
    dialog.syncFromModel();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return model.result();
}

std::optional<QVariant> QtSqlEditorDialogs::askParameterValue(ReportParameterPrompt &prompt)
{
    ReportParametersDialog dialog(prompt, m_prompts, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return prompt.ReturnData();
}

} // namespace KRML_ReportGen
