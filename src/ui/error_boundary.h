// The edge of every event handler: an error that escapes a handler is shown
// to the user and the message loop goes on.
#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

namespace ombrisk {

// Shows an error message to the user; tests record it instead.
using ErrorReporter = std::function<void(std::u16string_view message)>;

// The program's error box: the message with the "." rule, captioned
// "Ombrisk", error icon and OK button, owned by the active window while it
// is visible, else by none.
void ShowErrorBox(std::u16string_view message);

// Runs a handler; reports an error that escapes it, of whatever type, and
// returns false then.
bool RunHandler(const ErrorReporter& report, const std::function<void()>& handler);

// The body of a control's subclass procedure, inside the same boundary: its
// result, or 0 (and no default processing) when an error escaped it.
LRESULT RunSubclassHandler(const ErrorReporter& report, const std::function<LRESULT()>& handler);

}  // namespace ombrisk
