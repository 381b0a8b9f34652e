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
constexpr std::u16string_view kPackagePath = u"PKG_PATH";
constexpr std::u16string_view kPackageName = u"PKG_NAME";

using namespace profile_keys;
constexpr const ProfileKey* kProfileKeys[] = {
    &kVersion, &kDescription, &kDelphiOnly, &kNoSplash,         &kNoProject, &kNoCache,   &kUseAltReg,  &kRunAsAdmin,
    &kIde64,   &kAltReg,      &kParameters, &kEmbeddedDesigner, &kPackages,  &kLibraries, &kPreProcess, &kAltRegInit,
};

// The number of a key "PKG_PATH<n>" or "PKG_NAME<n>" (letters in any case,
// n in decimal without a leading zero, as the keys are written), or 0.
std::int32_t PackageNumber(std::u16string_view key) {
  const std::size_t prefix = kPackagePath.size();
  if (key.size() <= prefix) return 0;
  const std::u16string upper = AsciiUpper(key.substr(0, prefix));
  if (upper != kPackagePath && upper != kPackageName) return 0;
  const std::u16string_view digits = key.substr(prefix);
  if (digits.front() == u'0') return 0;
  std::int64_t number = 0;
  for (const char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return 0;
    number = number * 10 + (digit - u'0');
    if (number > std::numeric_limits<std::int32_t>::max()) return 0;
  }
  return static_cast<std::int32_t>(number);
}

void WritePackages(SettingsFile& file, std::u16string_view section, const ProfileKey& count,
                   const ProfileRecord& record) {
  std::int32_t written = 0;
  for (const PackageRow& row : record.packages) {
    if (row.enabled) continue;
    const std::u16string number = DecimalText(++written);
    file.WriteString(section, Concat({kPackagePath, number}), row.path);
    file.WriteString(section, Concat({kPackageName, number}), row.name);
  }
  file.WriteInteger(section, count.name, written);
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
      file.WriteString(section, key.name, record.*key.text);
      break;
    case KeyKind::TextBoolean:
      file.WriteString(section, key.name, record.*key.flag ? u"True" : u"False");
      break;
    case KeyKind::Packages:
      WritePackages(file, section, key, record);
      break;
    case KeyKind::Libraries:
      for (const LibraryPage& page : record.libraries) {
        for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
          file.WriteString(section, SettingsKey(page.platform, LibrarySettings[row]), page.values[row]);
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
  const std::int32_t count = file.ReadInteger(section, kPackages.name, 0);
  std::int32_t last = 0;
  for (const std::u16string& key : file.ReadKeys(section)) last = std::max(last, PackageNumber(key));
  std::vector<DisabledPackage> packages;
  for (std::int32_t n = 1; n <= std::min(count, last); ++n) {
    const std::u16string number = DecimalText(n);
    packages.push_back({file.ReadString(section, Concat({kPackagePath, number}), u""),
                        file.ReadString(section, Concat({kPackageName, number}), u"")});
  }
  if (count > last) packages.push_back({});
  return packages;
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
  LoadProfile(*Open(), registry, name, record);
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
