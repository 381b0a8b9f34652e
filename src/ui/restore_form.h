// The way back from a launch: the dialog that lists the launch backups,
// newest first, and the command that restores the one chosen after a
// confirmation.
#pragma once

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/launch_backup.h"
#include "core/profile_store.h"
#include "ui/list_view.h"
#include "ui/modal_dialog.h"
#include "ui/services.h"

namespace ombrisk {

// A row of the dialog: its cells.
struct BackupRow {
  std::u16string time, release, key, profile;
};

class TRESTORE_FORM : public ModalDialog {
 public:
  static constexpr const wchar_t* kClassName = L"TRESTORE_FORM";
  static constexpr SIZE kClientSize{620, 262};
  // The components' identities, in Tab order.
  enum Id : int { kLV1 = 100, kBtnRestore, kBtnCancel };

  TRESTORE_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const BackupRow> rows);
  // Creates the hidden dialog owned by the window.
  void Create(HWND owner);
  // The row chosen for the restore once ShowModal gave IDOK; -1 before.
  int Chosen() const { return chosen_; }
  // Asked before a chosen row closes the dialog; false keeps it open.
  void SetMayChoose(std::function<bool(int row)> mayChoose) { mayChoose_ = std::move(mayChoose); }

 protected:
  void OnCreate() override;
  int FirstControl() const override { return kLV1; }
  void OnCommand(int id, WORD code) override;
  LRESULT OnNotify(NMHDR* header) override;
  void OnEnter() override { ChooseSelected(); }
  void OnDpiChanged(int /*previousDpi*/) override { FitColumns(); }

 private:
  // Each column as wide as its widest text; the profiles' takes the rest.
  void FitColumns();
  void ChooseSelected();

  std::span<const BackupRow> rows_;
  ListView list_;
  int chosen_ = -1;
  std::function<bool(int row)> mayChoose_;
};

// The rows of the dialog for the backups beside the settings file.
std::vector<BackupRow> BackupRows(std::span<const BackupEntry> backups);

// Lists the backups, lets the user choose one and confirm, and restores it.
void RestoreLaunchBackup(const Services& services, const ProfileStore& store, HWND owner);

}  // namespace ombrisk
