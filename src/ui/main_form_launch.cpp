// The main window's launches: the selected row, and a row a file is dropped
// onto, with the file.
#include <windows.h>

#include "ui/changes_form.h"
#include "ui/main_form.h"
#include "ui/message_loop.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

void TMAIN_FORM::AL_LAUNCHExecute() { LaunchRow(SelectedRow(), u""); }

void TMAIN_FORM::LaunchRow(int row, std::u16string_view file) {
  if (row < 0) return;
  const ListedProfile profile = LV1.Row(row);
  const std::unique_ptr<ProcessStarter> starter = services_.processStarter(Handle());
  LaunchServices launch{store_, services_.registries, *starter, ProcessPendingMessages,
                        [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); }};
  launch.runningProcesses = services_.runningProcesses;
  launch.confirm = [this](std::u16string_view question) { return AskYesNo(services_, Handle(), question); };
  launch.reviewChanges = [this](std::span<const SettingChange> changes) {
    return ReviewChanges(services_.reportError, services_.runModal, services_.afterIdle, Handle(), changes);
  };
  launch.file = file;
  LaunchProfile(launch, profile.code, profile.name);
}

void TMAIN_FORM::LV1DropFiles(HDROP drop) {
  struct FinishAtEnd {
    HDROP drop;
    ~FinishAtEnd() { shell::DragFinish(drop); }
  } finish{drop};
  if (shell::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) != 1) return;
  LVHITTESTINFO hit{};
  shell::DragQueryPoint(drop, &hit.pt);
  const int row = ListView_HitTest(LV1.View().Handle(), &hit);
  if (row < 0 || (hit.flags & LVHT_ONITEM) == 0) return;
  std::wstring file(shell::DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
  file.resize(shell::DragQueryFileW(drop, 0, file.data(), static_cast<UINT>(file.size())));
  // The row is the one launched, as after a click and Enter.
  LV1.View().Select(row);
  LaunchRow(row, FromWide(file));
}

}  // namespace ombrisk
