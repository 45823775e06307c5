#pragma once

namespace KRML_ReportGen {

// Message-box style numbers and button codes as the system's messages use
// them: a style is a button set plus an icon (plus a default button).
namespace MsgBoxStyle {
enum Buttons : int {
    OKOnly = 0,
    OKCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
};
enum Icons : int {
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
};
enum DefaultButton : int {
    DefaultButton1 = 0,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};
enum Result : int {
    OK = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};
constexpr int buttonsOf(int style) { return style & 0x0F; }
constexpr int iconOf(int style) { return style & 0x70; }
constexpr int defaultButtonOf(int style) { return style & 0x300; }
} // namespace MsgBoxStyle

} // namespace KRML_ReportGen
