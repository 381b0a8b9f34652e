#include "ui/main_form.h"

#include <windowsx.h>

#include <optional>

#include "core/editor_checks.h"
#include "core/errors.h"
#include "core/profile_list.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/controls.h"
#include "ui/message_loop.h"
#include "ui/pref_form.h"
#include "ui/version_combo.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
// Posted at the first show: the components take part in painting again.
constexpr UINT kShowComponents = WM_APP;
constexpr int kFirstActionCommand = 1000;
constexpr int kListId = 200;
constexpr DWORD kPanel = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;

constexpr int Command(TMAIN_FORM::Action action) { return kFirstActionCommand + action; }

// The actions table: caption, image in IL1 (-1 none), shortcut and its text.
struct ActionInfo {
  std::u16string_view caption;
  int image;
  BYTE modifiers;
  WORD key;
  std::u16string_view shortcutText;
};

constexpr ActionInfo kActions[TMAIN_FORM::kActionCount] = {
    {u"追加(&A)", 2, FVIRTKEY, VK_INSERT, u"Ins"},
    {u"編集(&E)", 3, 0, 0, u""},
    {u"削除(&D)", 4, FVIRTKEY, VK_DELETE, u"Del"},
    {u"起動(&L)", 0, 0, 0, u""},
    {u"キャンセル", -1, 0, 0, u""},
    {u"コピーを作成(&C)", -1, 0, 0, u""},
    {u"検索", 1, FVIRTKEY | FCONTROL, 'F', u"Ctrl+F"},
};

// The components at the design size, in Tab order. The list's top and
// height count from the group box's caption, added at creation.
constexpr std::array<ComponentSpec, 11> kComponents{{
    {L"pnlMain", -1, kPanelClass, u"", {0, 0, 512, 283}, akAll, kPanel, WS_EX_CONTROLPARENT, 0},
    // Above the group box, so the list is drawn over it and comes first.
    {L"LV1",
     0,
     WC_LISTVIEWW,
     u"",
     {4 + 2 + 8, 4 + 2 + 8, 504 - 20, 242 - 4 - 16},
     akAll,
     WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | LVS_OWNERDATA,
     WS_EX_CLIENTEDGE,
     kListId},
    {L"gbProfileList",
     0,
     L"BUTTON",
     u"プロファイルリスト",
     {4, 4, 504, 242},
     akAll,
     BS_GROUPBOX | WS_CLIPSIBLINGS,
     0,
     0},
    {L"pnlOparation",
     0,
     kPanelClass,
     u"",
     {4, 246, 504, 33},
     akLeft | akRight | akBottom,
     kPanel,
     WS_EX_CONTROLPARENT,
     0},
    {L"btnAdd",
     3,
     L"BUTTON",
     kActions[TMAIN_FORM::AL_ADD].caption,
     {10, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_ADD)},
    {L"btnEdit",
     3,
     L"BUTTON",
     kActions[TMAIN_FORM::AL_EDIT].caption,
     {101, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_EDIT)},
    {L"btnDelete",
     3,
     L"BUTTON",
     kActions[TMAIN_FORM::AL_DELETE].caption,
     {192, 6, 88, 25},
     akLeft | akTop,
     kButton,
     0,
     Command(TMAIN_FORM::AL_DELETE)},
    {L"pnlBottom",
     -1,
     kPanelClass,
     u"",
     {0, 283, 512, 37},
     akLeft | akRight | akBottom,
     kPanel,
     WS_EX_CONTROLPARENT,
     0},
    {L"Bevel1", 7, L"STATIC", u"", {0, 0, 512, 10}, akLeft | akTop | akRight, SS_ETCHEDHORZ, 0, 0},
    {L"btnLaunch",
     7,
     L"BUTTON",
     kActions[TMAIN_FORM::AL_LAUNCH].caption,
     {308, 6, 96, 25},
     akTop | akRight,
     kButton,
     0,
     Command(TMAIN_FORM::AL_LAUNCH)},
    {L"btnCancel",
     7,
     L"BUTTON",
     kActions[TMAIN_FORM::AL_CANCEL].caption,
     {408, 6, 96, 25},
     akTop | akRight,
     kButton,
     0,
     Command(TMAIN_FORM::AL_CANCEL)},
}};
constexpr std::size_t kLV1Row = 1;
// The panels that hold every other component.
constexpr const wchar_t* kPanels[] = {L"pnlMain", L"pnlBottom"};

// PopupMenu1 from top to bottom; -1 is a separator (N1, N3, N2).
constexpr int kPopupItems[] = {TMAIN_FORM::AL_ADD,    TMAIN_FORM::AL_EDIT,
                               TMAIN_FORM::AL_DELETE, -1,
                               TMAIN_FORM::AL_COPY,   -1,
                               TMAIN_FORM::AL_FIND,   -1,
                               TMAIN_FORM::AL_LAUNCH};

SIZE FrameSize() {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// Where the primary work area lies on the screen; window placements count
// from there.
POINT WorkAreaOrigin() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return POINT{work.left, work.top};
}

}  // namespace

const UINT TMAIN_FORM::kFindMessage = RegisterWindowMessageW(FINDMSGSTRINGW);

void TMAIN_FORM::RegisterWindowClass(HINSTANCE instance) {
  RegisterFormClass(instance, kClassName, CS_DBLCLKS);
  RegisterPanelClass(instance);
  TPREF_FORM::RegisterWindowClass(instance);
}

TMAIN_FORM::TMAIN_FORM(Services services) : services_(std::move(services)) {
  FD_LV.lStructSize = sizeof FD_LV;
  FD_LV.Flags = FR_DOWN | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD;
  FD_LV.lpstrFindWhat = findText_;
  FD_LV.wFindWhatLen = static_cast<WORD>(std::size(findText_));
  // Every modal window the program shows blocks the open find dialog, as
  // it blocks its owner; the editor takes these services with it.
  services_.showMessage = [this, show = std::move(services_.showMessage)](HWND owner, std::u16string_view caption,
                                                                          std::u16string_view text, unsigned flags) {
    const FindDialogBlock block(*this, owner);
    return show(owner, caption, text, flags);
  };
  services_.reportError = [this, report = std::move(services_.reportError)](std::u16string_view message) {
    const FindDialogBlock block(*this, GetActiveWindow());
    report(message);
  };
  services_.runModal = [this, run = std::move(services_.runModal)](TPREF_FORM& dialog) {
    const FindDialogBlock block(*this, Handle());
    return run(dialog);
  };
}

// A window the find dialog owns blocks it itself, and gives it back the
// activation when it closes; for every other modal window it is blocked
// here until that window has closed.
TMAIN_FORM::FindDialogBlock::FindDialogBlock(const TMAIN_FORM& form, HWND modalOwner)
    : dialog_(form.findDialog_ != nullptr && modalOwner != form.findDialog_ && IsWindowEnabled(form.findDialog_)
                  ? form.findDialog_
                  : nullptr) {
  if (dialog_ != nullptr) EnableWindow(dialog_, FALSE);
}

TMAIN_FORM::FindDialogBlock::~FindDialogBlock() {
  if (dialog_ != nullptr && IsWindow(dialog_)) EnableWindow(dialog_, TRUE);
}

TMAIN_FORM::~TMAIN_FORM() {
  if (LV1 != nullptr) RemoveWindowSubclass(LV1, ListProc, 0);
  if (PopupMenu1 != nullptr) DestroyMenu(PopupMenu1);
  if (shortcuts_ != nullptr) DestroyAcceleratorTable(shortcuts_);
  for (HIMAGELIST images : buttonImages_) ImageList_Destroy(images);
  if (IL1 != nullptr) ImageList_Destroy(IL1);
  if (IL2 != nullptr) ImageList_Destroy(IL2);
}

void TMAIN_FORM::Create() {
  RECT bounds{0, 0, kDesignClientSize.cx, kDesignClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateHandle(kClassName, Wide(texts::kMainFormCaption).c_str(), kStyle, kExStyle,
               RECT{left, top, left + width, top + height}, nullptr);
  CreateComponents();
}

void TMAIN_FORM::CreateComponents() {
  // The list lies over the group box's client area, which begins below its
  // caption, 2 pixels in from its edges; the list keeps an 8 pixel margin.
  specs_.assign(kComponents.begin(), kComponents.end());
  const int caption = TextHeight(Handle(), font_.Get());
  specs_[kLV1Row].design.top += caption;
  specs_[kLV1Row].design.height -= caption;
  components_.Create(Handle(), kDesignClientSize, specs_, font_.Get());
  LV1 = components_[kLV1Row];
  FillOwnBackground(components_.Find(L"gbProfileList"));
  FillOwnBackground(components_.Find(L"Bevel1"));

  ListView_SetExtendedListViewStyle(LV1, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const std::u16string_view headers[] = {u"プロファイル名", u"バージョン", u"備考"};
  for (int column = 0; column < 3; ++column) {
    std::wstring text = Wide(headers[column]);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = text.data();
    info.cx = std::array<int, 3>{132, 190, 154}[static_cast<std::size_t>(column)];
    info.iSubItem = column;
    ListView_InsertColumn(LV1, column, &info);
  }
  SetWindowSubclass(LV1, ListProc, 0, reinterpret_cast<DWORD_PTR>(this));

  IL1 = LoadImageStrip(IDB_ACTIONS, 5);
  IL2 = LoadImageStrip(IDB_RELEASES, 8);
  ListView_SetImageList(LV1, IL2, LVSIL_SMALL);
  for (Action action : {AL_LAUNCH, AL_ADD, AL_EDIT, AL_DELETE}) {
    HIMAGELIST image = buttonImages_.emplace_back(LoadStripImage(IDB_ACTIONS, kActions[action].image));
    BUTTON_IMAGELIST images{image, {4, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
    SendMessageW(components_.FindId(Command(action)), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  }

  PopupMenu1 = CreatePopupMenu();
  for (int item : kPopupItems) {
    if (item < 0) {
      AppendMenuW(PopupMenu1, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::u16string text(kActions[item].caption);
    if (!kActions[item].shortcutText.empty()) text += Concat({u"\t", kActions[item].shortcutText});
    AppendMenuW(PopupMenu1, MF_STRING, CommandId(static_cast<Action>(item)), Wide(text).c_str());
    if (kActions[item].image >= 0) {
      // The image comes from IL1 when the menu draws the item.
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_BITMAP;
      info.hbmpItem = HBMMENU_CALLBACK;
      SetMenuItemInfoW(PopupMenu1, static_cast<UINT>(kFirstActionCommand + item), FALSE, &info);
    }
  }

  std::vector<ACCEL> accelerators;
  for (int action = 0; action < kActionCount; ++action) {
    if (kActions[action].key != 0) {
      accelerators.push_back(
          ACCEL{kActions[action].modifiers, kActions[action].key, static_cast<WORD>(kFirstActionCommand + action)});
    }
  }
  shortcuts_ = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
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
    for (const wchar_t* panel : kPanels) SendMessageW(Component(panel), WM_SETREDRAW, FALSE, 0);
    componentsHeld_ = true;
    PostMessageW(Handle(), kShowComponents, 0, 0);
    RunHandler([&failure](std::u16string_view message) { failure = std::u16string(message); }, [this] { FormShow(); });
  }
  ShowWindow(Handle(), IsIconic(Handle()) || IsZoomed(Handle()) ? SW_SHOW : SW_SHOWNORMAL);
  SetFocus(LV1);
  if (failure) {
    ShowComponents();
    services_.reportError(*failure);
  }
}

void TMAIN_FORM::ShowComponents() {
  if (!componentsHeld_) return;
  componentsHeld_ = false;
  for (const wchar_t* panel : kPanels) SendMessageW(Component(panel), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TMAIN_FORM::FormShow() {
  SettingsFileName_ = ombrisk::SettingsFileName(services_.executablePath);
  DetectInstalledVersions(services_.registries, services_.files, InstalledVersions_);
  const SettingsFile file(services_.files, services_.comparer, SettingsFileName_);
  LineColor_ = LineColorFor(file.ReadInteger(u"System", u"ListViewLineColor", kDefaultLineColor),
                            [](int index) { return static_cast<std::uint32_t>(GetSysColor(index)); });

  const SIZE frame = FrameSize();
  const MainFormGeometry geometry =
      ReadMainFormGeometry(file, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frame.cx, frame.cy);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  const POINT origin = WorkAreaOrigin();
  placement.rcNormalPosition = RECT{geometry.left - origin.x, geometry.top - origin.y,
                                    geometry.left - origin.x + geometry.clientWidth + frame.cx,
                                    geometry.top - origin.y + geometry.clientHeight + frame.cy};
  placement.showCmd = SW_HIDE;
  SetWindowPlacement(Handle(), &placement);
  if (geometry.windowState == 1) ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
  if (geometry.windowState == 2) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
  for (int column = 0; column < 3; ++column) {
    ListView_SetColumnWidth(LV1, column, geometry.columnWidths[static_cast<std::size_t>(column)]);
  }

  rows_.Assign(ListProfiles(file, InstalledVersions_, services_.comparer));
  ListView_SetItemCountEx(LV1, static_cast<int>(rows_.Size()), LVSICF_NOINVALIDATEALL);
  if (rows_.Size() > 0) SelectRow(0);
}

void TMAIN_FORM::FormDestroy() {
  if (SettingsFileName_.empty()) SettingsFileName_ = ombrisk::SettingsFileName(services_.executablePath);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Handle(), &placement);
  const POINT origin = WorkAreaOrigin();
  const SIZE frame = FrameSize();
  const RECT& normal = placement.rcNormalPosition;
  MainFormGeometry geometry;
  geometry.windowState = IsIconic(Handle()) ? 1 : (IsZoomed(Handle()) ? 2 : 0);
  geometry.clientWidth = normal.right - normal.left - frame.cx;
  geometry.clientHeight = normal.bottom - normal.top - frame.cy;
  geometry.left = normal.left + origin.x;
  geometry.top = normal.top + origin.y;
  for (int column = 0; column < 3; ++column) {
    geometry.columnWidths[static_cast<std::size_t>(column)] = ListView_GetColumnWidth(LV1, column);
  }
  SettingsFile file(services_.files, services_.comparer, SettingsFileName_);
  WriteMainFormGeometry(file, geometry);
  file.UpdateFile();
}

HWND TMAIN_FORM::Component(const wchar_t* name) const { return components_.Find(name); }

bool TMAIN_FORM::PreTranslateMessage(MSG& message) {
  if (findDialog_ != nullptr && IsDialogMessageW(findDialog_, &message)) return true;
  if (Handle() == nullptr || (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))) return false;
  if (TranslateAcceleratorW(Handle(), shortcuts_, &message) != 0) return true;
  return IsDialogMessageW(Handle(), &message) != 0;
}

LRESULT TMAIN_FORM::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (LV1 != nullptr) components_.Layout();
      return 0;
    case WM_ACTIVATE:
      // The control that had the focus gets it back when the window is
      // active again, after a dialog for instance.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) focusBeforeDeactivation_ = focus;
      } else if (focusBeforeDeactivation_ != nullptr && IsWindow(focusBeforeDeactivation_)) {
        SetFocus(focusBeforeDeactivation_);
        return 0;
      }
      break;
    case kShowComponents:
      ShowComponents();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kMinimumSize.cx, kMinimumSize.cy};
      return 0;
    case WM_COMMAND: {
      const int command = LOWORD(wParam) - kFirstActionCommand;
      // Enter and Esc reach the window as IDOK and IDCANCEL; it has no
      // default or cancel button, so both do nothing.
      if (command >= 0 && command < kActionCount) Execute(static_cast<Action>(command));
      return 0;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) break;
      item->itemWidth = 16;
      item->itemHeight = 16;
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) break;
      const int action = static_cast<int>(item->itemID) - kFirstActionCommand;
      if (action >= 0 && action < kActionCount && kActions[action].image >= 0) {
        const int top = item->rcItem.top + (item->rcItem.bottom - item->rcItem.top - 16) / 2;
        ImageList_Draw(IL1, kActions[action].image, item->hDC, item->rcItem.left, top,
                       (item->itemState & ODS_DISABLED) != 0 ? ILD_NORMAL | ILD_BLEND50 : ILD_NORMAL);
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == LV1) return LV1Notify(header);
      break;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == LV1) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (lParam == -1) {
          RECT item{};
          const int row = SelectedRow();
          if (row < 0 || !ListView_GetItemRect(LV1, row, &item, LVIR_LABEL)) GetClientRect(LV1, &item);
          at = POINT{item.left, item.bottom};
          ClientToScreen(LV1, &at);
        } else {
          // A right press: the list brings the menu up while it still runs
          // the press, before the update that follows every press
          // (LV1Message) could run.
          LV1MouseDown();
        }
        ShowPopupMenu(at);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (findDialog_ != nullptr) DestroyWindow(findDialog_);
      // The destroy work runs before the loop is told to end, so an error it
      // raises is shown and answered first; the loop ends all the same.
      RunHandler(Reporter(), [this] { FormDestroy(); });
      PostQuitMessage(0);
      return 0;
    default:
      if (message == kFindMessage) {
        const auto* find = reinterpret_cast<const FINDREPLACEW*>(lParam);
        if ((find->Flags & FR_DIALOGTERM) != 0) {
          FD_LVClose();
        } else if ((find->Flags & FR_FINDNEXT) != 0) {
          FD_LVFind();
        }
        return 0;
      }
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

WORD TMAIN_FORM::CommandId(Action action) { return static_cast<WORD>(kFirstActionCommand + action); }

void TMAIN_FORM::Execute(Action action) {
  if (!enabled_[action]) return;
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
      StartFind(LV1);
      break;
    case AL_ADD:
      EditProfile(prmAdd);
      break;
    case AL_EDIT:
      EditProfile(prmEdit);
      break;
    case AL_COPY:
      EditProfile(prmCopy);
      break;
    case kActionCount:
      break;
  }
}

LRESULT TMAIN_FORM::LV1Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW:
      LV1GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
      return 0;
    case LVN_ODFINDITEMW:
      return LV1FindItem(reinterpret_cast<NMLVFINDITEMW*>(header));
    case NM_CUSTOMDRAW:
      return LV1AdvancedCustomDrawItem(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_COLUMNCLICK:
      LV1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
    case NM_DBLCLK:
      LV1DblClick();
      return 0;
    default:
      return 0;
  }
}

LRESULT TMAIN_FORM::LV1AdvancedCustomDrawItem(NMLVCUSTOMDRAW* draw) { return ShadeEvenRows(draw, LineColor_); }

void TMAIN_FORM::LV1GetDispInfo(NMLVDISPINFOW* info) const {
  LVITEMW& item = info->item;
  if (!rows_.Contains(item.iItem)) return;
  const ListedProfile& row = rows_[static_cast<std::size_t>(item.iItem)];
  PutItemText(item, ListedProfile::Key(row, item.iSubItem));
  if ((item.mask & LVIF_IMAGE) != 0) item.iImage = VersionImageIndex(row.code);
}

// Typing the first letters of a name selects the next profile so named.
int TMAIN_FORM::LV1FindItem(const NMLVFINDITEMW* find) const {
  if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr) return -1;
  return FindRowByName(rows_.Rows(), FromWide(find->lvfi.psz), find->iStart, (find->lvfi.flags & LVFI_PARTIAL) != 0,
                       services_.comparer.Mapping());
}

void TMAIN_FORM::LV1ColumnClick(int column) {
  // The selection and the focus rectangle stay with their rows.
  const int selected = SelectedRow();
  const int focused = ListView_GetNextItem(LV1, -1, LVNI_FOCUSED);
  const std::vector<std::size_t> moved = rows_.ClickColumn(column);
  ListView_SetItemState(LV1, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (focused >= 0)
    ListView_SetItemState(LV1, static_cast<int>(moved[static_cast<std::size_t>(focused)]), LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0)
    ListView_SetItemState(LV1, static_cast<int>(moved[static_cast<std::size_t>(selected)]), LVIS_SELECTED,
                          LVIS_SELECTED);
  InvalidateRect(LV1, nullptr, FALSE);
}

void TMAIN_FORM::LV1DblClick() { AL_LAUNCHExecute(); }

void TMAIN_FORM::LV1KeyDown(WPARAM key) {
  if (key == VK_RETURN) AL_LAUNCHExecute();
}

void TMAIN_FORM::LV1MouseDown() { UpdateActionStates(); }

void TMAIN_FORM::UpdateActionStates() {
  const bool selected = SelectedRow() >= 0;
  SetActionEnabled(AL_EDIT, selected);
  SetActionEnabled(AL_DELETE, selected);
  SetActionEnabled(AL_COPY, selected);
  SetActionEnabled(AL_FIND, rows_.Size() > 0);
  SetActionEnabled(AL_LAUNCH, selected);
}

void TMAIN_FORM::SetActionEnabled(Action action, bool enabled) {
  enabled_[action] = enabled;
  // The action's button, where it has one.
  if (const HWND button = components_.FindId(Command(action)); button != nullptr) EnableWindow(button, enabled);
}

void TMAIN_FORM::ShowPopupMenu(POINT at) {
  for (int item : kPopupItems) {
    if (item >= 0) {
      EnableMenuItem(PopupMenu1, static_cast<UINT>(kFirstActionCommand + item),
                     MF_BYCOMMAND | (enabled_[item] ? MF_ENABLED : MF_GRAYED));
    }
  }
  TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void TMAIN_FORM::EditProfile(TPrefMode mode) {
  const int row = SelectedRow();
  if (mode != prmAdd && row < 0) return;
  TPREF_FORM dialog(services_, SettingsFileName_, LineColor_);
  dialog.Create(Handle());
  dialog.SetMode(mode);
  // The dialog is released however the editing ends; an error on the way is
  // reported first.
  RunHandler(services_.reportError, [&] {
    FillEditor(dialog, mode, row);
    // Without an installed release there is nothing to edit.
    if (SendMessageW(dialog.Component(L"CB01"), CB_GETCOUNT, 0, 0) <= 0) return;
    if (services_.runModal(dialog) != IDOK) return;
    SaveEditedProfile(dialog, mode, row);
  });
  dialog.Release();
}

void TMAIN_FORM::FillEditor(TPREF_FORM& dialog, TPrefMode mode, int row) {
  SetWindowTextW(dialog.Handle(),
                 Wide(mode == prmEdit ? texts::kEditProfileCaption : texts::kNewProfileCaption).c_str());
  FillVersionCombo(dialog.Component(L"CB01"), InstalledVersions_);

  const std::u16string name = mode == prmAdd ? u"" : rows_[static_cast<std::size_t>(row)].name;
  const std::u16string section = Concat({u"PREF_", name});
  const std::u16string shownName = mode == prmAdd    ? std::u16string(texts::kNewProfileName)
                                   : mode == prmEdit ? name
                                                     : Concat({texts::kCopyNamePrefix, name});
  SetWindowTextW(dialog.Component(L"ED01"), Wide(shownName).c_str());
  dialog.Profiles.clear();
  for (std::size_t other = 0; other < rows_.Size(); ++other) {
    if (mode != prmEdit || static_cast<int>(other) != row) dialog.Profiles.push_back(rows_[other].name);
  }
  // Every profile section of the file is taken, listed or not, except the
  // edited profile's own.
  const SettingsFile file(services_.files, services_.comparer, SettingsFileName_);
  dialog.TakenSections.clear();
  for (std::u16string& taken : file.ReadSections()) {
    if (mode != prmEdit || !services_.comparer.Mapping().Equal(taken, section)) {
      dialog.TakenSections.push_back(std::move(taken));
    }
  }
  if (mode == prmAdd) return;

  dialog.SelectVersion(rows_[static_cast<std::size_t>(row)].code);
  dialog.CB01Change();
  ProfileRecord record = dialog.ReadRecord();
  const std::unique_ptr<Registry> registry = services_.registries.Create();
  LoadProfile(file, *registry, name, record);
  dialog.LoadRecord(record);
}

void TMAIN_FORM::SaveEditedProfile(TPREF_FORM& dialog, TPrefMode mode, int row) {
  const std::u16string name(StoredProfileName(ControlText(dialog.Component(L"ED01"))));
  const ProfileRecord record = dialog.ReadRecord();
  {
    SettingsFile file(services_.files, services_.comparer, SettingsFileName_);
    const std::u16string oldName = mode == prmEdit ? rows_[static_cast<std::size_t>(row)].name : u"";
    ombrisk::SaveProfile(file, name, mode == prmEdit ? std::optional<std::u16string_view>(oldName) : std::nullopt,
                         record);
    file.UpdateFile();
  }
  // The row changes only once the file holds the profile; a new one is
  // appended, a changed one stays where it is.
  ListedProfile saved{name, std::u16string(FindRelease(record.version)->label), record.description, record.version};
  if (mode == prmEdit) {
    rows_[static_cast<std::size_t>(row)] = std::move(saved);
    ListView_RedrawItems(LV1, row, row);
  } else {
    rows_.Append(std::move(saved));
    ListView_SetItemCountEx(LV1, static_cast<int>(rows_.Size()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
}

void TMAIN_FORM::AL_LAUNCHExecute() {
  const int row = SelectedRow();
  if (row < 0) return;
  const ListedProfile profile = rows_[static_cast<std::size_t>(row)];
  const std::unique_ptr<ProcessStarter> starter = services_.processStarter(Handle());
  LaunchProfile(LaunchServices{SettingsFileName_, services_.files, services_.comparer, services_.registries, *starter,
                               ProcessPendingMessages, [this] { PostMessageW(Handle(), WM_CLOSE, 0, 0); }},
                profile.code, profile.name);
}

void TMAIN_FORM::AL_DELETEExecute() {
  const int row = SelectedRow();
  if (row < 0) return;
  const std::u16string name = rows_[static_cast<std::size_t>(row)].name;
  if (services_.showMessage(Handle(), texts::kConfirmCaption, Format(texts::kDeleteProfileQuestion, {name}),
                            MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  SettingsFile file(services_.files, services_.comparer, SettingsFileName_);
  file.EraseSection(Concat({u"PREF_", name}));
  file.UpdateFile();
  // The row goes only once the file no longer holds the profile; no other
  // row is selected.
  rows_.Erase(static_cast<std::size_t>(row));
  ListView_DeleteItem(LV1, row);
}

void TMAIN_FORM::AL_CANCELExecute() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TMAIN_FORM::StartFind(HWND view) {
  if (rows_.Size() == 0) {
    services_.showMessage(findDialog_, texts::kErrorCaption, texts::kNoProfiles, MB_TASKMODAL | MB_ICONERROR | MB_OK);
    SetFocus(view);
  }
  dLV = view;
  previousHit_ = 0;
  if (findDialog_ != nullptr) {
    SetForegroundWindow(findDialog_);
    SetActiveWindow(findDialog_);
    return;
  }
  FD_LV.hwndOwner = Handle();
  // Only the direction carries over; the event bits the dialog set do not.
  FD_LV.Flags = (FD_LV.Flags & FR_DOWN) | FR_HIDEMATCHCASE | FR_HIDEWHOLEWORD;
  findDialog_ = shell::FindTextW(&FD_LV);
  if (findDialog_ != nullptr && findPosition_) {
    SetWindowPos(findDialog_, nullptr, findPosition_->x, findPosition_->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

void TMAIN_FORM::FD_LVFind() {
  // No further find events while a search runs (its message is modal).
  if (finding_ || dLV == nullptr) return;
  finding_ = true;
  struct Reattach {
    bool& flag;
    ~Reattach() { flag = false; }
  } reattach{finding_};

  const std::u16string text = FromWide(findText_);
  const int count = static_cast<int>(rows_.Size());
  const int selected = ListView_GetNextItem(dLV, -1, LVNI_SELECTED);
  int row = selected < 0 ? 0 : selected;
  const bool down = (FD_LV.Flags & FR_DOWN) != 0;
  if (previousHit_ == 1) row += down ? 1 : -1;
  bool found = false;
  for (; !found && row >= 0 && row < count; row += down ? 1 : -1) found = MatchListItem(dLV, row, text);
  if (found) {
    previousHit_ = 1;
    return;
  }
  services_.showMessage(findDialog_, texts::kErrorCaption, texts::kNoMatch, MB_TASKMODAL | MB_ICONERROR | MB_OK);
}

void TMAIN_FORM::FD_LVClose() {
  if (findDialog_ != nullptr) {
    RECT bounds;
    GetWindowRect(findDialog_, &bounds);
    findPosition_ = POINT{bounds.left, bounds.top};
  }
  findDialog_ = nullptr;
  dLV = nullptr;
}

bool TMAIN_FORM::MatchListItem(HWND view, int index, std::u16string_view text) {
  if (!RowMatchesText(rows_[static_cast<std::size_t>(index)], text)) return false;
  SelectRow(index);
  ListView_EnsureVisible(view, index, TRUE);
  return true;
}

int TMAIN_FORM::SelectedRow() const { return ListView_GetNextItem(LV1, -1, LVNI_SELECTED); }

void TMAIN_FORM::SelectRow(int row) {
  ListView_SetItemState(LV1, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
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
