// Which running IDEs use a settings key: an IDE writes its settings back to
// its key when it closes, so whatever the program wrote there meanwhile
// would be undone without a word.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/file_system.h"
#include "core/key_identity.h"
#include "core/registry.h"

namespace ombrisk {

// A running process: its executable's full path, and its command line,
// nothing where it cannot be read (another user's, or elevated while the
// program is not).
struct RunningProcess {
  std::u16string executable;
  std::optional<std::u16string> commandLine;
};
// Lists the running processes that may run one of the executables (MayRun
// on their file names), with their command lines; the caller compares the
// paths.
using ProcessLister = std::function<std::vector<RunningProcess>(std::span<const std::u16string> executables)>;

// Whether a process whose executable has the file name may run one of the
// executables: the same file name, letter case ignored, or a short name
// (with its "~") on either side. Far cheaper than asking the process.
bool MayRun(std::u16string_view fileName, std::span<const std::u16string> executables);

// The settings key name an IDE started with the command line reads, as the
// IDE reads its arguments (blank-separated, quotes grouping and removed, the
// first the program itself): the rest of its last argument that begins
// with "-r" or "/r" (either letter case); "" for the release's base key.
std::u16string AlternateKeyOfCommandLine(std::u16string_view commandLine);

// Whether two paths name one file as Windows compares them: letter case
// ignored, a short and a long form of one path equal.
bool SamePath(std::u16string_view a, std::u16string_view b, FileSystem& files);

// The release of a running IDE (or 64-bit IDE) whose settings key is,
// holds or lies inside the key (a path below HKEY_CURRENT_USER), as the
// registry resolves keys, among the IDEs of every release whose key can be
// that one; nothing where none runs. A process whose command line cannot be
// read counts as using every key its release can have.
std::optional<VersionCode> IdeUsingKey(const ProcessLister& processes, RegistryFactory& registries, FileSystem& files,
                                       std::u16string_view key, const CaseMapping& mapping);

}  // namespace ombrisk
