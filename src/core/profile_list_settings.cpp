#include "core/profile_list_settings.h"

#include <algorithm>
#include <array>
#include <limits>

#include "core/platforms.h"
#include "core/profile_store.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

using namespace profile_keys;

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

}  // namespace

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

namespace {

// A change's value as the dialog shows it: the text, "(なし)" for none.
std::u16string ShownValue(const std::optional<std::u16string>& value) {
  return value ? *value : std::u16string(texts::kValueMissing);
}

// Each name that the written pairs and the pairs the key holds now do not
// both have (or, with valuesCount, have with other values), in the written
// order, then the added ones in the key's order.
using NamedValues = std::vector<std::pair<std::u16string, std::u16string>>;
template <class SameName>
void CompareNamed(const NamedValues& written, const NamedValues& now, SameName sameName, bool valuesCount,
                  std::vector<SettingChange>& changes) {
  const auto find = [&](const NamedValues& in, std::u16string_view name) {
    return std::find_if(in.begin(), in.end(), [&](const auto& pair) { return sameName(pair.first, name); });
  };
  for (const auto& [name, value] : written) {
    const auto present = find(now, name);
    if (present == now.end()) {
      changes.push_back({nullptr, name, {}, 0, value, std::nullopt});
    } else if (valuesCount && present->second != value) {
      changes.push_back({nullptr, name, {}, 0, value, present->second});
    }
  }
  for (const auto& [name, value] : now) {
    if (find(written, name) == written.end()) changes.push_back({nullptr, name, {}, 0, std::nullopt, value});
  }
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

bool SamePackagePath(std::u16string_view a, std::u16string_view b) { return AsciiUpper(a) == AsciiUpper(b); }

// The packages the IDE's key disables now: each path with its description.
NamedValues IdeDisabledPackages(Registry& registry, std::u16string_view base, bool ide64) {
  NamedValues disabled;
  if (!registry.OpenKeyReadOnly(Concat({base, ide::DisabledPackages(ide64)}))) return disabled;
  for (auto& [name, data] : registry.ReadValues()) disabled.emplace_back(std::move(name), DataText(data));
  registry.CloseKey();
  return disabled;
}

void ComparePackages(Registry& registry, std::u16string_view base, const ProfileRecord& written, const CaseMapping&,
                     std::vector<SettingChange>& changes) {
  if (!kPackages.AppliesTo(written.version)) return;
  NamedValues before;
  for (const PackageRow& package : written.packages) {
    if (!package.enabled) before.emplace_back(package.path, package.name);
  }
  CompareNamed(before, IdeDisabledPackages(registry, base, written.ide64), SamePackagePath, false, changes);
}

void TakeInPackage(const SettingChange& change, const CaseMapping&, ProfileRecord& stored) {
  std::erase_if(stored.packages, [&](const PackageRow& row) { return SamePackagePath(row.path, change.name); });
  if (change.now) stored.packages.push_back(PackageRow{*change.now, change.name, false});
}

ChangeTexts DescribePackage(const SettingChange& change) {
  const std::u16string description = change.written.value_or(change.now.value_or(u""));
  const auto state = [](const std::optional<std::u16string>& disabled) {
    return std::u16string(disabled ? texts::kPackageDisabled : texts::kPackageEnabled);
  };
  return {Format(texts::kChangedPackage, {Trim(description).empty() ? change.name : description}),
          state(change.written), state(change.now)};
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

std::u16string DesignerText(bool embedded) { return embedded ? u"True" : u"False"; }

void CompareDesigner(Registry& registry, std::u16string_view base, const ProfileRecord& written, const CaseMapping&,
                     std::vector<SettingChange>& changes) {
  if (!kEmbeddedDesigner.AppliesTo(written.version)) return;
  const std::optional<bool> now = ReadIdeDesigner(registry, base);
  if (now == written.embeddedDesigner) return;
  changes.push_back({nullptr,
                     u"",
                     {},
                     0,
                     DesignerText(written.embeddedDesigner),
                     now ? std::optional(DesignerText(*now)) : std::nullopt});
}

void TakeInDesigner(const SettingChange& change, const CaseMapping&, ProfileRecord& stored) {
  // A designer setting no longer there is the IDE's default, embedded.
  stored.embeddedDesigner = change.now.value_or(u"True") == u"True";
  stored.holdsDesigner = true;
}

ChangeTexts DescribeDesigner(const SettingChange& change) {
  const auto state = [](const std::optional<std::u16string>& value) {
    if (!value) return std::u16string(texts::kValueMissing);
    return std::u16string(*value == u"True" ? texts::kSettingOn : texts::kSettingOff);
  };
  return {PlainCaption(texts::kEmbeddedDesignerBox), state(change.written), state(change.now)};
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

// Each value a launch writes on each page; one that is not there counts as
// empty, as the IDE reads it.
void CompareLibraries(Registry& registry, std::u16string_view base, const ProfileRecord& written, const CaseMapping&,
                      std::vector<SettingChange>& changes) {
  const VersionCode code = written.version;
  for (const LibraryPage& page : written.libraries) {
    const bool open = registry.OpenKeyReadOnly(Concat({base, LibraryKeyName(page.platform)}));
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      const LibrarySetting& setting = LibrarySettings[row];
      if (!IsWrittenAtLaunch(setting, code)) continue;
      std::optional<std::u16string> now;
      if (open && registry.ValueExists(RegistryValueName(setting, code))) {
        now = OneLine(registry.ReadString(RegistryValueName(setting, code)));
      }
      if (now.value_or(u"") != page.values[row]) {
        changes.push_back({nullptr, u"", page.platform, row, page.values[row], std::move(now)});
      }
    }
    if (open) registry.CloseKey();
  }
}

void TakeInLibrary(const SettingChange& change, const CaseMapping&, ProfileRecord& stored) {
  auto page = std::find_if(stored.libraries.begin(), stored.libraries.end(),
                           [&](const LibraryPage& held) { return held.platform == change.platform; });
  if (page == stored.libraries.end()) {
    page = stored.libraries.insert(stored.libraries.end(), LibraryPage{});
    page->platform = change.platform;
  }
  page->values[change.row] = change.now.value_or(u"");
}

ChangeTexts DescribeLibrary(const SettingChange& change) {
  return {Format(texts::kChangedLibrary,
                 {PlatformTabCaption(change.platform), PlainCaption(texts::kLibraryLabels[change.row])}),
          ShownValue(change.written), ShownValue(change.now)};
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

void CompareEnvironment(Registry& registry, std::u16string_view base, const ProfileRecord& written,
                        const CaseMapping& mapping, std::vector<SettingChange>& changes) {
  if (!kEnvironment.AppliesTo(written.version) || !written.holdsEnvironment) return;
  NamedValues before;
  NamedValues now;
  for (const EnvironmentVariable& variable : written.environment) before.emplace_back(variable.name, variable.value);
  for (EnvironmentVariable& variable : ReadIdeEnvironment(registry, base, written.ide64)) {
    now.emplace_back(std::move(variable.name), std::move(variable.value));
  }
  CompareNamed(
      before, now, [&](std::u16string_view a, std::u16string_view b) { return mapping.Equal(a, b); }, true, changes);
}

void TakeInVariable(const SettingChange& change, const CaseMapping& mapping, ProfileRecord& stored) {
  std::vector<EnvironmentVariable>& variables = stored.environment;
  const auto held = std::find_if(variables.begin(), variables.end(), [&](const EnvironmentVariable& variable) {
    return mapping.Equal(variable.name, change.name);
  });
  if (!change.now) {
    if (held != variables.end()) variables.erase(held);
  } else if (held != variables.end()) {
    held->value = *change.now;
  } else {
    variables.push_back({change.name, *change.now});
  }
  stored.holdsEnvironment = true;
}

ChangeTexts DescribeVariable(const SettingChange& change) {
  return {Format(texts::kChangedVariable, {change.name}), ShownValue(change.written), ShownValue(change.now)};
}

constexpr std::array<ListSetting, 4> kListSettings{{
    {&kPackages, SavePackages, ReadPackages, ImportPackages, LoadPackages, PlanPackages, ComparePackages, TakeInPackage,
     DescribePackage},
    {&kEmbeddedDesigner, SaveDesigner, ReadDesigner, ImportDesigner, LoadDesigner, PlanDesigner, CompareDesigner,
     TakeInDesigner, DescribeDesigner},
    {&kLibraries, SaveLibraries, ReadLibraries, ImportLibraries, LoadLibraries, PlanLibraries, CompareLibraries,
     TakeInLibrary, DescribeLibrary},
    {&kEnvironment, SaveEnvironment, ReadEnvironment, ImportEnvironment, LoadEnvironment, PlanEnvironment,
     CompareEnvironment, TakeInVariable, DescribeVariable},
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
