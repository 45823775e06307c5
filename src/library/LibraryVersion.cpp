#include "KRMLReportGenVersion.h"

namespace KRML_ReportGen {

const char *libraryVersion()
{
    return KRML_REPORTGEN_VERSION_STRING;
}

} // namespace KRML_ReportGen
