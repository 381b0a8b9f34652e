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
// One bit per release (Release::bit); the other bits stay clear.
using InstalledVersionSet = std::uint32_t;

struct Release {
  VersionCode code;
  std::u16string_view label;
  std::uint32_t bit;
  std::u16string_view company;     // "Borland", "CodeGear" or "Embarcadero"
  std::u16string_view keyVersion;  // "2.0" to "14.0"
};

// The nineteen releases, oldest first.
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
}  // namespace ide

// The release's settings key, with a leading and a trailing "\". The base
// "BDS" gives way to the alternate name when useAltReg is set and the name is
// not empty; releases 2 to 7 have a fixed key. "" for a value that is no
// release.
std::u16string IdeRegistryKey(VersionCode code, bool useAltReg, std::u16string_view altReg);

// The image of the release in the release image list, by ranges; -1 outside.
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

// The items of the release combo box: installed releases, newest first.
struct VersionComboItem {
  std::u16string_view label;
  VersionCode code;
};
std::vector<VersionComboItem> VersionComboItems(InstalledVersionSet installed);

}  // namespace ombrisk
