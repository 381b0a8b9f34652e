// TMAIN_FORM, the program's main window: the profile list and the commands
// on it. Closing it ends the program. The search lives in ui/find_dialog.*,
// the editing of a profile in ui/profile_editing.*, the stored geometry's
// way to the window in ui/window_placement.*.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/profile_list.h"
#include "core/profile_record.h"
#include "core/profile_store.h"
#include "ui/actions.h"
#include "ui/components.h"
#include "ui/find_dialog.h"
#include "ui/profile_list_view.h"
#include "ui/services.h"
#include "ui/ui_font.h"
#include "ui/window.h"
#include "win32/background_task.h"

namespace ombrisk {

class TMAIN_FORM : public Window, private FindDialog::Target {
 public:
  static constexpr const wchar_t* kClassName = L"TMAIN_FORM";
  static constexpr SIZE kDesignClientSize{512, 320};
  static constexpr SIZE kMinimumSize{284, 200};
  static constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  // Posted at the first show: the components take part in painting again.
  static constexpr UINT kShowComponents = WM_APP;

  // The actions, in the order of the actions table.
  enum Action {
    AL_ADD,
    AL_EDIT,
    AL_DELETE,
    AL_LAUNCH,
    AL_CANCEL,
    AL_COPY,
    AL_FIND,
    AL_SHORTCUT,
    AL_RESTORE,
    AL_EXPLORER,
    AL_EXPORT,
    AL_EXPORT_ALL,
    AL_IMPORT,
    kActionCount
  };
  // The command an action's button, menu item and shortcut send.
  static constexpr int kFirstActionCommand = 1000;
  static constexpr int Command(Action action) { return kFirstActionCommand + action; }
  // The components' identities; a button's is the command of its action.
  enum Id : int {
    kPnlMain = 100,
    kLV1,
    kGbProfileList,
    kPnlOparation,
    kPnlBottom,
    kBevel1,
    kBtnAdd = kFirstActionCommand + AL_ADD,
    kBtnEdit = kFirstActionCommand + AL_EDIT,
    kBtnDelete = kFirstActionCommand + AL_DELETE,
    kBtnLaunch = kFirstActionCommand + AL_LAUNCH,
    kBtnCancel = kFirstActionCommand + AL_CANCEL,
  };

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

  const InstalledVersionSet& InstalledVersions() const { return InstalledVersions_; }
  const std::u16string& SettingsFileName() const { return store_.Path(); }
  COLORREF LineColor() const { return LineColor_; }
  bool ActionEnabled(Action action) const { return actions_->Enabled(action); }
  HWND Control(int id) const { return components_.Find(id); }
  // The DPI the window is laid out for.
  int Dpi() const { return components_.Dpi(); }
  // The listed profiles in the order the list shows them.
  const std::vector<ListedProfile>& Profiles() const { return LV1.Rows(); }
  HMENU PopupMenu() const { return actions_->Menu(); }
  // The open find dialog, or nullptr.
  HWND FindDialog() const { return FD_LV.Handle(); }
  void Execute(Action action);
  static WORD CommandId(Action action) { return static_cast<WORD>(Command(action)); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  const ErrorReporter& Reporter() const override { return services_.reportError; }

 private:
  void CreateComponents();
  // The components table at the DPI, with the list below the group box's
  // caption in the font of the DPI.
  void PlaceListBelowCaption(int dpi);
  void OnDpiChanged(int dpi, const RECT& suggested);
  bool OnActivate(bool active);
  void FormShow();
  void ShowComponents();
  void FormDestroy();
  LRESULT LV1Notify(NMHDR* header);
  void LV1ColumnClick(int column);
  void LV1DblClick();
  void LV1KeyDown(WPARAM key);
  void LV1MouseDown();
  void OnContextMenu(HWND list, LPARAM lParam);
  void UpdateActionStates();
  void EditProfile(TPrefMode mode);
  void AL_LAUNCHExecute();
  // Launches the row's profile, with a file for its IDE to open in place of
  // the profile's parameters ("" for none).
  void LaunchRow(int row, std::u16string_view file);
  // One file dropped onto a row launches its profile with the file; more
  // files, or a drop beside the rows, do nothing.
  void LV1DropFiles(HDROP drop);
  void AL_DELETEExecute();
  void AL_SHORTCUTExecute();
  void AL_CANCELExecute();
  void StartFind();
  bool MatchListItem(int index, std::u16string_view text);

  // The search's view of the list.
  int RowCount() const override { return LV1.RowCount(); }
  int SelectedRow() const override { return LV1.View().SelectedRow(); }
  bool MatchRow(int row, std::u16string_view text) override { return MatchListItem(row, text); }
  void ShowError(HWND owner, std::u16string_view text) override;
  void FocusList() override { SetFocus(LV1.View().Handle()); }

  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR form);
  // The list's messages the window handles before the list does.
  LRESULT LV1Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Services services_;
  ProfileStore store_;
  UiFont font_;
  bool shown_ = false;
  bool componentsHeld_ = false;  // drawn from the first painting on

  // Set when first shown.
  InstalledVersionSet InstalledVersions_;
  COLORREF LineColor_ = 0xFFEEDD;

  std::vector<ComponentRow> componentRows_;  // the components table, with the list below the group box's caption
  ComponentSet components_;
  ProfileListView LV1;
  std::unique_ptr<ActionList> actions_;  // ActionManager1, with IL1 and PopupMenu1
  class FindDialog FD_LV;
  HWND focusBeforeDeactivation_ = nullptr;

  // The installed releases and the settings file, read on a thread of their
  // own while the window and its components are made; the first show waits
  // for them. Last, so it is done with the members it fills before they go.
  MainWindowList list_;
  std::unique_ptr<BackgroundTask> listReading_;
};

// The main window's tables (main_form_components.cpp).
std::span<const ComponentRow> MainFormComponents();
std::span<const ActionInfo> MainFormActions();
std::span<const int> MainFormPopupItems();

}  // namespace ombrisk
