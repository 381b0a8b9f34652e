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

// Places the window centred over its owner (or the screen), kept inside the
// work area.
void CentreOverOwner(HWND window);

// A modal window's own loop: disables the owner, shows the window and runs
// until result becomes other than 0 (or the program ends: IDCANCEL), calling
// idle whenever the queue is empty; preTranslate sees every message first.
// The owner comes back before the window is hidden, so it is active again.
int RunModalLoop(HWND window, const int& result, const std::function<void()>& idle,
                 const std::function<bool(MSG&)>& preTranslate);

}  // namespace ombrisk
