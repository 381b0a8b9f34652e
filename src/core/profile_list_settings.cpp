#include "core/profile_list_settings.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/platforms.h"
#include "core/profile_store.h"
#include "core/text.h"

namespace ombrisk {

namespace {

using namespace profile_keys;

// Entries stored as numbered pairs of keys, "<first><n>" and "<second><n>"
// from 1, followed by a count key.
struct NumberedPairs {
  std::u16string_view first;
  std::u16string_view second;
  std::u16string_view count;
  // The file trims what it reads: a second text that must keep its blanks
  // is stored in quotes where it needs them.
  bool secondKeepsBlanks = false;
};
constexpr NumberedPairs kPackagePairs{u"PKG_PATH", u"PKG_NAME", kPackages.name};
constexpr NumberedPairs kEnvironmentPairs{u"ENV_NAME", u"ENV_VALUE", kEnvironment.name, true};

bool Quoted(std::u16string_view text) { return text.size() >= 2 && text.front() == u'"' && text.back() == u'"'; }

// In quotes when the text has blanks at an end, or is in quotes itself.
std::u16string KeepingBlanks(std::u16string_view text) {
  if (Trim(text).size() == text.size() && !Quoted(text)) return std::u16string(text);
  return Concat({u"\"", text, u"\""});
}
std::u16string WithoutQuotes(std::u16string_view text) {
  return std::u16string(Quoted(text) ? text.substr(1, text.size() - 2) : text);
}

// The number of a key "<first><n>" or "<second><n>" (letters in any case, n
// in decimal without a leading zero, as the keys are written), or 0.
std::int32_t PairNumber(std::u16string_view key, const NumberedPairs& pairs) {
  std::u16string_view digits;
  for (const std::u16string_view prefix : {pairs.first, pairs.second}) {
    if (key.size() > prefix.size() && AsciiUpper(key.substr(0, prefix.size())) == prefix) {
      digits = key.substr(prefix.size());
    }
  }
  if (digits.empty() || digits.front() == u'0') return 0;
  std::int64_t number = 0;
  for (const char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return 0;
    number = number * 10 + (digit - u'0');
    if (number > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return static_cast<std::int32_t>(number);
}

// The pairs for the numbers 1 to the count, as reading every number would
// give them (a missing key reads as ""), read by the numbers the section
// has keys for: a run of numbers without keys all read as two empty texts,
// and stands as one such pair. So any count and any numbers cost what the
// section holds.
std::vector<std::pair<std::u16string, std::u16string>> ReadPairs(const SettingsFile& file, std::u16string_view section,
                                                                 const NumberedPairs& pairs) {
  const std::int32_t count = file.ReadInteger(section, pairs.count, 0);
  std::vector<std::int32_t> numbers;
  for (const std::u16string& key : file.ReadKeys(section)) {
    const std::int32_t number = PairNumber(key, pairs);
    if (number > 0 && number <= count) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<std::pair<std::u16string, std::u16string>> read;
  std::int64_t next = 1;
  for (const std::int32_t n : numbers) {
    if (n > next) read.emplace_back();
    const std::u16string number = DecimalText(n);
    std::u16string second = file.ReadString(section, Concat({pairs.second, number}), u"");
    read.emplace_back(file.ReadString(section, Concat({pairs.first, number}), u""),
                      pairs.secondKeepsBlanks ? WithoutQuotes(second) : std::move(second));
    next = std::int64_t{n} + 1;
  }
  if (count >= next) read.emplace_back();
  return read;
}

void WritePairs(SettingsFile& file, std::u16string_view section, const NumberedPairs& pairs,
                std::span<const std::pair<std::u16string_view, std::u16string_view>> entries) {
  std::int32_t written = 0;
  for (const auto& [first, second] : entries) {
    const std::u16string number = DecimalText(++written);
    file.WriteString(section, Concat({pairs.first, number}), OneLine(first));
    file.WriteString(section, Concat({pairs.second, number}),
                     pairs.secondKeepsBlanks ? KeepingBlanks(OneLine(second)) : OneLine(second));
  }
  file.WriteInteger(section, pairs.count, written);
}

// The disabled packages: "PKG_PATH%d" and "PKG_NAME%d" per package the
// profile disables, then "PKG_Count"; the IDE's known packages (the 64-bit
// IDE's where chosen) with those unchecked; the key of disabled packages
// replaced by them at a launch.

void SavePackages(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  std::vector<std::pair<std::u16string_view, std::u16string_view>> disabled;
  for (const PackageRow& row : record.packages) {
    if (!row.enabled) disabled.emplace_back(row.path, row.name);
  }
  WritePairs(file, section, kPackagePairs, disabled);
}

void ReadPackages(const SettingsFile& file, std::u16string_view section, ProfileRecord& record) {
  record.packages.clear();
  for (DisabledPackage& package : DisabledPackages(file, section)) {
    record.packages.push_back(PackageRow{std::move(package.name), std::move(package.path), false});
  }
}

void ImportPackages(Registry& registry, std::u16string_view base, ProfileRecord& record) {
  record.packages.clear();
  if (!ReleaseFacts(record.version).packages) return;
  ReadIdePackages(registry, base, record.ide64, record.packages);
  if (registry.OpenKeyReadOnly(Concat({base, ide::DisabledPackages(record.ide64)}))) {
    DisablePackages(record.packages, registry.GetValueNames());
    registry.CloseKey();
  }
}

void LoadPackages(Registry& registry, std::u16string_view base, const ProfileRecord& stored, ProfileRecord& record) {
  if (!kPackages.AppliesTo(record.version)) return;
  record.packages.clear();
  ReadIdePackages(registry, base, record.ide64, record.packages);
  std::vector<std::u16string> disabled;
  for (const PackageRow& package : stored.packages) {
    if (!Trim(package.path).empty()) disabled.push_back(package.path);
  }
  DisablePackages(record.packages, disabled);
}

void PlanPackages(Registry&, const ProfileRecord& stored, LaunchWrites& writes) {
  LaunchKeyWrite disabled{Concat({writes.settingsKey, ide::DisabledPackages(stored.ide64)}), true, false, {}};
  if (kPackages.AppliesTo(stored.version)) {
    for (const PackageRow& package : stored.packages) {
      if (!package.enabled) disabled.values.emplace_back(package.path, package.name);
    }
  }
  writes.keys.push_back(std::move(disabled));
}

// The designer setting: "Embedded_Designer" ("True" or "False"), the IDE's
// "Embedded Designer" below "Form Design", written at a launch.

void SaveDesigner(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  file.WriteString(section, kEmbeddedDesigner.name, record.embeddedDesigner ? u"True" : u"False");
}

void ReadDesigner(const SettingsFile& file, std::u16string_view section, ProfileRecord& record) {
  record.holdsDesigner = file.ValueExists(section, kEmbeddedDesigner.name);
  record.embeddedDesigner = file.ReadString(section, kEmbeddedDesigner.name, kEmbeddedDesigner.fallback) == u"True";
}

void ImportDesigner(Registry& registry, std::u16string_view base, ProfileRecord& record) {
  if (ReleaseFacts(record.version).designer) {
    record.embeddedDesigner = ReadIdeDesigner(registry, base).value_or(record.embeddedDesigner);
  }
}

void LoadDesigner(Registry& registry, std::u16string_view base, const ProfileRecord& stored, ProfileRecord& record) {
  if (!kEmbeddedDesigner.AppliesTo(record.version)) return;
  record.embeddedDesigner =
      stored.holdsDesigner ? stored.embeddedDesigner : ReadIdeDesigner(registry, base).value_or(true);
}

void PlanDesigner(Registry&, const ProfileRecord& stored, LaunchWrites& writes) {
  if (!kEmbeddedDesigner.AppliesTo(stored.version)) return;
  writes.keys.push_back(LaunchKeyWrite{
      Concat({writes.settingsKey, ide::kFormDesign}),
      false,
      false,
      {{std::u16string(ide::kEmbeddedDesigner), std::u16string(stored.embeddedDesigner ? u"True" : u"False")}}});
}

// The library pages: twelve keys per page, the platform's prefix and each
// setting's suffix; the IDE's library key of each platform.

void SaveLibraries(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  for (const LibraryPage& page : record.libraries) {
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      file.WriteString(section, SettingsKey(page.platform, LibrarySettings[row]), OneLine(page.values[row]));
    }
  }
}

void ReadLibraries(const SettingsFile& file, std::u16string_view section, ProfileRecord& record) {
  record.libraries.clear();
  for (TPlatformType platform : VersionPlatforms(record.version)) {
    LibraryPage& page = record.libraries.emplace_back();
    page.platform = platform;
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      page.values[row] = file.ReadString(section, SettingsKey(platform, LibrarySettings[row]), u"");
    }
  }
}

// A page per platform whose library key exists, with the rows the release
// lacks left empty.
void ImportLibraries(Registry& registry, std::u16string_view base, ProfileRecord& record) {
  record.libraries.clear();
  const VersionCode code = record.version;
  for (TPlatformType platform : VersionPlatforms(code)) {
    if (!registry.OpenKeyReadOnly(Concat({base, LibraryKeyName(platform)}))) continue;
    LibraryPage& page = record.libraries.emplace_back();
    page.platform = platform;
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      const LibrarySetting& setting = LibrarySettings[row];
      if (!IsDisabledInEditor(setting, code)) {
        page.values[row] = OneLine(registry.ReadString(RegistryValueName(setting, code)));
      }
    }
    registry.CloseKey();
  }
}

void LoadLibraries(Registry&, std::u16string_view, const ProfileRecord& stored, ProfileRecord& record) {
  for (LibraryPage& page : record.libraries) {
    const auto held = std::find_if(stored.libraries.begin(), stored.libraries.end(),
                                   [&](const LibraryPage& storedPage) { return storedPage.platform == page.platform; });
    page.values = held != stored.libraries.end() ? held->values : decltype(page.values){};
  }
}

// The library values of each platform of the release. From XE7 on an
// edition may lack a platform, so its key is written only where it exists
// or the profile holds a value for it. From 2007 on, MSBuild's copy of the
// library settings is renewed by the IDE's next start, so that builds
// outside the IDE use the paths written here.
void PlanLibraries(Registry& registry, const ProfileRecord& stored, LaunchWrites& writes) {
  const VersionCode code = stored.version;
  const std::size_t before = writes.keys.size();
  for (const LibraryPage& page : stored.libraries) {
    LaunchKeyWrite key{Concat({writes.settingsKey, LibraryKeyName(page.platform)}), false, true, {}};
    const bool holdsValues =
        std::any_of(page.values.begin(), page.values.end(), [](const std::u16string& value) { return !value.empty(); });
    if (WritesOnlyKnownPlatforms(code) && !registry.KeyExists(key.path) && !holdsValues) continue;
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      const LibrarySetting& setting = LibrarySettings[row];
      if (IsWrittenAtLaunch(setting, code)) key.values.emplace_back(RegistryValueName(setting, code), page.values[row]);
    }
    writes.keys.push_back(std::move(key));
  }
  if (ReleaseFacts(code).msbuild && writes.keys.size() > before) {
    writes.keys.push_back(LaunchKeyWrite{Concat({writes.settingsKey, ide::kGlobals}),
                                         false,
                                         false,
                                         {{std::u16string(ide::kForceEnvOptionsUpdate), u"1"}}});
  }
}

// The environment variables: "ENV_NAME%d" and "ENV_VALUE%d" per variable,
// then "ENV_Count", where the profile holds them; the IDE's key of
// variables (the 64-bit IDE's own where it has one), replaced by them at a
// launch. A profile stored before variables were holds none, and leaves
// the IDE's as they are.

void SaveEnvironment(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  if (!record.holdsEnvironment) return;
  std::vector<std::pair<std::u16string_view, std::u16string_view>> variables;
  for (const EnvironmentVariable& variable : record.environment) variables.emplace_back(variable.name, variable.value);
  WritePairs(file, section, kEnvironmentPairs, variables);
}

void ReadEnvironment(const SettingsFile& file, std::u16string_view section, ProfileRecord& record) {
  std::optional<std::vector<EnvironmentVariable>> stored = StoredEnvironment(file, section);
  record.holdsEnvironment = stored.has_value();
  record.environment = stored ? std::move(*stored) : std::vector<EnvironmentVariable>{};
}

void ImportEnvironment(Registry& registry, std::u16string_view base, ProfileRecord& record) {
  record.environment.clear();
  if (ReleaseFacts(record.version).packages) record.environment = ReadIdeEnvironment(registry, base, record.ide64);
}

void LoadEnvironment(Registry&, std::u16string_view, const ProfileRecord& stored, ProfileRecord& record) {
  if (!kEnvironment.AppliesTo(record.version)) return;
  record.holdsEnvironment = stored.holdsEnvironment;
  if (stored.holdsEnvironment) record.environment = stored.environment;
}

void PlanEnvironment(Registry& registry, const ProfileRecord& stored, LaunchWrites& writes) {
  if (!kEnvironment.AppliesTo(stored.version) || !stored.holdsEnvironment) return;
  LaunchKeyWrite environment{
      Concat({writes.settingsKey, IdeEnvironmentKey(registry, writes.settingsKey, stored.ide64)}), true, false, {}};
  for (const EnvironmentVariable& variable : stored.environment) {
    environment.values.emplace_back(variable.name, variable.value);
  }
  writes.keys.push_back(std::move(environment));
}

constexpr std::array<ListSetting, 4> kListSettings{{
    {&kPackages, SavePackages, ReadPackages, ImportPackages, LoadPackages, PlanPackages},
    {&kEmbeddedDesigner, SaveDesigner, ReadDesigner, ImportDesigner, LoadDesigner, PlanDesigner},
    {&kLibraries, SaveLibraries, ReadLibraries, ImportLibraries, LoadLibraries, PlanLibraries},
    {&kEnvironment, SaveEnvironment, ReadEnvironment, ImportEnvironment, LoadEnvironment, PlanEnvironment},
}};

}  // namespace

std::span<const ListSetting> ListSettings() { return kListSettings; }

const ListSetting* ListSettingOf(const ProfileKey& key) {
  const auto found = std::find_if(kListSettings.begin(), kListSettings.end(),
                                  [&](const ListSetting& setting) { return setting.key == &key; });
  return found != kListSettings.end() ? &*found : nullptr;
}

std::vector<DisabledPackage> DisabledPackages(const SettingsFile& file, std::u16string_view section) {
  std::vector<DisabledPackage> packages;
  for (auto& [path, name] : ReadPairs(file, section, kPackagePairs)) {
    packages.push_back({std::move(path), std::move(name)});
  }
  return packages;
}

std::optional<std::vector<EnvironmentVariable>> StoredEnvironment(const SettingsFile& file,
                                                                  std::u16string_view section) {
  if (!file.ValueExists(section, kEnvironment.name)) return std::nullopt;
  std::vector<EnvironmentVariable> variables;
  for (auto& [name, value] : ReadPairs(file, section, kEnvironmentPairs)) {
    if (!name.empty()) variables.push_back({std::move(name), std::move(value)});
  }
  return variables;
}

}  // namespace ombrisk
