// The program's entry: refuses a second instance, then runs the main window
// until it closes.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "core/startup.h"
#include "core/texts.h"
#include "ui/error_boundary.h"
#include "ui/main_form.h"
#include "ui/message_loop.h"
#include "win32/message_dialog.h"
#include "win32/module_path.h"
#include "win32/single_instance.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_process_starter.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace ombrisk;

  InstanceMarker marker(MutexName(ExecutablePath()));
  if (marker.AnotherInstanceRuns()) {
    // No window of the program exists on this path: the box has no owner.
    MessageBoxW(nullptr, Wide(texts::kAlreadyRunning).c_str(), Wide(texts::kConfirmCaption).c_str(),
                MB_ICONINFORMATION);
    return 0;
  }

  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WinRegistryFactory registries;
  WinFileSystem files;
  WinTextComparer comparer;
  TMAIN_FORM::RegisterWindowClass(instance);
  TMAIN_FORM mainForm(Services{
      registries, files, comparer, ExecutablePath(), ShowErrorBox,
      [](HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags) {
        return ShowMessageDialog(owner, caption, text, flags, u"");
      },
      [](HWND owner) -> std::unique_ptr<ProcessStarter> { return std::make_unique<WinProcessStarter>(owner); }});
  const bool created = RunHandler(ShowErrorBox, [&] {
    mainForm.Create();
    mainForm.Show();
  });
  if (created) {
    RunMessageLoop([&mainForm](MSG& message) { return mainForm.PreTranslateMessage(message); });
  }

  marker.Release();
  return 0;
}
