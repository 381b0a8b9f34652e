// A profile's alternate settings key as a setup of its own: created from
// the release's base key (the user's setup) rather than from the IDE's
// installation defaults, replaced by it on request, and deleted with the
// last profile that uses it, each undoable from a backup of the whole key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/catalogue.h"
#include "core/registry.h"
#include "core/registry_script.h"
#include "core/settings_file.h"

namespace ombrisk {

// An alternate key the program may create, replace or delete.
struct AlternateKey {
  std::u16string name;  // as the -r switch and the launch's writes take it
  // IdeRegistryKey(code, true, name) and IdeRegistryKey(code, false, ""),
  // without their trailing "\".
  std::u16string path;
  std::u16string base;
};

// The key a profile names, for releases 8 and later where it is chosen and
// named (not blank); nothing otherwise, and nothing for a name that is the
// base key's ("BDS" in any letter case, blanks around it ignored), which is
// never copied into, replaced or deleted.
std::optional<AlternateKey> OwnAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg);

// Replaces the key by a copy of the base key, whole: every sub key and
// value with its type and bytes, values and sub keys in the base key's
// enumeration order (the IDE loads packages in registry order). Nothing is
// changed where the base key does not exist. Throws AppError on a registry
// error.
void CopyBaseKey(Registry& registry, const AlternateKey& key);

// The backup script that gives the key back as it is now (removed where it
// does not exist), naming the profile.
RegistryScript WholeKeyBackup(Registry& registry, const AlternateKey& key, std::u16string_view profile);

// Whether a profile of the file other than the named one uses the key: the
// same release, the alternate key chosen, the same name (letter case
// ignored).
bool AnotherProfileUsesKey(const SettingsFile& file, std::u16string_view profile, VersionCode code,
                           const AlternateKey& key);

}  // namespace ombrisk
