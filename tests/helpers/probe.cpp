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
//   probe.exe texts CAPTION [CLASS]  prints the texts of the shown window
//                                of the class (a dialog box when none is
//                                named) with the caption, one a line (UTF-8)
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Query {
  const wchar_t* className;
  int id;
  bool found = false;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM lParam) {
  auto* query = reinterpret_cast<Query*>(lParam);
  if (GetDlgCtrlID(child) != query->id || !IsWindowEnabled(child)) return TRUE;
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

bool Shown(const wchar_t* className, int id) {
  Query query{className, id};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
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
  if (what == L"texts" && (argc == 3 || argc == 4)) return PrintTexts(argv[2], argc == 4 ? argv[3] : L"#32770") ? 0 : 1;
  return 2;
}
