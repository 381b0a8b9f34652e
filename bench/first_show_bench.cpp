// Times the main window's first show under Wine: from creating the window
// to the list filled, with 1,000 profiles of an installed release.
//   first_show_bench.exe [PROFILES] [RUNS]
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/profile_store.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "ui/main_form.h"
#include "win32/module_path.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_process_starter.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

using namespace ombrisk;

int wmain(int argc, wchar_t** argv) {
  const int profiles = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000;
  const int runs = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 5;
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  // The release is "installed" with this program as its executable; the
  // settings file lies beside a made-up Ombrisk.exe in the temporary folder.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::u16string exePath = FromWide(std::wstring(temp) + L"OmbriskBench.exe");
  WinRegistry registry;
  registry.OpenKey(InstallationKey(2017), true);
  registry.WriteString(u"APP", ExecutablePath());
  registry.CloseKey();

  WinFileSystem files;
  WinTextComparer comparer;
  WinRegistryFactory registries;
  {
    SettingsFile file(files, comparer, SettingsFileName(exePath));
    for (int n = 0; n < profiles; ++n) {
      const std::u16string section = u"PREF_Profile " + DecimalText(n);
      file.WriteInteger(section, u"Version", 2017);
      file.WriteString(section, u"Description", u"ベンチマーク用のプロファイル " + DecimalText(n));
    }
    file.UpdateFile();
  }

  {
    const auto start = std::chrono::steady_clock::now();
    const SettingsFile file(files, comparer, SettingsFileName(exePath));
    const auto loaded = std::chrono::steady_clock::now();
    const std::size_t rows = ListProfiles(file, {2017}, comparer).size();
    const auto listed = std::chrono::steady_clock::now();
    std::printf("settings load %.1f ms, ordering and reading %zu profiles %.1f ms\n",
                std::chrono::duration<double, std::milli>(loaded - start).count(), rows,
                std::chrono::duration<double, std::milli>(listed - loaded).count());
  }
  TMAIN_FORM::RegisterWindowClass(GetModuleHandleW(nullptr));
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    auto form = std::make_unique<TMAIN_FORM>(Services{
        registries, files, comparer, exePath, [](std::u16string_view) {},
        [](HWND, std::u16string_view, std::u16string_view, unsigned) { return IDNO; },
        [](HWND owner) -> std::unique_ptr<ProcessStarter> { return std::make_unique<WinProcessStarter>(owner); }});
    form->Create();
    form->Show();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const int rows = ListView_GetItemCount(form->Control(TMAIN_FORM::kLV1));
    std::printf("first show with %d profiles: %.1f ms (%d rows listed)\n", profiles, ms, rows);
    form.reset();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DeleteFileW(Wide(SettingsFileName(exePath)).c_str());
  registry.DeleteKey(u"\\Software\\Embarcadero");
  return 0;
}
