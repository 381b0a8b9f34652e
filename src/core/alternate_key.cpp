#include "core/alternate_key.h"

#include <algorithm>

#include "core/errors.h"
#include "core/launch_backup.h"
#include "core/profile_store.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

// One key name or a path of them: no blank level, no control character, and
// no quote, which the IDE's command line removes.
bool IsPlainKeyName(std::u16string_view name) {
  if (name.empty() || name.starts_with(u'\\') || name.ends_with(u'\\') || name.find(u"\\\\") != name.npos) {
    return false;
  }
  return std::none_of(name.begin(), name.end(), [](char16_t c) { return c < u' ' || c == u'"'; });
}

KeyIdentity BaseKeyOf(VersionCode code, const CaseMapping& mapping) {
  return KeyIdentity(IdeRegistryKey(code, false, u""), mapping);
}

}  // namespace

std::optional<std::u16string> AlternateKeyRefusal(VersionCode code, bool useAltReg, std::u16string_view altReg,
                                                  const CaseMapping& mapping) {
  const std::u16string_view name = Trim(altReg);
  if (!ReleaseFacts(code).packages || !useAltReg || name.empty()) return std::nullopt;
  if (!IsPlainKeyName(name)) return Format(texts::kAltRegInvalid, {altReg});
  const KeyIdentity key(IdeRegistryKey(code, true, name), mapping);
  if (key == BaseKeyOf(code, mapping)) return std::nullopt;
  for (const Release& release : Releases()) {
    const KeyIdentity other = BaseKeyOf(release.code, mapping);
    if (release.code == code ? key.Within(other) : key.Overlaps(other)) {
      return Format(texts::kAltRegOverlaps, {altReg, release.label});
    }
  }
  return std::nullopt;
}

void CheckAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg, const CaseMapping& mapping) {
  if (std::optional<std::u16string> refusal = AlternateKeyRefusal(code, useAltReg, altReg, mapping)) {
    throw AppError(std::move(*refusal));
  }
}

std::optional<AlternateKey> OwnAlternateKey(VersionCode code, bool useAltReg, std::u16string_view altReg,
                                            const CaseMapping& mapping) {
  const std::u16string_view name = Trim(altReg);
  if (!ReleaseFacts(code).packages || !useAltReg || name.empty() ||
      AlternateKeyRefusal(code, useAltReg, altReg, mapping)) {
    return std::nullopt;
  }
  std::u16string path = IdeRegistryKey(code, true, name);
  std::u16string base = IdeRegistryKey(code, false, u"");
  if (KeyIdentity(path, mapping) == KeyIdentity(base, mapping)) return std::nullopt;
  path.pop_back();
  base.pop_back();
  return AlternateKey{std::u16string(name), std::move(path), std::move(base)};
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

OtherProfileKey OtherProfileWithKey(const SettingsFile& file, std::u16string_view profile, const AlternateKey& key,
                                    const CaseMapping& mapping) {
  const std::u16string own = ProfileSection(profile);
  const KeyIdentity identity(key.path, mapping);
  OtherProfileKey found;
  for (const std::u16string& section : file.ReadSections()) {
    if (!section.starts_with(keys::kProfilePrefix) || mapping.Equal(section, own)) continue;
    const ProfileRecord other = ReadStoredProfile(file, section, KeyRows());
    const std::u16string path = IdeRegistryKey(other.version, other.useAltReg, other.altReg);
    if (path.empty()) continue;
    const KeyIdentity otherKey(path, mapping);
    if (!otherKey.Overlaps(identity)) continue;
    const KeySharing sharing = otherKey == identity ? KeySharing::Same : KeySharing::Nested;
    if (found.sharing == KeySharing::None || sharing == KeySharing::Nested) {
      found = {sharing, section.substr(keys::kProfilePrefix.size())};
    }
    if (sharing == KeySharing::Nested) break;
  }
  return found;
}

void CheckNotNested(const SettingsFile& file, std::u16string_view profile, const AlternateKey& key,
                    const CaseMapping& mapping) {
  const OtherProfileKey other = OtherProfileWithKey(file, profile, key, mapping);
  if (other.sharing == KeySharing::Nested) throw AppError(Format(texts::kAltRegOverlaps, {key.name, other.profile}));
}

}  // namespace ombrisk
