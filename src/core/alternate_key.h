// A profile's alternate settings key as a setup of its own: created from
// the release's base key (the user's setup) rather than from the IDE's
// installation defaults, replaced by it on request, and deleted with the
// last profile that uses it, each undoable from a backup of the whole key.
// Which key a name is, and whether the program may touch it, is decided by
// the key's identity as the registry resolves it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/catalogue.h"
#include "core/key_identity.h"
#include "core/registry.h"
#include "core/registry_script.h"
#include "core/settings_file.h"

namespace ombrisk {

// An alternate key the program may create, replace or delete.
struct AlternateKey {
  std::u16string name;  // without the blanks around it, as the launch writes it
  // IdeRegistryKey(code, true, name) and IdeRegistryKey(code, false, ""),
  // without their trailing "\".
  std::u16string path;
  std::u16string base;
};

// Why a profile of the release may not use the alternate key it names (the
// message the user is shown), for releases 8 and later where it is chosen
// and not blank: a name that is no plain key name (a "\" at its start or
// end or two in a row, a character below U+0020, or a quote, which the
// IDE's command line cannot carry), or one whose key is, holds or lies
// inside another release's settings key or lies inside its own release's.
// The base key's own name ("BDS", as the registry compares it) is no
// refusal: it is the base key.
std::optional<std::u16string> AlternateKeyRefusal(VersionCode code, bool useAltReg, std::u16string_view altReg,
                                                  const CaseMapping& mapping);
// Throws AppError with the refusal, where there is one.
void CheckAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg, const CaseMapping& mapping);

// The key a profile names, for releases 8 and later where it is chosen and
// named (not blank) and not refused; nothing otherwise, and nothing for the
// base key, which is never copied into, replaced or deleted.
std::optional<AlternateKey> OwnAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg,
                                            const CaseMapping& mapping);

// Replaces the key by a copy of the base key, whole: every sub key and
// value with its type and bytes, values and sub keys in the base key's
// enumeration order (the IDE loads packages in registry order). Nothing is
// changed where the base key does not exist. Throws AppError on a registry
// error, also when the key cannot be deleted first (then nothing is
// written).
void CopyBaseKey(Registry& registry, const AlternateKey& key);

// The backup script that gives the key back as it is now (removed where it
// does not exist), naming the profile.
RegistryScript WholeKeyBackup(Registry& registry, const AlternateKey& key, std::u16string_view profile);

// How another profile's settings key (of any release) meets the key.
enum class KeySharing {
  None,
  Same,    // the same key
  Nested,  // it holds the key or lies inside it
};
struct OtherProfileKey {
  KeySharing sharing = KeySharing::None;
  std::u16string profile;  // the first such profile, a nested one first
};
OtherProfileKey OtherProfileWithKey(const SettingsFile& file, std::u16string_view profile, const AlternateKey& key,
                                    const CaseMapping& mapping);

// The refusal of a copy into, or a creation of, a key that holds or lies
// inside another profile's key: AppError naming the key and that profile.
void CheckNotNested(const SettingsFile& file, std::u16string_view profile, const AlternateKey& key,
                    const CaseMapping& mapping);

}  // namespace ombrisk
