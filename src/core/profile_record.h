// A profile as the editor holds it, and the ways it travels: imported from
// the IDE's own settings in the registry, loaded from the settings file, and
// saved back to it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/platforms.h"
#include "core/registry.h"
#include "core/settings_file.h"

namespace ombrisk {

// What the editor does with a profile: create one, change the selected one,
// or create one from the selected one.
enum TPrefMode { prmAdd = 0, prmEdit = 1, prmCopy = 2 };

// A design-time package of the IDE: its description, its file path as the
// IDE stores it, and whether it stays enabled.
struct PackageRow {
  std::u16string name;
  std::u16string path;
  bool enabled = true;

  // The row's text in a column of the editor's list: 0 name, 1 path.
  static std::u16string_view Key(const PackageRow& row, int column) { return column == 0 ? row.name : row.path; }
};

// One library tab: the platform and the texts of its twelve rows, in the
// order of LibrarySettings.
struct LibraryPage {
  TPlatformType platform = TPlatformType::pftWin32;
  std::array<std::u16string, 12> values;
};

struct ProfileRecord {
  VersionCode version = 0;
  std::u16string description;
  bool delphiOnly = false;
  bool noSplash = false;
  bool noProject = false;
  bool noCache = false;
  bool useAltReg = false;
  bool runAsAdmin = false;
  std::u16string altReg;
  std::u16string parameters;
  bool embeddedDesigner = false;
  std::vector<PackageRow> packages;
  std::vector<LibraryPage> libraries;
  std::u16string preProcess;
};

// Releases from 8 on have design-time packages, the embedded designer, the
// personality and cache switches and alternate registry keys.
constexpr bool HasPackageOptions(VersionCode code) { return code >= 8; }

// Fills the record with the current settings of its release, read from the
// IDE's key in the registry (the alternate one when chosen, its name
// trimmed): the switches the release lacks are cleared, then the designer
// setting, the known packages with the disabled ones unchecked, and one
// library page per platform whose library key exists, with the rows the
// release lacks left empty. Reads the registry only. The record is filled as
// the reads go, so after an error it holds what was read until then.
void ImportIdeSettings(Registry& registry, ProfileRecord& record);

// Loads the stored profile over an imported record of the same release: the
// switches, texts and pre-launch command, and for releases from 8 on the
// designer setting (from the IDE when the profile has none) and the package
// list read again from the IDE, unchecked where the profile disables the
// package. Each library page takes its platform's stored values.
void LoadProfile(const SettingsFile& file, Registry& registry, std::u16string_view name, ProfileRecord& record);

// Replaces the profile's section by the record, written at the end of the
// file; replacedName names the section an edit started from, also erased.
void SaveProfile(SettingsFile& file, std::u16string_view name, std::optional<std::u16string_view> replacedName,
                 const ProfileRecord& record);

}  // namespace ombrisk
