#include "ui/find_dialog.h"

#include "core/texts.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

FindDialog::FindDialog() {
  FD_LV.lStructSize = sizeof FD_LV;
  FD_LV.Flags = FR_DOWN | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD;
  FD_LV.lpstrFindWhat = text_;
  FD_LV.wFindWhatLen = static_cast<WORD>(std::size(text_));
}

FindDialog::Block::Block(const FindDialog& dialog, HWND modalOwner)
    : dialog_(dialog.window_ != nullptr && modalOwner != dialog.window_ && IsWindowEnabled(dialog.window_)
                  ? dialog.window_
                  : nullptr) {
  if (dialog_ != nullptr) EnableWindow(dialog_, FALSE);
}

FindDialog::Block::~Block() {
  if (dialog_ != nullptr && IsWindow(dialog_)) EnableWindow(dialog_, TRUE);
}

UINT FindDialog::Message() {
  static const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
  return message;
}

void FindDialog::Start(HWND owner, Target& target) {
  if (target.RowCount() == 0) {
    target.ShowError(window_, texts::kNoProfiles);
    target.FocusList();
  }
  dLV = &target;
  previousHit_ = 0;
  if (window_ != nullptr) {
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    return;
  }
  FD_LV.hwndOwner = owner;
  // Only the direction carries over; the event bits the dialog set do not.
  FD_LV.Flags = (FD_LV.Flags & FR_DOWN) | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD;
  window_ = shell::FindTextW(&FD_LV);
  if (window_ != nullptr && position_) {
    SetWindowPos(window_, nullptr, position_->x, position_->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

void FindDialog::OnMessage(const FINDREPLACEW& find) {
  if ((find.Flags & FR_DIALOGTERM) != 0) {
    FD_LVClose();
  } else if ((find.Flags & FR_FINDNEXT) != 0) {
    FD_LVFind();
  }
}

bool FindDialog::PreTranslateMessage(MSG& message) const {
  return window_ != nullptr && IsDialogMessageW(window_, &message) != FALSE;
}

void FindDialog::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void FindDialog::FD_LVFind() {
  // No further find events while a search runs (its message is modal).
  if (finding_ || dLV == nullptr) return;
  finding_ = true;
  struct Reattach {
    bool& flag;
    ~Reattach() { flag = false; }
  } reattach{finding_};

  const std::u16string text = FromWide(text_);
  const int count = dLV->RowCount();
  const int selected = dLV->SelectedRow();
  int row = selected < 0 ? 0 : selected;
  const bool down = (FD_LV.Flags & FR_DOWN) != 0;
  if (previousHit_ == 1) row += down ? 1 : -1;
  for (; row >= 0 && row < count; row += down ? 1 : -1) {
    if (dLV->MatchRow(row, text)) {
      previousHit_ = 1;
      return;
    }
  }
  dLV->ShowError(window_, texts::kNoMatch);
}

void FindDialog::FD_LVClose() {
  if (window_ != nullptr) {
    RECT bounds;
    GetWindowRect(window_, &bounds);
    position_ = POINT{bounds.left, bounds.top};
  }
  window_ = nullptr;
  dLV = nullptr;
}

void BlockWhileModal(Services& services, const FindDialog& dialog, std::function<HWND()> window) {
  services.showMessage = [&dialog, show = std::move(services.showMessage)](HWND owner, std::u16string_view caption,
                                                                           std::u16string_view text, unsigned flags) {
    const FindDialog::Block block(dialog, owner);
    return show(owner, caption, text, flags);
  };
  services.reportError = [&dialog, report = std::move(services.reportError)](std::u16string_view message) {
    const FindDialog::Block block(dialog, GetActiveWindow());
    report(message);
  };
  services.runModal = [&dialog, window = std::move(window), run = std::move(services.runModal)](ModalDialog& modal) {
    const FindDialog::Block block(dialog, window());
    return run(modal);
  };
}

}  // namespace ombrisk
