// The SQL editor's word scan and "Check SQL" on any text.
#include "SqlSyntaxChecker.h"
#include "SqlWordScanner.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    for (const auto &w : SqlWordScanner::words(text))
        if (w.start < 0 || w.start + w.text.size() > text.size())
            __builtin_trap();
    const auto r = SqlSyntaxChecker::CheckSyntax(text, {QStringLiteral("Orders")}, {QStringLiteral("Total")});
    // The check changes letter case only (and adds the closing blank).
    if (r.text.size() != text.size() + (text.endsWith(QLatin1Char(' ')) ? 0 : 1))
        __builtin_trap();
    for (const auto &s : r.spans)
        if (s.start < 0 || s.start + s.length > r.text.size())
            __builtin_trap();
    return 0;
}
