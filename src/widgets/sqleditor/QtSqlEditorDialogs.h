#pragma once

#include "SqlEditorDialogs.h"

#include <QStringList>

class QWidget;

namespace KRML_ReportGen {

class DbConnection;
class UserPrompts;

// The SQL editor's dialogs as windows: the type chooser, the lookup setup
// and the parameter prompt (also the control's run-time prompt).
class QtSqlEditorDialogs : public SqlEditorDialogs
{
public:
    QtSqlEditorDialogs(UserPrompts &prompts, QWidget *parent = nullptr) : m_prompts(prompts), m_parent(parent) {}

    void setParent(QWidget *parent) { m_parent = parent; }

    int chooseParameterType(int preset) override;
    std::optional<ReportDefinition::Lookup> setupLookup(const ReportDefinition::Lookup *initial, DbConnection *connection,
                                                        const QStringList &tables) override;
    std::optional<QVariant> askParameterValue(ReportParameterPrompt &prompt) override;

private:
    UserPrompts &m_prompts;
    QWidget *m_parent;
};

} // namespace KRML_ReportGen
