#pragma once

namespace KRML_ReportGen {

// Message-box style numbers and answer codes as the system's messages use
// them: a style is a button set plus an icon (plus a default button), added
// together; a message box answers with the code of the button pressed.
namespace MsgBoxStyle {
// Button sets, icons and default buttons: numbers added into one style.
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int AbortRetryIgnore = 2;
constexpr int YesNoCancel = 3;
constexpr int YesNo = 4;
constexpr int RetryCancel = 5;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton1 = 0;
constexpr int DefaultButton2 = 256;
constexpr int DefaultButton3 = 512;
// The button the user pressed.
enum Answer : int {
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
