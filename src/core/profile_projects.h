// The profile each project was last opened in, so that opening it again
// from Explorer starts the same setup: the section "Projects" of the
// settings file, numbered pairs "PROJECT_PATH%d" and "PROJECT_PROFILE%d"
// followed by "PROJECT_Count" (read as the disabled packages are). Paths and
// profile names compare as Windows compares them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_file.h"
#include "core/text_comparer.h"

namespace ombrisk {

struct ProjectPairing {
  std::u16string path;
  std::u16string profile;
  bool operator==(const ProjectPairing&) const = default;
};

// The pairings in their order; pairs without a path are left out.
std::vector<ProjectPairing> ReadProjectPairings(const SettingsFile& file);
// The profile remembered for the file, if any.
std::optional<std::u16string> RememberedProfile(const SettingsFile& file, std::u16string_view path,
                                                const CaseMapping& mapping);
// Remembers the profile for the file: the newest choice for a file
// replaces an older one and comes last.
void RememberProject(SettingsFile& file, std::u16string_view path, std::u16string_view profile,
                     const CaseMapping& mapping);
// The profile's pairings follow it to its new name, or go with it where it
// has none (deleted).
void RenameProjectProfile(SettingsFile& file, std::u16string_view profile, std::optional<std::u16string_view> newName,
                          const CaseMapping& mapping);

}  // namespace ombrisk
