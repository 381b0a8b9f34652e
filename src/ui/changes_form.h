// What the IDE (or an installer) changed in the key since a profile's last
// launch: the dialog that lists each change with a check box and asks
// whether to take the checked ones into the profile before the launch goes
// on.
#pragma once

#include <windows.h>

#include <span>
#include <vector>

#include "core/launch.h"
#include "core/profile_list_settings.h"
#include "ui/list_view.h"
#include "ui/modal_dialog.h"
#include "ui/services.h"

namespace ombrisk {

class TCHANGES_FORM : public ModalDialog {
 public:
  static constexpr const wchar_t* kClassName = L"TCHANGES_FORM";
  static constexpr SIZE kClientSize{620, 300};
  // The components' identities, in Tab order.
  enum Id : int { kLabel1 = 100, kLV1, kBtnTakeIn, kBtnLaunch, kBtnCancel };

  TCHANGES_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const ChangeTexts> rows);
  // Creates the hidden dialog owned by the window (none for the command line).
  void Create(HWND owner);
  // Whether each row was checked as the dialog closed.
  const std::vector<bool>& Checked() const { return checked_; }

 protected:
  void OnCreate() override;
  int FirstControl() const override { return kLV1; }
  void OnCommand(int id, WORD code) override;
  LRESULT OnNotify(NMHDR* header) override;
  // Enter takes the changes in, as the default button does.
  void OnEnter() override { Finish(kBtnTakeIn); }
  void OnDpiChanged(int /*previousDpi*/) override { FitColumns(); }

 private:
  // The settings' column as wide as its widest text (up to a third of the
  // list), the two values' columns sharing the rest.
  void FitColumns();
  void Finish(int button);

  std::span<const ChangeTexts> rows_;
  ListView list_;
  std::vector<bool> checked_;
};

// Shows the changes, all checked, and returns the answer: the checked ones
// taken in, the profile launched as stored, or (Cancel, Esc, the close box)
// nothing.
ChangesAnswer ReviewChanges(const ErrorReporter& report, const ModalRunner& runModal,
                            ModalDialog::IdleObserver afterIdle, HWND owner, std::span<const SettingChange> changes);

}  // namespace ombrisk
