// The settings file as the program uses it: its sections and keys (every
// name stands here once), the one table of a profile's keys, and the
// operations on profiles, window geometry and column widths. Each operation
// of ProfileStore reads the file afresh, writes it back when it changed
// something, and lets go of it before it returns.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/profile_list.h"
#include "core/profile_list_settings.h"
#include "core/profile_record.h"
#include "core/registry.h"
#include "core/settings_file.h"
#include "core/text_comparer.h"
#include "core/ui_text.h"

namespace ombrisk {

// The sections and keys of the settings file besides a profile's.
namespace keys {
inline constexpr std::u16string_view kProfilePrefix = u"PREF_";
inline constexpr std::u16string_view kSystem = u"System";
inline constexpr std::u16string_view kLineColor = u"ListViewLineColor";
// Set by hand: "ja" or "en" in place of the interface's language.
inline constexpr std::u16string_view kLanguage = u"Language";
inline constexpr std::u16string_view kMainForm = u"MainForm";
inline constexpr std::u16string_view kPrefForm = u"PrefForm";
inline constexpr std::u16string_view kColumnWidths = u"ListViewColumnWidths";
// The first section of an exported profiles' file, and its format.
inline constexpr std::u16string_view kExportSection = u"Ombrisk";
inline constexpr std::u16string_view kFormatVersion = u"FormatVersion";
}  // namespace keys

// The section of a profile: "PREF_" and the name.
std::u16string ProfileSection(std::u16string_view name);

// How a key of a profile is stored.
enum class KeyKind {
  Integer,      // decimal: the release
  Boolean,      // "1" or "0"
  String,       // the text as it stands
  TextBoolean,  // "True" or "False"
  Packages,     // "PKG_PATH%d" and "PKG_NAME%d" per disabled package, then "PKG_Count"
  Environment,  // "ENV_NAME%d" and "ENV_VALUE%d" per variable, then "ENV_Count"
  Libraries,    // twelve keys per library page: the platform's prefix and each setting's suffix
};

// A setting of a profile, declared once: the key that stores it, its kind,
// the releases it is written for, the record's field, the text a read gives
// where the key is missing, the IDE's start-up switch it becomes, the
// releases whose editor offers it and whether the editor's import decides
// it. The store, the launch, the import and the editor's bindings read these
// rows; adding a switch is one row here, one in ProfileKeys' order and one
// component of the editor.
struct ProfileKey {
  std::u16string_view name;
  KeyKind kind;
  // Every release (nullptr) or those with the trait.
  bool Release::*writtenFor = nullptr;
  bool ProfileRecord::*flag = nullptr;
  std::u16string ProfileRecord::*text = nullptr;
  std::u16string_view fallback = u"";
  // Passed to the IDE when the flag is set, followed by the argument's text
  // and a blank.
  std::u16string_view ideSwitch = u"";
  std::u16string ProfileRecord::*switchArgument = nullptr;
  // The releases whose editor offers it (nullptr: every one); elsewhere the
  // import clears it and the editor disables its control.
  bool Release::*offeredFor = nullptr;
  // Taken from the IDE's settings or the release on an import.
  bool imported = false;

  bool AppliesTo(VersionCode code) const { return writtenFor == nullptr || ReleaseFacts(code).*writtenFor; }
};

// The rows, named for the editor's bindings and the launch.
namespace profile_keys {
inline constexpr ProfileKey kVersion{.name = u"Version", .kind = KeyKind::Integer, .fallback = u"0"};
inline constexpr ProfileKey kDescription{
    .name = u"Description", .kind = KeyKind::String, .text = &ProfileRecord::description};
inline constexpr ProfileKey kDelphiOnly{.name = u"DelphiOnly",
                                        .kind = KeyKind::Boolean,
                                        .flag = &ProfileRecord::delphiOnly,
                                        .fallback = u"0",
                                        .ideSwitch = u"-pDelphi",
                                        .offeredFor = &Release::packages,
                                        .imported = true};
inline constexpr ProfileKey kNoSplash{.name = u"NoSplash",
                                      .kind = KeyKind::Boolean,
                                      .flag = &ProfileRecord::noSplash,
                                      .fallback = u"0",
                                      .ideSwitch = u"/ns"};
inline constexpr ProfileKey kNoProject{.name = u"NoProject",
                                       .kind = KeyKind::Boolean,
                                       .flag = &ProfileRecord::noProject,
                                       .fallback = u"0",
                                       .ideSwitch = u"/np"};
inline constexpr ProfileKey kNoCache{.name = u"NoCache",
                                     .kind = KeyKind::Boolean,
                                     .flag = &ProfileRecord::noCache,
                                     .fallback = u"0",
                                     .ideSwitch = u"/nocache",
                                     .offeredFor = &Release::packages,
                                     .imported = true};
inline constexpr ProfileKey kUseAltReg{.name = u"UseAltReg",
                                       .kind = KeyKind::Boolean,
                                       .flag = &ProfileRecord::useAltReg,
                                       .fallback = u"0",
                                       .ideSwitch = u"/r",
                                       .switchArgument = &ProfileRecord::altReg,
                                       .offeredFor = &Release::packages,
                                       .imported = true};
inline constexpr ProfileKey kRunAsAdmin{
    .name = u"RunAsAdmin", .kind = KeyKind::Boolean, .flag = &ProfileRecord::runAsAdmin, .fallback = u"0"};
inline constexpr ProfileKey kIde64{.name = u"IDE64",
                                   .kind = KeyKind::Boolean,
                                   .writtenFor = &Release::ide64,
                                   .flag = &ProfileRecord::ide64,
                                   .fallback = u"0",
                                   .offeredFor = &Release::ide64,
                                   .imported = true};
inline constexpr ProfileKey kAltReg{.name = u"AltReg",
                                    .kind = KeyKind::String,
                                    .text = &ProfileRecord::altReg,
                                    .offeredFor = &Release::packages,
                                    .imported = true};
inline constexpr ProfileKey kParameters{
    .name = u"Parameters", .kind = KeyKind::String, .text = &ProfileRecord::parameters};
inline constexpr ProfileKey kEmbeddedDesigner{.name = u"Embedded_Designer",
                                              .kind = KeyKind::TextBoolean,
                                              .writtenFor = &Release::designer,
                                              .flag = &ProfileRecord::embeddedDesigner,
                                              .fallback = u"True",
                                              .offeredFor = &Release::designer,
                                              .imported = true};
inline constexpr ProfileKey kPackages{
    .name = u"PKG_Count", .kind = KeyKind::Packages, .writtenFor = &Release::packages, .fallback = u"0"};
inline constexpr ProfileKey kLibraries{.name = u"", .kind = KeyKind::Libraries};
inline constexpr ProfileKey kPreProcess{
    .name = u"PreProcess", .kind = KeyKind::String, .text = &ProfileRecord::preProcess};
// Stored profiles without it leave the IDE's variables as they are.
inline constexpr ProfileKey kEnvironment{
    .name = u"ENV_Count", .kind = KeyKind::Environment, .writtenFor = &Release::packages, .fallback = u"0"};
// Stored profiles without it do not copy, as before it was there.
inline constexpr ProfileKey kAltRegInit{.name = u"AltRegInit",
                                        .kind = KeyKind::Boolean,
                                        .writtenFor = &Release::packages,
                                        .flag = &ProfileRecord::altRegInit,
                                        .fallback = u"0",
                                        .offeredFor = &Release::packages};
}  // namespace profile_keys

// Every setting of a profile, in the order a save writes their keys.
std::span<const ProfileKey* const> ProfileKeys();

// Whether the editor offers the setting for the record's release (the
// 64-bit IDE only where it is installed).
bool IsOffered(const ProfileKey& key, const ProfileRecord& record);

// The one reading of a stored profile: its release, then the rows asked
// for in their order (every row unless told), scalar rows with their
// fallbacks and list settings as the section stores them (ListSetting::read).
// The list, the launch, the editor and the key commands read a profile so,
// each only the rows it uses.
ProfileRecord ReadStoredProfile(const SettingsFile& file, std::u16string_view section,
                                std::span<const ProfileKey* const> rows = ProfileKeys());
// The rows the main list shows (the description), and those that name the
// settings key a profile uses.
std::span<const ProfileKey* const> ListedRows();
std::span<const ProfileKey* const> KeyRows();
// The rows a launch's record holds (profile_launch_record.*): the release,
// the 64-bit IDE and the list settings.
std::span<const ProfileKey* const> LaunchRecordRows();
// Writes the rows that apply to the record's release into the section, in
// their order.
void WriteProfileRows(SettingsFile& file, std::u16string_view section, const ProfileRecord& record,
                      std::span<const ProfileKey* const> rows);

// The profiles of installed releases: section names sorted by the locale's
// case-insensitive comparison, those beginning with "PREF_" (exactly so)
// whose "Version" is an installed release.
std::vector<ListedProfile> ListProfiles(const SettingsFile& file, const InstalledVersionSet& installed,
                                        const TextComparer& comparer);

// Loads the stored profile over an imported record of the same release: the
// switches, texts and pre-launch command, the 64-bit IDE while it is
// installed, the designer setting for the releases that have it (from the
// IDE when the profile has none), and for releases from 8 on the package list
// read again from the IDE, unchecked where the profile disables the package,
// and the environment variables where the profile has them (holdsEnvironment
// tells whether it does).
// Each library page takes its platform's stored values.
void LoadProfile(const SettingsFile& file, Registry& registry, std::u16string_view name, ProfileRecord& record);

// Replaces the profile's section by the record, written at the end of the
// file; replacedName names the section an edit started from, also erased.
// The environment variables only where the record holds them.
void SaveProfile(SettingsFile& file, std::u16string_view name, std::optional<std::u16string_view> replacedName,
                 const ProfileRecord& record);

// The main window's stored geometry.
struct MainFormGeometry {
  std::int32_t windowState = 0;  // 0 normal, 1 minimised, 2 maximised
  std::int32_t clientWidth = 512;
  std::int32_t clientHeight = 320;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::array<int, 3> columnWidths{132, 190, 154};
};

// What the main window's first show reads besides its list: the stored line
// colour and the geometry (Left and Top centre the window on the screen by
// default, given the frame a window adds to its client area).
struct MainWindowSettings {
  std::int32_t lineColor = 0;
  MainFormGeometry geometry;
};
struct ScreenMetrics {
  int screenWidth, screenHeight, frameWidth, frameHeight;
  // The DPI the window opens at; the stored sizes are at 96 DPI.
  int dpi = 96;
};
// A length stored at 96 DPI at the DPI, and back, rounded to the nearest.
constexpr int LengthAtDpi(int length, int dpi) { return static_cast<int>((std::int64_t{length} * dpi + 48) / 96); }
constexpr int LengthAt96(int length, int dpi) {
  return dpi > 0 ? static_cast<int>((std::int64_t{length} * 96 + dpi / 2) / dpi) : length;
}
MainWindowSettings ReadMainWindowSettings(const SettingsFile& file, const ScreenMetrics& screen);
// Writes the six keys of "MainForm" in their order.
void WriteMainFormGeometry(SettingsFile& file, const MainFormGeometry& geometry);

class ProfileStore {
 public:
  ProfileStore(FileSystem& files, const TextComparer& comparer, std::u16string path);

  const std::u16string& Path() const { return path_; }
  FileSystem& Files() const { return files_; }
  const TextComparer& Comparer() const { return comparer_; }
  // A copy of the file as it is now; throws AppError when it cannot be read.
  std::unique_ptr<SettingsFile> Open() const;

  void WriteMainWindow(const MainFormGeometry& geometry) const;
  // The stored line colour of the list's shading (LineColorFor makes it a
  // colour).
  std::int32_t ReadLineColor() const;
  // The language "Language" of "System" asks for ("ja" or "en", in any
  // case), if any. Read before the window is made: the file is parsed only
  // where it names the key at all.
  std::optional<Language> ReadLanguage() const;
  // The editor's package list: two columns, "430,410" when none are stored.
  std::array<int, 2> ReadPrefFormColumns() const;
  void WritePrefFormColumns(std::span<const int, 2> widths) const;
  // Every section name a new profile's section must not match; the section
  // of the named profile (as the file matches names) left out.
  std::vector<std::u16string> TakenSections(std::optional<std::u16string_view> except) const;
  // The profile as the editor edits it, from the file as it is now: the
  // stored switches read, the IDE's settings imported from the key the
  // profile uses (ImportIdeSettings), then LoadProfile. The record comes
  // with its release and whether its 64-bit IDE is installed.
  void Load(Registry& registry, std::u16string_view name, ProfileRecord& record) const;
  // SaveProfile, then the file written; the profile's project pairings and
  // the records of its launches follow a new name.
  void Save(std::u16string_view name, std::optional<std::u16string_view> replacedName,
            const ProfileRecord& record) const;
  // Removes the profile's section from the file, with its project pairings
  // and the records of its launches.
  void Delete(std::u16string_view name) const;

 private:
  FileSystem& files_;
  const TextComparer& comparer_;
  std::u16string path_;
};

// What the main window lists at its first show, read while its window is
// being made: the installed releases, the settings file as it is then, and
// the profiles it lists, in this order: what was read before a failure (the
// releases, when the file cannot be read) stays.
struct MainWindowList {
  InstalledVersionSet installed;
  std::unique_ptr<SettingsFile> file;
  std::vector<ListedProfile> profiles;
};
void ReadMainWindowList(RegistryFactory& registries, const ProfileStore& store, MainWindowList& list);

}  // namespace ombrisk
