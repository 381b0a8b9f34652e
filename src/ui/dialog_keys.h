// The keyboard of the program's own dialogs, as dialog boxes have it:
// Ctrl+Tab between pages, Enter on the focused push button (there is no
// default one), the focused button drawn as the default, an edit reached by
// the keyboard with its text selected.
#pragma once

#include <windows.h>

#include <functional>

namespace ombrisk {

// Sees a message of the dialog's loop first: Ctrl+Tab and Ctrl+PageDown
// switch to the next page, with Shift or PageUp to the previous one; Enter
// presses the focused push button; then the dialog navigation. True when
// the message was taken.
bool PreTranslateDialogMessage(HWND dialog, MSG& message, const std::function<void(int step)>& switchPage);

// A push button that gets the focus is drawn as the default one, and as a
// plain one again when it loses it; true when the command was such a change.
bool DrawFocusedButtonAsDefault(HWND control, WORD code);

// The control WM_NEXTDLGCTL asks for: the one named, or the next or the
// previous in the Tab order.
HWND NextControl(HWND dialog, WPARAM wParam, LPARAM lParam);

// Gives the control the focus; an edit shows its whole text selected.
void FocusDialogControl(HWND control);

}  // namespace ombrisk
