#include "ControlServices.h"

#include "LocalFileService.h"
#include "ProcessTempNames.h"
#include "QtPrompts.h"
#include "QtSqlEditorDialogs.h"
#include "QtSettingsStore.h"

namespace KRML_ReportGen {

ControlServices ControlServices::standard()
{
    return ControlServices().completed();
}

ControlServices ControlServices::completed() const
{
    ControlServices s = *this;
    if (!s.settings)
        s.settings = std::make_shared<QtSettingsStore>();
    if (!s.prompts)
        s.prompts = std::make_shared<QtPrompts>();
    if (!s.files)
        s.files = std::make_shared<LocalFileService>();
    if (!s.tempNames)
        s.tempNames = std::make_shared<ProcessTempNames>();
    if (!s.editorDialogs)
        s.editorDialogs = std::make_shared<QtSqlEditorDialogs>(*s.prompts);
    return s;
}

} // namespace KRML_ReportGen
