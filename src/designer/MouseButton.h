#pragma once

namespace KRML_ReportGen {

// The mouse button of a press, a move or a release in the designer, with
// the platform's codes.
enum class MouseButton : int {
    None = 0,
    Left = 1,
    Right = 2,
};

} // namespace KRML_ReportGen
