// The IDE releases the program knows: their codes, labels, registry keys,
// installation records and images, and the operations built on them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/platform_type.h"
#include "core/registry.h"

namespace ombrisk {

// A release, numbered so that a later release has a larger code.
using VersionCode = std::int32_t;

// A release and every fact the program knows of it. Adding a release is one
// row of the table in catalogue.cpp and its icon.
struct Release {
  VersionCode code;
  std::u16string_view label;
  std::u16string_view company;     // "Borland", "CodeGear" or "Embarcadero"
  std::u16string_view keyVersion;  // "2.0" to "37.0"
  // Its picture in the release image list and its icon, one per family.
  int image;
  // The library tabs and keys, in the order the editor shows the tabs and
  // the launch writes the keys; none for a release that keeps its library
  // settings in one key without a platform.
  std::span<const TPlatformType> platforms = {};
  // The value of the installation key that names the executable.
  std::u16string_view executableValue = u"APP";
  // The registry value name of the library's search path.
  std::u16string_view searchPathValue = u"Search Path";
  // Installed for the machine with one fixed settings key ("DELPHI"), so
  // no alternate key.
  bool machineWide = false;
  // Design-time packages, the personality and cache switches and alternate
  // settings keys.
  bool packages = false;
  // The embedded form designer option.
  bool designer = false;
  // May come with a 64-bit IDE beside the 32-bit one ("App x64").
  bool ide64 = false;
  // Builds with MSBuild, whose copy of the library settings the IDE renews
  // from the registry at its start when the key asks it to.
  bool msbuild = false;
  // Editions may lack platforms: the launch writes a platform's library key
  // only where it exists or the profile holds a value for it, so an
  // edition never gets a key it does not know.
  bool onlyKnownPlatforms = false;
  // The "ProjectVersion" values of the project files (.dproj) it makes, ""
  // for one without the value; and whether it makes .bdsproj and .bdsgroup
  // files.
  std::span<const std::u16string_view> projectVersions = {};
  bool bdsProjects = false;
};

// The releases, oldest first: Delphi 2 to Delphi 13 Florence.
std::span<const Release> Releases();
// The release of a code, or nullptr for a value that is no release.
const Release* FindRelease(VersionCode code);
// The facts of a code: its release's, or none (every trait off, no image
// and no platform) for a value that is no release.
const Release& ReleaseFacts(VersionCode code);

// The installed releases, any number of them.
class InstalledVersionSet {
 public:
  InstalledVersionSet() = default;
  InstalledVersionSet(std::initializer_list<VersionCode> codes) {
    for (VersionCode code : codes) Add(code);
  }
  void Add(VersionCode code);
  bool Contains(VersionCode code) const;
  bool Empty() const;
  // The codes, oldest first.
  std::vector<VersionCode> Codes() const;

 private:
  // By the release's place in Releases().
  std::vector<bool> installed_;
};
bool IsVersionInstalled(const InstalledVersionSet& installed, VersionCode code);

// Keys and values below an IDE's settings key that the program reads and
// writes.
namespace ide {
inline constexpr std::u16string_view kFormDesign = u"Form Design";
inline constexpr std::u16string_view kEmbeddedDesigner = u"Embedded Designer";
inline constexpr std::u16string_view kKnownPackages = u"Known Packages";
inline constexpr std::u16string_view kDisabledPackages = u"Disabled Packages";
// The 64-bit IDE's: its executable in the installation's key, and its own
// package keys beside the 32-bit IDE's.
inline constexpr std::u16string_view kApp64 = u"App x64";
inline constexpr std::u16string_view kKnownPackages64 = u"Known Packages x64";
inline constexpr std::u16string_view kDisabledPackages64 = u"Disabled Packages x64";
// The package keys of the IDE a profile starts, the 64-bit one or not.
constexpr std::u16string_view KnownPackages(bool ide64) { return ide64 ? kKnownPackages64 : kKnownPackages; }
constexpr std::u16string_view DisabledPackages(bool ide64) { return ide64 ? kDisabledPackages64 : kDisabledPackages; }
// The user's environment variables the IDE sets for itself and the
// programs it starts; the 64-bit IDE of 13 Florence may have its own.
inline constexpr std::u16string_view kEnvironmentVariables = u"Environment Variables";
inline constexpr std::u16string_view kEnvironmentVariables64 = u"Environment Variables x64";
// Set to "1" after the library values change outside the IDE, so that the
// IDE renews MSBuild's copy of them (EnvOptions.proj) at its next start.
inline constexpr std::u16string_view kGlobals = u"Globals";
inline constexpr std::u16string_view kForceEnvOptionsUpdate = u"ForceEnvOptionsUpdate";
}  // namespace ide

// The release's settings key, with a leading and a trailing "\". The base
// "BDS" gives way to the alternate name without the blanks around it when
// useAltReg is set and the name is not blank; releases 2 to 7 have a fixed
// key. "" for a value that is no release.
std::u16string IdeRegistryKey(VersionCode code, bool useAltReg, std::u16string_view altReg);

// The image of the release in the release image list; -1 for a value that
// is no release.
int VersionImageIndex(VersionCode code);

// Where the installation is recorded: root, key (without trailing "\") and
// the value holding the executable's full path.
RegistryRoot InstallationRoot(VersionCode code);
std::u16string InstallationKey(VersionCode code);
std::u16string_view ExecutableValueName(VersionCode code);

// Recomputes the installed set: clears it, then examines every release,
// newest first, and sets the bit of each whose recorded executable exists.
// A registry error stops it at once; the bits set so far stay.
void DetectInstalledVersions(RegistryFactory& registries, FileSystem& files, InstalledVersionSet& installed);

// The executable path the registry records for the release, unchecked; ""
// when the key or the value is missing or the code is no release.
std::u16string GetIdeExePath(RegistryFactory& registries, VersionCode code);
// The same of the 64-bit IDE ("App x64"), for releases that may have one.
std::u16string GetIde64ExePath(RegistryFactory& registries, VersionCode code);
// Whether the release's 64-bit IDE is installed: "App x64" names a file.
bool Ide64Installed(RegistryFactory& registries, FileSystem& files, VersionCode code);

// The items of the release combo box: installed releases, newest first.
struct VersionComboItem {
  std::u16string_view label;
  VersionCode code;
};
std::vector<VersionComboItem> VersionComboItems(const InstalledVersionSet& installed);

}  // namespace ombrisk
