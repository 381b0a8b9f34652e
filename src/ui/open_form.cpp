#include "ui/open_form.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/text.h"
#include "core/texts.h"
#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr unsigned kCorner = akRight | akBottom;

using enum TOPEN_FORM::Id;
constexpr ComponentRow kComponents[] = {
    Text(kLabel1, "Label1", 0, u"", {8, 8, 504, 20}).Anchor(akLeft | akTop | akRight),
    ReportList(kLV1, "LV1", 0, {8, 32, 504, 200}).Anchor(akAll).With(LVS_SHAREIMAGELISTS | LVS_OWNERDATA),
    CheckBox(kCbRemember, "cbRemember", 0, texts::kRememberBox, {8, 240, 0, 21}).Anchor(akLeft | akBottom),
    Button(kBtnOpen, "btnOpen", 0, texts::kOpenButton, {328, 266, 88, 26}).Anchor(kCorner).With(BS_DEFPUSHBUTTON),
    Button(kBtnCancel, "btnCancel", 0, texts::kCancelButton, {424, 266, 88, 26}).Anchor(kCorner),
};

// The file's name without its folder.
std::u16string_view FileName(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

TOPEN_FORM::TOPEN_FORM(const ErrorReporter& report, IdleObserver afterIdle, std::span<const ListedProfile> profiles,
                       const CaseMapping& mapping, COLORREF lineColor, std::u16string_view file)
    : ModalDialog(kClassName, kDialogStyle, kSmallDialogExStyle, kClientSize, kComponents, report,
                  std::move(afterIdle)),
      profiles_(profiles),
      mapping_(mapping),
      lineColor_(lineColor),
      file_(file) {}

void TOPEN_FORM::Create() { ModalDialog::Create(nullptr, texts::kOpenCaption); }

void TOPEN_FORM::OnCreate() {
  SetWindowTextW(Control(kLabel1), Wide(Format(texts::kOpenLabel, {FileName(file_)})).c_str());
  list_.Attach(Control(kLV1), mapping_, Dpi());
  list_.SetLineColor(lineColor_);
  list_.Assign(std::vector<ListedProfile>(profiles_.begin(), profiles_.end()));
  Button_SetCheck(Control(kCbRemember), BST_CHECKED);
}

void TOPEN_FORM::OnDpiChanged(int previousDpi) {
  list_.Rescale(Dpi());
  list_.View().RescaleColumns(previousDpi, Dpi());
}

void TOPEN_FORM::Open() {
  const int row = list_.View().SelectedRow();
  if (row < 0) return;
  choice_ = ProfileChoice{list_.Row(row).name, Button_GetCheck(Control(kCbRemember)) == BST_CHECKED};
  Close(kBtnOpen);
}

void TOPEN_FORM::OnCommand(int id, WORD code) {
  if (code != BN_CLICKED) return;
  if (id == kBtnOpen) Open();
  if (id == kBtnCancel) Close(IDCANCEL);
}

LRESULT TOPEN_FORM::OnNotify(NMHDR* header) {
  if (header->idFrom != kLV1) return 0;
  if (header->code == NM_DBLCLK) {
    Open();
    return 0;
  }
  return list_.Notify(header);
}

std::optional<ProfileChoice> ChooseProfile(const ErrorReporter& report, const ModalRunner& runModal,
                                           ModalDialog::IdleObserver afterIdle, std::span<const ListedProfile> profiles,
                                           const CaseMapping& mapping, COLORREF lineColor, std::u16string_view file) {
  TOPEN_FORM dialog(report, std::move(afterIdle), profiles, mapping, lineColor, file);
  dialog.Create();
  if (runModal(dialog) != TOPEN_FORM::kBtnOpen) return std::nullopt;
  return dialog.Choice();
}

}  // namespace ombrisk
