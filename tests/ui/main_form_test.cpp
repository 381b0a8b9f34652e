// The main window created in this process and driven by messages, on the
// real registry and files of the test prefix.
#include "ui/main_form.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "core/catalogue.h"
#include "support/layout_checks.h"
#include "ui/main_form_fixture.h"
#include "win32/explorer_entry.h"

namespace ombrisk {
namespace {

TEST_F(MainForm, FirstShowWithoutSettingsFile) {
  TMAIN_FORM& form = NewForm();
  HWND window = form.Handle();
  EXPECT_EQ(testing::ClassName(window), L"TMAIN_FORM");
  EXPECT_EQ(testing::WindowText(window), L"Ombrisk");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(client.bottom, 320);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
  EXPECT_EQ(GetFocus(), LV1());
  EXPECT_EQ(RowCount(), 0);
  for (int column = 0; column < 3; ++column) {
    EXPECT_EQ(ListView_GetColumnWidth(LV1(), column), (std::array<int, 3>{132, 190, 154})[column]);
  }
  for (int action = 0; action < TMAIN_FORM::kActionCount; ++action) {
    EXPECT_TRUE(form.ActionEnabled(static_cast<TMAIN_FORM::Action>(action))) << action;
  }
  EXPECT_EQ(form.SettingsFileName(), FromWide(SettingsPath()));
  EXPECT_EQ(form.LineColor(), 0xFFEEDDu);
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 284);
  EXPECT_EQ(limits.ptMinTrackSize.y, 200);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainForm, ComponentsLaidOutWithTheirCaptions) {
  TMAIN_FORM& form = NewForm();
  EXPECT_EQ(testing::LayoutProblems(form.Handle()), std::vector<std::string>{});
  const Rect list = Bounds(TMAIN_FORM::kLV1);
  const Rect group = Bounds(TMAIN_FORM::kGbProfileList);
  EXPECT_EQ(list.left, group.left + 2 + 8);
  EXPECT_EQ(list.left + list.width, group.left + group.width - 2 - 8);
  EXPECT_EQ(list.top + list.height, group.top + group.height - 2 - 8);
  EXPECT_GT(list.top, group.top + testing::FontHeight(form.Control(TMAIN_FORM::kGbProfileList)))
      << "below the group box's caption";

  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kBtnLaunch)), Wide(texts::kLaunchAction));
  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kBtnCancel)), Wide(texts::kCancelButton));
  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kBtnAdd)), Wide(texts::kAddAction));
  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kBtnEdit)), Wide(texts::kEditAction));
  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kBtnDelete)), Wide(texts::kDeleteAction));
  EXPECT_EQ(testing::WindowText(form.Control(TMAIN_FORM::kGbProfileList)), Wide(texts::kProfileListGroup));
  const std::wstring headers[] = {Wide(texts::kProfileHeaders[0]), Wide(texts::kBackupHeaders[1]),
                                  Wide(texts::kProfileHeaders[2])};
  for (int column = 0; column < 3; ++column) {
    wchar_t text[64] = L"";
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = 64;
    ListView_GetColumn(LV1(), column, &info);
    EXPECT_EQ(std::wstring(text), headers[column]);
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(LV1(), GWL_STYLE));
  EXPECT_TRUE(style & LVS_REPORT);
  EXPECT_TRUE(style & LVS_SINGLESEL);
  EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
  EXPECT_FALSE(style & LVS_EDITLABELS);
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(LV1()) & LVS_EX_FULLROWSELECT);
  // Every release's image is in the list.
  const int images = ImageList_GetImageCount(ListView_GetImageList(LV1(), LVSIL_SMALL));
  EXPECT_EQ(images, 12);
  for (const Release& release : Releases()) EXPECT_LT(VersionImageIndex(release.code), images) << release.code;

  // The context menu in its order, shortcuts shown.
  HMENU menu = form.PopupMenu();
  std::vector<std::wstring> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    items.push_back(text);
  }
  EXPECT_EQ(items,
            (std::vector<std::wstring>{
                Wide(texts::kAddAction) + L"\tIns", Wide(texts::kEditAction), Wide(texts::kDeleteAction) + L"\tDel",
                L"", Wide(texts::kCopyAction), Wide(texts::kShortcutAction), Wide(texts::kExplorerAction), L"",
                Wide(texts::kExportAction), Wide(texts::kExportAllAction), Wide(texts::kImportAction), L"",
                Wide(texts::kFindAction) + L"\tCtrl+F", L"", Wide(texts::kLaunchAction), Wide(texts::kRestoreAction)}));

  // Wider, the right-hand buttons keep their distance to the right edge,
  // the bottom panel its height and the left-hand buttons their place.
  const auto fromRight = [&](int id) {
    RECT parent;
    GetClientRect(GetParent(form.Control(id)), &parent);
    const Rect r = Bounds(id);
    return std::pair{parent.right - (r.left + r.width), r.width};
  };
  const auto launch = fromRight(TMAIN_FORM::kBtnLaunch);
  const auto cancel = fromRight(TMAIN_FORM::kBtnCancel);
  const Rect bottom = Bounds(TMAIN_FORM::kPnlBottom);
  const Rect add = Bounds(TMAIN_FORM::kBtnAdd);
  RECT frame{0, 0, 700, 400};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE)));
  SetWindowPos(form.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(fromRight(TMAIN_FORM::kBtnLaunch), launch);
  EXPECT_EQ(fromRight(TMAIN_FORM::kBtnCancel), cancel);
  EXPECT_EQ(Bounds(TMAIN_FORM::kPnlBottom), (Rect{0, 400 - bottom.height, 700, bottom.height}));
  EXPECT_EQ(Bounds(TMAIN_FORM::kBtnAdd), add);
  EXPECT_EQ(testing::LayoutProblems(form.Handle()), std::vector<std::string>{});
}

TEST_F(MainForm, ListsInstalledProfilesInTheLocalesOrderAndSelectsTheFirst) {
  Install(7);
  Install(2017);
  Settings(
      u"[PREF_gamma]\r\nVersion=2017\r\n[PREF_beta]\r\nVersion=7\r\nDescription=seven\r\n"
      u"[PREF_Alpha]\r\nVersion=2017\r\nDescription=XE6 profile\r\n[PREF_old]\r\nVersion=2010\r\n"
      u"[System]\r\nListViewLineColor=$00FF00\r\n");
  TMAIN_FORM& form = NewForm();
  EXPECT_EQ(form.InstalledVersions().Codes(), (std::vector<VersionCode>{7, 2017}));
  EXPECT_EQ(Column(0), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"Delphi XE6 / RAD Studio XE6", L"Delphi 7 / 7.1",
                                                  L"Delphi XE6 / RAD Studio XE6"}));
  EXPECT_EQ(Column(2), (std::vector<std::wstring>{L"XE6 profile", L"seven", L""}));
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(form.Profiles()[1].code, 7);
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  ListView_GetItem(LV1(), &item);
  EXPECT_EQ(item.iImage, 4);
  EXPECT_EQ(form.LineColor(), 0x00FF00u);
}

// Whether the column as the list shows it stands in the order of a click.
bool SortedOnScreen(const std::vector<std::wstring>& cells, int direction) {
  for (std::size_t row = 1; row < cells.size(); ++row) {
    if (CompareRowKeys(FromWide(cells[row - 1]), FromWide(cells[row])) * direction > 0) return false;
  }
  return true;
}

TEST_F(MainForm, ColumnClicksSortEveryRowOnScreenEachColumnInItsOwnDirection) {
  Install(3);
  Install(7);
  Install(2007);
  std::u16string text;
  const std::u16string_view named[] = {u"_under", u"Alpha", u"beta", u"Éclair", u"gamma", u"hex"};
  const std::u16string_view others[] = {u"zulu", u"Mike", u"ärger", u" blank", u"0zero", u"kilo", u"Lima"};
  const VersionCode codes[] = {3, 7, 2007};
  for (int n = 0; n < 24; ++n) {
    const std::u16string name(n < 6 ? named[n] : std::u16string(others[n % 7]) + DecimalText(n));
    text += u"[PREF_" + name + u"]\r\nVersion=" + DecimalText(codes[n % 3]) + u"\r\nDescription=" +
            (n % 4 == 0 ? u"" : u"note " + DecimalText(24 - n)) + u"\r\n";
  }
  Settings(text);
  TMAIN_FORM& form = NewForm();
  ASSERT_EQ(RowCount(), 24);
  const auto namedOnScreen = [this, &named] {
    std::vector<std::wstring> order;
    for (const std::wstring& name : Column(0)) {
      if (std::find(std::begin(named), std::end(named), FromWide(name)) != std::end(named)) order.push_back(name);
    }
    return order;
  };
  ClickRow(5);
  const std::wstring selected = Cell(5, 0);
  ClickColumn(0);
  EXPECT_EQ(namedOnScreen(), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"hex", L"_under", L"Éclair"}));
  EXPECT_TRUE(SortedOnScreen(Column(0), 1));
  EXPECT_EQ(Cell(Selected(), 0), selected) << "the selection stays with its row";
  ClickColumn(0);
  EXPECT_EQ(namedOnScreen(), (std::vector<std::wstring>{L"Éclair", L"_under", L"hex", L"gamma", L"beta", L"Alpha"}));
  ClickColumn(1);
  EXPECT_TRUE(SortedOnScreen(Column(1), 1)) << "labels compare as text: 2007 before 3 / 3.1";
  EXPECT_EQ(Column(1).front(), L"Delphi 2007 / RAD Studio 2007");
  ClickColumn(2);
  EXPECT_TRUE(SortedOnScreen(Column(2), 1));
  ClickColumn(2);
  EXPECT_TRUE(SortedOnScreen(Column(2), -1));
  ClickColumn(0);
  EXPECT_TRUE(SortedOnScreen(Column(0), 1)) << "column 0 went on from its own descending";
  // What the list shows is the rows the commands act on.
  for (int row = 0; row < RowCount(); ++row) {
    const ListedProfile& profile = form.Profiles()[static_cast<std::size_t>(row)];
    EXPECT_EQ(FromWide(Cell(row, 0)) + u"|" + FromWide(Cell(row, 1)) + u"|" + FromWide(Cell(row, 2)),
              profile.name + u"|" + profile.label + u"|" + profile.description);
  }

  // The shading follows positions, whichever profiles they hold.
  for (int row = 0; row < 3; ++row) EXPECT_EQ(RowBackground(row), row % 2 == 0 ? 0xFFEEDDu : CLR_DEFAULT) << row;
}

TEST_F(MainForm, MousePressesSetTheActionStates) {
  Install(7);
  Settings(u"[PREF_one]\r\nVersion=7\r\n[PREF_two]\r\nVersion=7\r\n");
  TMAIN_FORM& form = NewForm();
  ClickRow(-1);
  EXPECT_EQ(Selected(), -1);
  for (auto action : {TMAIN_FORM::AL_EDIT, TMAIN_FORM::AL_DELETE, TMAIN_FORM::AL_COPY, TMAIN_FORM::AL_SHORTCUT,
                      TMAIN_FORM::AL_LAUNCH, TMAIN_FORM::AL_EXPORT}) {
    EXPECT_FALSE(form.ActionEnabled(action)) << action;
  }
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_FIND));
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_EXPORT_ALL));
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_IMPORT));
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_ADD));
  EXPECT_FALSE(IsWindowEnabled(form.Control(TMAIN_FORM::kBtnLaunch)));
  EXPECT_FALSE(IsWindowEnabled(form.Control(TMAIN_FORM::kBtnDelete)));
  ClickRow(1);
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_LAUNCH));
  EXPECT_TRUE(IsWindowEnabled(form.Control(TMAIN_FORM::kBtnEdit)));
}

// Once the context menu is open and waits for the user (it tells its owner
// so with WM_ENTERIDLE), its items' states are read and it is closed.
HMENU openMenu;
std::vector<bool> menuEnabled;
LRESULT CALLBACK ReadOpenMenu(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU && menuEnabled.empty()) {
    for (auto action : {TMAIN_FORM::AL_EDIT, TMAIN_FORM::AL_DELETE, TMAIN_FORM::AL_COPY, TMAIN_FORM::AL_SHORTCUT,
                        TMAIN_FORM::AL_LAUNCH}) {
      menuEnabled.push_back((GetMenuState(openMenu, TMAIN_FORM::CommandId(action), MF_BYCOMMAND) & MF_GRAYED) == 0);
    }
    EndMenu();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The menu states a right press on a row opens the context menu with: the
// list runs its own loop for the press, in which the menu comes.
TEST_F(MainForm, ARightPressOpensTheContextMenuWithItsOwnStates) {
  Install(7);
  Settings(u"[PREF_one]\r\nVersion=7\r\n[PREF_two]\r\nVersion=7\r\n");
  TMAIN_FORM& form = NewForm();
  ClickRow(-1);
  ASSERT_FALSE(form.ActionEnabled(TMAIN_FORM::AL_EDIT));
  openMenu = form.PopupMenu();
  menuEnabled.clear();
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, ReadOpenMenu, nullptr, GetCurrentThreadId());
  RECT row;
  ListView_GetItemRect(LV1(), 1, &row, LVIR_LABEL);
  const LPARAM at = MAKELPARAM(row.left + 2, (row.top + row.bottom) / 2);
  PostMessageW(LV1(), WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(LV1(), WM_RBUTTONUP, 0, at);
  testing::WaitUntil([] { return !menuEnabled.empty(); });
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(menuEnabled, (std::vector<bool>{true, true, true, true, true}));
  EXPECT_EQ(Selected(), 1);
}

TEST_F(MainForm, EnterAndDoubleClickLaunchTheSelectedProfile) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\nNoSplash=1\r\n");
  NewForm();
  const std::u16string ide = FromWide(folder / L"ide2017.exe");
  SendMessageW(LV1(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(starts, std::vector<std::u16string>{u"open \"" + ide + u"\" /ns "});
  EXPECT_TRUE(CloseAndWait() || !IsWindow(form_->Handle())) << "the window closes after a launch";

  starts.clear();
  NewForm();
  ClickRow(0);
  SendMessageW(LV1(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  testing::PumpMessages();
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = LV1();
  activate.hdr.code = NM_DBLCLK;
  SendMessageW(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
  EXPECT_FALSE(starts.empty());
  EXPECT_EQ(starts.front(), u"open \"" + ide + u"\" /ns ");
}

// A drop as Explorer hands it to the list: the files at a point of the
// list's client area.
void DropFiles(HWND list, const std::vector<std::wstring>& files, POINT at) {
  std::wstring names;
  for (const std::wstring& file : files) names += file + L'\0';
  names += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  *header = DROPFILES{sizeof(DROPFILES), at, FALSE, TRUE};
  std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageW(list, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  testing::PumpMessages();
}

// One file dropped onto a row launches that row's profile with the file in
// place of its parameters; two files, a drop beside the rows or a file that
// is not there start nothing, and the window stays.
TEST_F(MainForm, AFileDroppedOnARowLaunchesItsProfileWithTheFile) {
  Install(2017);
  Settings(
      u"[PREF_a]\r\nVersion=2017\r\nNoSplash=1\r\nParameters=C:\\Old.dproj\r\n[PREF_b]\r\nVersion=2017\r\n"
      u"NoProject=1\r\nParameters=C:\\Old.dproj\r\n");
  CreateDirectoryW((folder / L"Work Dir").c_str(), nullptr);
  const std::wstring project = folder / L"Work Dir\\App.dproj";
  testing::WriteBytes(project, "<Project/>");
  NewForm();
  EXPECT_NE(GetWindowLongW(LV1(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "Explorer drops files onto the list";
  RECT second;
  ListView_GetItemRect(LV1(), 1, &second, LVIR_BOUNDS);
  const POINT onSecond{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
  RECT client;
  GetClientRect(LV1(), &client);
  ASSERT_GT(client.bottom - 4, second.bottom) << "room below the rows";
  DropFiles(LV1(), {project, project}, onSecond);
  DropFiles(LV1(), {project}, POINT{onSecond.x, client.bottom - 4});
  const std::wstring missing = folder / L"gone.dproj";
  DropFiles(LV1(), {missing}, onSecond);
  EXPECT_EQ(errors, std::vector<std::u16string>{Format(texts::kFileNotFound, {FromWide(missing)})});
  EXPECT_TRUE(starts.empty());
  EXPECT_TRUE(IsWindow(form_->Handle()) && IsWindowVisible(form_->Handle())) << "the window stays";

  DropFiles(LV1(), {project}, onSecond);
  EXPECT_EQ(starts, std::vector<std::u16string>{u"open \"" + FromWide(folder / L"ide2017.exe") + u"\" /np \"" +
                                                FromWide(project) + u"\""})
      << "the second row's profile";
  EXPECT_NE(SettingsText().find(u"[PREF_b]\r\nVersion=2017\r\nNoProject=1\r\nParameters=C:\\Old.dproj\r\n"),
            std::u16string::npos)
      << "the profile keeps its parameters";
}

// Keys as the message loop delivers them: the window's shortcuts and Tab
// navigation see them first.
bool Deliver(TMAIN_FORM& form, HWND target, UINT message, WPARAM key) {
  MSG msg{target, message, key, 0, 0, {}};
  if (form.PreTranslateMessage(msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return false;
}

TEST_F(MainForm, KeysThroughTheMessageLoop) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\n");
  TMAIN_FORM& form = NewForm();
  Deliver(form, LV1(), WM_KEYDOWN, VK_ESCAPE);
  testing::PumpMessages();
  EXPECT_TRUE(IsWindow(form.Handle())) << "Esc does nothing";
  EXPECT_TRUE(starts.empty());
  // Del reaches the delete command wherever the focus is.
  Deliver(form, form.Control(TMAIN_FORM::kBtnAdd), WM_KEYDOWN, VK_DELETE);
  EXPECT_EQ(dialogs.size(), 1u);
  // Enter in the list launches.
  Deliver(form, LV1(), WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(starts.size(), 1u);
}

// Counts the requests for the menu mode sent in this thread.
int menuModes = 0;
LRESULT CALLBACK CountMenuModes(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SYSCOMMAND && (sent->wParam & 0xFFF0) == SC_KEYMENU) ++menuModes;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Alt+Enter launches as Enter does, and goes no further: no menu mode,
// which would beep in a window without a menu bar.
TEST_F(MainForm, AltEnterInTheListLaunchesAndIsConsumed) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\n");
  TMAIN_FORM& form = NewForm();
  menuModes = 0;
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountMenuModes, nullptr, GetCurrentThreadId());
  MSG key{LV1(), WM_SYSKEYDOWN, VK_RETURN, static_cast<LPARAM>(KF_ALTDOWN) << 16, 0, {}};
  if (!form.PreTranslateMessage(key)) DispatchMessageW(&key);
  MSG character{LV1(), WM_SYSCHAR, L'\r', static_cast<LPARAM>(KF_ALTDOWN) << 16, 0, {}};
  if (!form.PreTranslateMessage(character)) DispatchMessageW(&character);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(starts.size(), 1u);
  EXPECT_EQ(menuModes, 0);
}

TEST_F(MainForm, CancelClosesTheWindowAndEndsTheLoop) {
  TMAIN_FORM& form = NewForm();
  HWND window = form.Handle();
  form.Execute(TMAIN_FORM::AL_CANCEL);
  EXPECT_TRUE(testing::WaitForQuit());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_NE(SettingsText().find(u"[MainForm]"), std::u16string::npos) << "the geometry was written";
}

TEST_F(MainForm, DoubleClickWithoutSelectionDoesNothing) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\n");
  NewForm();
  ClickRow(-1);
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = LV1();
  activate.hdr.code = NM_DBLCLK;
  SendMessageW(form_->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&activate));
  EXPECT_TRUE(starts.empty());
  EXPECT_TRUE(IsWindow(form_->Handle()));
}

TEST_F(MainForm, DeleteAsksThenRemovesTheSectionAndTheRow) {
  Install(7);
  Settings(u"[PREF_keep]\r\nVersion=7\r\n[PREF_drop]\r\nVersion=7\r\nDescription=x\r\n");
  TMAIN_FORM& form = NewForm();
  ClickRow(0);  // "drop" comes first in the locale's order
  ASSERT_EQ(Cell(0, 0), L"drop");
  answer = IDNO;
  form.Execute(TMAIN_FORM::AL_DELETE);
  EXPECT_EQ(dialogs, std::vector<std::u16string>{Concat(
                         {texts::kConfirmCaption, u"|", Format(texts::kDeleteProfileQuestion, {u"drop"}), u"|8228"})});
  EXPECT_EQ(RowCount(), 2);
  answer = IDYES;
  form.Execute(TMAIN_FORM::AL_DELETE);
  EXPECT_EQ(Column(0), std::vector<std::wstring>{L"keep"});
  EXPECT_EQ(RowBackground(0), 0xFFEEDDu) << "the row that moved up is shaded now";
  EXPECT_EQ(Selected(), -1) << "no other row is selected";
  EXPECT_EQ(SettingsText(), u"\xFEFF[PREF_keep]\r\nVersion=7\r\n\r\n");
  EXPECT_TRUE(form.ActionEnabled(TMAIN_FORM::AL_DELETE)) << "states change only at mouse presses";
  form.Execute(TMAIN_FORM::AL_DELETE);
  EXPECT_EQ(dialogs.size(), 2u) << "nothing selected: nothing asked";
}

TEST_F(MainForm, LongProfileNamesAreDeletedAndLaunchedWhole) {
  Install(7);
  const std::u16string name(1500, u'名');
  const std::u16string settings = u"[PREF_other]\r\nVersion=7\r\n[PREF_" + name + u"]\r\nVersion=7\r\n";
  Settings(settings);
  TMAIN_FORM& form = NewForm();
  ClickRow(1);
  ASSERT_EQ(Cell(1, 0).size(), 511u) << "the test's own reader stops at 512";
  answer = IDYES;
  form.Execute(TMAIN_FORM::AL_DELETE);
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_NE(dialogs[0].find(name), std::u16string::npos) << "the question names the whole profile";
  EXPECT_EQ(SettingsText(), u"\xFEFF[PREF_other]\r\nVersion=7\r\n\r\n");
  EXPECT_EQ(RowCount(), 1);

  Settings(settings);
  TMAIN_FORM& again = NewForm();
  ClickRow(1);
  again.Execute(TMAIN_FORM::AL_LAUNCH);
  EXPECT_EQ(starts.size(), 1u) << "found in the file by its whole name";
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainForm, GeometryIsWrittenAtDestroyAndRestoredAtTheNextStart) {
  NewForm();
  SetWindowPos(form_->Handle(), nullptr, 40, 50, 600, 400, SWP_NOZORDER);
  ListView_SetColumnWidth(LV1(), 1, 77);
  RECT client;
  GetClientRect(form_->Handle(), &client);
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(SettingsText(), u"\xFEFF[MainForm]\r\nClientWidth=" + DecimalText(client.right) + u"\r\nClientHeight=" +
                                DecimalText(client.bottom) +
                                u"\r\nWindowState=0\r\nTop=50\r\nLeft=40\r\n"
                                u"ListViewColumnWidths=132,77,154\r\n\r\n");

  NewForm();
  RECT outer;
  GetWindowRect(form_->Handle(), &outer);
  EXPECT_EQ(outer.left, 40);
  EXPECT_EQ(outer.top, 50);
  EXPECT_EQ(outer.right - outer.left, 600);
  EXPECT_EQ(ListView_GetColumnWidth(LV1(), 1), 77);

  // Closed maximised, it comes back maximised over its normal bounds.
  ShowWindow(form_->Handle(), SW_MAXIMIZE);
  ASSERT_TRUE(CloseAndWait());
  EXPECT_NE(SettingsText().find(u"WindowState=2\r\nTop=50\r\nLeft=40\r\n"), std::u16string::npos);
  NewForm();
  EXPECT_TRUE(IsZoomed(form_->Handle()));

  // Closed minimised, it stores its normal bounds and comes back minimised.
  ShowWindow(form_->Handle(), SW_RESTORE);
  ShowWindow(form_->Handle(), SW_MINIMIZE);
  ASSERT_TRUE(CloseAndWait());
  EXPECT_NE(SettingsText().find(u"WindowState=1\r\nTop=50\r\nLeft=40\r\n"), std::u16string::npos);
  EXPECT_NE(SettingsText().find(u"ClientWidth=" + DecimalText(client.right) + u"\r\n"), std::u16string::npos);
  NewForm();
  EXPECT_TRUE(IsIconic(form_->Handle()));
  ShowWindow(form_->Handle(), SW_RESTORE);
  RECT restored;
  GetWindowRect(form_->Handle(), &restored);
  EXPECT_EQ(restored.left, 40);
  EXPECT_EQ(restored.right - restored.left, 600);
}

TEST_F(MainForm, ErrorInFirstShowIsReportedAndTheWindowGoesOn) {
  Install(2017);
  const DWORD number = 5;
  testing::SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\12.0", L"APP", REG_DWORD, &number,
                            sizeof number);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\n");
  TMAIN_FORM& form = NewForm();
  EXPECT_EQ(errors, std::vector<std::u16string>{Format(texts::kRegistryInvalidType, {u"APP"})});
  EXPECT_EQ(form.InstalledVersions().Codes(), std::vector<VersionCode>{2017});
  EXPECT_EQ(RowCount(), 0) << "the steps after the error did not run";
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(CloseAndWait());
}

// The system's find dialog, driven through its own controls.
class Search : public MainForm {
 protected:
  static constexpr int kFindText = 0x480;  // edt1
  static constexpr int kUp = 0x420;        // rad1
  static constexpr int kDown = 0x421;      // rad2

  void Open() {
    form_->Execute(TMAIN_FORM::AL_FIND);
    testing::PumpMessages();
  }
  void FindNext(const wchar_t* text, bool down = true) {
    HWND dialog = form_->FindDialog();
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, kFindText, text);
    CheckRadioButton(dialog, kUp, kDown, down ? kDown : kUp);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    testing::PumpMessages();
  }
  std::vector<std::u16string> Reported() {
    std::vector<std::u16string> reported;
    reported.swap(dialogs);
    return reported;
  }
  const std::u16string kNoMatch = Concat({texts::kErrorCaption, u"|", texts::kNoMatch, u"|8208"});
};

TEST_F(Search, FindsDownwardsFromTheSelectedRowWithoutWrapping) {
  Install(7);
  Install(2017);
  Settings(
      u"[PREF_Alpha]\r\nVersion=7\r\n[PREF_Alphabet]\r\nVersion=7\r\n[PREF_beta]\r\nVersion=2017\r\n"
      u"Description=uses XE6 packages\r\n");
  NewForm();
  Open();
  HWND dialog = form_->FindDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 0x410))) << "match case hidden";
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 0x411))) << "whole word hidden";
  EXPECT_EQ(IsDlgButtonChecked(dialog, kDown), BST_CHECKED) << "direction preset to down";

  FindNext(L"Alpha");
  EXPECT_EQ(Selected(), 0) << "the selected row itself first";
  FindNext(L"Alpha");
  EXPECT_EQ(Selected(), 1);
  EXPECT_TRUE(Reported().empty());
  FindNext(L"Alpha");
  EXPECT_EQ(Selected(), 1) << "no wrap-around";
  EXPECT_EQ(Reported(), std::vector<std::u16string>{kNoMatch});
  FindNext(L"alpha");
  EXPECT_EQ(Reported(), std::vector<std::u16string>{kNoMatch}) << "case counts";
  FindNext(L"XE6");
  EXPECT_EQ(Selected(), 2) << "found in the release label or description";
  FindNext(L"Alpha", false);
  EXPECT_EQ(Selected(), 1) << "upwards from the row before";
  FindNext(L"Alpha", false);
  EXPECT_EQ(Selected(), 0);
  FindNext(L"Alpha", false);
  EXPECT_EQ(Reported(), std::vector<std::u16string>{kNoMatch}) << "up from the first row after a hit";

  // Ctrl+F while open: the same dialog, and the next search starts at the
  // selected row again.
  Open();
  EXPECT_EQ(form_->FindDialog(), dialog);
  FindNext(L"Alpha");
  EXPECT_EQ(Selected(), 0);
  EXPECT_TRUE(Reported().empty());

  // After a hit with no row selected any more, a downward search starts at
  // the second row and an upward one finds nothing.
  FindNext(L"beta");
  ListView_SetItemState(LV1(), -1, 0, LVIS_SELECTED);
  FindNext(L"XE6");
  EXPECT_EQ(Selected(), 2);
  ListView_SetItemState(LV1(), -1, 0, LVIS_SELECTED);
  FindNext(L"Alpha", false);
  EXPECT_EQ(Reported(), std::vector<std::u16string>{kNoMatch});

  // Closed and opened again, it keeps its text, direction and position.
  CheckRadioButton(dialog, kUp, kDown, kUp);
  FindNext(L"Alpha", false);
  Reported();
  SetWindowPos(dialog, nullptr, 33, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  testing::PumpMessages();
  EXPECT_EQ(form_->FindDialog(), nullptr);
  Open();
  wchar_t text[64] = L"";
  GetDlgItemTextW(form_->FindDialog(), kFindText, text, 64);
  EXPECT_EQ(std::wstring(text), L"Alpha");
  EXPECT_EQ(IsDlgButtonChecked(form_->FindDialog(), kUp), BST_CHECKED);
  RECT bounds;
  GetWindowRect(form_->FindDialog(), &bounds);
  EXPECT_EQ(bounds.left, 33);
  EXPECT_EQ(bounds.top, 44);
}

TEST_F(Search, EmptyListSaysSoAndFindsNothing) {
  NewForm();
  Open();
  EXPECT_EQ(Reported(),
            std::vector<std::u16string>{Concat({texts::kErrorCaption, u"|", texts::kNoProfiles, u"|8208"})});
  ASSERT_NE(form_->FindDialog(), nullptr) << "the dialog opens all the same";
  FindNext(L"x");
  FindNext(L"x", false);
  EXPECT_EQ(Reported(), (std::vector<std::u16string>{kNoMatch, kNoMatch}));
  // After a press in the empty list, Find is disabled and does nothing.
  ClickRow(-1);
  EXPECT_FALSE(form_->ActionEnabled(TMAIN_FORM::AL_FIND));
  Open();
  EXPECT_TRUE(Reported().empty());
}

// A modal window of the program blocks the open find dialog as it blocks
// the main window, and lets go of it when it closes.
TEST_F(Search, ModalWindowsBlockTheFindDialogToo) {
  Install(7);
  Settings(u"[PREF_one]\r\nVersion=7\r\n");
  NewForm();
  Open();
  HWND dialog = form_->FindDialog();
  ASSERT_NE(dialog, nullptr);
  std::vector<bool> enabled;
  onMessage = [&] { enabled.push_back(IsWindowEnabled(dialog) != FALSE); };
  runModal = [&](ModalDialog&) {
    enabled.push_back(IsWindowEnabled(dialog) != FALSE);
    return IDCANCEL;
  };
  form_->Execute(TMAIN_FORM::AL_DELETE);
  form_->Execute(TMAIN_FORM::AL_EDIT);
  EXPECT_EQ(enabled, (std::vector<bool>{false, false})) << "during the confirmation and the editor";
  EXPECT_TRUE(IsWindowEnabled(dialog));
  // Its own messages it owns itself, and it is enabled again after them.
  FindNext(L"nothing like it");
  EXPECT_EQ(Reported().back(), kNoMatch);
  EXPECT_TRUE(IsWindowEnabled(dialog));
}

// The context menu's item adds the entry "Ombrisk で開く" of every project
// file type for this executable, under the user's own classes, and takes
// it away again; it shows checked while the entry runs this executable.
TEST_F(MainForm, TheExplorerItemAddsAndRemovesTheEntry) {
  testing::RegistryCleaner associations({L"Software\\Classes\\SystemFileAssociations"});
  TMAIN_FORM& form = NewForm();
  const std::u16string program = FromWide(folder / L"Ombrisk.exe");
  const auto command = [](const wchar_t* extension) {
    wchar_t text[512] = L"(none)";
    DWORD size = sizeof text;
    RegGetValueW(
        HKEY_CURRENT_USER,
        (L"Software\\Classes\\SystemFileAssociations\\" + std::wstring(extension) + L"\\shell\\Ombrisk\\command")
            .c_str(),
        nullptr, RRF_RT_REG_SZ, nullptr, text, &size);
    return std::wstring(text);
  };
  EXPECT_FALSE(ExplorerEntryRuns(program));
  form.Execute(TMAIN_FORM::AL_EXPLORER);
  for (const wchar_t* extension : {L".dproj", L".groupproj", L".dpk", L".dpr", L".bdsproj", L".bdsgroup"}) {
    EXPECT_EQ(command(extension), L"\"" + (folder / L"Ombrisk.exe") + L"\" /open \"%1\"") << testing::Narrow(extension);
  }
  EXPECT_TRUE(ExplorerEntryRuns(program));
  EXPECT_FALSE(ExplorerEntryRuns(u"C:\\Elsewhere\\Ombrisk.exe")) << "a moved executable";
  form.Execute(TMAIN_FORM::AL_EXPLORER);
  EXPECT_EQ(command(L".dproj"), L"(none)");
  EXPECT_FALSE(ExplorerEntryRuns(program));
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace ombrisk
