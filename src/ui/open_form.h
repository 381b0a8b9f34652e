// Choosing the profile a file opens in (/open FILE where none is
// remembered for it): the listed profiles as the main list shows them, those
// of the release that made the file first.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "core/command_line.h"
#include "core/profile_list.h"
#include "core/text_comparer.h"
#include "ui/modal_dialog.h"
#include "ui/profile_list_view.h"
#include "ui/services.h"

namespace ombrisk {

class TOPEN_FORM : public ModalDialog {
 public:
  static constexpr const wchar_t* kClassName = L"TOPEN_FORM";
  static constexpr SIZE kClientSize{520, 300};
  // The components' identities, in Tab order.
  enum Id : int { kLabel1 = 100, kLV1, kCbRemember, kBtnOpen, kBtnCancel };

  TOPEN_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const ListedProfile> profiles,
             const CaseMapping& mapping, COLORREF lineColor, std::u16string_view file);
  // Creates the hidden dialog (no owner: it stands for the program).
  void Create();
  // The choice once ShowModal gave kBtnOpen.
  const ProfileChoice& Choice() const { return choice_; }

 protected:
  void OnCreate() override;
  int FirstControl() const override { return kLV1; }
  void OnCommand(int id, WORD code) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnEnter() override { Open(); }
  void OnDpiChanged(int previousDpi) override;

 private:
  void Open();

  std::span<const ListedProfile> profiles_;
  const CaseMapping& mapping_;
  COLORREF lineColor_;
  std::u16string file_;
  ProfileListView list_;
  ProfileChoice choice_;
};

// Shows the dialog; the choice, or none when the user cancelled.
std::optional<ProfileChoice> ChooseProfile(const ErrorReporter& report, const ModalRunner& runModal,
                                           ModalDialog::IdleObserver afterIdle, std::span<const ListedProfile> profiles,
                                           const CaseMapping& mapping, COLORREF lineColor, std::u16string_view file);

}  // namespace ombrisk
