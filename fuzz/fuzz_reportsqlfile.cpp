// The report SQL file reader and its writer on what was read.
#include "ReportError.h"
#include "ReportSqlFile.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ReportDefinition definition;
    ParameterCollection shared;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const auto result = ReportSqlFile::read(bytes, QStringLiteral("fuzz.mtq"), definition, &shared);
    if (result.ok()) {
        try {
            const QString text = ReportSqlFile::toText(definition);
            ReportDefinition again;
            (void)ReportSqlFile::read(text.toLatin1(), QStringLiteral("again.mtq"), again);
        } catch (const ReportError &) {
        }
    }
    return 0;
}
