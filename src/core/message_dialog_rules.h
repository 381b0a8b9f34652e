// How a message described in message box terms (caption, text, MB_ flags,
// detail) is shown as a task dialog, and how its answer comes back.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// Message box results the callers look at.
inline constexpr int kResultCancel = 2;
inline constexpr int kResultAbort = 3;
inline constexpr int kResultRetry = 4;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
inline constexpr int kResultClose = 8;

// Task dialog common buttons, with the values of TDCBF_*.
enum TaskButton : unsigned {
  kTaskOk = 0x01,
  kTaskYes = 0x02,
  kTaskNo = 0x04,
  kTaskCancel = 0x08,
  kTaskRetry = 0x10,
};

enum class TaskIcon { Application, Error, Question, Warning, Information };

// The buttons for the button group of MB_ flags: OK; OK and Cancel; Yes, No
// and Cancel; Yes and No. The groups no caller uses (abort-retry-ignore,
// retry-cancel, cancel-try-continue) get Retry and Cancel; others OK.
unsigned TaskButtonsFor(unsigned flags);
TaskIcon TaskIconFor(unsigned flags);
// The result of a pressed task dialog button: Cancel 2, Yes 6, No 7, Retry 4,
// the close command 3, every other answer 6.
int TaskDialogResult(int pressedButton);
// The message box text: the text, then, when there is a detail, two line
// breaks (only after a text that is not empty) and the detail.
std::u16string MessageBoxText(std::u16string_view text, std::u16string_view detail);

}  // namespace ombrisk
