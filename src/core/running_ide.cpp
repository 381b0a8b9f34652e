#include "core/running_ide.h"

#include <algorithm>

#include "core/text.h"

namespace ombrisk {

namespace {

// The arguments as the IDE's runtime splits them: characters up to a blank
// (anything up to U+0020) end an argument outside quotes; quotes are
// removed.
std::vector<std::u16string> Arguments(std::u16string_view commandLine) {
  std::vector<std::u16string> arguments;
  std::size_t at = 0;
  while (at < commandLine.size()) {
    while (at < commandLine.size() && commandLine[at] <= u' ') ++at;
    if (at == commandLine.size()) break;
    std::u16string argument;
    bool quoted = false;
    for (; at < commandLine.size() && (quoted || commandLine[at] > u' '); ++at) {
      if (commandLine[at] == u'"') {
        quoted = !quoted;
      } else {
        argument += commandLine[at];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

std::u16string AlternateKeyOfCommandLine(std::u16string_view commandLine) {
  const std::vector<std::u16string> arguments = Arguments(commandLine);
  std::u16string key;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument.size() >= 2 && (argument[0] == u'-' || argument[0] == u'/') &&
        (argument[1] == u'r' || argument[1] == u'R')) {
      key = argument.substr(2);
    }
  }
  return key;
}

namespace {

std::u16string_view FileNameOf(std::u16string_view path) { return path.substr(path.find_last_of(u"\\/") + 1); }

// Two long file names that differ name two files; only a short name (with
// its "~") may stand for another.
bool MayBeSameFile(std::u16string_view a, std::u16string_view b) {
  return AsciiUpper(a) == AsciiUpper(b) || a.find(u'~') != std::u16string_view::npos ||
         b.find(u'~') != std::u16string_view::npos;
}

}  // namespace

bool MayRun(std::u16string_view fileName, std::span<const std::u16string> executables) {
  return std::any_of(executables.begin(), executables.end(),
                     [&](const std::u16string& path) { return MayBeSameFile(fileName, FileNameOf(path)); });
}

bool SamePath(std::u16string_view a, std::u16string_view b, FileSystem& files) {
  if (AsciiUpper(a) == AsciiUpper(b)) return true;
  // Asking the file system for short forms costs far more than this look.
  if (!MayBeSameFile(FileNameOf(a), FileNameOf(b))) return false;
  const std::u16string shortA = files.ShortPath(a);
  return !shortA.empty() && AsciiUpper(shortA) == AsciiUpper(files.ShortPath(b));
}

namespace {

// Whether an IDE of the release may use the key: its base key meets it, or
// its alternate keys (of its company, ending in its version) may.
bool MayUseKey(const Release& release, const KeyIdentity& key, const CaseMapping& mapping) {
  if (KeyIdentity(IdeRegistryKey(release.code, false, u""), mapping).Overlaps(key)) return true;
  const std::vector<std::u16string>& levels = key.Levels();
  if (!release.packages || levels.size() < 4 || levels[1] != mapping.UpperCase(release.company)) return false;
  const std::u16string version = mapping.UpperCase(release.keyVersion);
  return std::find(levels.begin() + 3, levels.end(), version) != levels.end();
}

struct IdeExecutable {
  std::u16string path;
  const Release* release;
};

}  // namespace

std::optional<VersionCode> IdeUsingKey(const ProcessLister& processes, RegistryFactory& registries, FileSystem& files,
                                       std::u16string_view keyPath, const CaseMapping& mapping) {
  if (!processes) return std::nullopt;
  const KeyIdentity key(keyPath, mapping);
  std::vector<IdeExecutable> ides;
  std::vector<std::u16string> paths;
  for (const Release& release : Releases()) {
    if (!MayUseKey(release, key, mapping)) continue;
    for (std::u16string path : {GetIdeExePath(registries, release.code), GetIde64ExePath(registries, release.code)}) {
      if (path.empty()) continue;
      paths.push_back(path);
      ides.push_back(IdeExecutable{std::move(path), &release});
    }
  }
  if (ides.empty()) return std::nullopt;
  for (const RunningProcess& process : processes(paths)) {
    for (const IdeExecutable& ide : ides) {
      if (!SamePath(process.executable, ide.path, files)) continue;
      // Delphi 2 to 7 have one key, whatever an IDE is started with.
      if (!process.commandLine || ide.release->machineWide) return ide.release->code;
      const std::u16string name = AlternateKeyOfCommandLine(*process.commandLine);
      if (KeyIdentity(IdeRegistryKey(ide.release->code, true, name), mapping).Overlaps(key)) {
        return ide.release->code;
      }
    }
  }
  return std::nullopt;
}

}  // namespace ombrisk
