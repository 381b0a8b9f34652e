// The profiles in the settings file: their sections and the keys they hold.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings_file.h"

namespace ombrisk {

// The section of a profile: "PREF_" and the name.
std::u16string ProfileSection(std::u16string_view name);

// A package the profile disables: "PKG_PATH%d" and "PKG_NAME%d" of one
// number.
struct DisabledPackage {
  std::u16string path;
  std::u16string name;
};

// The profile's pairs for the numbers 1 to "PKG_Count", in order, as
// reading every number would give them (a missing key reads as ""), but
// without visiting the numbers beyond the last one the section has a key
// for: those all read as two empty texts, and stand as one such pair at the
// end. So any count, however large, costs what the section holds.
std::vector<DisabledPackage> DisabledPackages(const SettingsFile& file, std::u16string_view section);

}  // namespace ombrisk
