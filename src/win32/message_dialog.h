// ShowMessageDialog: every error and confirmation the program shows while it
// works. A task dialog where the system has them (Windows 6.0 and later,
// TaskDialog in comctl32), a message box otherwise; the choice is made
// afresh at every call.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <string_view>

namespace ombrisk {

using TaskDialogCall = std::function<HRESULT(HWND owner, PCWSTR title, PCWSTR instruction, PCWSTR content,
                                             TASKDIALOG_COMMON_BUTTON_FLAGS buttons, PCWSTR icon, int* pressed)>;

// What the operation asks of the system; tests script it.
struct MessageDialogSystem {
  // Whether the system is Windows 6.0 or later.
  std::function<bool()> isVersion6;
  // comctl32's TaskDialog, or an empty function where there is none.
  std::function<TaskDialogCall()> loadTaskDialog;
  std::function<int(HWND owner, PCWSTR text, PCWSTR caption, UINT flags)> messageBox;
};

MessageDialogSystem WindowsMessageDialogSystem();

// Shows the message and returns the button pressed as a message box result
// (IDYES 6, IDNO 7, IDCANCEL 2). Texts are shown whole, however long. A task
// dialog that fails to show falls back to the message box.
int ShowMessageDialog(HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags,
                      std::u16string_view detail, const MessageDialogSystem& system = WindowsMessageDialogSystem());

}  // namespace ombrisk
