// The IDE releases the program knows: their codes, labels, registry keys,
// installation records and images, and the operations built on them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/registry.h"

namespace ombrisk {

// A release, numbered so that a later release has a larger code.
using VersionCode = std::int32_t;
// One bit per release (Release::bit), 29 of them; the other bits stay clear.
using InstalledVersionSet = std::uint32_t;

struct Release {
  VersionCode code;
  std::u16string_view label;
  std::uint32_t bit;
  std::u16string_view company;     // "Borland", "CodeGear" or "Embarcadero"
  std::u16string_view keyVersion;  // "2.0" to "37.0"
};

// The releases, oldest first: Delphi 2 to Delphi 13 Florence.
std::span<const Release> Releases();
// The release of a code, or nullptr for a value that is no release.
const Release* FindRelease(VersionCode code);
bool IsVersionInstalled(InstalledVersionSet installed, VersionCode code);

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
}  // namespace ide

// The releases whose IDE has the embedded form designer option.
inline constexpr VersionCode kFirstDesignerRelease = 8;
inline constexpr VersionCode kLastDesignerRelease = 2024;
constexpr bool HasEmbeddedDesigner(VersionCode code) {
  return code >= kFirstDesignerRelease && code <= kLastDesignerRelease;
}
// The releases that may come with a 64-bit IDE beside the 32-bit one.
inline constexpr VersionCode kFirstIde64Release = 2026;
constexpr bool HasIde64(VersionCode code) { return code >= kFirstIde64Release; }

// The release's settings key, with a leading and a trailing "\". The base
// "BDS" gives way to the alternate name when useAltReg is set and the name is
// not empty; releases 2 to 7 have a fixed key. "" for a value that is no
// release.
std::u16string IdeRegistryKey(VersionCode code, bool useAltReg, std::u16string_view altReg);

// The image of the release in the release image list, by ranges; -1 outside.
int VersionImageIndex(VersionCode code);
// The images of that list, one per family of releases.
inline constexpr int kReleaseImageCount = 12;

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
std::vector<VersionComboItem> VersionComboItems(InstalledVersionSet installed);

}  // namespace ombrisk
