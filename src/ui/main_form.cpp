#include "ui/main_form.h"

#include <windowsx.h>

#include "core/startup.h"
#include "core/text.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/alternate_key_commands.h"
#include "ui/changes_form.h"
#include "ui/controls.h"
#include "ui/dpi.h"
#include "ui/message_loop.h"
#include "ui/pref_form.h"
#include "ui/profile_editing.h"
#include "ui/profile_shortcut.h"
#include "ui/profile_transfer.h"
#include "ui/restore_form.h"
#include "ui/window_placement.h"
#include "win32/explorer_entry.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

void TMAIN_FORM::RegisterWindowClass(HINSTANCE instance) {
  RegisterFormClass(instance, kClassName, CS_DBLCLKS);
  RegisterPanelClass(instance);
}

TMAIN_FORM::TMAIN_FORM(Services services)
    : services_(std::move(services)),
      store_(services_.files, services_.comparer, ombrisk::SettingsFileName(services_.executablePath)) {
  // Every modal window the program shows blocks the open find dialog; the
  // editor takes these services with it.
  BlockWhileModal(services_, FD_LV, [this] { return Handle(); });
}

TMAIN_FORM::~TMAIN_FORM() {
  if (LV1.View().Handle() != nullptr) RemoveWindowSubclass(LV1.View().Handle(), ListProc, 0);
}

void TMAIN_FORM::Show() {
  // The first-show work runs while the window is still hidden, so the stored
  // size and state apply without a visible jump; an error it raises is shown
  // once the window is on screen, owned by it.
  std::optional<std::u16string> failure;
  if (!shown_) {
    shown_ = true;
    // The components are drawn in the window's first painting, not while
    // it is being shown: showing it then costs what an empty window costs.
    for (const int panel : {kPnlMain, kPnlBottom}) SendMessageW(Control(panel), WM_SETREDRAW, FALSE, 0);
    componentsHeld_ = true;
    PostMessageW(Handle(), kShowComponents, 0, 0);
    RunHandler([&failure](std::u16string_view message) { failure = std::u16string(message); }, [this] { FormShow(); });
  }
  ShowWindow(Handle(), IsIconic(Handle()) || IsZoomed(Handle()) ? SW_SHOW : SW_SHOWNORMAL);
  MarkStartup("window shown");
  SetFocus(Control(kLV1));
  if (failure) {
    ShowComponents();
    services_.reportError(*failure);
  }
}

void TMAIN_FORM::ShowComponents() {
  if (!componentsHeld_) return;
  componentsHeld_ = false;
  for (const int panel : {kPnlMain, kPnlBottom}) SendMessageW(Control(panel), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TMAIN_FORM::FormShow() {
  // The releases found stay when the settings file then cannot be read.
  const auto takeReleases = [this] { InstalledVersions_ = std::move(list_.installed); };
  try {
    listReading_->Wait();
  } catch (...) {
    takeReleases();
    throw;
  }
  takeReleases();
  MarkStartup("list waited for");
  MainWindowList list = std::move(list_);
  const MainWindowSettings settings = ReadMainWindowSettings(*list.file, CurrentScreen(kStyle, kExStyle, Dpi()));
  LineColor_ =
      LineColorFor(settings.lineColor, [](int index) { return static_cast<std::uint32_t>(GetSysColor(index)); });
  LV1.SetLineColor(LineColor_);
  ApplyGeometry(Handle(), settings.geometry, Dpi());
  for (int column = 0; column < 3; ++column) {
    LV1.View().SetColumnWidth(column, Scaled(settings.geometry.columnWidths[static_cast<std::size_t>(column)], Dpi()));
  }
  LV1.Assign(std::move(list.profiles));
  MarkStartup("list filled");
}

void TMAIN_FORM::FormDestroy() {
  MainFormGeometry geometry = CurrentGeometry(Handle(), Dpi());
  for (int column = 0; column < 3; ++column) {
    geometry.columnWidths[static_cast<std::size_t>(column)] = LengthAt96(LV1.View().ColumnWidth(column), Dpi());
  }
  store_.WriteMainWindow(geometry);
}

bool TMAIN_FORM::PreTranslateMessage(MSG& message) {
  if (FD_LV.PreTranslateMessage(message)) return true;
  if (Handle() == nullptr || (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))) return false;
  if (TranslateAcceleratorW(Handle(), actions_->Shortcuts(), &message) != 0) return true;
  return IsDialogMessageW(Handle(), &message) != 0;
}

// The control that had the focus gets it back when the window is active
// again, after a dialog for instance; true when it did.
bool TMAIN_FORM::OnActivate(bool active) {
  if (!active) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) focusBeforeDeactivation_ = focus;
    return false;
  }
  if (focusBeforeDeactivation_ == nullptr || !IsWindow(focusBeforeDeactivation_)) return false;
  SetFocus(focusBeforeDeactivation_);
  return true;
}

LRESULT TMAIN_FORM::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (LV1.View().Handle() != nullptr) components_.Resized();
      return 0;
    case kShowComponents:
      ShowComponents();
      return 0;
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wParam) != WA_INACTIVE)) return 0;
      break;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize =
          POINT{Scaled(kMinimumSize.cx, Dpi()), Scaled(kMinimumSize.cy, Dpi())};
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_COMMAND:
      // Enter and Esc reach the window as IDOK and IDCANCEL; it has no
      // default or cancel button, so both do nothing.
      if (const int action = actions_->ActionOf(LOWORD(wParam)); action >= 0) Execute(static_cast<Action>(action));
      return 0;
    case WM_MEASUREITEM:
      if (actions_->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_DRAWITEM:
      if (actions_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == Control(kLV1)) {
        return LV1Notify(reinterpret_cast<NMHDR*>(lParam));
      }
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != Control(kLV1)) break;
      OnContextMenu(Control(kLV1), lParam);
      return 0;
    case WM_DESTROY:
      FD_LV.Destroy();
      // The destroy work runs before the loop is told to end, so an error it
      // raises is shown and answered first; the loop ends all the same.
      RunHandler(Reporter(), [this] { FormDestroy(); });
      PostQuitMessage(0);
      return 0;
    default:
      if (message == ombrisk::FindDialog::Message()) {
        FD_LV.OnMessage(*reinterpret_cast<const FINDREPLACEW*>(lParam));
        return 0;
      }
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TMAIN_FORM::Execute(Action action) {
  if (!actions_->Enabled(action)) return;
  switch (action) {
    case AL_LAUNCH:
      AL_LAUNCHExecute();
      break;
    case AL_DELETE:
      AL_DELETEExecute();
      break;
    case AL_CANCEL:
      AL_CANCELExecute();
      break;
    case AL_FIND:
      StartFind();
      break;
    case AL_SHORTCUT:
      AL_SHORTCUTExecute();
      break;
    case AL_RESTORE:
      RestoreLaunchBackup(services_, store_, Handle());
      break;
    case AL_EXPLORER:
      SetExplorerEntry(services_.executablePath, !ExplorerEntryRuns(services_.executablePath));
      break;
    case AL_EXPORT:
    case AL_EXPORT_ALL:
      ExportToFile(
          services_, store_, Handle(),
          action == AL_EXPORT ? std::optional<std::u16string_view>(LV1.Row(SelectedRow()).name) : std::nullopt);
      break;
    case AL_IMPORT:
      if (ImportFromFile(services_, store_, InstalledVersions_, Handle())) {
        LV1.Assign(ListProfiles(*store_.Open(), InstalledVersions_, services_.comparer));
      }
      break;
    case AL_ADD:
    case AL_EDIT:
    case AL_COPY:
      EditProfile(action == AL_ADD ? prmAdd : action == AL_EDIT ? prmEdit : prmCopy);
      break;
    case kActionCount:
      break;
  }
}

LRESULT TMAIN_FORM::LV1Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_COLUMNCLICK:
      LV1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    case NM_DBLCLK:
      LV1DblClick();
      return 0;
    default:
      return LV1.Notify(header);
  }
}

void TMAIN_FORM::LV1ColumnClick(int column) { LV1.ColumnClick(column); }

void TMAIN_FORM::LV1DblClick() { AL_LAUNCHExecute(); }

void TMAIN_FORM::LV1KeyDown(WPARAM key) {
  if (key == VK_RETURN) AL_LAUNCHExecute();
}

void TMAIN_FORM::LV1MouseDown() { UpdateActionStates(); }

void TMAIN_FORM::OnContextMenu(HWND list, LPARAM lParam) {
  POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (lParam == -1) {
    RECT item{};
    const int row = SelectedRow();
    if (row < 0 || !ListView_GetItemRect(list, row, &item, LVIR_LABEL)) GetClientRect(list, &item);
    at = POINT{item.left, item.bottom};
    ClientToScreen(list, &at);
  } else {
    // A right press: the list brings the menu up while it still runs the
    // press, before the update that follows every press (LV1Message) could
    // run.
    LV1MouseDown();
  }
  actions_->SetChecked(AL_EXPLORER, ExplorerEntryRuns(services_.executablePath));
  actions_->ShowMenu(Handle(), at);
}

void TMAIN_FORM::UpdateActionStates() {
  const bool selected = SelectedRow() >= 0;
  for (Action action : {AL_EDIT, AL_DELETE, AL_COPY, AL_SHORTCUT, AL_LAUNCH, AL_EXPORT}) {
    actions_->SetEnabled(action, selected);
  }
  actions_->SetEnabled(AL_FIND, LV1.RowCount() > 0);
}

void TMAIN_FORM::EditProfile(TPrefMode mode) {
  const int row = SelectedRow();
  if (mode != prmAdd && row < 0) return;
  // The editor is modal: the rows stay as they are while it runs.
  std::optional<ListedProfile> saved =
      ombrisk::EditProfile(ProfileEditing{services_, store_, InstalledVersions_, LineColor_, Handle()}, mode,
                           mode == prmAdd ? -1 : row, LV1.Rows());
  if (!saved) return;
  if (mode == prmEdit) {
    LV1.Replace(row, std::move(*saved));
  } else {
    LV1.Append(std::move(*saved));
  }
}

void TMAIN_FORM::AL_SHORTCUTExecute() {
  const int row = SelectedRow();
  if (row >= 0) CreateProfileShortcut(services_, Handle(), LV1.Row(row));
}

void TMAIN_FORM::AL_DELETEExecute() {
  const int row = SelectedRow();
  if (row < 0) return;
  const ListedProfile profile = LV1.Row(row);
  if (services_.showMessage(Handle(), texts::kConfirmCaption, Format(texts::kDeleteProfileQuestion, {profile.name}),
                            MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  // The row goes only once the file no longer holds the profile.
  if (DeleteProfileAndItsKey(services_, store_, Handle(), profile)) LV1.Erase(row);
}

void TMAIN_FORM::AL_CANCELExecute() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TMAIN_FORM::StartFind() { FD_LV.Start(Handle(), *this); }

bool TMAIN_FORM::MatchListItem(int index, std::u16string_view text) {
  if (!RowMatchesText(LV1.Row(index), text)) return false;
  LV1.View().Select(index);
  LV1.View().EnsureVisible(index);
  return true;
}

void TMAIN_FORM::ShowError(HWND owner, std::u16string_view text) {
  services_.showMessage(owner, texts::kErrorCaption, text, MB_TASKMODAL | MB_ICONERROR | MB_OK);
}

LRESULT CALLBACK TMAIN_FORM::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR form) {
  auto* self = reinterpret_cast<TMAIN_FORM*>(form);
  return RunSubclassHandler(self->services_.reportError,
                            [&] { return self->LV1Message(window, message, wParam, lParam); });
}

LRESULT TMAIN_FORM::LV1Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      // The list takes Enter itself, so the dialog navigation leaves it.
      if (lParam != 0 && reinterpret_cast<MSG*>(lParam)->message == WM_KEYDOWN &&
          reinterpret_cast<MSG*>(lParam)->wParam == VK_RETURN) {
        return DLGC_WANTALLKEYS;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // with Alt
      if (wParam == VK_RETURN) {
        LV1KeyDown(wParam);
        return 0;
      }
      break;
    case WM_SYSCHAR:
      // Alt+Enter's character: taken, so it starts no menu mode (and no beep).
      if (wParam == L'\r') return 0;
      break;
    case WM_DROPFILES:
      LV1DropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      MarkStartup("list painted");
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // After the list has handled the press, so the selection is the new one.
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      LV1MouseDown();
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ombrisk
