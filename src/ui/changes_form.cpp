#include "ui/changes_form.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "core/texts.h"
#include "ui/controls.h"
#include "ui/dpi.h"

namespace ombrisk {

namespace {

constexpr unsigned kCorner = akRight | akBottom;

using enum TCHANGES_FORM::Id;
constexpr ComponentRow kComponents[] = {
    Text(kLabel1, "Label1", 0, texts::kChangesLabel, {8, 8, 604, 34}).Anchor(akLeft | akTop | akRight),
    ReportList(kLV1, "LV1", 0, {8, 48, 604, 210}).Anchor(akAll),
    Button(kBtnTakeIn, "btnTakeIn", 0, texts::kTakeInButton, {260, 266, 136, 26})
        .Anchor(kCorner)
        .With(BS_DEFPUSHBUTTON),
    Button(kBtnLaunch, "btnLaunch", 0, texts::kLaunchAsStoredButton, {404, 266, 136, 26}).Anchor(kCorner),
    Button(kBtnCancel, "btnCancel", 0, texts::kCancelButton, {548, 266, 64, 26}).Anchor(kCorner),
};

// The columns' texts of a row.
constexpr std::u16string ChangeTexts::*kColumns[] = {&ChangeTexts::setting, &ChangeTexts::written, &ChangeTexts::now};

}  // namespace

TCHANGES_FORM::TCHANGES_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const ChangeTexts> rows)
    : ModalDialog(kClassName, kDialogStyle, kSmallDialogExStyle, kClientSize, kComponents, report,
                  std::move(afterIdle)),
      rows_(rows),
      checked_(rows.size(), true) {}

void TCHANGES_FORM::Create(HWND owner) { ModalDialog::Create(owner, texts::kChangesCaption); }

void TCHANGES_FORM::OnCreate() {
  list_ = ListView(Control(kLV1));
  list_.AddColumns(texts::kChangesHeaders, std::array<int, 3>{}, LVS_EX_CHECKBOXES);
  FitColumns();
  list_.SetCallbackRows(static_cast<int>(rows_.size()));
  for (int row = 0; row < static_cast<int>(rows_.size()); ++row) list_.SetChecked(row, true);
  if (!rows_.empty()) list_.Select(0);
}

void TCHANGES_FORM::FitColumns() {
  const int padding = Scaled(16, Dpi());
  RECT client{};
  GetClientRect(list_.Handle(), &client);
  const int room = client.right - SystemMetricForDpi(SM_CXVSCROLL, Dpi());
  // Room for the check box before the setting's text.
  int setting = TextWidth(list_.Handle(), Font(), texts::kChangesHeaders[0]);
  for (const ChangeTexts& row : rows_) setting = std::max(setting, TextWidth(list_.Handle(), Font(), row.setting));
  setting = std::min(setting + padding + SystemMetricForDpi(SM_CXSMICON, Dpi()), room / 3);
  list_.SetColumnWidth(0, setting);
  const int value = std::max((room - setting) / 2, Scaled(100, Dpi()));
  list_.SetColumnWidth(1, value);
  list_.SetColumnWidth(2, value);
}

void TCHANGES_FORM::Finish(int button) {
  for (std::size_t row = 0; row < checked_.size(); ++row) checked_[row] = list_.Checked(static_cast<int>(row));
  Close(button);
}

void TCHANGES_FORM::OnCommand(int id, WORD code) {
  if (code != BN_CLICKED) return;
  if (id == kBtnTakeIn || id == kBtnLaunch) Finish(id);
  if (id == kBtnCancel) Close(IDCANCEL);
}

LRESULT TCHANGES_FORM::OnNotify(NMHDR* header) {
  if (header->idFrom == kLV1 && header->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    const auto row = static_cast<std::size_t>(item.iItem);
    if (row < rows_.size() && item.iSubItem >= 0 && static_cast<std::size_t>(item.iSubItem) < std::size(kColumns)) {
      PutItemText(item, rows_[row].*kColumns[item.iSubItem]);
    }
  }
  return 0;
}

ChangesAnswer ReviewChanges(const ErrorReporter& report, const ModalRunner& runModal,
                            ModalDialog::IdleObserver afterIdle, HWND owner, std::span<const SettingChange> changes) {
  std::vector<ChangeTexts> rows;
  for (const SettingChange& change : changes) rows.push_back(change.setting->describe(change));
  TCHANGES_FORM dialog(report, std::move(afterIdle), rows);
  dialog.Create(owner);
  switch (runModal(dialog)) {
    case TCHANGES_FORM::kBtnTakeIn:
      return ChangesAnswer{ChangesAnswer::Choice::TakeIn, dialog.Checked()};
    case TCHANGES_FORM::kBtnLaunch:
      return ChangesAnswer{ChangesAnswer::Choice::LaunchAsStored, {}};
    default:
      return ChangesAnswer{};
  }
}

}  // namespace ombrisk
