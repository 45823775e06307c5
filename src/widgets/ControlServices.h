#pragma once

#include "FileService.h"
#include "SettingsStore.h"
#include "SqlEditorDialogs.h"
#include "TempNameService.h"
#include "UserPrompts.h"

#include <memory>

namespace KRML_ReportGen {

// The platform services a control works through. A host (or a test) may
// pass its own; standard() gives the ones of a desktop session.
struct ControlServices
{
    std::shared_ptr<SettingsStore> settings;
    std::shared_ptr<UserPrompts> prompts;
    std::shared_ptr<FileService> files;
    std::shared_ptr<TempNameService> tempNames;
    // The SQL editor's dialogs and the run-time parameter prompt.
    std::shared_ptr<SqlEditorDialogs> editorDialogs;

    static ControlServices standard();
    // Fills whatever is missing with the standard service.
    ControlServices completed() const;
};

} // namespace KRML_ReportGen
