#include "core/profile_store.h"

#include <algorithm>
#include <limits>

#include "core/text.h"

namespace ombrisk {

namespace {

constexpr std::u16string_view kClientWidth = u"ClientWidth";
constexpr std::u16string_view kClientHeight = u"ClientHeight";
constexpr std::u16string_view kWindowState = u"WindowState";
constexpr std::u16string_view kTop = u"Top";
constexpr std::u16string_view kLeft = u"Left";

using namespace profile_keys;
constexpr const ProfileKey* kProfileKeys[] = {
    &kVersion,   &kDescription, &kDelphiOnly, &kNoSplash,   &kNoProject,   &kNoCache,
    &kUseAltReg, &kRunAsAdmin,  &kIde64,      &kAltReg,     &kParameters,  &kEmbeddedDesigner,
    &kPackages,  &kLibraries,   &kPreProcess, &kAltRegInit, &kEnvironment,
};

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

void WritePackages(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  std::vector<std::pair<std::u16string_view, std::u16string_view>> disabled;
  for (const PackageRow& row : record.packages) {
    if (!row.enabled) disabled.emplace_back(row.path, row.name);
  }
  WritePairs(file, section, kPackagePairs, disabled);
}

void WriteEnvironment(SettingsFile& file, std::u16string_view section, const ProfileRecord& record) {
  std::vector<std::pair<std::u16string_view, std::u16string_view>> variables;
  for (const EnvironmentVariable& variable : record.environment) variables.emplace_back(variable.name, variable.value);
  WritePairs(file, section, kEnvironmentPairs, variables);
}

void WriteKey(SettingsFile& file, std::u16string_view section, const ProfileKey& key, const ProfileRecord& record) {
  switch (key.kind) {
    case KeyKind::Integer:
      file.WriteInteger(section, key.name, record.version);
      break;
    case KeyKind::Boolean:
      file.WriteBool(section, key.name, record.*key.flag);
      break;
    case KeyKind::String:
      file.WriteString(section, key.name, OneLine(record.*key.text));
      break;
    case KeyKind::TextBoolean:
      file.WriteString(section, key.name, record.*key.flag ? u"True" : u"False");
      break;
    case KeyKind::Packages:
      WritePackages(file, section, record);
      break;
    case KeyKind::Environment:
      WriteEnvironment(file, section, record);
      break;
    case KeyKind::Libraries:
      for (const LibraryPage& page : record.libraries) {
        for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
          file.WriteString(section, SettingsKey(page.platform, LibrarySettings[row]), OneLine(page.values[row]));
        }
      }
      break;
  }
}

}  // namespace

std::u16string ProfileSection(std::u16string_view name) { return Concat({keys::kProfilePrefix, name}); }

std::span<const ProfileKey* const> ProfileKeys() { return kProfileKeys; }

bool IsOffered(const ProfileKey& key, const ProfileRecord& record) {
  if (key.offeredFor == nullptr) return true;
  return ReleaseFacts(record.version).*key.offeredFor && (&key != &kIde64 || record.ide64Installed);
}

void ReadProfileKeys(const SettingsFile& file, std::u16string_view section, ProfileRecord& record) {
  for (const ProfileKey* key : kProfileKeys) {
    if (key->kind == KeyKind::Boolean) record.*key->flag = file.ReadBool(section, key->name, key->fallback == u"1");
    if (key->kind == KeyKind::String) record.*key->text = file.ReadString(section, key->name, key->fallback);
  }
}

std::vector<DisabledPackage> DisabledPackages(const SettingsFile& file, std::u16string_view section) {
  std::vector<DisabledPackage> packages;
  for (auto& [path, name] : ReadPairs(file, section, kPackagePairs))
    packages.push_back({std::move(path), std::move(name)});
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

std::vector<ListedProfile> ListProfiles(const SettingsFile& file, const InstalledVersionSet& installed,
                                        const TextComparer& comparer) {
  std::vector<std::u16string> sections = file.ReadSections();
  std::stable_sort(sections.begin(), sections.end(), [&comparer](const std::u16string& a, const std::u16string& b) {
    return comparer.CompareIgnoringCase(a, b) < 0;
  });
  std::vector<ListedProfile> rows;
  for (const std::u16string& section : sections) {
    if (!section.starts_with(keys::kProfilePrefix)) continue;
    const VersionCode code = file.ReadInteger(section, kVersion.name, 0);
    if (!IsVersionInstalled(installed, code)) continue;
    rows.push_back(ListedProfile{section.substr(keys::kProfilePrefix.size()), std::u16string(FindRelease(code)->label),
                                 file.ReadString(section, kDescription.name, u""), code});
  }
  return rows;
}

void LoadProfile(const SettingsFile& file, Registry& registry, std::u16string_view name, ProfileRecord& record) {
  const std::u16string section = ProfileSection(name);
  ReadProfileKeys(file, section, record);
  // A 64-bit IDE chosen once counts while it is installed.
  record.ide64 = record.ide64 && record.ide64Installed;
  const VersionCode code = record.version;
  registry.SetRootKey(RegistryRoot::CurrentUser);
  const std::u16string base = IdeRegistryKey(code, record.useAltReg, record.altReg);
  if (kEmbeddedDesigner.AppliesTo(code)) {
    if (file.ValueExists(section, kEmbeddedDesigner.name)) {
      record.embeddedDesigner = file.ReadString(section, kEmbeddedDesigner.name, kEmbeddedDesigner.fallback) == u"True";
    } else {
      record.embeddedDesigner = ReadIdeDesigner(registry, base).value_or(true);
    }
  }
  if (kPackages.AppliesTo(code)) {
    record.packages.clear();
    ReadIdePackages(registry, base, record.ide64, record.packages);
    std::vector<std::u16string> disabled;
    for (DisabledPackage& package : DisabledPackages(file, section)) {
      if (!Trim(package.path).empty()) disabled.push_back(std::move(package.path));
    }
    DisablePackages(record.packages, disabled);
  }
  if (kEnvironment.AppliesTo(code)) {
    std::optional<std::vector<EnvironmentVariable>> stored = StoredEnvironment(file, section);
    record.holdsEnvironment = stored.has_value();
    if (stored) record.environment = std::move(*stored);
  }
  for (LibraryPage& page : record.libraries) {
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      page.values[row] = file.ReadString(section, SettingsKey(page.platform, LibrarySettings[row]), u"");
    }
  }
}

void SaveProfile(SettingsFile& file, std::u16string_view name, std::optional<std::u16string_view> replacedName,
                 const ProfileRecord& record) {
  const std::u16string section = ProfileSection(name);
  file.EraseSection(section);
  if (replacedName) file.EraseSection(ProfileSection(*replacedName));
  for (const ProfileKey* key : kProfileKeys) {
    // A profile that holds no variables leaves the IDE's as they are.
    if (key == &kEnvironment && !record.holdsEnvironment) continue;
    if (key->AppliesTo(record.version)) WriteKey(file, section, *key, record);
  }
}

MainWindowSettings ReadMainWindowSettings(const SettingsFile& file, const InstalledVersionSet& installed,
                                          const ScreenMetrics& screen, const TextComparer& comparer) {
  MainWindowSettings settings;
  settings.lineColor = file.ReadInteger(keys::kSystem, keys::kLineColor, kDefaultLineColor);
  MainFormGeometry& geometry = settings.geometry;
  geometry.windowState = file.ReadInteger(keys::kMainForm, kWindowState, 0);
  geometry.clientWidth = file.ReadInteger(keys::kMainForm, kClientWidth, 512);
  geometry.clientHeight = file.ReadInteger(keys::kMainForm, kClientHeight, 320);
  // Centred by default, the window's size taken at the DPI it opens at.
  const int width = LengthAtDpi(geometry.clientWidth, screen.dpi) + screen.frameWidth;
  const int height = LengthAtDpi(geometry.clientHeight, screen.dpi) + screen.frameHeight;
  geometry.left = file.ReadInteger(keys::kMainForm, kLeft, (screen.screenWidth - width) / 2);
  geometry.top = file.ReadInteger(keys::kMainForm, kTop, (screen.screenHeight - height) / 2);
  const std::vector<int> widths =
      ParseWidthList(file.ReadString(keys::kMainForm, keys::kColumnWidths, u"132,190,154"), 3, 100);
  std::copy(widths.begin(), widths.end(), geometry.columnWidths.begin());
  settings.profiles = ListProfiles(file, installed, comparer);
  return settings;
}

void WriteMainFormGeometry(SettingsFile& file, const MainFormGeometry& geometry) {
  file.WriteInteger(keys::kMainForm, kClientWidth, geometry.clientWidth);
  file.WriteInteger(keys::kMainForm, kClientHeight, geometry.clientHeight);
  file.WriteInteger(keys::kMainForm, kWindowState, geometry.windowState);
  file.WriteInteger(keys::kMainForm, kTop, geometry.top);
  file.WriteInteger(keys::kMainForm, kLeft, geometry.left);
  file.WriteString(keys::kMainForm, keys::kColumnWidths, WidthListText(geometry.columnWidths));
}

ProfileStore::ProfileStore(FileSystem& files, const TextComparer& comparer, std::u16string path)
    : files_(files), comparer_(comparer), path_(std::move(path)) {}

std::unique_ptr<SettingsFile> ProfileStore::Open() const {
  return std::make_unique<SettingsFile>(files_, comparer_, path_);
}

MainWindowSettings ProfileStore::ReadMainWindow(const InstalledVersionSet& installed,
                                                const ScreenMetrics& screen) const {
  return ReadMainWindowSettings(*Open(), installed, screen, comparer_);
}

void ProfileStore::WriteMainWindow(const MainFormGeometry& geometry) const {
  const std::unique_ptr<SettingsFile> file = Open();
  WriteMainFormGeometry(*file, geometry);
  file->UpdateFile();
}

std::array<int, 2> ProfileStore::ReadPrefFormColumns() const {
  const std::vector<int> widths =
      ParseWidthList(Open()->ReadString(keys::kPrefForm, keys::kColumnWidths, u"430,410"), 2, 400);
  return {widths[0], widths[1]};
}

void ProfileStore::WritePrefFormColumns(std::span<const int, 2> widths) const {
  const std::unique_ptr<SettingsFile> file = Open();
  file->WriteString(keys::kPrefForm, keys::kColumnWidths, WidthListText(widths));
  file->UpdateFile();
}

std::vector<std::u16string> ProfileStore::TakenSections(std::optional<std::u16string_view> except) const {
  std::vector<std::u16string> taken = Open()->ReadSections();
  if (except) {
    const std::u16string own = ProfileSection(*except);
    std::erase_if(taken, [&](const std::u16string& section) { return comparer_.Mapping().Equal(section, own); });
  }
  return taken;
}

void ProfileStore::Load(Registry& registry, std::u16string_view name, ProfileRecord& record) const {
  const std::unique_ptr<SettingsFile> file = Open();
  // The import reads the key the profile uses: its alternate key where
  // chosen, the 64-bit IDE's keys where chosen.
  ReadProfileKeys(*file, ProfileSection(name), record);
  record.ide64 = record.ide64 && record.ide64Installed;
  ImportIdeSettings(registry, record);
  LoadProfile(*file, registry, name, record);
}

void ProfileStore::Save(std::u16string_view name, std::optional<std::u16string_view> replacedName,
                        const ProfileRecord& record) const {
  const std::unique_ptr<SettingsFile> file = Open();
  SaveProfile(*file, name, replacedName, record);
  file->UpdateFile();
}

void ProfileStore::Delete(std::u16string_view name) const {
  const std::unique_ptr<SettingsFile> file = Open();
  file->EraseSection(ProfileSection(name));
  file->UpdateFile();
}

}  // namespace ombrisk
