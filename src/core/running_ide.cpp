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

bool IdeRunsWithKey(const ProcessLister& processes, RegistryFactory& registries, FileSystem& files, VersionCode code,
                    std::u16string_view keyName) {
  std::vector<std::u16string> ides{GetIdeExePath(registries, code), GetIde64ExePath(registries, code)};
  std::erase_if(ides, [](const std::u16string& path) { return path.empty(); });
  if (ides.empty() || !processes) return false;
  const auto isIde = [&](std::u16string_view executable) {
    for (const std::u16string& ide : ides) {
      if (SamePath(executable, ide, files)) return true;
    }
    return false;
  };
  // Delphi 2 to 7 have one key, whatever an IDE is started with.
  const bool oneKey = ReleaseFacts(code).machineWide;
  const std::u16string wanted = AsciiUpper(keyName.empty() ? u"BDS" : keyName);
  for (const RunningProcess& process : processes(ides)) {
    if (!isIde(process.executable)) continue;
    if (!process.commandLine || oneKey) return true;
    std::u16string key = AlternateKeyOfCommandLine(*process.commandLine);
    if (key.empty()) key = u"BDS";
    if (AsciiUpper(key) == wanted) return true;
  }
  return false;
}

std::u16string ShownKey(VersionCode code, std::u16string_view keyName) {
  std::u16string key = IdeRegistryKey(code, !keyName.empty(), keyName);
  if (key.starts_with(u'\\')) key.erase(0, 1);
  if (key.ends_with(u'\\')) key.pop_back();
  return key;
}

}  // namespace ombrisk
