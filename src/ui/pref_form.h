// TPREF_FORM, the profile editor: a modal dialog that presents one profile,
// imports the IDE's own settings for the chosen release, and checks the
// name and the alternate key before it closes with OK. Its caller puts the
// profile in and takes it out (TMAIN_FORM::EditProfile).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/profile_record.h"
#include "core/row_model.h"
#include "ui/library_frame.h"
#include "ui/page_control.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

class TPREF_FORM : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TPREF_FORM";
  static constexpr SIZE kClientSize{600, 400};

  // Registers the window classes of the dialog and its frames once per
  // process.
  static void RegisterWindowClass(HINSTANCE instance);

  // lineColor is the background of every other package row.
  TPREF_FORM(const Services& services, std::u16string settingsFileName, COLORREF lineColor);
  ~TPREF_FORM() override;

  // Creates the hidden dialog owned by the window (FormCreate).
  void Create(HWND owner);
  // Stores the column widths (FormDestroy) and destroys the dialog; the
  // dialog is gone also when storing fails.
  void Release();
  // Shows the dialog, disables the owner and runs until OK or Cancel closes
  // it; returns IDOK or IDCANCEL.
  int ShowModal();

  TPrefMode Mode() const { return FMode; }
  void SetMode(TPrefMode mode) { FMode = mode; }
  // Names the profile name must not repeat (case ignored).
  std::vector<std::u16string> Profiles;
  // Sections of the settings file the profile must not replace.
  std::vector<std::u16string> TakenSections;

  HWND Component(const wchar_t* name) const;
  // The release of the selected item of CB01; 0 when none is selected.
  VersionCode SelectedVersion() const;
  void SelectVersion(VersionCode code);
  // The change handler of CB01, also called by the program.
  void CB01Change();
  int LibrarySheetCount() const { return static_cast<int>(frames_.size()); }
  TframeLibrary& SheetFrame(int index) const { return *frames_[static_cast<std::size_t>(index)]; }
  void ClearLibrarySheets();
  void AddLibrarySheet(TPlatformType platform);

  // The profile the controls hold, and putting a loaded profile into them.
  ProfileRecord ReadRecord() const;
  void LoadRecord(const ProfileRecord& record);

  // Idle-time update: the alternate key is editable only while chosen.
  void UpdateActions();
  bool Changed() const { return FChange; }
  int SortColumn() const { return packages_.SortColumn(); }
  // The package rows in the order the list shows them.
  const std::vector<PackageRow>& Packages() const { return packages_.Rows(); }
  COLORREF LineColor() const { return lineColor_; }
  // How the modal run ended so far: 0 while it goes on.
  int ModalResult() const { return modalResult_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return services_.reportError; }

 private:
  void CreateComponents();
  void FormShow();
  void FormDestroy();
  bool FormCloseQuery(int result);
  void CloseModal(int result);
  bool PreTranslateMessage(MSG& message);
  void ImportIdeSettings();
  void ApplyImport(const ProfileRecord& record);
  // Shows the package rows in their order; the check boxes show enabled.
  void FillPackageList();
  void ResetPackageSort();
  void LV1ItemChanged(const NMLISTVIEW* change);
  void LV1GetDispInfo(NMLVDISPINFOW* info) const;
  void LV1ColumnClick(int column);
  LRESULT LV1AdvancedCustomDrawItem(NMLVCUSTOMDRAW* draw);
  void PC1Change();
  void SwitchPage(int step);
  void btnRefClick();
  void Memo1KeyPress(wchar_t& key);
  void OnCommand(HWND control, WORD code);
  LRESULT OnNotify(NMHDR* header);
  void FocusControl(HWND control);
  static LRESULT CALLBACK MemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR form);

  const Services& services_;
  std::u16string settingsFileName_;
  COLORREF lineColor_;
  UiFont font_;

  bool FChange = false;
  RowModel<PackageRow> packages_{2};  // the rows of LV1; Sort_Column and the columns' tags
  bool fillingPackages_ = false;
  TPrefMode FMode = prmAdd;
  bool shown_ = false;
  bool cb01ChangeAttached_ = false;
  int modalResult_ = 0;

  PageControl PC1;
  PageControl pcLibrary;
  std::vector<std::unique_ptr<TframeLibrary>> frames_;
  HIMAGELIST IL1 = nullptr;
  HWND TabSheet1 = nullptr, tsPackage = nullptr, tsLibrary = nullptr, TabSheet2 = nullptr;
  HWND Label1 = nullptr, ED01 = nullptr, Label2 = nullptr, CB01 = nullptr, Label3 = nullptr, ED02 = nullptr;
  HWND Label10 = nullptr, ED09 = nullptr, btnRef = nullptr;
  HWND CHB1 = nullptr, CHB2 = nullptr, CHB3 = nullptr, chbEmbedded = nullptr, CHB6 = nullptr, CHB4 = nullptr,
       CHB5 = nullptr, ED10 = nullptr;
  HWND LV1 = nullptr, Memo1 = nullptr, Label4 = nullptr;
  HWND Panel1 = nullptr, Button4 = nullptr, Button5 = nullptr;
};

}  // namespace ombrisk
