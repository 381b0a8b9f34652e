// A profile as the editor holds it, and what the IDE's own settings in the
// registry give it (the settings file's side is core/profile_store.h).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/platforms.h"
#include "core/registry.h"

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

// An environment variable the IDE sets: its name and its value.
struct EnvironmentVariable {
  std::u16string name;
  std::u16string value;
  bool operator==(const EnvironmentVariable&) const = default;
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
  // Whether the stored profile holds the designer setting; where it does
  // not, the editor shows the IDE's.
  bool holdsDesigner = true;
  // Start the 64-bit IDE (releases that may have one).
  bool ide64 = false;
  // Not stored: whether the release's 64-bit IDE is installed, which the
  // caller finds out before an import or a load; without it ide64 is off.
  bool ide64Installed = false;
  std::vector<PackageRow> packages;
  std::vector<LibraryPage> libraries;
  std::u16string preProcess;
  // A launch that finds the alternate key missing first copies the base key
  // into it; a new profile does so.
  bool altRegInit = true;
  // The IDE's environment variables, in order (releases 8 and later), and
  // whether the profile holds them: one stored before variables were holds
  // none, and its launch leaves the IDE's as they are.
  std::vector<EnvironmentVariable> environment;
  bool holdsEnvironment = true;
};

// Fills the record with the current settings of its release, read from the
// IDE's key in the registry (the alternate one when chosen, its name
// trimmed): the switches the release lacks are cleared, then the designer
// setting, the known packages with the disabled ones unchecked (those of the
// 64-bit IDE when it is chosen), the environment variables, and one library
// page per platform whose
// library key exists, with the rows the release lacks left empty. Reads the
// registry only. The record is filled as the reads go, so after an error it
// holds what was read until then.
void ImportIdeSettings(Registry& registry, ProfileRecord& record);
// The part of it that fills the packages: those of the 64-bit IDE when
// ide64 is set, none for a release without packages.
void ImportIdePackages(Registry& registry, ProfileRecord& record);
// And the part that fills the environment variables, those of the 64-bit
// IDE's key when ide64 is set and the key exists; none before release 8.
void ImportIdeEnvironment(Registry& registry, ProfileRecord& record);

// Appends the design-time packages of the IDE (the 64-bit one's or not)
// below its key (base, ending in "\"), in the registry's enumeration order,
// all enabled, as they are read; none when the key is missing.
void ReadIdePackages(Registry& registry, std::u16string_view base, bool ide64, std::vector<PackageRow>& packages);
// Unchecks each row whose path is one of the given paths, the letters a to z
// matching their upper case.
void DisablePackages(std::vector<PackageRow>& packages, const std::vector<std::u16string>& paths);
// The key of the IDE's environment variables below its settings key (base,
// ending in "\"): the 64-bit IDE's own where it has one.
std::u16string_view IdeEnvironmentKey(Registry& registry, std::u16string_view base, bool ide64);
// The IDE's environment variables below its key, in the registry's order:
// every string value; none when the key is missing.
std::vector<EnvironmentVariable> ReadIdeEnvironment(Registry& registry, std::u16string_view base, bool ide64);
// Whether the IDE's form designer is embedded: its "Embedded Designer" is
// anything but "False"; nothing when the IDE's "Form Design" key is missing.
std::optional<bool> ReadIdeDesigner(Registry& registry, std::u16string_view base);

}  // namespace ombrisk
