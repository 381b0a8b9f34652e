#include "core/profile_store.h"

#include <algorithm>

#include "core/errors.h"
#include "core/profile_launch_record.h"
#include "core/profile_list_settings.h"
#include "core/profile_projects.h"
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

void WriteKey(SettingsFile& file, std::u16string_view section, const ProfileKey& key, const ProfileRecord& record) {
  if (const ListSetting* list = ListSettingOf(key)) {
    list->save(file, section, record);
    return;
  }
  switch (key.kind) {
    case KeyKind::Integer:
      file.WriteInteger(section, key.name, record.version);
      break;
    case KeyKind::Boolean:
      file.WriteBool(section, key.name, record.*key.flag);
      break;
    default:
      file.WriteString(section, key.name, OneLine(record.*key.text));
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

namespace {

// A scalar row of the section into the record, with its fallback where the
// key is missing.
void ReadScalar(const SettingsFile& file, std::u16string_view section, const ProfileKey& key, ProfileRecord& record) {
  if (key.kind == KeyKind::Boolean) record.*key.flag = file.ReadBool(section, key.name, key.fallback == u"1");
  if (key.kind == KeyKind::String) record.*key.text = file.ReadString(section, key.name, key.fallback);
}

// The rows the main list shows, and those that name a profile's key.
constexpr const ProfileKey* kListedRows[] = {&kDescription};
constexpr const ProfileKey* kKeyRows[] = {&kUseAltReg, &kAltReg};
// What a launch's record holds: the release, the 64-bit IDE and the list
// settings.
constexpr const ProfileKey* kLaunchRecordRows[] = {&kVersion,          &kIde64,     &kPackages,
                                                   &kEmbeddedDesigner, &kLibraries, &kEnvironment};

}  // namespace

ProfileRecord ReadStoredProfile(const SettingsFile& file, std::u16string_view section,
                                std::span<const ProfileKey* const> rows) {
  ProfileRecord record;
  record.version = file.ReadInteger(section, kVersion.name, 0);
  for (const ProfileKey* key : rows) {
    if (const ListSetting* list = ListSettingOf(*key)) {
      list->read(file, section, record);
    } else {
      ReadScalar(file, section, *key, record);
    }
  }
  return record;
}

std::span<const ProfileKey* const> ListedRows() { return kListedRows; }
std::span<const ProfileKey* const> KeyRows() { return kKeyRows; }
std::span<const ProfileKey* const> LaunchRecordRows() { return kLaunchRecordRows; }

void WriteProfileRows(SettingsFile& file, std::u16string_view section, const ProfileRecord& record,
                      std::span<const ProfileKey* const> rows) {
  for (const ProfileKey* key : rows) {
    if (key->AppliesTo(record.version)) WriteKey(file, section, *key, record);
  }
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
    ProfileRecord stored = ReadStoredProfile(file, section, ListedRows());
    if (!IsVersionInstalled(installed, stored.version)) continue;
    rows.push_back(ListedProfile{section.substr(keys::kProfilePrefix.size()),
                                 std::u16string(FindRelease(stored.version)->label), std::move(stored.description),
                                 stored.version});
  }
  return rows;
}

namespace {

// The stored switches and texts over the record's; a 64-bit IDE chosen once
// counts while it is installed.
void LayScalars(const ProfileRecord& stored, ProfileRecord& record) {
  for (const ProfileKey* key : kProfileKeys) {
    if (key->flag != nullptr && key->kind == KeyKind::Boolean) record.*key->flag = stored.*key->flag;
    if (key->text != nullptr) record.*key->text = stored.*key->text;
  }
  record.ide64 = record.ide64 && record.ide64Installed;
}

void LayLists(Registry& registry, const ProfileRecord& stored, ProfileRecord& record) {
  registry.SetRootKey(RegistryRoot::CurrentUser);
  const std::u16string base = IdeRegistryKey(record.version, record.useAltReg, record.altReg);
  for (const ListSetting& list : ListSettings()) list.load(registry, base, stored, record);
}

}  // namespace

void LoadProfile(const SettingsFile& file, Registry& registry, std::u16string_view name, ProfileRecord& record) {
  const ProfileRecord stored = ReadStoredProfile(file, ProfileSection(name));
  LayScalars(stored, record);
  LayLists(registry, stored, record);
}

void SaveProfile(SettingsFile& file, std::u16string_view name, std::optional<std::u16string_view> replacedName,
                 const ProfileRecord& record) {
  const std::u16string section = ProfileSection(name);
  file.EraseSection(section);
  if (replacedName) file.EraseSection(ProfileSection(*replacedName));
  WriteProfileRows(file, section, record, kProfileKeys);
}

MainWindowSettings ReadMainWindowSettings(const SettingsFile& file, const ScreenMetrics& screen) {
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

namespace {

// Whether a line of the text is a key of the ASCII name (in any case):
// the name at the line's start and "=" after it, blanks aside.
template <class Unit>
bool HasKeyLine(std::basic_string_view<Unit> text, std::string_view name) {
  const auto blank = [](Unit c) { return c == ' ' || c == '\t'; };
  const auto same = [](Unit c, char letter) { return c < 0x80 && (c | 0x20) == static_cast<unsigned char>(letter); };
  for (std::size_t at = 0; at < text.size();) {
    std::size_t position = at;
    while (position < text.size() && blank(text[position])) ++position;
    std::size_t matched = 0;
    while (matched < name.size() && position + matched < text.size() && same(text[position + matched], name[matched])) {
      ++matched;
    }
    position += matched;
    while (position < text.size() && blank(text[position])) ++position;
    if (matched == name.size() && position < text.size() && text[position] == '=') return true;
    // The next line.
    while (at < text.size() && text[at] != '\n' && text[at] != '\r') ++at;
    while (at < text.size() && (text[at] == '\n' || text[at] == '\r')) ++at;
  }
  return false;
}

// Whether the file (UTF-16 or UTF-8) has a line of the key.
bool NamesKey(const FileBytes& bytes, std::string_view name) {
  const std::span<const unsigned char> raw = bytes.Bytes();
  // As the file is read: UTF-16 with its mark or with a NUL byte.
  const bool utf16 =
      (raw.size() >= 2 && raw[0] == 0xFF && raw[1] == 0xFE) || std::find(raw.begin(), raw.end(), 0) != raw.end();
  if (utf16) return HasKeyLine(bytes.Units(), name);
  return HasKeyLine(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()), name);
}

}  // namespace

std::optional<Language> ProfileStore::ReadLanguage() const {
  {
    const FileReadResult read = files_.ReadFile(path_);
    if (read.status != FileReadStatus::Read || !NamesKey(read.content, "language")) return std::nullopt;
  }
  std::u16string value;
  try {
    value = AsciiUpper(Open()->ReadString(keys::kSystem, keys::kLanguage, u""));
  } catch (const AppError&) {
    return std::nullopt;  // told where the file is read for the window
  }
  if (value == u"JA") return Language::Japanese;
  if (value == u"EN") return Language::English;
  return std::nullopt;
}

std::int32_t ProfileStore::ReadLineColor() const { return ReadMainWindowSettings(*Open(), ScreenMetrics{}).lineColor; }

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
  const ProfileRecord stored = ReadStoredProfile(*Open(), ProfileSection(name));
  // The import reads the key the profile uses: its alternate key where
  // chosen, the 64-bit IDE's keys where chosen.
  LayScalars(stored, record);
  ImportIdeSettings(registry, record);
  LayLists(registry, stored, record);
}

void ProfileStore::Save(std::u16string_view name, std::optional<std::u16string_view> replacedName,
                        const ProfileRecord& record) const {
  const std::unique_ptr<SettingsFile> file = Open();
  SaveProfile(*file, name, replacedName, record);
  const bool renamed = replacedName && *replacedName != name;
  if (renamed) RenameProjectProfile(*file, *replacedName, name, comparer_.Mapping());
  file->UpdateFile();
  if (renamed) LaunchRecords(files_, comparer_, path_).Rename(*replacedName, name);
}

void ProfileStore::Delete(std::u16string_view name) const {
  const std::unique_ptr<SettingsFile> file = Open();
  file->EraseSection(ProfileSection(name));
  RenameProjectProfile(*file, name, std::nullopt, comparer_.Mapping());
  file->UpdateFile();
  LaunchRecords(files_, comparer_, path_).Rename(name, std::nullopt);
}

void ReadMainWindowList(RegistryFactory& registries, const ProfileStore& store, MainWindowList& list) {
  DetectInstalledVersions(registries, store.Files(), list.installed);
  list.file = store.Open();
  list.profiles = ListProfiles(*list.file, list.installed, store.Comparer());
}

}  // namespace ombrisk
