// Tells the end-to-end scripts what they cannot see through the X server:
// the state of a Windows control, an open menu, an event another program
// sets. Exit code 0 when the state holds, 1 when it does not.
//   probe.exe enabled CLASS ID   a shown window of the class holds an
//                                enabled control with the id
//   probe.exe menu               a menu is open
//   probe.exe active CLASS       the foreground window is of the class, or
//                                becomes so while the probe waits and
//                                brings a shown one to the foreground
//   probe.exe event NAME         the named event (manual reset) is set, or
//                                becomes set while the probe waits
//   probe.exe checked CLASS ID   a shown window of the class holds a checked
//                                box with the id, or does so while the probe
//                                waits
//   probe.exe tab CLASS ID PAGE  the same for a tab control showing the page
//   probe.exe drawn CLASS        the shown window of the class has answered
//                                and has nothing left to paint, or gets
//                                there while the probe waits
//   probe.exe texts CAPTION [CLASS]  prints the texts of the shown window
//                                of the class (a dialog box when none is
//                                named) with the caption, one a line (UTF-8)
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>

namespace {

struct Query {
  const wchar_t* className;
  int id;
  enum class Wanted { Enabled, Checked, Page } wanted = Wanted::Enabled;
  int page = 0;
  bool found = false;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lParam) {
  auto* query = reinterpret_cast<Query*>(lParam);
  if (GetDlgCtrlID(child) != query->id || !IsWindowEnabled(child)) return TRUE;
  if (query->wanted == Query::Wanted::Checked && SendMessageW(child, BM_GETCHECK, 0, 0) != BST_CHECKED) return TRUE;
  if (query->wanted == Query::Wanted::Page && SendMessageW(child, TCM_GETCURSEL, 0, 0) != query->page) return TRUE;
  query->found = true;
  return FALSE;
}

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
  auto* query = reinterpret_cast<Query*>(lParam);
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  if (!IsWindowVisible(window) || std::wcscmp(name, query->className) != 0) return TRUE;
  EnumChildWindows(window, MatchChild, lParam);
  return query->found ? FALSE : TRUE;
}

bool Shown(const wchar_t* className, int id, Query::Wanted wanted = Query::Wanted::Enabled, int page = 0) {
  Query query{className, id, wanted, page};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// Looks again at least every tenth of a second until the state holds, for
// at most 30 seconds.
bool Becomes(const std::function<bool()>& holds) {
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (!holds()) {
    if (GetTickCount64() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return true;
}

BOOL CALLBACK NoteUnpainted(HWND child, LPARAM unpainted) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) *reinterpret_cast<bool*>(unpainted) = true;
  return TRUE;
}

// The window's thread has handled what came before a message of ours, and
// neither the window nor a child of it waits to be painted.
bool Drawn(const wchar_t* className) {
  HWND window = FindWindowW(className, nullptr);
  DWORD_PTR answer = 0;
  if (window == nullptr || !IsWindowVisible(window) ||
      !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer)) {
    return false;
  }
  bool unpainted = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// Its delivery is what wakes the wait below; nothing else to do.
void CALLBACK OnForegroundChange(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

// Wine takes the X server's focus for the window's activation mostly, not
// always (after another process's window went away it may keep none in
// front): the window is also brought to the foreground as a click would.
// Each change of the foreground window wakes the wait; it looks again at
// least every tenth of a second should that word not come.
bool BecomesActive(const wchar_t* className) {
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                             OnForegroundChange, 0, 0, WINEVENT_OUTOFCONTEXT);
  const ULONGLONG deadline = GetTickCount64() + 30000;
  bool active = false;
  for (;;) {
    wchar_t name[256] = L"";
    GetClassNameW(GetForegroundWindow(), name, 256);
    active = std::wcscmp(name, className) == 0;
    if (active || GetTickCount64() > deadline) break;
    if (HWND window = FindWindowW(className, nullptr); window != nullptr && IsWindowVisible(window)) {
      SetForegroundWindow(window);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  if (hook != nullptr) UnhookWinEvent(hook);
  return active;
}

BOOL CALLBACK PrintText(HWND child, LPARAM) {
  wchar_t text[1024] = L"";
  if (!IsWindowVisible(child) || GetWindowTextW(child, text, 1024) == 0) return TRUE;
  char utf8[4096] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("%s\n", utf8);
  return TRUE;
}

bool PrintTexts(const wchar_t* caption, const wchar_t* className) {
  HWND box = FindWindowW(className, caption);
  if (box == nullptr || !IsWindowVisible(box)) return false;
  EnumChildWindows(box, PrintText, 0);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // OMBRISK_PROBE_DESKTOP names a desktop of Wine's other than the
  // default one (a virtual desktop) where the windows looked at live.
  wchar_t desktop[256] = L"";
  if (GetEnvironmentVariableW(L"OMBRISK_PROBE_DESKTOP", desktop, 256) > 0) {
    if (HDESK named = OpenDesktopW(desktop, 0, FALSE, GENERIC_ALL); named != nullptr) SetThreadDesktop(named);
  }
  const std::wstring what = argc > 1 ? argv[1] : L"";
  if (what == L"enabled" && argc == 4) return Shown(argv[2], std::wcstol(argv[3], nullptr, 10)) ? 0 : 1;
  if (what == L"menu" && argc == 2) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu != nullptr && IsWindowVisible(menu) ? 0 : 1;
  }
  if (what == L"active" && argc == 3) return BecomesActive(argv[2]) ? 0 : 1;
  if (what == L"event" && argc == 3) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, argv[2]);
    const bool set = WaitForSingleObject(event, 30000) == WAIT_OBJECT_0;
    CloseHandle(event);
    return set ? 0 : 1;
  }
  if (what == L"checked" && argc == 4) {
    const int id = std::wcstol(argv[3], nullptr, 10);
    return Becomes([&] { return Shown(argv[2], id, Query::Wanted::Checked); }) ? 0 : 1;
  }
  if (what == L"tab" && argc == 5) {
    const int id = std::wcstol(argv[3], nullptr, 10);
    const int page = std::wcstol(argv[4], nullptr, 10);
    return Becomes([&] { return Shown(argv[2], id, Query::Wanted::Page, page); }) ? 0 : 1;
  }
  if (what == L"drawn" && argc == 3) return Becomes([&] { return Drawn(argv[2]); }) ? 0 : 1;
  if (what == L"texts" && (argc == 3 || argc == 4)) return PrintTexts(argv[2], argc == 4 ? argv[3] : L"#32770") ? 0 : 1;
  return 2;
}
