#pragma once

namespace KRML_ReportGen {

// Prepares a program that draws without a window: the offscreen platform
// unless another was asked for, and a private runtime folder when the
// session has none (so Qt has no reason to complain on every start).
class HeadlessEnvironment
{
public:
    static void prepare();
};

} // namespace KRML_ReportGen
