// Times the real program under Wine: Ombrisk.exe started until its main
// window is on screen with every row in its list, beside a bare Win32
// program that shows the same rows (the start-up baseline), in one sitting;
// its peak memory then; the first Ctrl+F until its dialog is on screen; and
// a launch's registry writes for one profile.
//   program_bench.exe [PROFILES] [RUNS] [BASELINE.exe]
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/launch.h"
#include "core/platforms.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "win32/module_path.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

using namespace ombrisk;
using Clock = std::chrono::steady_clock;

namespace {

double Milliseconds(Clock::duration elapsed) { return std::chrono::duration<double, std::milli>(elapsed).count(); }

// The system time in 100-ns units, the clock of the traced program's marks.
ULONGLONG SystemTime() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  return (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Starts nothing: the launch's writes are what is timed.
class IdleStarter : public ProcessStarter {
 public:
  std::uint32_t RunAndWait(std::u16string_view, bool) override { return 0; }
  bool RunElevated(std::u16string_view, std::u16string_view) override { return true; }
  bool Open(std::u16string_view, std::u16string_view) override { return true; }
  bool SupportsElevation() override { return true; }
};

struct Search {
  DWORD processId;
  const wchar_t* className;
  bool visible;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = L"";
  GetClassNameW(window, className, 32);
  if (owner == search->processId && (!search->visible || IsWindowVisible(window)) &&
      std::wstring(className) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindWindowOf(DWORD processId, const wchar_t* className, bool visible) {
  Search search{processId, className, visible, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleWindow(DWORD processId, const wchar_t* className) { return FindWindowOf(processId, className, true); }

// The rows the window's list view reports, -1 while it has none or hangs.
int ListRows(HWND window) {
  const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
  HWND found = list;
  if (found == nullptr) {
    // The program's list sits inside a panel.
    for (HWND child = FindWindowExW(window, nullptr, nullptr, nullptr); child != nullptr && found == nullptr;
         child = FindWindowExW(window, child, nullptr, nullptr)) {
      found = FindWindowExW(child, nullptr, WC_LISTVIEWW, nullptr);
    }
  }
  DWORD_PTR rows = 0;
  if (found == nullptr || SendMessageTimeoutW(found, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &rows) == 0) {
    return -1;
  }
  return static_cast<int>(rows);
}

struct Started {
  // Since CreateProcess was called: the window found (maybe hidden), on
  // screen, and on screen with every row.
  double createdMilliseconds = -1;
  double visibleMilliseconds = -1;
  double milliseconds = 0;
  double peakMiB = 0;
  double findMilliseconds = -1;
};

// Starts the program and waits until its window of the class is visible
// with the rows listed; with findCommand, then sends it and waits for the
// process's next visible dialog (the find dialog or its message).
Started StartAndWait(const std::wstring& program, const std::wstring& folder, const wchar_t* className, int rows,
                     WORD findCommand, ULONGLONG* startedAt = nullptr) {
  Started result;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + program + L"\"";
  if (startedAt != nullptr) *startedAt = SystemTime();
  const auto start = Clock::now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    std::printf("%ls did not start\n", program.c_str());
    std::exit(1);
  }
  HWND window = nullptr;
  while (Milliseconds(Clock::now() - start) < 30000) {
    if (result.createdMilliseconds < 0 && FindWindowOf(process.dwProcessId, className, false) != nullptr) {
      result.createdMilliseconds = Milliseconds(Clock::now() - start);
    }
    window = VisibleWindow(process.dwProcessId, className);
    if (window != nullptr && result.visibleMilliseconds < 0) {
      result.visibleMilliseconds = Milliseconds(Clock::now() - start);
    }
    if (window != nullptr && ListRows(window) == rows) break;
    window = nullptr;
    Sleep(1);
  }
  result.milliseconds = Milliseconds(Clock::now() - start);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
  result.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
  if (window != nullptr && findCommand != 0) {
    const auto find = Clock::now();
    PostMessageW(window, WM_COMMAND, findCommand, 0);
    HWND dialog = nullptr;
    while (dialog == nullptr && Milliseconds(Clock::now() - find) < 10000) {
      dialog = VisibleWindow(process.dwProcessId, L"#32770");
      if (dialog == nullptr) Sleep(1);
    }
    // Without rows, a message comes first; once it is answered, the time
    // until the find dialog follows is what counts.
    if (dialog != nullptr && GetDlgItem(dialog, 0x480) == nullptr) {
      const auto answered = Clock::now();
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      HWND message = dialog;
      dialog = nullptr;
      while (dialog == nullptr && Milliseconds(Clock::now() - answered) < 10000) {
        const HWND found = VisibleWindow(process.dwProcessId, L"#32770");
        if (found != nullptr && found != message && GetDlgItem(found, 0x480) != nullptr) dialog = found;
        if (dialog == nullptr) Sleep(1);
      }
      std::printf("after its message was answered, the find dialog came in %.1f ms\n",
                  Milliseconds(Clock::now() - answered));
    }
    result.findMilliseconds = Milliseconds(Clock::now() - find);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    Sleep(50);
  }
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

// Each step's time since CreateProcess, in the order the traced program
// marked them, the first mark of a step in each run.
class Breakdown {
 public:
  void Add(const std::string& step, double milliseconds) {
    auto found = std::find_if(steps_.begin(), steps_.end(), [&](const Step& s) { return s.name == step; });
    if (found == steps_.end()) {
      steps_.push_back({step, {}});
      found = steps_.end() - 1;
    }
    found->times.push_back(milliseconds);
  }
  // The traced program's marks of one run, read from its trace file.
  void AddTrace(const std::wstring& path, ULONGLONG startedAt) {
    FILE* file = _wfopen(path.c_str(), L"r");
    if (file == nullptr) return;
    std::vector<std::string> seen;
    char step[64];
    unsigned long long time = 0;
    while (std::fscanf(file, "%63[^\t]\t%llu\n", step, &time) == 2) {
      if (std::find(seen.begin(), seen.end(), step) != seen.end()) continue;
      seen.emplace_back(step);
      Add(step, static_cast<double>(time - startedAt) / 10000.0);
    }
    std::fclose(file);
    DeleteFileW(path.c_str());
  }
  void Print(const char* title) const {
    std::printf("%s\n", title);
    for (const Step& step : steps_) std::printf("  %-20s %7.1f ms\n", step.name.c_str(), Median(step.times));
  }

 private:
  struct Step {
    std::string name;
    std::vector<double> times;
  };
  std::vector<Step> steps_;
};

void AddSeen(Breakdown& breakdown, const Started& started) {
  breakdown.Add("window (outside)", started.createdMilliseconds);
  breakdown.Add("on screen (outside)", started.visibleMilliseconds);
  breakdown.Add("every row (outside)", started.milliseconds);
}

// The command of the main window's find action (its Ctrl+F).
constexpr WORD kFindCommand = 1006;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int profiles = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000;
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const std::wstring baselineSource = argc > 3 ? argv[3] : L"";

  // Ombrisk.exe beside this program (and the baseline, when given) is
  // copied to a folder of its own, where its settings file is written;
  // release 2017 is "installed" with this program as its executable.
  const std::u16string self = ExecutablePath();
  const std::wstring bin = Wide(self.substr(0, self.find_last_of(u'\\')));
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"OmbriskProgramBench";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring program = folder + L"\\Ombrisk.exe";
  CopyFileW((bin + L"\\Ombrisk.exe").c_str(), program.c_str(), FALSE);
  WinRegistry registry;
  registry.OpenKey(InstallationKey(2017), true);
  registry.WriteString(u"APP", self);
  registry.CloseKey();

  WinFileSystem files;
  WinTextComparer comparer;
  WinRegistryFactory registries;
  const std::u16string settings = SettingsFileName(FromWide(program));
  {
    SettingsFile file(files, comparer, settings);
    for (int n = 0; n < profiles; ++n) {
      const std::u16string section = u"PREF_Profile " + DecimalText(n);
      file.WriteInteger(section, u"Version", 2017);
      file.WriteString(section, u"Description", u"ベンチマーク用のプロファイル " + DecimalText(n));
      file.WriteString(section, u"Embedded_Designer", u"True");
      file.WriteInteger(section, u"PKG_Count", 2);
      for (int k = 1; k <= 2; ++k) {
        file.WriteString(section, u"PKG_PATH" + DecimalText(k), u"$(BDS)\\bin\\dclpackage" + DecimalText(k) + u".bpl");
        file.WriteString(section, u"PKG_NAME" + DecimalText(k), u"Package " + DecimalText(k));
      }
      for (TPlatformType platform : VersionPlatforms(2017)) {
        for (const LibrarySetting& setting : LibrarySettings) {
          file.WriteString(section, SettingsKey(platform, setting), u"$(BDSLIB)\\$(Platform)\\release;C:\\Lib");
        }
      }
    }
    file.UpdateFile();
    std::printf("settings file: %.1f MiB\n", static_cast<double>(file.FileContent().size()) / (1024.0 * 1024.0));
  }
  const std::wstring baseline = folder + L"\\baseline.exe";
  if (!baselineSource.empty()) {
    CopyFileW(baselineSource.c_str(), baseline.c_str(), FALSE);
    CopyFileW(Wide(settings).c_str(), (folder + L"\\baseline.env").c_str(), FALSE);
  }

  // Alternating, so both programs meet the machine in the same state.
  std::vector<double> startups, baselines, peaks, finds;
  Breakdown seen, baselineSeen;
  for (int run = 0; run < runs; ++run) {
    const Started started = StartAndWait(program, folder, L"TMAIN_FORM", profiles, run == 0 ? kFindCommand : 0);
    startups.push_back(started.milliseconds);
    peaks.push_back(started.peakMiB);
    if (started.findMilliseconds >= 0) finds.push_back(started.findMilliseconds);
    if (run > 0) AddSeen(seen, started);
    if (!baselineSource.empty()) {
      const Started baselineStarted = StartAndWait(baseline, folder, L"START_BASELINE", profiles, 0);
      baselines.push_back(baselineStarted.milliseconds);
      AddSeen(baselineSeen, baselineStarted);
    }
  }
  std::printf("start-up to the filled main window with %d profiles: median %.1f ms of %d runs\n", profiles,
              Median(startups), runs);
  if (!baselines.empty()) {
    std::printf("baseline with the same rows: median %.1f ms; ratio %.2f\n", Median(baselines),
                Median(startups) / Median(baselines));
  }
  std::printf("peak working set: median %.1f MiB\n", Median(peaks));
  std::printf("first Ctrl+F until its dialog is on screen: %.1f ms\n", Median(finds));
  seen.Print("Ombrisk seen from outside, medians since CreateProcess:");
  if (!baselines.empty()) baselineSeen.Print("the baseline seen from outside:");

  // The builds that mark their steps, started as often, in the same folder.
  const auto traced = [&](const std::wstring& build, const std::wstring& copy, const wchar_t* className,
                          const std::wstring& trace, const char* title) {
    if (GetFileAttributesW(build.c_str()) == INVALID_FILE_ATTRIBUTES ||
        !CopyFileW(build.c_str(), copy.c_str(), FALSE)) {
      return;
    }
    Breakdown steps;
    for (int run = 0; run < runs; ++run) {
      ULONGLONG startedAt = 0;
      const Started started = StartAndWait(copy, folder, className, profiles, 0, &startedAt);
      steps.AddTrace(folder + trace, startedAt);
      AddSeen(steps, started);
    }
    steps.Print(title);
  };
  traced(bin + L"\\Ombrisk_trace.exe", program, L"TMAIN_FORM", L"\\Ombrisk.trace",
         "the traced build's steps, medians since CreateProcess:");
  if (!baselineSource.empty()) {
    traced(baselineSource.substr(0, baselineSource.find_last_of(L'\\') + 1) + L"baseline_trace.exe", baseline,
           L"START_BASELINE", L"\\baseline.trace", "the baseline's traced build, medians since CreateProcess:");
  }

  std::vector<double> launches;
  IdleStarter starter;
  for (int run = 0; run < runs && profiles > 0; ++run) {
    const auto start = Clock::now();
    const ProfileStore store(files, comparer, settings);
    LaunchProfile(LaunchServices{store, registries, starter, [] {}, [] {}}, 2017,
                  u"Profile " + DecimalText(profiles / 2));
    launches.push_back(Milliseconds(Clock::now() - start));
  }
  if (!launches.empty()) {
    std::printf("launch of one XE6 profile (settings file, 72 library values, packages): median %.1f ms\n",
                Median(launches));
  }

  DeleteFileW(Wide(settings).c_str());
  DeleteFileW(program.c_str());
  DeleteFileW(baseline.c_str());
  DeleteFileW((folder + L"\\baseline.env").c_str());
  RemoveDirectoryW(folder.c_str());
  registry.DeleteKey(u"\\Software\\Embarcadero");
  return 0;
}
