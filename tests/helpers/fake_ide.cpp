// An IDE stand-in. Registered as a release's executable, it finds its
// release by its own path, reads the key the launch wrote for it (the one
// named by its "/r" switch, or the default "BDS" key) and writes what it
// found to "<its own path>.txt" in UTF-8, then exits:
//   command=<its command line>
//   folder=<its working folder>
//   release=<code>
//   key=<the key it read>
//   ide=<32, or 64 when it is the release's 64-bit IDE>
//   prelaunch=<the text of prelaunch.txt beside it, or "(none)">
//   <sub key>|<value name>=<value>     for every value of the sub keys an
//                                      IDE loads its setup from, in order
// Built as demo_ide.exe (OMBRISK_DEMO_WINDOW) it also shows the report in a
// window of its own, so a person trying Ombrisk sees what a launch did.
// With OMBRISK_FAKE_IDE_RUNS naming an event in its environment it keeps
// running after its report, as an IDE a user works in, until the event is
// set.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue.h"
#include "core/platforms.h"
#include "core/text.h"
#include "win32/module_path.h"
#include "win32/wide.h"
#include "win32/win_registry.h"

namespace {

using namespace ombrisk;

std::u16string Upper(std::u16string text) {
  for (char16_t& c : text) c = static_cast<char16_t>(towupper(c));
  return text;
}

struct OwnIde {
  VersionCode code = 0;
  bool ide64 = false;
};

// The release whose recorded executable, the 32-bit IDE's or the 64-bit
// one's, is this program.
OwnIde FindOwnIde(const std::u16string& self) {
  WinRegistry registry;
  for (const Release& release : Releases()) {
    registry.SetRootKey(InstallationRoot(release.code));
    if (!registry.OpenKeyReadOnly(InstallationKey(release.code))) continue;
    if (Upper(registry.ReadString(ExecutableValueName(release.code))) == Upper(self)) return {release.code, false};
    if (release.ide64 && Upper(registry.ReadString(ide::kApp64)) == Upper(self)) return {release.code, true};
  }
  return {};
}

// The name after "/r" in the command line, when it has such a switch.
bool AlternateKey(std::u16string& name) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  bool found = false;
  for (int i = 1; i < count && !found; ++i) {
    const std::wstring argument = arguments[i];
    if (argument.size() >= 2 && (argument[0] == L'/' || argument[0] == L'-') && (argument[1] == L'r')) {
      name = FromWide(argument.substr(2));
      found = true;
    }
  }
  LocalFree(arguments);
  return found;
}

void DumpKey(WinRegistry& registry, const std::u16string& base, const std::u16string& sub, std::string& out) {
  if (!registry.OpenKeyReadOnly(base + sub)) return;
  out += ToUtf8(sub) + "\n";
  for (const std::u16string& name : registry.GetValueNames()) {
    const std::optional<RegistryData> data = registry.ReadData(name);
    const bool text = data && (data->type == registry_type::kString || data->type == registry_type::kExpandString);
    out += ToUtf8(sub) + "|" + ToUtf8(name) + "=" +
           (text ? ToUtf8(DataText(*data)) : "(type " + std::to_string(data ? data->type : 0) + ")") + "\n";
  }
  registry.CloseKey();
}

std::string FileText(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(none)";
  wchar_t buffer[1024];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof buffer - sizeof(wchar_t), &read, nullptr);
  CloseHandle(file);
  return ToUtf8(FromWide(std::wstring_view(buffer, read / sizeof(wchar_t))));
}

// Writes the report and returns its text.
std::string Report() {
  const std::u16string self = ExecutablePath();
  const std::wstring folder = Wide(self.substr(0, self.find_last_of(u'\\')));
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);

  const auto [code, ide64] = FindOwnIde(self);
  std::u16string alternate;
  const bool useAlternate = AlternateKey(alternate);
  const std::u16string base = IdeRegistryKey(code, useAlternate, alternate);

  std::string out;
  out += "command=" + ToUtf8(FromWide(GetCommandLineW())) + "\n";
  out += "folder=" + ToUtf8(FromWide(current)) + "\n";
  out += "release=" + std::to_string(code) + "\n";
  out += "key=" + ToUtf8(base) + "\n";
  out += std::string("ide=") + (ide64 ? "64" : "32") + "\n";
  out += "prelaunch=" + FileText(folder + L"\\prelaunch.txt") + "\n";
  WinRegistry registry;
  for (const std::u16string_view key :
       {u"Known Packages", u"Known Packages x64", u"Disabled Packages", u"Disabled Packages x64",
        u"Environment Variables", u"Environment Variables x64"}) {
    DumpKey(registry, base, std::u16string(key), out);
  }
  DumpKey(registry, base, u"Form Design", out);
  for (TPlatformType platform : VersionPlatforms(code)) DumpKey(registry, base, LibraryKeyName(platform), out);

  // Written beside its name and then renamed, so a reader that sees the
  // report sees all of it.
  const std::wstring report = Wide(self) + L".txt";
  const std::wstring partial = report + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(partial.c_str(), report.c_str(), MOVEFILE_REPLACE_EXISTING);
  return out;
}

#ifdef OMBRISK_DEMO_WINDOW
LRESULT CALLBACK DemoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      MoveWindow(GetWindow(window, GW_CHILD), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The report in a resizable window titled with the release; ends when the
// window is closed.
void ShowReport(const std::string& report) {
  std::u16string text;
  for (char16_t c : FromUtf8(report)) {
    if (c == u'\n') text += u'\r';
    text += c;
  }
  const Release* release = FindRelease(FindOwnIde(ExecutablePath()).code);
  const std::wstring caption = L"Demo IDE - " + Wide(release != nullptr ? release->label : u"?");
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DemoWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"OmbriskDemoIde";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 760, 520, nullptr, nullptr, instance, nullptr);
  HWND edit = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", Wide(text).c_str(),
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0,
      0, 0, 0, window, nullptr, instance, nullptr);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
#endif

}  // namespace

#ifdef OMBRISK_DEMO_WINDOW
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ShowReport(Report());
  return 0;
}
#else
int wmain() {
  Report();
  wchar_t event[256];
  if (GetEnvironmentVariableW(L"OMBRISK_FAKE_IDE_RUNS", event, 256) > 0) {
    HANDLE ended = CreateEventW(nullptr, TRUE, FALSE, event);
    WaitForSingleObject(ended, INFINITE);
    CloseHandle(ended);
  }
  return 0;
}
#endif
