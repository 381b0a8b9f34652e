#include "core/alternate_key.h"

#include "core/launch_backup.h"
#include "core/profile_store.h"
#include "core/text.h"

namespace ombrisk {

std::optional<AlternateKey> OwnAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg) {
  const std::u16string name(altReg);
  const std::u16string_view trimmed = Trim(altReg);
  if (!ReleaseFacts(code).packages || !useAltReg || trimmed.empty() || AsciiUpper(trimmed) == u"BDS") {
    return std::nullopt;
  }
  std::u16string path = IdeRegistryKey(code, true, name);
  std::u16string base = IdeRegistryKey(code, false, u"");
  path.pop_back();
  base.pop_back();
  return AlternateKey{name, std::move(path), std::move(base)};
}

void CopyBaseKey(Registry& registry, const AlternateKey& key) {
  // The base key as a backup would give it back, moved to the key.
  std::vector<ScriptKey> copy = CaptureWholeKey(registry, key.base);
  if (copy.size() < 2) return;
  RegistryScript script;
  script.keys.push_back(ScriptKey{key.path, true, {}});
  for (std::size_t at = 1; at < copy.size(); ++at) {
    copy[at].path.replace(0, key.base.size(), key.path);
    script.keys.push_back(std::move(copy[at]));
  }
  ApplyRegistryScript(registry, script);
}

RegistryScript WholeKeyBackup(Registry& registry, const AlternateKey& key, std::u16string_view profile) {
  return RegistryScript{std::u16string(profile), CaptureWholeKey(registry, key.path)};
}

bool AnotherProfileUsesKey(const SettingsFile& file, std::u16string_view profile, VersionCode code,
                           const AlternateKey& key) {
  const std::u16string own = AsciiUpper(ProfileSection(profile));
  for (const std::u16string& section : file.ReadSections()) {
    if (!section.starts_with(keys::kProfilePrefix) || AsciiUpper(section) == own) continue;
    if (file.ReadInteger(section, profile_keys::kVersion.name, 0) != code) continue;
    const std::optional<AlternateKey> other =
        OwnAlternateKey(code, file.ReadBool(section, profile_keys::kUseAltReg.name, false),
                        file.ReadString(section, profile_keys::kAltReg.name, u""));
    if (other && AsciiUpper(other->name) == AsciiUpper(key.name)) return true;
  }
  return false;
}

}  // namespace ombrisk
