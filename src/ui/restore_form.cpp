#include "ui/restore_form.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "core/profile_launch_record.h"
#include "core/text.h"
#include "core/texts.h"
#include "ui/alternate_key_commands.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr unsigned kCorner = akRight | akBottom;

using enum TRESTORE_FORM::Id;
constexpr ComponentRow kComponents[] = {
    ReportList(kLV1, "LV1", 0, {8, 8, 604, 212}).Anchor(akAll).With(LVS_OWNERDATA),
    Button(kBtnRestore, "btnRestore", 0, texts::kRestoreButton, {412, 228, 96, 26}).Anchor(kCorner),
    Button(kBtnCancel, "btnCancel", 0, texts::kCancelButton, {516, 228, 96, 26}).Anchor(kCorner),
};

const std::u16string& Cell(const BackupRow& row, int column) {
  switch (column) {
    case 0:
      return row.time;
    case 1:
      return row.release;
    case 2:
      return row.key;
    default:
      return row.profile;
  }
}

}  // namespace

TRESTORE_FORM::TRESTORE_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const BackupRow> rows)
    : ModalDialog(kClassName, kDialogStyle, kSmallDialogExStyle, kClientSize, kComponents, report,
                  std::move(afterIdle)),
      rows_(rows) {}

void TRESTORE_FORM::Create(HWND owner) { ModalDialog::Create(owner, texts::kRestoreCaption); }

void TRESTORE_FORM::OnCreate() {
  list_ = ListView(Control(kLV1));
  list_.AddColumns(texts::kBackupHeaders, std::array<int, 4>{});
  FitColumns();
  list_.SetRowCount(static_cast<int>(rows_.size()));
  if (!rows_.empty()) list_.Select(0);
  EnableWindow(Control(kBtnRestore), !rows_.empty());
}

void TRESTORE_FORM::FitColumns() {
  const int padding = Scaled(16, Dpi());
  RECT client{};
  GetClientRect(list_.Handle(), &client);
  int left = client.right - SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  for (int column = 0; column < 3; ++column) {
    int width = TextWidth(list_.Handle(), Font(), texts::kBackupHeaders[column]);
    for (const BackupRow& row : rows_) width = std::max(width, TextWidth(list_.Handle(), Font(), Cell(row, column)));
    list_.SetColumnWidth(column, width + padding);
    left -= width + padding;
  }
  list_.SetColumnWidth(3, std::max(left, Scaled(100, Dpi())));
}

void TRESTORE_FORM::ChooseSelected() {
  const int row = list_.SelectedRow();
  if (row < 0 || (mayChoose_ && !mayChoose_(row))) return;
  chosen_ = row;
  Close(IDOK);
}

void TRESTORE_FORM::OnCommand(int id, WORD code) {
  if (code != BN_CLICKED) return;
  if (id == kBtnRestore) ChooseSelected();
  if (id == kBtnCancel) Close(IDCANCEL);
}

LRESULT TRESTORE_FORM::OnNotify(NMHDR* header) {
  if (header->idFrom != kLV1) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      const auto row = static_cast<std::size_t>(item.iItem);
      if ((item.mask & LVIF_TEXT) != 0 && row < rows_.size()) PutItemText(item, Cell(rows_[row], item.iSubItem));
      return 0;
    }
    case LVN_ITEMCHANGED:
      EnableWindow(Control(kBtnRestore), list_.SelectedRow() >= 0);
      return 0;
    case NM_DBLCLK:
      ChooseSelected();
      return 0;
    default:
      return 0;
  }
}

std::vector<BackupRow> BackupRows(std::span<const BackupEntry> backups) {
  std::vector<BackupRow> rows;
  for (const BackupEntry& backup : backups) {
    const Release* release = FindRelease(backup.code);
    rows.push_back(BackupRow{DisplayTime(backup.time),
                             release != nullptr ? std::u16string(release->label) : DecimalText(backup.code),
                             backup.key.empty() ? backup.base : SettingsKeyName(backup.key), backup.profile});
  }
  return rows;
}

void RestoreLaunchBackup(const Services& services, const ProfileStore& store, HWND owner) {
  const std::vector<BackupEntry> backups = ListBackups(services.files, BackupFolder(store.Path()));
  const std::vector<BackupRow> rows = BackupRows(backups);
  TRESTORE_FORM dialog(services.reportError, services.afterIdle, rows);
  dialog.Create(owner);
  // A chosen backup is restored once the user says so; while an IDE uses its
  // key (and would write its settings back over the restore) the dialog
  // stays, so the user can close the IDE and choose again.
  bool confirmed = false;
  dialog.SetMayChoose([&](int row) {
    const BackupRow& shown = rows[static_cast<std::size_t>(row)];
    const BackupEntry& backup = backups[static_cast<std::size_t>(row)];
    confirmed = services.showMessage(
                    dialog.Handle(), texts::kConfirmCaption,
                    Format(texts::kRestoreQuestion, {Concat({shown.release, u" (", shown.key, u")"}), shown.time}),
                    MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO) == IDYES;
    // A script that names no key is refused by the restore itself.
    return !confirmed || backup.key.empty() || !RefusedWhileIdeRuns(services, dialog.Handle(), backup.key);
  });
  if (services.runModal(dialog) != IDOK || !confirmed) return;
  const BackupEntry& chosen = backups[static_cast<std::size_t>(dialog.Chosen())];
  RestoreBackup(services.registries, services.files, chosen.path, services.comparer.Mapping());
  if (!chosen.key.empty()) LaunchRecords(services.files, services.comparer, store.Path()).Forget(chosen.key);
}

}  // namespace ombrisk
