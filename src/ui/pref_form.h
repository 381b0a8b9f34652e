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
#include <span>
#include <string>
#include <vector>

#include "core/alternate_key.h"
#include "core/catalogue.h"
#include "core/editor_checks.h"
#include "core/profile_record.h"
#include "core/profile_store.h"
#include "ui/components.h"
#include "ui/environment_page.h"
#include "ui/library_frame.h"
#include "ui/list_view.h"
#include "ui/modal_dialog.h"
#include "ui/package_list.h"
#include "ui/page_control.h"
#include "ui/services.h"

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

class TPREF_FORM : public ModalDialog {
 public:
  static constexpr const wchar_t* kClassName = L"TPREF_FORM";
  static constexpr SIZE kClientSize{600, 400};
  // The components' identities: PC1 and its pages, then every control in
  // Tab order. The first ones lie above IDOK and IDCANCEL, which Enter and
  // Esc send.
  enum Id : int {
    kPC1 = 100,
    kTabSheet1,
    kTsPackage,
    kTsLibrary,
    kTsEnvironment,
    kTabSheet2,
    kLabel1,
    kED01,
    kLabel2,
    kCB01,
    kLabel3,
    kED02,
    kLabel10,
    kED09,
    kBtnRef,
    kCHB1,
    kCHB2,
    kCHB3,
    kChbEmbedded,
    kChbIde64,
    kCHB6,
    kCHB4,
    kCHB5,
    kED10,
    kBtnCopyKey,
    kChbAltRegInit,
    kLV1,
    kPcLibrary,
    kLabelEnvironment,
    kMemoEnvironment,
    kMemo1,
    kLabel4,
    kPanel1,
    kButton4,
    kButton5,
  };

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
  // The profile the controls hold.
  EditResult Result() const;
  // Stores the column widths (FormDestroy) and destroys the dialog; the
  // dialog is gone also when storing fails.
  void Release();

  TPrefMode Mode() const { return FMode; }
  const std::vector<std::u16string>& Profiles() const { return Profiles_; }
  // The release of the selected item of CB01; 0 when none is selected.
  VersionCode SelectedVersion() const;
  // The change handler of CB01.
  void CB01Change();
  int LibrarySheetCount() const { return static_cast<int>(frames_.size()); }
  TframeLibrary& SheetFrame(int index) const { return *frames_[static_cast<std::size_t>(index)]; }
  void ClearLibrarySheets();
  void AddLibrarySheet(TPlatformType platform);

  // Idle-time update: the alternate key and its start from the base key are
  // editable only while chosen; the copy button works only for a key it may
  // copy into and while the base key exists.
  void UpdateActions();
  bool Changed() const { return FChange; }
  int SortColumn() const { return packages_.SortColumn(); }
  COLORREF LineColor() const { return lineColor_; }

 protected:
  void CreateComponents() override;
  void OnCreate() override;
  void OnShow() override { FormShow(); }
  int FirstControl() const override { return kED01; }
  void OnIdle() override { UpdateActions(); }
  bool CanClose(int result) override { return FormCloseQuery(result); }
  void OnCommand(int id, WORD code) override;
  LRESULT OnNotify(NMHDR* header) override;
  void SwitchPage(int step) override;
  void OnDpiChanged(int previousDpi) override;

 private:
  // A page of PC1: its caption, what it shows of a record (with imported,
  // only what an import decides), what it reads back into a record, and its
  // refusal on OK (pref_form_pages.cpp).
  struct PageRefusal {
    std::u16string message;
    int control;    // focused; its page is shown
    int line = -1;  // selected in a memo, from 0
  };
  struct EditorPage {
    UiText caption;
    void (TPREF_FORM::*show)(const ProfileRecord& record, bool imported);
    void (TPREF_FORM::*read)(ProfileRecord& record) const;
    std::optional<PageRefusal> (TPREF_FORM::*check)() const;
  };
  static std::span<const EditorPage> Pages();
  void ShowPages(const ProfileRecord& record, bool imported);
  std::optional<PageRefusal> FirstRefusal() const;
  // The setting as its bound control holds it: a check box's state or an
  // edit's text.
  static void ReadBoundField(HWND control, const ProfileKey& key, ProfileRecord& record);
  void ShowGeneral(const ProfileRecord& record, bool imported);
  void ReadGeneral(ProfileRecord& record) const;
  std::optional<PageRefusal> CheckGeneral() const;
  void ShowPackages(const ProfileRecord& record, bool imported);
  void ReadPackages(ProfileRecord& record) const;
  void ShowLibraries(const ProfileRecord& record, bool imported);
  void ReadLibraries(ProfileRecord& record) const;
  void ShowEnvironment(const ProfileRecord& record, bool imported);
  void ReadEnvironment(ProfileRecord& record) const;
  std::optional<PageRefusal> CheckEnvironment() const;

  void FormShow();
  void LayOutParameterRow();
  void FormDestroy();
  bool FormCloseQuery(int result);
  ProfileRecord ImportedFields() const;
  void ImportIdeSettings();
  void chbIde64Click();
  void ApplyFields(const ProfileRecord& record, bool importedOnly);
  ProfileRecord ReadRecord() const;
  void LV1ColumnClick(int column);
  void PC1Change();
  void btnRefClick();
  // Whether the copy button is offered: for an alternate key the program
  // may copy into, and for a name it refuses with its reason.
  bool CopyKeyOffered() const;
  void btnCopyKeyClick();
  // Ctrl+A selects the whole text of the memo (Memo1 or the environment's).
  void Memo1KeyPress(HWND memo, wchar_t& key);
  static LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR form);

  const Services& services_;
  const ProfileStore& store_;
  COLORREF lineColor_;

  bool FChange = false;
  TPrefMode FMode = prmAdd;
  std::vector<std::u16string> Profiles_;
  std::vector<std::u16string> takenSections_;
  bool cb01ChangeAttached_ = false;
  // Whether the chosen release's base key exists, as the last import saw.
  bool baseKeyExists_ = false;

  PageControl PC1;
  PageControl pcLibrary;
  std::vector<std::unique_ptr<TframeLibrary>> frames_;
  HIMAGELIST IL1 = nullptr;
  ComboBox combo_;        // CB01
  PackageList packages_;  // LV1: Sort_Column and the columns' tags
  EnvironmentPage environment_;
  HWND Memo1 = nullptr;
};

// The editor's components table and the controls bound to the profile's
// settings (pref_form_components.cpp).
std::span<const ComponentRow> PrefFormComponents();
struct FieldBinding {
  const ProfileKey* key;
  int control;
};
std::span<const FieldBinding> PrefFormBindings();

}  // namespace ombrisk
