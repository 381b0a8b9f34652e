#include "ui/pref_form.h"

#include "core/editor_checks.h"
#include "core/text.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/alternate_key_commands.h"
#include "ui/controls.h"
#include "ui/dialog_keys.h"
#include "ui/dpi.h"
#include "ui/message_loop.h"
#include "ui/project_file_dialog.h"
#include "ui/version_combo.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool checked) { SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

// Enables or disables the control only when that changes something.
void SetEnabled(HWND control, bool enabled) {
  if ((IsWindowEnabled(control) != FALSE) != enabled) EnableWindow(control, enabled);
}

// Sets the text only when it differs, so no change notification comes for
// nothing.
void SetText(HWND control, std::u16string_view text) {
  if (ControlText(control) != text) SetWindowTextW(control, Wide(text).c_str());
}

constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

// The first page of PC1.
constexpr int kGeneralPage = 0;

// The package list's columns as the settings file stores them, at 96 DPI.
std::array<int, 2> StoredWidths(const ListView& view, int dpi) {
  return {LengthAt96(view.ColumnWidth(0), dpi), LengthAt96(view.ColumnWidth(1), dpi)};
}

}  // namespace

TPREF_FORM::TPREF_FORM(const Services& services, const ProfileStore& store, COLORREF lineColor)
    : ModalDialog(kClassName, kDialogStyle, kExStyle, kClientSize, PrefFormComponents(), services.reportError,
                  services.afterIdle),
      services_(services),
      store_(store),
      lineColor_(lineColor) {}

TPREF_FORM::~TPREF_FORM() {
  if (Memo1 != nullptr) {
    RemoveWindowSubclass(Memo1, MemoProc, 0);
    RemoveWindowSubclass(Control(kMemoEnvironment), MemoProc, 0);
  }
  if (IL1 != nullptr) ImageList_Destroy(IL1);
}

// FormCreate's state is the members' first one: a new profile until the
// caller says otherwise, and no import on a selection in CB01 until the
// dialog is shown.
void TPREF_FORM::Create(HWND owner) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterPanelClass(instance);
  TframeLibrary::RegisterWindowClass(instance);
  ModalDialog::Create(owner, u"");
}

void TPREF_FORM::CreateComponents() {
  const int dpi = WindowDpi(Handle());
  const std::span<const ComponentRow> table = Table();
  Components().Create(Handle(), Design(), table.first(1), Font(), dpi);
  PC1.Attach(Control(kPC1), Font());
  for (std::size_t page = 0; page < Pages().size(); ++page) {
    Components().Adopt(kTabSheet1 + static_cast<int>(page), PC1.AddPage(Pages()[page].caption, -1));
  }
  Components().Create(Handle(), Design(), table.subspan(1), Font(), dpi);
  // The pages lie above their tab control, which stays at the bottom.
  SetWindowPos(PC1.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TPREF_FORM::OnCreate() {
  combo_ = ComboBox(Control(kCB01));
  packages_.Attach(Control(kLV1), lineColor_);
  const int widths[] = {50, 50};
  packages_.View().AddColumns(texts::kPackageHeaders, widths, LVS_EX_CHECKBOXES);
  pcLibrary.Attach(Control(kPcLibrary), Font());
  IL1 = LoadImageStrip(IDB_PLATFORMS, ImageSizeFor(Dpi()));
  TabCtrl_SetImageList(pcLibrary.Handle(), IL1);
  Memo1 = Control(kMemo1);
  const HWND environment = Control(kMemoEnvironment);
  environment_.Attach(Control(kLabelEnvironment), environment);
  for (const HWND memo : {Memo1, environment}) SetWindowSubclass(memo, MemoProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void TPREF_FORM::Fill(const EditRequest& request) {
  FMode = request.mode;
  SetWindowTextW(Handle(), Wide(request.caption).c_str());
  FillVersionCombo(combo_.Handle(), request.installed);
  SetText(Control(kED01), request.name);
  Profiles_ = request.profiles;
  takenSections_ = request.takenSections;
  if (!request.profile) {
    ApplyFields(ProfileRecord{}, false);  // a new profile's settings
    return;
  }
  combo_.SelectData(request.profile->version);
  ShowPages(*request.profile, false);
}

EditResult TPREF_FORM::Result() const {
  return EditResult{std::u16string(StoredProfileName(ControlText(Control(kED01)))), ReadRecord()};
}

void TPREF_FORM::Release() {
  struct DestroyAtEnd {
    HWND window;
    ~DestroyAtEnd() {
      if (window != nullptr) DestroyWindow(window);
    }
  } destroy{Handle()};
  FormDestroy();
}

void TPREF_FORM::FormDestroy() { store_.WritePrefFormColumns(StoredWidths(packages_.View(), Dpi())); }

void TPREF_FORM::FormShow() {
  const std::array<int, 2> widths = store_.ReadPrefFormColumns();
  for (int column = 0; column < 2; ++column) {
    packages_.View().SetColumnWidth(column, Scaled(widths[static_cast<std::size_t>(column)], Dpi()));
  }
  if (FMode == prmAdd) {
    combo_.Select(0);
    ImportIdeSettings();
  } else {
    packages_.ResetSort();
  }
  PC1.SetActivePage(kGeneralPage);
  FChange = false;
  cb01ChangeAttached_ = true;
  if (FMode == prmAdd) {
    const std::pair<int, std::u16string_view> hints[] = {{kED01, texts::kNameHint},
                                                         {kED02, texts::kDescriptionHint},
                                                         {kED09, texts::kParametersHint},
                                                         {kED10, texts::kAltRegHint}};
    for (const auto& [edit, hint] : hints) {
      SendMessageW(Control(edit), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Wide(hint).c_str()));
    }
  }
  LayOutParameterRow();
}

// The first refusal of the pages is shown, with its page, the control to
// mend focused and its line selected.
bool TPREF_FORM::FormCloseQuery(int result) {
  if (result != IDOK) return true;
  const std::optional<PageRefusal> refusal = FirstRefusal();
  if (!refusal) return true;
  services_.showMessage(Handle(), texts::kErrorCaption, refusal->message, MB_TASKMODAL | MB_ICONERROR | MB_OK);
  const HWND control = Control(refusal->control);
  for (int page = 0; page < PC1.PageCount(); ++page) {
    if (IsChild(Control(kTabSheet1 + page), control)) PC1.SetActivePage(page);
  }
  FocusDialogControl(control);
  if (refusal->line >= 0) SelectLine(control, refusal->line);
  return false;
}

void TPREF_FORM::SwitchPage(int step) {
  const int count = PC1.PageCount();
  PC1.SetActivePage((PC1.ActivePageIndex() + step + count) % count);
  const HWND focus = GetFocus();
  if (focus == nullptr || !IsWindowVisible(focus)) FocusDialogControl(PC1.Handle());
  PC1Change();
}

void TPREF_FORM::OnCommand(int id, WORD code) {
  if (id == kButton4 && code == BN_CLICKED) {
    Close(IDOK);
  } else if (id == kButton5 && code == BN_CLICKED) {
    Close(IDCANCEL);
  } else if (id == kBtnRef && code == BN_CLICKED) {
    btnRefClick();
  } else if (id == kBtnCopyKey && code == BN_CLICKED) {
    btnCopyKeyClick();
  } else if ((id == kCHB5 && code == BN_CLICKED) || (id == kED10 && code == EN_CHANGE)) {
    FChange = true;  // CHB5Click, ED10Change
  } else if (id == kChbIde64 && code == BN_CLICKED) {
    chbIde64Click();
  } else if (id == kCB01 && code == CBN_SELCHANGE) {
    if (cb01ChangeAttached_) CB01Change();
  }
}

LRESULT TPREF_FORM::OnNotify(NMHDR* header) {
  if (header->hwndFrom == PC1.Handle() && header->code == TCN_SELCHANGE) {
    PC1.ShowSelectedPage();
    PC1Change();
  } else if (header->hwndFrom == pcLibrary.Handle() && header->code == TCN_SELCHANGE) {
    pcLibrary.ShowSelectedPage();
  } else if (header->hwndFrom == packages_.View().Handle() && header->code == LVN_COLUMNCLICK) {
    LV1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  } else if (header->hwndFrom == packages_.View().Handle()) {
    return packages_.Notify(header);
  }
  return 0;
}

VersionCode TPREF_FORM::SelectedVersion() const { return static_cast<VersionCode>(combo_.SelectedData().value_or(0)); }

void TPREF_FORM::CB01Change() { ImportIdeSettings(); }

void TPREF_FORM::PC1Change() {
  if (FChange) ImportIdeSettings();
}

// What the import reads or may change; the rows and tabs it builds anew.
ProfileRecord TPREF_FORM::ImportedFields() const {
  ProfileRecord record;
  record.version = SelectedVersion();
  record.ide64Installed = Ide64Installed(services_.registries, services_.files, record.version);
  for (const FieldBinding& binding : PrefFormBindings()) {
    if (binding.key->imported) ReadBoundField(Control(binding.control), *binding.key, record);
  }
  return record;
}

void TPREF_FORM::ImportIdeSettings() {
  ProfileRecord record = ImportedFields();
  // FChange is cleared however the run ends.
  struct EndRun {
    bool& changed;
    ~EndRun() { changed = false; }
  } endRun{FChange};
  const std::unique_ptr<Registry> registry = services_.registries.Create();
  try {
    ombrisk::ImportIdeSettings(*registry, record);
  } catch (...) {
    // What was read is shown, unsorted.
    ShowPages(record, true);
    packages_.Assign(record.packages);
    throw;
  }
  ShowPages(record, true);
}

// The 32-bit and the 64-bit IDE know packages of their own, and may know
// environment variables of their own; the rest of the settings they share.
void TPREF_FORM::chbIde64Click() {
  ProfileRecord record = ImportedFields();
  const std::unique_ptr<Registry> registry = services_.registries.Create();
  ombrisk::ImportIdePackages(*registry, record);
  packages_.AssignSorted(record.packages);
  ombrisk::ImportIdeEnvironment(*registry, record);
  environment_.Offer(record);
}

void TPREF_FORM::ApplyFields(const ProfileRecord& record, bool importedOnly) {
  for (const FieldBinding& binding : PrefFormBindings()) {
    if (importedOnly && !binding.key->imported) continue;
    const HWND control = Control(binding.control);
    if (binding.key->flag != nullptr) SetChecked(control, record.*binding.key->flag);
    if (binding.key->text != nullptr) SetText(control, record.*binding.key->text);
  }
}

void TPREF_FORM::ClearLibrarySheets() {
  while (pcLibrary.PageCount() > 0) {
    pcLibrary.DeleteLastPage();
    frames_.pop_back();
  }
}

void TPREF_FORM::AddLibrarySheet(TPlatformType platform) {
  HWND page = pcLibrary.AddPage(PlatformTabCaption(platform), PlatformTabImage(platform));
  frames_.push_back(std::make_unique<TframeLibrary>(page, Font(), platform, Dpi()));
}

bool TPREF_FORM::CopyKeyOffered() const {
  return CopyBaseKeyOffered(services_, SelectedVersion(), IsChecked(Control(kCHB5)), ControlText(Control(kED10)));
}

void TPREF_FORM::UpdateActions() {
  const HWND altReg = Control(kED10);
  const bool chosen = IsChecked(Control(kCHB5));
  SetEnabled(altReg, chosen);
  SetEnabled(Control(kChbAltRegInit), chosen);
  if (!chosen) SetText(altReg, u"");
  SetEnabled(Control(kBtnCopyKey), baseKeyExists_ && CopyKeyOffered());
}

// The base key copied into the alternate key, which the editor then imports
// as on a change of release.
void TPREF_FORM::btnCopyKeyClick() {
  if (CopyKeyOffered() &&
      CopyBaseKeyOnRequest(services_, store_, Handle(), SelectedVersion(), ControlText(Control(kED10)),
                           StoredProfileName(ControlText(Control(kED01))))) {
    ImportIdeSettings();
  }
}

void TPREF_FORM::LV1ColumnClick(int column) { packages_.ColumnClick(column); }

void TPREF_FORM::btnRefClick() {
  const HWND parameters = Control(kED09);
  if (const std::optional<std::u16string> file =
          ChooseProjectFile(Handle(), ControlText(parameters), services_.openFile)) {
    SetWindowTextW(parameters, Wide(QuotedWhenBlank(*file)).c_str());
  }
}

void TPREF_FORM::Memo1KeyPress(HWND memo, wchar_t& key) {
  if (key == 1) {
    SendMessageW(memo, EM_SETSEL, 0, -1);
    key = 0;
  }
}

LRESULT CALLBACK TPREF_FORM::MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR form) {
  auto* self = reinterpret_cast<TPREF_FORM*>(form);
  return RunSubclassHandler(self->services_.reportError, [&]() -> LRESULT {
    if (message == WM_CHAR) {
      auto key = static_cast<wchar_t>(wParam);
      self->Memo1KeyPress(window, key);
      if (key == 0) return 0;
      wParam = key;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  });
}

}  // namespace ombrisk
