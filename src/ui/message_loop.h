#pragma once

#include <windows.h>

#include <functional>

namespace ombrisk {

// Runs the message loop until the main window's destruction posts WM_QUIT.
// preTranslate sees every message first and returns true when it handled it
// (shortcuts, dialog navigation).
void RunMessageLoop(const std::function<bool(MSG&)>& preTranslate);

// Lets the pending messages be processed, in the middle of a long handler. A
// WM_QUIT met on the way is posted again for the loop.
void ProcessPendingMessages();

}  // namespace ombrisk
