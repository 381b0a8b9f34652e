// Times what the program does with a whole settings key on a key as large
// as a real one: 3,000 values in 300 sub keys (a third of them library
// paths of 1,400 characters, a third binary values, a "Known Packages" key
// of 150 values), generated as a base key of XE6's. Reports the medians of
// RUNS copies into an alternate key (what a launch or the editor's copy
// button does) and of RUNS backups of the whole key (captured and written as
// a registry script beside the program), then removes what it made.
//   key_copy_bench.exe [RUNS]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "core/alternate_key.h"
#include "core/launch_backup.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

namespace {

using namespace ombrisk;

// 150 packages in an order that is not the names' order, then 299 sub keys
// of two levels with 2,850 values between them.
int GenerateBaseKey(WinRegistry& registry, const std::u16string& base) {
  int values = 0;
  registry.OpenKey(base + u"\\Known Packages", true);
  for (int i = 0; i < 150; ++i) {
    const int number = (i * 97) % 150;
    registry.WriteString(u"$(BDS)\\bin\\package" + std::u16string(1, u'A' + number % 26) +
                             std::u16string(std::to_wstring(number).begin(), std::to_wstring(number).end()) + u".bpl",
                         u"Package description");
    ++values;
  }
  std::u16string longPath;
  for (int part = 0; part < 40; ++part)
    longPath += u"$(BDS)\\lib\\win32\\release\\component" + std::u16string(1, u'a' + part % 26) + u";";
  for (int key = 0; key < 299; ++key) {
    const std::wstring group = L"Group" + std::to_wstring(key / 10);
    const std::wstring item = key % 10 == 0 ? L"" : L"\\Item" + std::to_wstring(key % 10);
    const std::wstring path = group + item;
    registry.OpenKey(base + u"\\" + std::u16string(path.begin(), path.end()), true);
    const int count = key < 159 ? 10 : 9;
    for (int value = 0; value < count && values < 3000; ++value, ++values) {
      const std::u16string name = u"Value" + std::u16string(1, u'A' + value);
      if (value % 3 == 0) {
        registry.WriteData(name, RegistryData{registry_type::kBinary, std::string(64, static_cast<char>(value))});
      } else if (value % 3 == 1) {
        registry.WriteString(name, longPath);
      } else {
        registry.WriteString(name, u"$(BDS)\\bin\\an option of the IDE's, as most of its values are");
      }
    }
  }
  registry.CloseKey();
  return values;
}

double Median(int runs, const std::function<void()>& prepare, const std::function<void()>& measured) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    measured();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 5;
  WinTextComparer comparer;
  WinRegistry registry;
  WinFileSystem files;
  // Keys of their own, so no IDE's settings are touched.
  const AlternateKey key{u"OmbriskBenchCopy", u"\\Software\\Embarcadero\\OmbriskBenchCopy\\14.0",
                         u"\\Software\\Embarcadero\\OmbriskBenchBase\\14.0"};
  registry.DeleteKey(key.base);
  const int values = GenerateBaseKey(registry, key.base);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder.resize(folder.find_last_of(L'\\'));
  folder += L"\\key_copy_bench.backup";
  const std::u16string backups(folder.begin(), folder.end());

  const double copy = Median(
      runs, [&] { registry.DeleteKey(key.path); }, [&] { CopyBaseKey(registry, key); });
  int second = 0;
  const double backup = Median(
      runs, [] {},
      [&] {
        WriteLaunchBackup(files, backups, 2017, key.path, WholeKeyBackup(registry, key, u"bench"),
                          BackupTime{2026, 12, 10, 0, 0, second++}, comparer.Mapping());
      });
  std::printf(
      "a key of %d values in 300 sub keys, medians of %d: copied into an alternate key in %.1f ms, saved as a "
      "backup in %.1f ms\n",
      values, runs, copy, backup);
  for (const wchar_t* made : {L"Software\\Embarcadero\\OmbriskBenchCopy", L"Software\\Embarcadero\\OmbriskBenchBase"}) {
    RegDeleteTreeW(HKEY_CURRENT_USER, made);
  }
  for (const std::u16string& name : files.ListFiles(backups)) files.RemoveFile(backups + u"\\" + name);
  RemoveDirectoryW(folder.c_str());
  return 0;
}
