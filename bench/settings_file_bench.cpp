// Settings-file figures: (a) creating a SettingsFile from a file, beside the
// time to read the same bytes into memory and nothing else; (b) the main
// window's start-up pattern; (c) the launch pattern; (d) UpdateFile.
//
//   settings_file_bench                      generated files of 100, 1,000 and
//                                            10,000 release-2017 profiles
//   settings_file_bench --file=PATH ...      given files instead (repeatable)
//   settings_file_bench --memory=PATH        one load in this fresh process,
//                                            its patterns and peak memory
//
// Other arguments go to Google Benchmark (--benchmark_filter=..., and so on).
#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench/posix_file_system.h"
#include "core/platforms.h"
#include "core/settings_file.h"
#include "core/text.h"

namespace ombrisk::bench {
namespace {

PortableTextComparer comparer;
PosixFileSystem files;

std::u16string Path(const std::string& path) { return FromUtf8(path); }

// A settings file of release-2017 profiles as the editor saves them: the
// general keys, six packages, 72 library paths and the pre-launch command.
void GenerateProfiles(const std::string& path, int profiles) {
  std::u16string text = u"\xFEFF";
  const auto line = [&text](std::u16string_view key, std::u16string_view value) {
    text += key;
    text += u'=';
    text += value;
    text += u"\r\n";
  };
  for (int n = 0; n < profiles; ++n) {
    const std::u16string number = DecimalText(n);
    text += u"[PREF_Profile " + number + u"]\r\n";
    line(u"Version", u"2017");
    line(u"Description", u"プロファイル " + number + u" for the nightly build");
    for (std::u16string_view key :
         {u"DelphiOnly", u"NoSplash", u"NoProject", u"NoCache", u"UseAltReg", u"RunAsAdmin"}) {
      line(key, n % 2 ? u"1" : u"0");
    }
    line(u"AltReg", u"Nightly" + number);
    line(u"Parameters", u"-debug");
    line(u"Embedded_Designer", u"True");
    for (int p = 1; p <= 6; ++p) {
      line(u"PKG_PATH" + DecimalText(p), u"$(BDS)\\bin\\dclpackage" + DecimalText(p) + u"200.bpl");
      line(u"PKG_NAME" + DecimalText(p), u"Package number " + DecimalText(p));
    }
    line(u"PKG_Count", u"6");
    for (TPlatformType platform : VersionPlatforms(2017)) {
      for (const LibrarySetting& setting : LibrarySettings) {
        line(SettingsKey(platform, setting), u"$(BDS)\\lib\\" + std::u16string(PlatformTabCaption(platform)) +
                                                 u"\\release;C:\\Users\\開発\\Components\\Profile" + number +
                                                 u"\\Source;$(BDSCOMMONDIR)\\Dcp");
      }
    }
    line(u"PreProcess", u"cmd /c copy @$(BDS)@\\bin\\bds.exe.config C:\\backup");
    text += u"\r\n";
  }
  text += u"[MainForm]\r\nClientWidth=512\r\nClientHeight=320\r\n\r\n";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
}

// The profile the launch pattern reads: the middle one of the sorted list,
// and the key names its section holds (taken from the file, outside timing).
struct LaunchTarget {
  std::u16string section;
  std::vector<std::u16string> keys;
};

std::vector<std::u16string> SortedSections(const SettingsFile& file) {
  std::vector<std::u16string> sections = file.ReadSections();
  std::sort(sections.begin(), sections.end(),
            [](const std::u16string& a, const std::u16string& b) { return comparer.CompareIgnoringCase(a, b) < 0; });
  return sections;
}

LaunchTarget FindLaunchTarget(const std::string& path) {
  SettingsFile file(files, comparer, Path(path));
  std::vector<std::u16string> profiles;
  for (const std::u16string& section : SortedSections(file)) {
    if (section.starts_with(u"PREF_")) profiles.push_back(section);
  }
  LaunchTarget target;
  if (profiles.empty()) return target;
  target.section = profiles[profiles.size() / 2];
  // The section's lines, read as text: every line with a "=" names a key.
  const std::string bytes = file.FileContent();
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * 2);
  std::size_t at = text.find(u"[" + target.section + u"]\r\n");
  at = text.find(u'\n', at) + 1;
  while (at < text.size() && text[at] != u'[' && text[at] != u'\r') {
    const std::size_t end = text.find(u'\n', at);
    const std::u16string_view line(text.data() + at, end - at - 1);
    const std::size_t equals = line.find(u'=');
    if (equals != std::u16string_view::npos) target.keys.emplace_back(line.substr(0, equals));
    at = end + 1;
  }
  return target;
}

// The floor: the file's bytes read into fresh memory in one call, and
// nothing else.
void ReadFloor(benchmark::State& state, const std::string& path) {
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer.get(), 1, size, file));
    std::fclose(file);
    benchmark::DoNotOptimize(buffer.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void Load(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    SettingsFile file(files, comparer, Path(path));
    benchmark::DoNotOptimize(&file);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// Reads what the main window reads when first shown.
std::size_t StartUp(const SettingsFile& file) {
  std::size_t listed = 0;
  for (const std::u16string& section : SortedSections(file)) {
    if (!section.starts_with(u"PREF_")) continue;
    listed += static_cast<std::size_t>(file.ReadInteger(section, u"Version", 0) != 0);
    listed += file.ReadString(section, u"Description", u"").size();
  }
  return listed;
}

std::size_t Launch(const SettingsFile& file, const LaunchTarget& target) {
  std::size_t read = 0;
  for (const std::u16string& key : target.keys) read += file.ReadString(target.section, key, u"").size();
  return read;
}

// Each iteration works on a freshly loaded copy, as the program does.
template <typename Pattern>
void OnFreshCopy(benchmark::State& state, const std::string& path, Pattern pattern) {
  for (auto _ : state) {
    state.PauseTiming();
    auto file = std::make_unique<SettingsFile>(files, comparer, Path(path));
    state.ResumeTiming();
    benchmark::DoNotOptimize(pattern(*file));
    state.PauseTiming();
    file.reset();
    state.ResumeTiming();
  }
}

void UpdateFile(benchmark::State& state, const std::string& path) {
  const std::string copy = path + ".written";
  SettingsFile file(files, comparer, Path(path));
  SettingsFile target(files, comparer, Path(copy));
  for (auto _ : state) {
    const std::u16string error = files.WriteFile(Path(copy), file.FileContent());
    benchmark::DoNotOptimize(error.data());
  }
  std::filesystem::remove(copy);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

void Register(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const LaunchTarget target = FindLaunchTarget(path);
  benchmark::RegisterBenchmark(("floor_read_bytes/" + name).c_str(), ReadFloor, path)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("a_load/" + name).c_str(), Load, path)->Unit(benchmark::kMillisecond);
  // The patterns run on a fresh copy each; loading it is not timed, so a fixed
  // number of iterations keeps large files from loading thousands of times.
  benchmark::RegisterBenchmark(("b_startup/" + name).c_str(),
                               [path](benchmark::State& state) { OnFreshCopy(state, path, StartUp); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(20);
  benchmark::RegisterBenchmark(("c_launch/" + name).c_str(),
                               [path, target](benchmark::State& state) {
                                 OnFreshCopy(state, path,
                                             [&target](const SettingsFile& file) { return Launch(file, target); });
                                 state.counters["keys"] = static_cast<double>(target.keys.size());
                               })
      ->Unit(benchmark::kMicrosecond)
      ->Iterations(20);
  benchmark::RegisterBenchmark(("d_update_file/" + name).c_str(), UpdateFile, path)->Unit(benchmark::kMillisecond);
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One load in a fresh process, as the program and the peer readers do it,
// fresh memory included: beside it the floor, the file read into freshly
// mapped memory; then the patterns on that copy and the peak memory.
int MeasureMemory(const std::string& path) {
  const long before = PeakKilobytes();
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));

  auto start = std::chrono::steady_clock::now();
  void* fresh = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  std::FILE* raw = std::fopen(path.c_str(), "rb");
  benchmark::DoNotOptimize(std::fread(fresh, 1, size, raw));
  std::fclose(raw);
  const double floor = MillisecondsSince(start);
  munmap(fresh, size);

  start = std::chrono::steady_clock::now();
  SettingsFile file(files, comparer, Path(path));
  const double load = MillisecondsSince(start);
  start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(StartUp(file));
  const double startUp = MillisecondsSince(start);
  const long peak = PeakKilobytes();

  const LaunchTarget target = FindLaunchTarget(path);
  start = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(Launch(file, target));
  const double launch = MillisecondsSince(start);

  const double fileKb = static_cast<double>(size) / 1024.0;
  std::printf(
      "%s: floor %.2f ms, load %.2f ms (%.2f x the floor), start-up %.3f ms, launch %.3f ms (%zu keys); "
      "peak memory grew by %ld KiB = %.2f x the file\n",
      std::filesystem::path(path).filename().c_str(), floor, load, load / floor, startUp, launch, target.keys.size(),
      peak - before, static_cast<double>(peak - before) / fileKb);
  return 0;
}

}  // namespace
}  // namespace ombrisk::bench

int main(int argc, char** argv) {
  using namespace ombrisk::bench;
  std::vector<std::string> paths;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument.starts_with("--file=")) {
      paths.push_back(argument.substr(7));
    } else if (argument.starts_with("--memory=")) {
      return MeasureMemory(argument.substr(9));
    } else {
      rest.push_back(argv[i]);
    }
  }
  if (paths.empty()) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "ombrisk-bench";
    std::filesystem::create_directories(folder);
    for (int profiles : {100, 1000, 10000}) {
      const std::string path = (folder / ("profiles_" + std::to_string(profiles) + ".env")).string();
      if (!std::filesystem::exists(path)) GenerateProfiles(path, profiles);
      paths.push_back(path);
    }
  }
  for (const std::string& path : paths) Register(path);
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
