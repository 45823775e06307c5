#pragma once

namespace KRML_ReportGen {

// The pointer shapes the sizer's grips set, with the platform's codes.
enum class PointerShape : int {
    Default = 0,
    SizeNESW = 6, // top right and bottom left grips
    SizeNS = 7,   // top and bottom centre
    SizeNWSE = 8, // top left and bottom right
    SizeWE = 9,   // middle left and right
};

} // namespace KRML_ReportGen
