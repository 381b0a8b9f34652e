#include "ui/pref_form.h"

#include "core/editor_checks.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/controls.h"
#include "ui/dialog_keys.h"
#include "ui/message_loop.h"
#include "ui/pref_form_tables.h"
#include "ui/project_file_dialog.h"
#include "ui/version_combo.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool checked) { SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

// Sets the text only when it differs, so no change notification comes for
// nothing.
void SetText(HWND control, std::u16string_view text) {
  if (ControlText(control) != text) SetWindowTextW(control, Wide(text).c_str());
}

// The setting as its control holds it: a check box's state or an edit's text.
void ReadField(HWND control, const ProfileKey& key, ProfileRecord& record) {
  if (key.flag != nullptr) record.*key.flag = IsChecked(control);
  if (key.text != nullptr) record.*key.text = ControlText(control);
}

}  // namespace

int ShowModally(TPREF_FORM& dialog) { return dialog.ShowModal(); }

void TPREF_FORM::RegisterWindowClass(HINSTANCE instance) {
  RegisterFormClass(instance, kClassName, 0);
  RegisterPanelClass(instance);
  TframeLibrary::RegisterWindowClass(instance);
}

TPREF_FORM::TPREF_FORM(const Services& services, const ProfileStore& store, COLORREF lineColor)
    : services_(services), store_(store), lineColor_(lineColor) {}

TPREF_FORM::~TPREF_FORM() {
  if (Memo1 != nullptr) RemoveWindowSubclass(Memo1, MemoProc, 0);
  if (IL1 != nullptr) ImageList_Destroy(IL1);
}

void TPREF_FORM::Create(HWND owner) {
  RECT bounds{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  CreateHandle(kClassName, L"", kStyle, kExStyle, RECT{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top},
               owner);
  // FormCreate's state is the members' first one: a new profile until the
  // caller says otherwise, and no import on a selection in CB01 until the
  // dialog is shown.
  CreateComponents();
}

void TPREF_FORM::CreateComponents() {
  const HFONT font = font_.Get();
  components_.Create(Handle(), kClientSize, std::span(kComponents, 1), font);
  PC1.Attach(components_.Find(L"PC1"), font);
  for (std::size_t page = 0; page < std::size(kPages); ++page) {
    components_.Adopt(kPages[page], PC1.AddPage(kPageCaptions[page], -1));
  }
  components_.Create(Handle(), kClientSize, std::span(kComponents).subspan(1), font);
  // The pages lie above their tab control, which stays at the bottom.
  SetWindowPos(PC1.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  combo_ = ComboBox(components_.Find(L"CB01"));
  packages_.Attach(components_.Find(L"LV1"), lineColor_);
  const std::u16string_view headers[] = {u"パッケージ名", u"パス"};
  const int widths[] = {50, 50};
  packages_.View().AddColumns(headers, widths, LVS_EX_CHECKBOXES);
  pcLibrary.Attach(components_.Find(L"pcLibrary"), font);
  IL1 = LoadImageStrip(IDB_PLATFORMS, 5);
  TabCtrl_SetImageList(pcLibrary.Handle(), IL1);
  Memo1 = components_.Find(L"Memo1");
  SetWindowSubclass(Memo1, MemoProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void TPREF_FORM::Fill(const EditRequest& request) {
  FMode = request.mode;
  SetWindowTextW(Handle(), Wide(request.caption).c_str());
  FillVersionCombo(combo_.Handle(), request.installed);
  SetText(Component(L"ED01"), request.name);
  Profiles_ = request.profiles;
  takenSections_ = request.takenSections;
  if (!request.profile) return;
  combo_.SelectData(request.profile->version);
  ApplyImport(*request.profile);
  ApplyFields(*request.profile, false);
  packages_.Assign(request.profile->packages);
}

EditResult TPREF_FORM::Result() const {
  return EditResult{std::u16string(StoredProfileName(ControlText(Component(L"ED01")))), ReadRecord()};
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

void TPREF_FORM::FormDestroy() {
  const int widths[] = {packages_.View().ColumnWidth(0), packages_.View().ColumnWidth(1)};
  store_.WritePrefFormColumns(widths);
}

int TPREF_FORM::ShowModal() {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  CentreOverOwner(Handle());
  modalResult_ = 0;
  FocusDialogControl(Component(L"ED01"));
  modalResult_ = RunModalLoop(
      Handle(), modalResult_,
      [this] {
        RunHandler(services_.reportError, [this] { UpdateActions(); });
        if (services_.afterIdle) services_.afterIdle(Handle());
      },
      [this](MSG& message) { return PreTranslateMessage(message); });
  return modalResult_;
}

void TPREF_FORM::FormShow() {
  RECT bounds{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const std::array<int, 2> widths = store_.ReadPrefFormColumns();
  for (int column = 0; column < 2; ++column) {
    packages_.View().SetColumnWidth(column, widths[static_cast<std::size_t>(column)]);
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
    const std::pair<const wchar_t*, std::u16string_view> hints[] = {{L"ED01", texts::kNameHint},
                                                                    {L"ED02", texts::kDescriptionHint},
                                                                    {L"ED09", texts::kParametersHint},
                                                                    {L"ED10", texts::kAltRegHint}};
    for (const auto& [edit, hint] : hints) {
      SendMessageW(Component(edit), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Wide(hint).c_str()));
    }
  }
  LayOutParameterRow();
}

// The browse button is a square as high as ED09, right beside it; both
// together span the width of ED01.
void TPREF_FORM::LayOutParameterRow() {
  const HWND parameters = Component(L"ED09");
  RECT name;
  RECT bounds;
  GetWindowRect(Component(L"ED01"), &name);
  GetWindowRect(parameters, &bounds);
  MapWindowPoints(nullptr, GetParent(parameters), reinterpret_cast<POINT*>(&bounds), 2);
  const int side = bounds.bottom - bounds.top;
  const int width = (name.right - name.left) - side;
  MoveTo(parameters, bounds.left, bounds.top, width, side);
  MoveTo(Component(L"btnRef"), bounds.left + width, bounds.top, side, side);
}

bool TPREF_FORM::FormCloseQuery(int result) {
  if (result != IDOK) return true;
  const std::u16string name = ControlText(Component(L"ED01"));
  const std::u16string altReg = ControlText(Component(L"ED10"));
  const std::u16string preProcess = ControlText(Memo1);
  const std::optional<InputProblem> problem =
      CheckProfileInput(ProfileInput{name, IsChecked(Component(L"CHB5")), altReg, preProcess}, Profiles_,
                        takenSections_, services_.comparer);
  if (!problem) return true;
  services_.showMessage(Handle(), texts::kErrorCaption, problem->message, MB_TASKMODAL | MB_ICONERROR | MB_OK);
  PC1.SetActivePage(problem->field == EditorField::PreProcess ? kPreProcessPage : kGeneralPage);
  FocusDialogControl(Component(problem->field == EditorField::ProfileName ? L"ED01"
                               : problem->field == EditorField::AltReg    ? L"ED10"
                                                                          : L"Memo1"));
  return false;
}

void TPREF_FORM::CloseModal(int result) {
  if (FormCloseQuery(result)) modalResult_ = result;
}

bool TPREF_FORM::PreTranslateMessage(MSG& message) {
  return PreTranslateDialogMessage(Handle(), message, [this](int step) { SwitchPage(step); });
}

void TPREF_FORM::SwitchPage(int step) {
  RunHandler(services_.reportError, [&] {
    const int count = PC1.PageCount();
    PC1.SetActivePage((PC1.ActivePageIndex() + step + count) % count);
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsWindowVisible(focus)) FocusDialogControl(PC1.Handle());
    PC1Change();
  });
}

LRESULT TPREF_FORM::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      if (lParam == 0 && LOWORD(wParam) == IDCANCEL) CloseModal(IDCANCEL);
      // Enter sends IDOK: no button is the default, so it does nothing.
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NEXTDLGCTL:
      FocusDialogControl(NextControl(Handle(), wParam, lParam));
      return 0;
    case WM_CLOSE:
      CloseModal(IDCANCEL);
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TPREF_FORM::OnCommand(HWND control, WORD code) {
  if (control == nullptr) return;
  if (DrawFocusedButtonAsDefault(control, code)) return;
  const int id = GetDlgCtrlID(control);
  if (id == kButton4 && code == BN_CLICKED) {
    CloseModal(IDOK);
  } else if (id == kButton5 && code == BN_CLICKED) {
    CloseModal(IDCANCEL);
  } else if (id == kBtnRef && code == BN_CLICKED) {
    btnRefClick();
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
  for (const FieldBinding& binding : kBindings) {
    if (binding.key->imported) ReadField(Control(binding.control), *binding.key, record);
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
    ApplyImport(record);
    packages_.Assign(record.packages);
    throw;
  }
  ApplyImport(record);
  packages_.AssignSorted(record.packages);
}

// The 32-bit and the 64-bit IDE know packages of their own; the rest of
// the settings they share.
void TPREF_FORM::chbIde64Click() {
  ProfileRecord record = ImportedFields();
  ombrisk::ImportIdePackages(*services_.registries.Create(), record);
  packages_.AssignSorted(record.packages);
}

void TPREF_FORM::ApplyImport(const ProfileRecord& record) {
  ShowWindow(packages_.View().Handle(), ReleaseFacts(record.version).packages ? SW_SHOW : SW_HIDE);
  for (const FieldBinding& binding : kBindings) {
    if (binding.key->offeredFor != nullptr) EnableWindow(Control(binding.control), IsOffered(*binding.key, record));
  }
  ApplyFields(record, true);
  ClearLibrarySheets();
  for (const LibraryPage& page : record.libraries) {
    AddLibrarySheet(page.platform);
    TframeLibrary& frame = *frames_.back();
    for (int row = 0; row < TframeLibrary::kRows; ++row) {
      frame.SetRowEnabled(row, !IsDisabledInEditor(LibrarySettings[static_cast<std::size_t>(row)], record.version));
    }
    frame.SetValues(page.values);
  }
}

void TPREF_FORM::ApplyFields(const ProfileRecord& record, bool importedOnly) {
  for (const FieldBinding& binding : kBindings) {
    if (importedOnly && !binding.key->imported) continue;
    const HWND control = Control(binding.control);
    if (binding.key->flag != nullptr) SetChecked(control, record.*binding.key->flag);
    if (binding.key->text != nullptr) SetText(control, record.*binding.key->text);
  }
}

ProfileRecord TPREF_FORM::ReadRecord() const {
  ProfileRecord record;
  record.version = SelectedVersion();
  for (const FieldBinding& binding : kBindings) ReadField(Control(binding.control), *binding.key, record);
  record.packages = packages_.Rows();
  for (const std::unique_ptr<TframeLibrary>& frame : frames_) {
    record.libraries.push_back(LibraryPage{frame->Tag(), frame->Values()});
  }
  return record;
}

void TPREF_FORM::ClearLibrarySheets() {
  while (pcLibrary.PageCount() > 0) {
    pcLibrary.DeleteLastPage();
    frames_.pop_back();
  }
}

void TPREF_FORM::AddLibrarySheet(TPlatformType platform) {
  HWND page = pcLibrary.AddPage(PlatformTabCaption(platform), PlatformTabImage(platform));
  frames_.push_back(std::make_unique<TframeLibrary>(page, font_.Get(), platform));
}

void TPREF_FORM::UpdateActions() {
  const HWND altReg = Component(L"ED10");
  const bool chosen = IsChecked(Component(L"CHB5"));
  if ((IsWindowEnabled(altReg) != FALSE) != chosen) EnableWindow(altReg, chosen);
  if (!chosen) SetText(altReg, u"");
}

void TPREF_FORM::LV1ColumnClick(int column) { packages_.ColumnClick(column); }

void TPREF_FORM::btnRefClick() {
  const HWND parameters = Component(L"ED09");
  if (const std::optional<std::u16string> file =
          ChooseProjectFile(Handle(), ControlText(parameters), services_.openFile)) {
    SetWindowTextW(parameters, Wide(QuotedWhenBlank(*file)).c_str());
  }
}

void TPREF_FORM::Memo1KeyPress(wchar_t& key) {
  if (key == 1) {
    SendMessageW(Memo1, EM_SETSEL, 0, -1);
    key = 0;
  }
}

LRESULT CALLBACK TPREF_FORM::MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR form) {
  auto* self = reinterpret_cast<TPREF_FORM*>(form);
  return RunSubclassHandler(self->services_.reportError, [&]() -> LRESULT {
    if (message == WM_CHAR) {
      auto key = static_cast<wchar_t>(wParam);
      self->Memo1KeyPress(key);
      if (key == 0) return 0;
      wParam = key;
    }
    return DefSubclassProc(window, message, wParam, lParam);
  });
}

}  // namespace ombrisk
