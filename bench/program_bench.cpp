// Times the real program under Wine: Ombrisk.exe started until its main
// window is on screen with its list filled, its peak memory then, and a
// launch's registry writes for one profile.
//   program_bench.exe [PROFILES] [RUNS]
#include <windows.h>
// After windows.h, which it needs.
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

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Starts nothing: the launch's writes are what is timed.
class IdleStarter : public ProcessStarter {
 public:
  std::uint32_t RunAndWait(std::u16string_view, bool) override { return 0; }
  void RunElevated(std::u16string_view, std::u16string_view) override {}
  void Open(std::u16string_view, std::u16string_view) override {}
  bool SupportsElevation() override { return true; }
};

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = L"";
  GetClassNameW(window, className, 32);
  if (owner == search->processId && IsWindowVisible(window) && std::wstring(className) == L"TMAIN_FORM") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int profiles = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000;
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;

  // Ombrisk.exe beside this program is copied to a folder of its own, where
  // its settings file is written; release 2017 is "installed" with this
  // program as its executable.
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

  std::vector<double> startups;
  std::vector<double> peaks;
  for (int run = 0; run < runs; ++run) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const auto start = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
      std::printf("Ombrisk.exe did not start\n");
      return 1;
    }
    // The window becomes visible once its first show has filled the list.
    Search search{process.dwProcessId, nullptr};
    while (search.found == nullptr && Milliseconds(Clock::now() - start) < 30000) {
      EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found == nullptr) Sleep(1);
    }
    startups.push_back(Milliseconds(Clock::now() - start));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    peaks.push_back(static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
    PostMessageW(search.found, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  std::printf("start-up to the filled main window with %d profiles: median %.1f ms of %d runs\n", profiles,
              Median(startups), runs);
  std::printf("peak working set: median %.1f MiB\n", Median(peaks));

  std::vector<double> launches;
  IdleStarter starter;
  for (int run = 0; run < runs && profiles > 0; ++run) {
    const auto start = Clock::now();
    LaunchProfile(LaunchServices{settings, files, comparer, registries, starter, [] {}, [] {}}, 2017,
                  u"Profile " + DecimalText(profiles / 2));
    launches.push_back(Milliseconds(Clock::now() - start));
  }
  if (!launches.empty()) {
    std::printf("launch of one XE6 profile (settings file, 72 library values, packages): median %.1f ms\n",
                Median(launches));
  }

  DeleteFileW(Wide(settings).c_str());
  DeleteFileW(program.c_str());
  RemoveDirectoryW(folder.c_str());
  registry.DeleteKey(u"\\Software\\Embarcadero");
  return 0;
}
