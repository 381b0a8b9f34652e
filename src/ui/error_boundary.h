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
// "Ombrisk", error icon and OK button, owned by the active window.
void ShowErrorBox(std::u16string_view message);

// Runs a handler; reports an error that escapes it and returns false then.
bool RunHandler(const ErrorReporter& report, const std::function<void()>& handler);

}  // namespace ombrisk
