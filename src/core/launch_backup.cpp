#include "core/launch_backup.h"

#include <algorithm>
#include <ctime>
#include <iterator>
#include <tuple>

#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

void ApplyLaunchWrites(Registry& registry, const LaunchWrites& writes) {
  for (const LaunchKeyWrite& key : writes.keys) {
    if (key.replaced) {
      registry.DeleteKey(key.path);
      registry.CreateKey(key.path);
    }
    if (!registry.OpenKey(key.path, true) && key.skippedWhenUnopenable) continue;
    for (const auto& [name, text] : key.values) registry.WriteString(name, text);
    registry.CloseKey();
  }
}

namespace {

// The key with every value and sub key below it, parents first, each in the
// registry's enumeration order.
void CaptureTree(Registry& registry, const std::u16string& path, std::vector<ScriptKey>& keys) {
  if (!registry.OpenKeyReadOnly(path)) return;
  ScriptKey key{path, false, {}};
  for (auto& [name, data] : registry.ReadValues()) key.values.push_back(ScriptValue{std::move(name), std::move(data)});
  const std::vector<std::u16string> subKeys = registry.GetKeyNames();
  registry.CloseKey();
  keys.push_back(std::move(key));
  for (const std::u16string& subKey : subKeys) CaptureTree(registry, Concat({path, u"\\", subKey}), keys);
}

// The highest level below the settings key of a path that is missing: the
// path itself where every level above it exists.
std::u16string HighestMissingLevel(Registry& registry, std::u16string_view settingsKey, std::u16string_view path) {
  for (std::size_t end = path.find(u'\\', settingsKey.size()); end != path.npos; end = path.find(u'\\', end + 1)) {
    std::u16string level(path.substr(0, end));
    if (!registry.KeyExists(level)) return level;
  }
  return std::u16string(path);
}

void AppendRemoval(std::vector<ScriptKey>& keys, std::u16string path) {
  const bool listed =
      std::any_of(keys.begin(), keys.end(), [&](const ScriptKey& key) { return key.removed && key.path == path; });
  if (!listed) keys.push_back(ScriptKey{std::move(path), true, {}});
}

}  // namespace

std::vector<ScriptKey> CaptureWholeKey(Registry& registry, std::u16string_view path) {
  std::vector<ScriptKey> keys{ScriptKey{std::u16string(path), true, {}}};
  CaptureTree(registry, std::u16string(path), keys);
  return keys;
}

RegistryScript CaptureBeforeLaunch(Registry& registry, const LaunchWrites& writes, std::u16string_view profile) {
  RegistryScript script{std::u16string(profile), {}};
  for (const LaunchKeyWrite& key : writes.keys) {
    if (key.replaced) {
      std::ranges::move(CaptureWholeKey(registry, key.path), std::back_inserter(script.keys));
      continue;
    }
    if (!registry.OpenKeyReadOnly(key.path)) {
      AppendRemoval(script.keys, HighestMissingLevel(registry, writes.settingsKey, key.path));
      continue;
    }
    ScriptKey captured{key.path, false, {}};
    for (const auto& value : key.values) {
      captured.values.push_back(ScriptValue{value.first, registry.ReadData(value.first)});
    }
    registry.CloseKey();
    script.keys.push_back(std::move(captured));
  }
  return script;
}

BackupTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return BackupTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

namespace {

std::u16string Padded(int number, std::size_t width) {
  std::u16string digits = DecimalText(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

// "20261209-153012"
std::u16string Stamp(const BackupTime& time) {
  return Concat({Padded(time.year, 4), Padded(time.month, 2), Padded(time.day, 2), u"-", Padded(time.hour, 2),
                 Padded(time.minute, 2), Padded(time.second, 2)});
}

std::optional<int> ParseNumber(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  int number = 0;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = number * 10 + (c - u'0');
  }
  return number;
}

// "20261209-153012", field by field.
std::optional<BackupTime> ParseStamp(std::u16string_view stamp) {
  if (stamp.size() != 15 || stamp[8] != u'-') return std::nullopt;
  constexpr std::pair<std::size_t, std::size_t> kFields[] = {{0, 4}, {4, 2}, {6, 2}, {9, 2}, {11, 2}, {13, 2}};
  int values[6] = {};
  for (std::size_t field = 0; field < 6; ++field) {
    const std::optional<int> value = ParseNumber(stamp.substr(kFields[field].first, kFields[field].second));
    if (!value) return std::nullopt;
    values[field] = *value;
  }
  return BackupTime{values[0], values[1], values[2], values[3], values[4], values[5]};
}

// The base of the settings key (its third level) as a file name can hold
// it: characters a file name cannot take become "_", and it is cut short.
std::u16string FileNameBase(std::u16string_view settingsKey) {
  std::u16string_view rest = settingsKey.substr(std::min(settingsKey.size(), std::size_t{1}));
  for (int level = 0; level < 2; ++level) rest.remove_prefix(std::min(rest.size(), rest.find(u'\\') + 1));
  std::u16string base(rest.substr(0, std::min<std::size_t>(rest.find(u'\\'), 64)));
  for (char16_t& c : base) {
    if (IsBlankOrControl(c) && c != u' ') c = u'_';
    if (std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
  }
  return base;
}

constexpr std::u16string_view kBackupExtension = u".reg";

// "<code>_<base>_<stamp>[_<n>].reg", read from the right, as the base may
// hold "_".
std::optional<BackupEntry> ParseBackupName(std::u16string_view name) {
  if (!name.ends_with(kBackupExtension)) return std::nullopt;
  name.remove_suffix(kBackupExtension.size());
  BackupEntry entry;
  std::size_t cut = name.rfind(u'_');
  if (cut != name.npos) {
    if (const std::optional<int> sequence = ParseNumber(name.substr(cut + 1))) {
      entry.sequence = *sequence;
      name = name.substr(0, cut);
      cut = name.rfind(u'_');
    }
  }
  const std::size_t first = name.find(u'_');
  if (cut == name.npos || first == cut) return std::nullopt;
  const std::optional<BackupTime> time = ParseStamp(name.substr(cut + 1));
  const std::optional<int> code = ParseNumber(name.substr(0, first));
  if (!time || !code) return std::nullopt;
  entry.time = *time;
  entry.code = *code;
  entry.base = name.substr(first + 1, cut - first - 1);
  return entry;
}

auto Age(const BackupEntry& entry) { return std::tie(entry.time, entry.sequence); }

std::u16string InFolder(std::u16string_view folder, std::u16string_view name) { return Concat({folder, u"\\", name}); }

// The backup's script, whole or (head) only up to its first key.
std::optional<RegistryScript> ReadBackup(FileSystem& files, std::u16string_view path, bool head = false) {
  const FileReadResult read = files.ReadFile(path);
  if (read.status != FileReadStatus::Read || read.content.byteCount % 2 != 0) return std::nullopt;
  return head ? ParseRegistryScriptHead(read.content.Units()) : ParseRegistryScript(read.content.Units());
}

// The first four levels of the path as written, "\Software\<vendor>\<name>\<version>".
std::u16string FirstFourLevels(std::u16string_view path) {
  const std::vector<std::u16string_view> levels = KeyLevels(path);
  std::u16string key;
  for (std::size_t at = 0; at < std::min<std::size_t>(levels.size(), 4); ++at) key += Concat({u"\\", levels[at]});
  return key;
}

// The settings key the script gives back: the one it records, or for a
// script of an earlier version the one its first key lies in.
std::u16string ScriptSettingsKey(const RegistryScript& script) {
  if (!script.key.empty() || script.keys.empty()) return script.key;
  return FirstFourLevels(script.keys.front().path);
}

// The folder's backups of the key, with their file names, oldest first. Only
// the beginnings of the scripts whose release and file name could hold the
// key are read.
std::vector<std::pair<BackupEntry, std::u16string>> BackupsOf(FileSystem& files, std::u16string_view folder,
                                                              VersionCode code, std::u16string_view base,
                                                              const KeyIdentity& key, const CaseMapping& mapping) {
  std::vector<std::pair<BackupEntry, std::u16string>> backups;
  for (std::u16string& name : files.ListFiles(folder)) {
    std::optional<BackupEntry> entry = ParseBackupName(name);
    if (!entry || entry->code != code || !mapping.Equal(entry->base, base)) continue;
    const std::optional<RegistryScript> script = ReadBackup(files, InFolder(folder, name), true);
    if (!script || KeyIdentity(ScriptSettingsKey(*script), mapping) != key) continue;
    backups.emplace_back(std::move(*entry), std::move(name));
  }
  std::sort(backups.begin(), backups.end(), [](const auto& a, const auto& b) { return Age(a.first) < Age(b.first); });
  return backups;
}

}  // namespace

[[noreturn]] void ThrowBackupFailed(std::u16string_view path, std::u16string_view error) {
  throw AppError(Format(texts::kBackupFailed, {error.empty() ? std::u16string(path) : Concat({path, u" ", error})}));
}

std::u16string DisplayTime(const BackupTime& time) {
  return Concat({Padded(time.year, 4), u"/", Padded(time.month, 2), u"/", Padded(time.day, 2), u" ",
                 Padded(time.hour, 2), u":", Padded(time.minute, 2), u":", Padded(time.second, 2)});
}

std::u16string BackupFolder(std::u16string_view settingsPath) {
  const std::size_t separator = settingsPath.find_last_of(u"\\/");
  return Concat({settingsPath.substr(0, separator == settingsPath.npos ? 0 : separator + 1), u"Ombrisk.backup"});
}

void WriteLaunchBackup(FileSystem& files, std::u16string_view folder, VersionCode code, std::u16string_view settingsKey,
                       RegistryScript script, const BackupTime& time, const CaseMapping& mapping) {
  script.key = settingsKey.substr(0, settingsKey.find_last_not_of(u'\\') + 1);
  const std::optional<std::string> content = WriteRegistryScript(script);
  if (!content) ThrowBackupFailed(folder, u"");
  const std::u16string base = FileNameBase(settingsKey);
  std::vector<std::pair<BackupEntry, std::u16string>> backups =
      BackupsOf(files, folder, code, base, KeyIdentity(script.key, mapping), mapping);
  // Later than every backup of the same second.
  int sequence = 1;
  for (const auto& backup : backups) {
    if (backup.first.time == time) sequence = std::max(sequence, backup.first.sequence + 1);
  }
  WriteBackupFile(files, folder, Concat({DecimalText(code), u"_", base}), time, kBackupExtension, *content, sequence);
  // The oldest beyond the number kept; the new one is the newest.
  for (std::size_t at = 0; at + kBackupsPerKey < backups.size() + 1; ++at) {
    files.RemoveFile(InFolder(folder, backups[at].second));
  }
}

std::u16string WriteBackupFile(FileSystem& files, std::u16string_view folder, std::u16string_view stem,
                               const BackupTime& time, std::u16string_view extension, std::string_view content,
                               int sequence) {
  if (const std::u16string error = files.CreateFolder(folder); !error.empty()) ThrowBackupFailed(folder, error);
  const std::u16string stamped = Concat({stem, u"_", Stamp(time)});
  std::u16string path;
  for (;; ++sequence) {
    path = InFolder(folder, Concat({stamped, sequence == 1 ? u"" : Concat({u"_", DecimalText(sequence)}), extension}));
    if (!files.FileExists(path)) break;
  }
  if (const std::u16string error = files.WriteFile(path, content); !error.empty()) ThrowBackupFailed(path, error);
  return path;
}

std::vector<BackupEntry> ListBackups(FileSystem& files, std::u16string_view folder) {
  std::vector<BackupEntry> entries;
  for (const std::u16string& name : files.ListFiles(folder)) {
    std::optional<BackupEntry> entry = ParseBackupName(name);
    if (!entry) continue;
    entry->path = InFolder(folder, name);
    if (const std::optional<RegistryScript> script = ReadBackup(files, entry->path)) {
      entry->profile = script->profile;
      entry->key = ScriptSettingsKey(*script);
    }
    entries.push_back(std::move(*entry));
  }
  std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return std::tie(b.time, b.sequence, b.path) < std::tie(a.time, a.sequence, a.path);
  });
  return entries;
}

namespace {

// Whether the path is a settings key of a release:
// "\Software\<vendor>\<name>\<version>", the name one or more levels.
bool IsSettingsKey(const KeyIdentity& key, const CaseMapping& mapping) {
  const std::vector<std::u16string>& levels = key.Levels();
  if (levels.size() < 4 || levels[0] != mapping.UpperCase(u"Software")) return false;
  return std::any_of(Releases().begin(), Releases().end(), [&](const Release& release) {
    return mapping.UpperCase(release.company) == levels[1] && mapping.UpperCase(release.keyVersion) == levels.back();
  });
}

bool WithinItsSettingsKey(const RegistryScript& script, const CaseMapping& mapping) {
  const std::u16string settingsKey = ScriptSettingsKey(script);
  const KeyIdentity key(settingsKey, mapping);
  // A script of an earlier version named exactly the four levels.
  if (!IsSettingsKey(key, mapping) || (script.key.empty() && key.Levels().size() != 4)) return false;
  return std::all_of(script.keys.begin(), script.keys.end(), [&](const ScriptKey& scriptKey) {
    return scriptKey.path.starts_with(u'\\') && KeyIdentity(scriptKey.path, mapping).Within(key);
  });
}

}  // namespace

std::u16string SettingsKeyName(std::u16string_view settingsKey) {
  const std::vector<std::u16string_view> levels = KeyLevels(settingsKey);
  std::u16string name;
  for (std::size_t at = 2; at + 1 < levels.size(); ++at) {
    if (!name.empty()) name += u'\\';
    name += levels[at];
  }
  return name;
}

void RestoreBackup(RegistryFactory& registries, FileSystem& files, std::u16string_view path,
                   const CaseMapping& mapping) {
  const std::optional<RegistryScript> script = ReadBackup(files, path);
  if (!script || script->keys.empty() || !WithinItsSettingsKey(*script, mapping)) {
    throw AppError(Format(texts::kBackupRefused, {path}));
  }
  const std::unique_ptr<Registry> registry = registries.Create();
  ApplyRegistryScript(*registry, *script);
}

}  // namespace ombrisk
