// The legacy report file import.
#include "LegacyReportFile.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReportDefinition definition;
    (void)LegacyReportFile::import(QByteArray(reinterpret_cast<const char *>(data), int(size)), QStringLiteral("fuzz.kwr"),
                                   definition);
    return 0;
}
