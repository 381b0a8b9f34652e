#include "win32/message_dialog.h"

#include "core/message_dialog_rules.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

PCWSTR IconResource(TaskIcon icon) {
  switch (icon) {
    case TaskIcon::Error:
      return TD_ERROR_ICON;
    case TaskIcon::Question:
      return IDI_QUESTION;
    case TaskIcon::Warning:
      return TD_WARNING_ICON;
    case TaskIcon::Information:
      return TD_INFORMATION_ICON;
    case TaskIcon::Application:
      break;
  }
  return IDI_APPLICATION;
}

}  // namespace

MessageDialogSystem WindowsMessageDialogSystem() {
  MessageDialogSystem system;
  system.isVersion6 = [] {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExW(&version) && version.dwMajorVersion >= 6;
  };
  system.loadTaskDialog = []() -> TaskDialogCall {
    const HMODULE comctl32 = LoadLibraryW(L"comctl32.dll");
    if (reinterpret_cast<UINT_PTR>(comctl32) < 32) return {};
    using TaskDialogFunction =
        HRESULT(WINAPI*)(HWND, HINSTANCE, PCWSTR, PCWSTR, PCWSTR, TASKDIALOG_COMMON_BUTTON_FLAGS, PCWSTR, int*);
    const auto function =
        reinterpret_cast<TaskDialogFunction>(reinterpret_cast<void*>(GetProcAddress(comctl32, "TaskDialog")));
    if (function == nullptr) return {};
    return [function](HWND owner, PCWSTR title, PCWSTR instruction, PCWSTR content,
                      TASKDIALOG_COMMON_BUTTON_FLAGS buttons, PCWSTR icon, int* pressed) {
      return function(owner, nullptr, title, instruction, content, buttons, icon, pressed);
    };
  };
  system.messageBox = [](HWND owner, PCWSTR text, PCWSTR caption, UINT flags) {
    return MessageBoxW(owner, text, caption, flags);
  };
  return system;
}

int ShowMessageDialog(HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags,
                      std::u16string_view detail, const MessageDialogSystem& system) {
  // The task dialog makes its first button the default; a question whose
  // default is another (No, where Yes would write something) is a message
  // box, which has it.
  const bool firstIsDefault = (flags & MB_DEFMASK) == MB_DEFBUTTON1;
  if (firstIsDefault && system.isVersion6()) {
    if (const TaskDialogCall taskDialog = system.loadTaskDialog()) {
      const std::wstring title = Wide(caption);
      const std::wstring instruction = Wide(text);
      const std::wstring content = Wide(detail);
      int pressed = 0;
      if (SUCCEEDED(taskDialog(owner, title.c_str(), instruction.c_str(), content.empty() ? nullptr : content.c_str(),
                               TaskButtonsFor(flags), IconResource(TaskIconFor(flags)), &pressed))) {
        return TaskDialogResult(pressed);
      }
      // A task dialog that could not be shown must not count as consent:
      // the message box asks instead.
    }
  }
  return system.messageBox(owner, Wide(MessageBoxText(text, detail)).c_str(), Wide(caption).c_str(), flags);
}

}  // namespace ombrisk
