#include "ControlServices.h"

#include "LocalFileService.h"
#include "ProcessTempNames.h"
#include "QtPrompts.h"
#include "QtSettingsStore.h"

namespace KRML_ReportGen {

ControlServices ControlServices::standard()
{
    return ControlServices{std::make_shared<QtSettingsStore>(), std::make_shared<QtPrompts>(),
                           std::make_shared<LocalFileService>(), std::make_shared<ProcessTempNames>()};
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
    return s;
}

} // namespace KRML_ReportGen
