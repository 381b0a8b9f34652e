// TMAIN_FORM, the program's main window: the profile list and the commands
// on it. Closing it ends the program.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/profile_list.h"
#include "core/profile_record.h"
#include "ui/components.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"

namespace ombrisk {

class TPREF_FORM;

class TMAIN_FORM : public Window {
 public:
  static constexpr const wchar_t* kClassName = L"TMAIN_FORM";
  static constexpr SIZE kDesignClientSize{512, 320};
  static constexpr SIZE kMinimumSize{284, 200};

  // The actions, in the order of the actions table.
  enum Action { AL_ADD, AL_EDIT, AL_DELETE, AL_LAUNCH, AL_CANCEL, AL_COPY, AL_FIND, kActionCount };

  // Registers the window classes once per process.
  static void RegisterWindowClass(HINSTANCE instance);

  explicit TMAIN_FORM(Services services);
  ~TMAIN_FORM() override;

  // Creates the window hidden, at its design size, with its components.
  void Create();
  void Show();
  // Sees every message of the loop first: the find dialog's navigation, the
  // window's shortcuts, then its Tab navigation. True when it handled one.
  bool PreTranslateMessage(MSG& message);

  HFONT Font() const { return font_.Get(); }
  InstalledVersionSet InstalledVersions() const { return InstalledVersions_; }
  const std::u16string& SettingsFileName() const { return SettingsFileName_; }
  COLORREF LineColor() const { return LineColor_; }
  bool ActionEnabled(Action action) const { return enabled_[action]; }
  HWND Component(const wchar_t* name) const;
  // The listed profiles in the order the list shows them.
  const std::vector<ListedProfile>& Profiles() const { return rows_.Rows(); }
  HMENU PopupMenu() const { return PopupMenu1; }
  // The open find dialog, or nullptr.
  HWND FindDialog() const { return findDialog_; }
  void Execute(Action action);
  // The command the action's button, menu item and shortcut send.
  static WORD CommandId(Action action);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return services_.reportError; }

 private:
  void CreateComponents();
  void FormShow();
  void ShowComponents();
  void FormDestroy();
  void ApplyGeometry();
  LRESULT LV1Notify(NMHDR* header);
  LRESULT LV1AdvancedCustomDrawItem(NMLVCUSTOMDRAW* draw);
  void LV1ColumnClick(int column);
  void LV1DblClick();
  void LV1KeyDown(WPARAM key);
  void LV1MouseDown();
  void UpdateActionStates();
  void SetActionEnabled(Action action, bool enabled);
  void EditProfile(TPrefMode mode);
  void FillEditor(TPREF_FORM& dialog, TPrefMode mode, int row);
  void SaveEditedProfile(TPREF_FORM& dialog, TPrefMode mode, int row);
  void AL_LAUNCHExecute();
  void AL_DELETEExecute();
  void AL_CANCELExecute();
  void StartFind(HWND view);
  void FD_LVFind();
  void FD_LVClose();
  bool MatchListItem(HWND view, int index, std::u16string_view text);
  void ShowPopupMenu(POINT at);
  int SelectedRow() const;
  // Selects the row and gives it the focus rectangle.
  void SelectRow(int row);
  void LV1GetDispInfo(NMLVDISPINFOW* info) const;
  int LV1FindItem(const NMLVFINDITEMW* find) const;
  // Disables the open find dialog while a modal window of the given owner
  // is shown.
  class FindDialogBlock {
   public:
    FindDialogBlock(const TMAIN_FORM& form, HWND modalOwner);
    ~FindDialogBlock();
    FindDialogBlock(const FindDialogBlock&) = delete;
    FindDialogBlock& operator=(const FindDialogBlock&) = delete;

   private:
    HWND dialog_;
  };

  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR form);
  // The list's messages the window handles before the list does.
  LRESULT LV1Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Services services_;
  UiFont font_;
  bool shown_ = false;
  bool componentsHeld_ = false;  // drawn from the first painting on

  // Set when first shown.
  std::u16string SettingsFileName_;
  InstalledVersionSet InstalledVersions_ = 0;
  COLORREF LineColor_ = 0xFFEEDD;

  std::vector<ComponentSpec> specs_;  // the components table, with the list below the group box's caption
  ComponentSet components_;
  HWND LV1 = nullptr;
  HIMAGELIST IL1 = nullptr, IL2 = nullptr;
  std::vector<HIMAGELIST> buttonImages_;  // one image each, from IL1
  HMENU PopupMenu1 = nullptr;
  HACCEL shortcuts_ = nullptr;

  // FD_LV: one find dialog state for the window's life (text, direction and
  // position are kept from one opening to the next).
  static const UINT kFindMessage;
  FINDREPLACEW FD_LV{};
  wchar_t findText_[256] = L"";
  HWND findDialog_ = nullptr;
  std::optional<POINT> findPosition_;
  HWND dLV = nullptr;
  HWND focusBeforeDeactivation_ = nullptr;
  int previousHit_ = 0;
  bool finding_ = false;

  RowModel<ListedProfile> rows_{3};  // the rows LV1 draws; Sort_Column and the columns' tags
  std::array<bool, kActionCount> enabled_{true, true, true, true, true, true, true};
};

}  // namespace ombrisk
