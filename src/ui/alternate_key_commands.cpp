#include "ui/alternate_key_commands.h"

#include "core/errors.h"
#include "core/launch_backup.h"
#include "core/profile_launch_record.h"
#include "core/running_ide.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

void ShowError(const Services& services, HWND owner, std::u16string_view text) {
  services.showMessage(owner, texts::kErrorCaption, text, MB_TASKMODAL | MB_ICONERROR | MB_OK);
}

void BackUpWholeKey(const Services& services, const ProfileStore& store, Registry& registry, VersionCode code,
                    const AlternateKey& key, std::u16string_view profile) {
  WriteLaunchBackup(services.files, BackupFolder(store.Path()), code, key.path, WholeKeyBackup(registry, key, profile),
                    LocalTimeNow(), services.comparer.Mapping());
}

}  // namespace

bool RefusedWhileIdeRuns(const Services& services, HWND owner, std::u16string_view key) {
  const std::optional<VersionCode> running =
      IdeUsingKey(services.runningProcesses, services.registries, services.files, key, services.comparer.Mapping());
  if (!running) return false;
  ShowError(services, owner, Format(texts::kIdeRunningRefusal, {FindRelease(*running)->label, ShownKey(key)}));
  return true;
}

bool CopyBaseKeyOffered(const Services& services, VersionCode code, bool chosen, std::u16string_view altReg) {
  const CaseMapping& mapping = services.comparer.Mapping();
  return OwnAlternateKey(code, chosen, altReg, mapping) || AlternateKeyRefusal(code, chosen, altReg, mapping);
}

bool CopyBaseKeyOnRequest(const Services& services, const ProfileStore& store, HWND owner, VersionCode code,
                          std::u16string_view altReg, std::u16string_view profile) {
  const CaseMapping& mapping = services.comparer.Mapping();
  const std::optional<AlternateKey> key = OwnAlternateKey(code, true, altReg, mapping);
  try {
    CheckAlternateKey(code, true, altReg, mapping);
    if (key) CheckNotNested(*store.Open(), profile, *key, mapping);
  } catch (const AppError& refusal) {
    ShowError(services, owner, refusal.Message());
    return false;
  }
  if (!key || RefusedWhileIdeRuns(services, owner, key->path)) return false;
  const std::unique_ptr<Registry> registry = services.registries.Create();
  if (registry->KeyExists(key->path) &&
      !AskYesNo(services, owner, Format(texts::kReplaceAltKeyQuestion, {ShownKey(key->path), ShownKey(key->base)}))) {
    return false;
  }
  BackUpWholeKey(services, store, *registry, code, *key, profile);
  CopyBaseKey(*registry, *key);
  LaunchRecords(services.files, services.comparer, store.Path()).Forget(key->path);
  return true;
}

bool DeleteProfileAndItsKey(const Services& services, const ProfileStore& store, HWND owner,
                            const ListedProfile& profile) {
  const CaseMapping& mapping = services.comparer.Mapping();
  const std::unique_ptr<SettingsFile> file = store.Open();
  const ProfileRecord stored = ReadStoredProfile(*file, ProfileSection(profile.name), KeyRows());
  // A name the key may not have is never deleted.
  const std::optional<AlternateKey> key = OwnAlternateKey(profile.code, stored.useAltReg, stored.altReg, mapping);
  const std::unique_ptr<Registry> registry = services.registries.Create();
  const bool deletesKey = key && registry->KeyExists(key->path) &&
                          OtherProfileWithKey(*file, profile.name, *key, mapping).sharing == KeySharing::None &&
                          AskYesNo(services, owner, Format(texts::kDeleteAltKeyQuestion, {ShownKey(key->path)}));
  if (deletesKey) {
    if (RefusedWhileIdeRuns(services, owner, key->path)) return false;
    BackUpWholeKey(services, store, *registry, profile.code, *key, profile.name);
  }
  store.Delete(profile.name);
  if (deletesKey) {
    // The profile is gone; a key that stays is told, and its backup kept.
    try {
      registry->DeleteKey(key->path);
    } catch (const AppError& error) {
      ShowError(services, owner, error.Message());
    }
  }
  return true;
}

}  // namespace ombrisk
