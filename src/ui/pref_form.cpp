#include "ui/pref_form.h"

#include <imm.h>

#include <algorithm>

#include "core/editor_checks.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/controls.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kPanelHeight = 37;
constexpr int kLabelSize = -1;  // a label takes the size of its text

// The pages of PC1, in order.
enum Page : int { kGeneralPage, kPackagePage, kLibraryPage, kPreProcessPage };

// Control ids start above IDOK and IDCANCEL, which Enter and Esc send.
enum ControlId : int {
  kPC1 = 100,
  kPcLibrary,
  kED01,
  kCB01,
  kED02,
  kED09,
  kBtnRef,
  kCHB1,
  kCHB2,
  kCHB3,
  kChbEmbedded,
  kCHB6,
  kCHB4,
  kCHB5,
  kED10,
  kLV1,
  kMemo1,
  kButton4,
  kButton5,
};

// The controls of the general page in Tab order; each label comes right
// before the control its mnemonic moves to.
struct GeneralControl {
  HWND TPREF_FORM::*window;
  const wchar_t* className;
  std::u16string_view caption;
  int left, top, width, height;
  DWORD style;
  bool imeOff;
  int id;
};

constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheckBox = WS_TABSTOP | BS_AUTOCHECKBOX;

// Every check box is as wide as the first of its column.
constexpr int kCheckWidth = 201;

// The file types offered by the browse button, first one selected.
constexpr wchar_t kOpenFilters[] =
    L"Delphi プロジェクトファイル\0*.dpr;*.dproj;*.proj;*.bdsproj;*.bpg;*.bdsgroup;*.groupproj\0"
    L"Delphi パッケージファイル (*.dpk)\0*.dpk\0"
    L"すべてのファイル (*.*)\0*.*\0";

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetChecked(HWND box, bool checked) { SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

// Sets the text only when it differs, so no change notification comes for
// nothing.
void SetText(HWND control, std::u16string_view text) {
  if (ControlText(control) != text) SetWindowTextW(control, Wide(text).c_str());
}

bool IsPushButton(HWND window) {
  wchar_t className[16] = L"";
  GetClassNameW(window, className, 16);
  const LONG_PTR type = GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
  return lstrcmpiW(className, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

int ShowModally(TPREF_FORM& dialog) { return dialog.ShowModal(); }

bool ShowOpenFileDialog(OPENFILENAMEW& dialog) { return shell::GetOpenFileNameW(&dialog) != FALSE; }

void TPREF_FORM::RegisterWindowClass(HINSTANCE instance) {
  RegisterFormClass(instance, kClassName, 0);
  RegisterPanelClass(instance);
  TframeLibrary::RegisterWindowClass(instance);
}

TPREF_FORM::TPREF_FORM(const Services& services, std::u16string settingsFileName, COLORREF lineColor)
    : services_(services), settingsFileName_(std::move(settingsFileName)), lineColor_(lineColor) {}

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
  const int labelHeight = TextHeight(Handle(), font);

  // The pages first, then the buttons, then the tab strip: see PageControl.
  PC1.Create(Handle(), kPC1, font);
  PC1.SetBounds(0, 0, kClientSize.cx, kClientSize.cy - kPanelHeight);
  TabSheet1 = PC1.AddPage(u"全般", -1);
  tsPackage = PC1.AddPage(u"パッケージ", -1);
  tsLibrary = PC1.AddPage(u"ライブラリ", -1);
  TabSheet2 = PC1.AddPage(u"プリプロセッサ", -1);

  const GeneralControl general[] = {
      {&TPREF_FORM::Label1, L"STATIC", u"プロファイル名(&E):", 20, 24, kLabelSize, kLabelSize, SS_LEFT, false, 0},
      {&TPREF_FORM::ED01, L"EDIT", u"", 20, 39, 549, 21, kEdit, false, kED01},
      {&TPREF_FORM::Label2, L"STATIC", u"バージョン(&V):", 20, 71, kLabelSize, kLabelSize, SS_LEFT, false, 0},
      // The height includes the dropped-down list.
      {&TPREF_FORM::CB01, L"COMBOBOX", u"", 20, 86, 545, 300, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, true, kCB01},
      {&TPREF_FORM::Label3, L"STATIC", u"備考(&D):", 20, 124, kLabelSize, kLabelSize, SS_LEFT, false, 0},
      {&TPREF_FORM::ED02, L"EDIT", u"", 20, 139, 545, 21, kEdit, false, kED02},
      {&TPREF_FORM::Label10, L"STATIC", u"起動パラメータ(&P):", 20, 168, kLabelSize, kLabelSize, SS_LEFT, false, 0},
      // FormShow sets the width of ED09 and places btnRef beside it.
      {&TPREF_FORM::ED09, L"EDIT", u"", 20, 183, 528, 21, kEdit, true, kED09},
      {&TPREF_FORM::btnRef, L"BUTTON", u"…", 548, 183, 21, 21, WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, false, kBtnRef},
      {&TPREF_FORM::CHB1, L"BUTTON", u"Delphi パーソナリティのみ起動(&D)", 20, 220, kCheckWidth, 17, kCheckBox, false,
       kCHB1},
      {&TPREF_FORM::CHB2, L"BUTTON", u"スプラッシュを表示しない(&N)", 20, 243, kCheckWidth, 17, kCheckBox, false,
       kCHB2},
      {&TPREF_FORM::CHB3, L"BUTTON", u"プロジェクトを読み込まない(&R)", 20, 266, kCheckWidth, 17, kCheckBox, false,
       kCHB3},
      {&TPREF_FORM::chbEmbedded, L"BUTTON", u"埋め込みデザイナ(&M)", 20, 289, kCheckWidth, 17, kCheckBox, false,
       kChbEmbedded},
      {&TPREF_FORM::CHB6, L"BUTTON", u"管理者権限で起動(&U)", 285, 220, kCheckWidth, 17, kCheckBox, false, kCHB6},
      {&TPREF_FORM::CHB4, L"BUTTON", u"キャッシュを利用しない(&C)", 285, 243, kCheckWidth, 17, kCheckBox, false, kCHB4},
      {&TPREF_FORM::CHB5, L"BUTTON", u"代替レジストリを使用する(&A)", 285, 266, kCheckWidth, 17, kCheckBox, false,
       kCHB5},
      {&TPREF_FORM::ED10, L"EDIT", u"", 304, 289, 153, 21, kEdit | ES_UPPERCASE, true, kED10},
  };
  for (const GeneralControl& component : general) {
    const bool framed = std::wstring_view(component.className) == L"EDIT";
    HWND window = CreateChild(TabSheet1, component.className, component.caption, component.style,
                              framed ? WS_EX_CLIENTEDGE : 0, component.id, font);
    int width = component.width == kLabelSize ? TextWidth(Handle(), font, component.caption) + 2 : component.width;
    // A check box grows where the font of the system needs more room for
    // its caption.
    if ((component.style & BS_TYPEMASK) == BS_AUTOCHECKBOX && std::wstring_view(component.className) == L"BUTTON") {
      width = std::max(width, TextWidth(Handle(), font, component.caption) + GetSystemMetrics(SM_CXMENUCHECK) + 8);
    }
    const int height = component.height == kLabelSize ? labelHeight : component.height;
    MoveTo(window, component.left, component.top, width, height);
    if (component.imeOff) ImmAssociateContext(window, nullptr);
    this->*component.window = window;
  }

  const RECT page = PC1.PageBounds();
  const int pageWidth = page.right - page.left;
  const int pageHeight = page.bottom - page.top;
  LV1 = CreateChild(tsPackage, WC_LISTVIEWW, u"", WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                    WS_EX_CLIENTEDGE, kLV1, font);
  MoveTo(LV1, 0, 0, pageWidth, pageHeight);
  ListView_SetExtendedListViewStyle(LV1, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const std::u16string_view headers[] = {u"パッケージ名", u"パス"};
  for (int column = 0; column < 2; ++column) {
    std::wstring text = Wide(headers[column]);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = text.data();
    info.cx = 50;
    info.iSubItem = column;
    ListView_InsertColumn(LV1, column, &info);
  }

  pcLibrary.Create(tsLibrary, kPcLibrary, font);
  pcLibrary.SetBounds(0, 0, pageWidth, pageHeight);
  IL1 = LoadImageStrip(IDB_PLATFORMS, 5);
  TabCtrl_SetImageList(pcLibrary.Handle(), IL1);

  Memo1 = CreateChild(TabSheet2, L"EDIT", u"", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL,
                      WS_EX_CLIENTEDGE, kMemo1, font);
  MoveTo(Memo1, 3, 8, 582, 272);
  ImmAssociateContext(Memo1, nullptr);
  SetWindowSubclass(Memo1, MemoProc, 0, reinterpret_cast<DWORD_PTR>(this));
  Label4 = CreateChild(TabSheet2, L"STATIC", u"以下のマクロ文字列が利用可能です。\r\n@$(DELPHI)@ , @$(BDS)@", SS_LEFT,
                       0, 0, font);
  MoveTo(Label4, 4, 289, 581, 42);

  Panel1 = CreateChild(Handle(), kPanelClass, u"", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, font);
  MoveTo(Panel1, 0, kClientSize.cy - kPanelHeight, kClientSize.cx, kPanelHeight);
  Button4 = CreateChild(Panel1, L"BUTTON", u"OK", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, kButton4, font);
  MoveTo(Button4, 394, 6, 96, 25);
  Button5 = CreateChild(Panel1, L"BUTTON", u"キャンセル", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0, kButton5, font);
  MoveTo(Button5, 496, 6, 96, 25);
  SetWindowPos(PC1.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND TPREF_FORM::Component(const wchar_t* name) const {
  const std::pair<const wchar_t*, HWND> components[] = {
      {L"PC1", PC1.Handle()},
      {L"TabSheet1", TabSheet1},
      {L"tsPackage", tsPackage},
      {L"tsLibrary", tsLibrary},
      {L"TabSheet2", TabSheet2},
      {L"Label1", Label1},
      {L"ED01", ED01},
      {L"Label2", Label2},
      {L"CB01", CB01},
      {L"Label3", Label3},
      {L"ED02", ED02},
      {L"Label10", Label10},
      {L"ED09", ED09},
      {L"btnRef", btnRef},
      {L"CHB1", CHB1},
      {L"CHB2", CHB2},
      {L"CHB3", CHB3},
      {L"chbEmbedded", chbEmbedded},
      {L"CHB6", CHB6},
      {L"CHB4", CHB4},
      {L"CHB5", CHB5},
      {L"ED10", ED10},
      {L"LV1", LV1},
      {L"pcLibrary", pcLibrary.Handle()},
      {L"Memo1", Memo1},
      {L"Label4", Label4},
      {L"Panel1", Panel1},
      {L"Button4", Button4},
      {L"Button5", Button5},
  };
  for (const auto& [componentName, window] : components) {
    if (std::wstring_view(componentName) == name) return window;
  }
  return nullptr;
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
  const std::array<int, 2> widths{ListView_GetColumnWidth(LV1, 0), ListView_GetColumnWidth(LV1, 1)};
  SettingsFile file(services_.files, services_.comparer, settingsFileName_);
  file.WriteString(u"PrefForm", u"ListViewColumnWidths", WidthListText(widths));
  file.UpdateFile();
}

int TPREF_FORM::ShowModal() {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  HWND owner = GetWindow(Handle(), GW_OWNER);
  RECT bounds;
  GetWindowRect(Handle(), &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  RECT centre{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &centre);
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoW(MonitorFromRect(&centre, MONITOR_DEFAULTTONEAREST), &monitor);
  const auto within = [](int position, LONG low, LONG high, int size) {
    return std::max(static_cast<int>(low), std::min(position, static_cast<int>(high) - size));
  };
  const int left = within((centre.left + centre.right - width) / 2, monitor.rcWork.left, monitor.rcWork.right, width);
  const int top = within((centre.top + centre.bottom - height) / 2, monitor.rcWork.top, monitor.rcWork.bottom, height);
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  modalResult_ = 0;
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  FocusControl(ED01);
  MSG message;
  while (modalResult_ == 0) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      RunHandler(services_.reportError, [this] { UpdateActions(); });
      WaitMessage();
      continue;
    }
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      // The program is ending: the loop above sees the quit again.
      PostQuitMessage(static_cast<int>(message.wParam));
      modalResult_ = IDCANCEL;
      break;
    }
    if (!PreTranslateMessage(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  // The owner comes back before the dialog goes, so it becomes the active
  // window again.
  if (owner != nullptr) EnableWindow(owner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  return modalResult_;
}

void TPREF_FORM::FormShow() {
  RECT bounds{0, 0, kClientSize.cx, kClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  SetWindowPos(Handle(), nullptr, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  {
    const SettingsFile file(services_.files, services_.comparer, settingsFileName_);
    const std::vector<int> widths =
        ParseWidthList(file.ReadString(u"PrefForm", u"ListViewColumnWidths", u"430,410"), 2, 400);
    for (int column = 0; column < 2; ++column) {
      ListView_SetColumnWidth(LV1, column, widths[static_cast<std::size_t>(column)]);
    }
  }
  if (FMode == prmAdd) {
    SendMessageW(CB01, CB_SETCURSEL, 0, 0);
    ImportIdeSettings();
  } else {
    ResetPackageSort();
  }
  PC1.SetActivePage(kGeneralPage);
  FChange = false;
  cb01ChangeAttached_ = true;
  if (FMode == prmAdd) {
    const std::pair<HWND, std::u16string_view> hints[] = {{ED01, texts::kNameHint},
                                                          {ED02, texts::kDescriptionHint},
                                                          {ED09, texts::kParametersHint},
                                                          {ED10, texts::kAltRegHint}};
    for (const auto& [edit, hint] : hints) {
      SendMessageW(edit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(Wide(hint).c_str()));
    }
  }
  // The browse button is a square as high as ED09, right beside it; both
  // together span the width of ED01.
  RECT name;
  RECT parameters;
  GetWindowRect(ED01, &name);
  GetWindowRect(ED09, &parameters);
  MapWindowPoints(nullptr, TabSheet1, reinterpret_cast<POINT*>(&parameters), 2);
  const int side = parameters.bottom - parameters.top;
  const int width = (name.right - name.left) - side;
  MoveTo(ED09, parameters.left, parameters.top, width, side);
  MoveTo(btnRef, parameters.left + width, parameters.top, side, side);
}

bool TPREF_FORM::FormCloseQuery(int result) {
  if (result != IDOK) return true;
  const std::u16string name = ControlText(ED01);
  const std::u16string altReg = ControlText(ED10);
  const std::u16string preProcess = ControlText(Memo1);
  const std::optional<InputProblem> problem = CheckProfileInput(ProfileInput{name, IsChecked(CHB5), altReg, preProcess},
                                                                Profiles, TakenSections, services_.comparer);
  if (!problem) return true;
  services_.showMessage(Handle(), texts::kErrorCaption, problem->message, MB_TASKMODAL | MB_ICONERROR | MB_OK);
  switch (problem->field) {
    case EditorField::ProfileName:
      PC1.SetActivePage(kGeneralPage);
      FocusControl(ED01);
      break;
    case EditorField::AltReg:
      PC1.SetActivePage(kGeneralPage);
      FocusControl(ED10);
      break;
    case EditorField::PreProcess:
      PC1.SetActivePage(kPreProcessPage);
      FocusControl(Memo1);
      break;
  }
  return false;
}

void TPREF_FORM::CloseModal(int result) {
  if (FormCloseQuery(result)) modalResult_ = result;
}

bool TPREF_FORM::PreTranslateMessage(MSG& message) {
  if (message.message == WM_KEYDOWN && (message.hwnd == Handle() || IsChild(Handle(), message.hwnd)) &&
      (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    // Ctrl+Tab and Ctrl+PageDown go to the next page, with Shift or PageUp
    // to the previous one, as the user's own page change.
    if (message.wParam == VK_TAB) {
      SwitchPage((GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1);
      return true;
    }
    if (message.wParam == VK_NEXT || message.wParam == VK_PRIOR) {
      SwitchPage(message.wParam == VK_NEXT ? 1 : -1);
      return true;
    }
  }
  // Enter presses the focused push button, and no other: there is no
  // default button.
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && IsChild(Handle(), message.hwnd) &&
      IsPushButton(message.hwnd)) {
    SendMessageW(message.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  return IsDialogMessageW(Handle(), &message) != 0;
}

void TPREF_FORM::SwitchPage(int step) {
  RunHandler(services_.reportError, [&] {
    const int count = PC1.PageCount();
    PC1.SetActivePage((PC1.ActivePageIndex() + step + count) % count);
    const HWND focus = GetFocus();
    if (focus == nullptr || !IsWindowVisible(focus)) FocusControl(PC1.Handle());
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
    case WM_NEXTDLGCTL: {
      const HWND target =
          LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
      if (target != nullptr) FocusControl(target);
      return 0;
    }
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
  if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
    // A focused push button is drawn as the default one, as Enter presses
    // it (PreTranslateMessage).
    if (IsPushButton(control)) {
      SendMessageW(control, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
    return;
  }
  if (control == Button4 && code == BN_CLICKED) {
    CloseModal(IDOK);
  } else if (control == Button5 && code == BN_CLICKED) {
    CloseModal(IDCANCEL);
  } else if (control == btnRef && code == BN_CLICKED) {
    btnRefClick();
  } else if ((control == CHB5 && code == BN_CLICKED) || (control == ED10 && code == EN_CHANGE)) {
    FChange = true;  // CHB5Click, ED10Change
  } else if (control == CB01 && code == CBN_SELCHANGE) {
    if (cb01ChangeAttached_) CB01Change();
  }
}

LRESULT TPREF_FORM::OnNotify(NMHDR* header) {
  if (header->hwndFrom == PC1.Handle() && header->code == TCN_SELCHANGE) {
    PC1.ShowSelectedPage();
    PC1Change();
  } else if (header->hwndFrom == pcLibrary.Handle() && header->code == TCN_SELCHANGE) {
    pcLibrary.ShowSelectedPage();
  } else if (header->hwndFrom == LV1 && header->code == LVN_COLUMNCLICK) {
    LV1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  } else if (header->hwndFrom == LV1 && header->code == LVN_GETDISPINFOW) {
    LV1GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
  } else if (header->hwndFrom == LV1 && header->code == LVN_ITEMCHANGED) {
    LV1ItemChanged(reinterpret_cast<NMLISTVIEW*>(header));
  } else if (header->hwndFrom == LV1 && header->code == NM_CUSTOMDRAW) {
    return LV1AdvancedCustomDrawItem(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
  }
  return 0;
}

void TPREF_FORM::FocusControl(HWND control) {
  // An edit reached by the keyboard shows its whole text selected.
  if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageW(control, EM_SETSEL, 0, -1);
  SetFocus(control);
}

VersionCode TPREF_FORM::SelectedVersion() const {
  const LRESULT index = SendMessageW(CB01, CB_GETCURSEL, 0, 0);
  if (index < 0) return 0;
  return static_cast<VersionCode>(SendMessageW(CB01, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void TPREF_FORM::SelectVersion(VersionCode code) {
  const auto count = static_cast<int>(SendMessageW(CB01, CB_GETCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    if (static_cast<VersionCode>(SendMessageW(CB01, CB_GETITEMDATA, static_cast<WPARAM>(index), 0)) == code) {
      SendMessageW(CB01, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      return;
    }
  }
}

void TPREF_FORM::CB01Change() { ImportIdeSettings(); }

void TPREF_FORM::PC1Change() {
  if (FChange) ImportIdeSettings();
}

void TPREF_FORM::ImportIdeSettings() {
  // What the import reads or may change; the rows and tabs it builds anew.
  ProfileRecord record;
  record.version = SelectedVersion();
  record.delphiOnly = IsChecked(CHB1);
  record.noCache = IsChecked(CHB4);
  record.useAltReg = IsChecked(CHB5);
  record.altReg = ControlText(ED10);
  record.embeddedDesigner = IsChecked(chbEmbedded);
  // The package rows are redrawn once, however the run ends.
  SendMessageW(LV1, WM_SETREDRAW, FALSE, 0);
  struct EndRun {
    TPREF_FORM& form;
    ~EndRun() {
      SendMessageW(form.LV1, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(form.LV1, nullptr, TRUE);
      form.FChange = false;
    }
  } endRun{*this};
  const std::unique_ptr<Registry> registry = services_.registries.Create();
  try {
    ombrisk::ImportIdeSettings(*registry, record);
  } catch (...) {
    // What was read is shown, unsorted.
    ApplyImport(record);
    FillPackageList();
    throw;
  }
  ApplyImport(record);
  ResetPackageSort();
}

void TPREF_FORM::ApplyImport(const ProfileRecord& record) {
  const bool modern = HasPackageOptions(record.version);
  ShowWindow(LV1, modern ? SW_SHOW : SW_HIDE);
  for (HWND box : {CHB1, CHB4, CHB5, chbEmbedded}) EnableWindow(box, modern);
  EnableWindow(ED10, modern);
  SetChecked(CHB1, record.delphiOnly);
  SetChecked(CHB4, record.noCache);
  SetChecked(CHB5, record.useAltReg);
  SetText(ED10, record.altReg);
  SetChecked(chbEmbedded, record.embeddedDesigner);
  packages_.Assign(record.packages);

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

void TPREF_FORM::FillPackageList() {
  // One repaint however many rows; the check states set here are no user's.
  // The rows' texts come from the model as they are drawn; the list keeps
  // the check boxes, so they work as any list's do.
  fillingPackages_ = true;
  SendMessageW(LV1, WM_SETREDRAW, FALSE, 0);
  const auto count = static_cast<int>(packages_.Size());
  if (ListView_GetItemCount(LV1) != count) {
    ListView_DeleteAllItems(LV1);
    for (int row = 0; row < count; ++row) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.pszText = LPSTR_TEXTCALLBACKW;
      ListView_InsertItem(LV1, &item);
    }
  }
  for (int row = 0; row < count; ++row) {
    const bool enabled = packages_[static_cast<std::size_t>(row)].enabled;
    if ((ListView_GetCheckState(LV1, row) != 0) != enabled) ListView_SetCheckState(LV1, row, enabled);
  }
  SendMessageW(LV1, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(LV1, nullptr, TRUE);
  fillingPackages_ = false;
}

void TPREF_FORM::LV1GetDispInfo(NMLVDISPINFOW* info) const {
  LVITEMW& item = info->item;
  if (packages_.Contains(item.iItem)) {
    PutItemText(item, PackageRow::Key(packages_[static_cast<std::size_t>(item.iItem)], item.iSubItem));
  }
}

// A check box toggled by mouse or Space enables or disables its package.
void TPREF_FORM::LV1ItemChanged(const NMLISTVIEW* change) {
  if (fillingPackages_ || !packages_.Contains(change->iItem) || (change->uChanged & LVIF_STATE) == 0 ||
      ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) {
    return;
  }
  packages_[static_cast<std::size_t>(change->iItem)].enabled =
      (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
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

ProfileRecord TPREF_FORM::ReadRecord() const {
  ProfileRecord record;
  record.version = SelectedVersion();
  record.description = ControlText(ED02);
  record.delphiOnly = IsChecked(CHB1);
  record.noSplash = IsChecked(CHB2);
  record.noProject = IsChecked(CHB3);
  record.noCache = IsChecked(CHB4);
  record.useAltReg = IsChecked(CHB5);
  record.runAsAdmin = IsChecked(CHB6);
  record.altReg = ControlText(ED10);
  record.parameters = ControlText(ED09);
  record.embeddedDesigner = IsChecked(chbEmbedded);
  record.packages = packages_.Rows();
  for (const std::unique_ptr<TframeLibrary>& frame : frames_) {
    record.libraries.push_back(LibraryPage{frame->Tag(), frame->Values()});
  }
  record.preProcess = ControlText(Memo1);
  return record;
}

void TPREF_FORM::LoadRecord(const ProfileRecord& record) {
  SetText(ED02, record.description);
  SetChecked(CHB1, record.delphiOnly);
  SetChecked(CHB2, record.noSplash);
  SetChecked(CHB3, record.noProject);
  SetChecked(CHB4, record.noCache);
  SetChecked(CHB5, record.useAltReg);
  SetChecked(CHB6, record.runAsAdmin);
  SetText(ED10, record.altReg);
  SetText(ED09, record.parameters);
  SetChecked(chbEmbedded, record.embeddedDesigner);
  packages_.Assign(record.packages);
  FillPackageList();
  for (std::size_t index = 0; index < frames_.size() && index < record.libraries.size(); ++index) {
    frames_[index]->SetValues(record.libraries[index].values);
  }
  SetText(Memo1, record.preProcess);
}

void TPREF_FORM::UpdateActions() {
  const bool chosen = IsChecked(CHB5);
  if ((IsWindowEnabled(ED10) != FALSE) != chosen) EnableWindow(ED10, chosen);
  if (!chosen) SetText(ED10, u"");
}

void TPREF_FORM::ResetPackageSort() {
  packages_.ResetSort();
  LV1ColumnClick(0);
}

void TPREF_FORM::LV1ColumnClick(int column) {
  // The selection stays with its row.
  const int selected = ListView_GetNextItem(LV1, -1, LVNI_SELECTED);
  const std::vector<std::size_t> moved = packages_.ClickColumn(column);
  FillPackageList();
  if (selected >= 0) {
    const int row = static_cast<int>(moved[static_cast<std::size_t>(selected)]);
    ListView_SetItemState(LV1, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(LV1, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

LRESULT TPREF_FORM::LV1AdvancedCustomDrawItem(NMLVCUSTOMDRAW* draw) { return ShadeEvenRows(draw, lineColor_); }

void TPREF_FORM::btnRefClick() {
  const std::u16string file = ParameterFile(ControlText(ED09));
  const std::wstring folder = Wide(FolderPart(file));
  std::wstring chosen(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = kOpenFilters;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  // The program's current folder stays where it was, whatever is browsed.
  dialog.Flags =
      OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!services_.openFile(dialog)) return;
  chosen.resize(chosen.find(L'\0'));
  SetWindowTextW(ED09, Wide(QuotedWhenBlank(FromWide(chosen))).c_str());
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
