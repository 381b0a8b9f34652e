// Times the check for IDEs that use a settings key (the running processes
// listed and the release's IDE looked for among them) with many processes
// running: starts PROCESSES waiting helpers (tests/helpers/exit_with.cpp),
// one of them a copy named ide.exe, and checks RUNS times with XE6's IDE
// registered three ways: as a file that does not run, as the copy (one
// process of them all is the IDE, as on a developer's machine) and as the
// helper (every other one is, its command line read: the worst case).
// Prints the medians and ends the helpers.
//   running_ide_bench.exe [PROCESSES] [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "core/running_ide.h"
#include "win32/running_processes.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 200;
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 11;
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L'\\'));
  const std::wstring event = L"OmbriskBenchEnd-" + std::to_wstring(GetCurrentProcessId());
  HANDLE end = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
  const std::wstring copy = folder + L"\\ide.exe";
  CopyFileW((folder + L"\\exit_with.exe").c_str(), copy.c_str(), FALSE);
  std::vector<PROCESS_INFORMATION> started;
  for (int i = 0; i < count; ++i) {
    std::wstring command = L"\"" + (i == 0 ? copy : folder + L"\\exit_with.exe") + L"\" 0 NUL x " + event;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      started.push_back(info);
    }
  }
  ombrisk::WinRegistryFactory registries;
  ombrisk::WinFileSystem files;
  ombrisk::WinTextComparer comparer;
  ombrisk::WinRegistry registry;
  const std::wstring ide = folder + L"\\exit_with.exe";
  registry.OpenKey(ombrisk::InstallationKey(2017), true);
  // The median time of the check, with the release's IDE registered as the
  // path given.
  const auto measure = [&](const std::wstring& path) {
    registry.WriteString(ombrisk::ExecutableValueName(2017), std::u16string(path.begin(), path.end()));
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      ombrisk::IdeUsingKey(ombrisk::ListRunningProcesses, registries, files, u"\\Software\\Embarcadero\\TEST\\14.0",
                           comparer.Mapping());
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  };
  const double none = measure(folder + L"\\bds.exe");
  const double one = measure(copy);
  const double every = measure(ide);
  std::printf(
      "%d processes started, medians of %d: the running-IDE check takes %.2f ms when none of them is the IDE, "
      "%.2f ms when one is, %.2f ms when all but one are (their command lines read)\n",
      static_cast<int>(started.size()), runs, none, one, every);
  registry.DeleteValue(ombrisk::ExecutableValueName(2017));
  SetEvent(end);
  for (const PROCESS_INFORMATION& info : started) {
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  CloseHandle(end);
  DeleteFileW(copy.c_str());
  return 0;
}
