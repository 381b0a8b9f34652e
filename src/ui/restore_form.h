// The way back from a launch: the dialog that lists the launch backups,
// newest first, and the command that restores the one chosen after a
// confirmation.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "core/launch_backup.h"
#include "core/profile_store.h"
#include "ui/components.h"
#include "ui/list_view.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

class TRESTORE_FORM : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TRESTORE_FORM";
  static constexpr SIZE kClientSize{620, 262};
  enum Control { kList = 100, kRestore, kCancel };

  static void RegisterWindowClass(HINSTANCE instance);

  TRESTORE_FORM(const ErrorReporter& report, std::span<const BackupRow> rows);
  void Create(HWND owner);
  // Runs until a row is restored (its index) or the dialog is cancelled
  // (-1).
  int ShowModal();
  HWND Component(std::wstring_view name) const { return components_.Find(name); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return report_; }

 private:
  // Each column as wide as its widest text; the profiles' takes the rest.
  void FitColumns();
  LRESULT OnNotify(NMHDR* header);
  void Close(int result);
  void ChooseSelected();

  const ErrorReporter& report_;
  std::span<const BackupRow> rows_;
  UiFont font_;
  ComponentSet components_;
  ListView list_;
  int result_ = 0;
  int chosen_ = -1;
};

// The rows of the dialog for the backups beside the settings file.
std::vector<BackupRow> BackupRows(std::span<const BackupEntry> backups);

// Lists the backups, lets the user choose one and confirm, and restores it.
void RestoreLaunchBackup(const Services& services, const ProfileStore& store, HWND owner);

}  // namespace ombrisk
