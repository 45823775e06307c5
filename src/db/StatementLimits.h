#pragma once

#include <QtGlobal>

namespace KRML_ReportGen {

// How long one statement may run and how much of its result may be held,
// so that a statement in a package (a recursive query that never ends, a
// join that multiplies rows) stops with an error instead of taking the
// machine. Zero means no limit.
struct StatementLimits
{
    static constexpr int DefaultTimeoutSeconds = 300;
    static constexpr qint64 DefaultMaxResultBytes = 1024LL * 1024 * 1024;

    int timeoutSeconds = DefaultTimeoutSeconds;
    qint64 maxResultBytes = DefaultMaxResultBytes;
};

} // namespace KRML_ReportGen
