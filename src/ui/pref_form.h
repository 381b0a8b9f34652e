// TPREF_FORM, the profile editor: a modal dialog that presents one profile,
// imports the IDE's own settings for the chosen release, and checks the
// name and the alternate key before it closes with OK. Its caller hands it
// one request and takes one result (ui/profile_editing.*).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/profile_record.h"
#include "core/profile_store.h"
#include "ui/components.h"
#include "ui/library_frame.h"
#include "ui/list_view.h"
#include "ui/package_list.h"
#include "ui/page_control.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

// What the caller puts into the editor.
struct EditRequest {
  TPrefMode mode = prmAdd;
  std::u16string_view caption;
  // The releases CB01 offers.
  InstalledVersionSet installed;
  // ED01's text.
  std::u16string name;
  // Names the profile name must not repeat (case ignored), and sections of
  // the settings file the profile must not replace.
  std::vector<std::u16string> profiles;
  std::vector<std::u16string> takenSections;
  // Edit and copy: the stored profile over the IDE's settings of its release.
  std::optional<ProfileRecord> profile;
};

// What the editor gives back after OK: the name as it is stored and the
// profile as the controls hold it.
struct EditResult {
  std::u16string name;
  ProfileRecord record;
};

class TPREF_FORM : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TPREF_FORM";
  static constexpr SIZE kClientSize{600, 400};

  // Registers the window classes of the dialog and its frames once per
  // process.
  static void RegisterWindowClass(HINSTANCE instance);

  // lineColor is the background of every other package row; the store keeps
  // the package list's column widths.
  TPREF_FORM(const Services& services, const ProfileStore& store, COLORREF lineColor);
  ~TPREF_FORM() override;

  // Creates the hidden dialog owned by the window (FormCreate).
  void Create(HWND owner);
  // Puts the request into the controls, as the caller does before showing
  // the dialog: caption, releases, name, the names not to repeat, and in
  // edit and copy mode the profile's release with the profile.
  void Fill(const EditRequest& request);
  bool HasReleases() const { return combo_.Count() > 0; }
  // Shows the dialog, disables the owner and runs until OK or Cancel closes
  // it; returns IDOK or IDCANCEL.
  int ShowModal();
  // The profile the controls hold.
  EditResult Result() const;
  // Stores the column widths (FormDestroy) and destroys the dialog; the
  // dialog is gone also when storing fails.
  void Release();

  TPrefMode Mode() const { return FMode; }
  const std::vector<std::u16string>& Profiles() const { return Profiles_; }
  HWND Component(const wchar_t* name) const { return components_.Find(name); }
  HWND Control(int id) const { return components_.FindId(id); }
  // The release of the selected item of CB01; 0 when none is selected.
  VersionCode SelectedVersion() const;
  // The change handler of CB01.
  void CB01Change();
  int LibrarySheetCount() const { return static_cast<int>(frames_.size()); }
  TframeLibrary& SheetFrame(int index) const { return *frames_[static_cast<std::size_t>(index)]; }
  void ClearLibrarySheets();
  void AddLibrarySheet(TPlatformType platform);

  // Idle-time update: the alternate key is editable only while chosen.
  void UpdateActions();
  bool Changed() const { return FChange; }
  int SortColumn() const { return packages_.SortColumn(); }
  COLORREF LineColor() const { return lineColor_; }
  // How the modal run ended so far: 0 while it goes on.
  int ModalResult() const { return modalResult_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return services_.reportError; }

 private:
  void CreateComponents();
  void FormShow();
  void LayOutParameterRow();
  void FormDestroy();
  bool FormCloseQuery(int result);
  void CloseModal(int result);
  bool PreTranslateMessage(MSG& message);
  ProfileRecord ImportedFields() const;
  void ImportIdeSettings();
  void chbIde64Click();
  // What an import decides: the controls of the release, the import's
  // switches, the package rows and the library tabs.
  void ApplyImport(const ProfileRecord& record);
  void ApplyFields(const ProfileRecord& record, bool importedOnly);
  ProfileRecord ReadRecord() const;
  void LV1ColumnClick(int column);
  void PC1Change();
  void SwitchPage(int step);
  void btnRefClick();
  void Memo1KeyPress(wchar_t& key);
  void OnCommand(HWND control, WORD code);
  LRESULT OnNotify(NMHDR* header);
  static LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR form);

  const Services& services_;
  const ProfileStore& store_;
  COLORREF lineColor_;
  UiFont font_;

  bool FChange = false;
  TPrefMode FMode = prmAdd;
  std::vector<std::u16string> Profiles_;
  std::vector<std::u16string> takenSections_;
  bool shown_ = false;
  bool cb01ChangeAttached_ = false;
  int modalResult_ = 0;

  ComponentSet components_;
  PageControl PC1;
  PageControl pcLibrary;
  std::vector<std::unique_ptr<TframeLibrary>> frames_;
  HIMAGELIST IL1 = nullptr;
  ComboBox combo_;        // CB01
  PackageList packages_;  // LV1: Sort_Column and the columns' tags
  HWND Memo1 = nullptr;
};

}  // namespace ombrisk
