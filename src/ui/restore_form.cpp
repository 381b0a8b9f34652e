#include "ui/restore_form.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "core/text.h"
#include "core/texts.h"
#include "ui/controls.h"
#include "ui/dialog_keys.h"
#include "ui/message_loop.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

// The components at the design size, in Tab order.
constexpr ComponentRow kComponents[] = {
    {L"LV1",
     nullptr,
     WC_LISTVIEWW,
     u"",
     {8, 8, 604, 212},
     akAll,
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE,
     TRESTORE_FORM::kList,
     kPlain},
    {L"btnRestore",
     nullptr,
     L"BUTTON",
     texts::kRestoreButton,
     {412, 228, 96, 26},
     akRight | akBottom,
     kButton,
     0,
     TRESTORE_FORM::kRestore,
     kPlain},
    {L"btnCancel",
     nullptr,
     L"BUTTON",
     texts::kCancelButton,
     {516, 228, 96, 26},
     akRight | akBottom,
     kButton,
     0,
     TRESTORE_FORM::kCancel,
     kPlain},
};

constexpr std::u16string_view kHeaders[] = {u"日時", u"バージョン", u"キー", u"プロファイル"};

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

void TRESTORE_FORM::RegisterWindowClass(HINSTANCE instance) { RegisterFormClass(instance, kClassName, 0); }

TRESTORE_FORM::TRESTORE_FORM(const ErrorReporter& report, std::span<const BackupRow> rows)
    : report_(report), rows_(rows) {}

void TRESTORE_FORM::Create(HWND owner) {
  // Registered at the first use rather than at start-up, which seldom needs it.
  static const bool registered = [] {
    RegisterWindowClass(GetModuleHandleW(nullptr));
    return true;
  }();
  (void)registered;
  RECT bounds{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  CreateHandle(kClassName, Wide(texts::kRestoreCaption).c_str(), kStyle, kExStyle,
               RECT{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top}, owner);
  components_.Create(Handle(), kClientSize, kComponents, font_.Get());
  list_ = ListView(Component(L"LV1"));
  list_.AddColumns(kHeaders, std::array<int, 4>{});
  FitColumns();
  list_.SetRowCount(static_cast<int>(rows_.size()));
  if (!rows_.empty()) list_.Select(0);
  EnableWindow(Component(L"btnRestore"), !rows_.empty());
}

void TRESTORE_FORM::FitColumns() {
  constexpr int kPadding = 16;
  RECT client{};
  GetClientRect(list_.Handle(), &client);
  int left = client.right - GetSystemMetrics(SM_CXVSCROLL);
  for (int column = 0; column < 3; ++column) {
    int width = TextWidth(list_.Handle(), font_.Get(), kHeaders[column]);
    for (const BackupRow& row : rows_) {
      width = std::max(width, TextWidth(list_.Handle(), font_.Get(), Cell(row, column)));
    }
    list_.SetColumnWidth(column, width + kPadding);
    left -= width + kPadding;
  }
  list_.SetColumnWidth(3, std::max(left, 100));
}

int TRESTORE_FORM::ShowModal() {
  CentreOverOwner(Handle());
  FocusDialogControl(Component(L"LV1"));
  RunModalLoop(
      Handle(), result_, [] {},
      [this](MSG& message) { return PreTranslateDialogMessage(Handle(), message, [](int) {}); });
  return result_ == IDOK ? chosen_ : -1;
}

void TRESTORE_FORM::Close(int result) { result_ = result; }

void TRESTORE_FORM::ChooseSelected() {
  chosen_ = list_.SelectedRow();
  if (chosen_ >= 0) Close(IDOK);
}

LRESULT TRESTORE_FORM::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control != nullptr && DrawFocusedButtonAsDefault(control, HIWORD(wParam))) return 0;
      const WORD id = LOWORD(wParam);
      // Enter outside a button sends IDOK: the selected row is restored.
      if (id == kRestore || (control == nullptr && id == IDOK)) ChooseSelected();
      if (id == kCancel || (control == nullptr && id == IDCANCEL)) Close(IDCANCEL);
      return 0;
    }
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NEXTDLGCTL:
      FocusDialogControl(NextControl(Handle(), wParam, lParam));
      return 0;
    case WM_CLOSE:
      Close(IDCANCEL);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

LRESULT TRESTORE_FORM::OnNotify(NMHDR* header) {
  if (header->idFrom != kList) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      const auto row = static_cast<std::size_t>(item.iItem);
      if ((item.mask & LVIF_TEXT) != 0 && row < rows_.size()) PutItemText(item, Cell(rows_[row], item.iSubItem));
      return 0;
    }
    case LVN_ITEMCHANGED:
      EnableWindow(Component(L"btnRestore"), list_.SelectedRow() >= 0);
      return 0;
    case NM_DBLCLK:
      ChooseSelected();
      return 0;
    default:
      return 0;
  }
}

int ChooseBackupModally(HWND owner, std::span<const BackupRow> rows, const ErrorReporter& reportError) {
  TRESTORE_FORM form(reportError, rows);
  form.Create(owner);
  return form.ShowModal();
}

std::vector<BackupRow> BackupRows(std::span<const BackupEntry> backups) {
  std::vector<BackupRow> rows;
  for (const BackupEntry& backup : backups) {
    const Release* release = FindRelease(backup.code);
    rows.push_back(BackupRow{DisplayTime(backup.time),
                             release != nullptr ? std::u16string(release->label) : DecimalText(backup.code),
                             backup.base, backup.profile});
  }
  return rows;
}

void RestoreLaunchBackup(const Services& services, const ProfileStore& store, HWND owner) {
  const std::vector<BackupEntry> backups = ListBackups(services.files, BackupFolder(store.Path()));
  const std::vector<BackupRow> rows = BackupRows(backups);
  const int chosen = services.chooseBackup(owner, rows, services.reportError);
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= rows.size()) return;
  const BackupRow& row = rows[static_cast<std::size_t>(chosen)];
  const std::u16string what = Concat({row.release, u" (", row.key, u")"});
  if (services.showMessage(owner, texts::kConfirmCaption, Format(texts::kRestoreQuestion, {what, row.time}),
                           MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  RestoreBackup(services.registries, services.files, backups[static_cast<std::size_t>(chosen)].path);
}

}  // namespace ombrisk
