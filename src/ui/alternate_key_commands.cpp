#include "ui/alternate_key_commands.h"

#include "core/launch_backup.h"
#include "core/running_ide.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

bool RefusedWhileIdeRuns(const Services& services, HWND owner, VersionCode code, std::u16string_view keyName) {
  if (!IdeRunsWithKey(services.runningProcesses, services.registries, services.files, code, keyName)) return false;
  const Release* release = FindRelease(code);
  const std::u16string label = release != nullptr ? std::u16string(release->label) : DecimalText(code);
  services.showMessage(owner, texts::kErrorCaption, Format(texts::kIdeRunningRefusal, {label, ShownKey(code, keyName)}),
                       MB_TASKMODAL | MB_ICONERROR | MB_OK);
  return true;
}

namespace {

void BackUpWholeKey(const Services& services, const ProfileStore& store, Registry& registry, VersionCode code,
                    const AlternateKey& key, std::u16string_view profile) {
  WriteLaunchBackup(services.files, BackupFolder(store.Path()), code, key.path, WholeKeyBackup(registry, key, profile),
                    LocalTimeNow());
}

}  // namespace

bool CopyBaseKeyOnRequest(const Services& services, const ProfileStore& store, HWND owner, VersionCode code,
                          const AlternateKey& key, std::u16string_view profile) {
  if (RefusedWhileIdeRuns(services, owner, code, key.name)) return false;
  const std::unique_ptr<Registry> registry = services.registries.Create();
  if (registry->KeyExists(key.path) &&
      !AskYesNo(services, owner,
                Format(texts::kReplaceAltKeyQuestion, {ShownKey(code, key.name), ShownKey(code, u"")}))) {
    return false;
  }
  BackUpWholeKey(services, store, *registry, code, key, profile);
  CopyBaseKey(*registry, key);
  return true;
}

bool DeleteProfileAndItsKey(const Services& services, const ProfileStore& store, HWND owner,
                            const ListedProfile& profile) {
  const std::unique_ptr<SettingsFile> file = store.Open();
  const std::u16string section = ProfileSection(profile.name);
  const std::optional<AlternateKey> key =
      OwnAlternateKey(profile.code, file->ReadBool(section, profile_keys::kUseAltReg.name, false),
                      file->ReadString(section, profile_keys::kAltReg.name, u""));
  const std::unique_ptr<Registry> registry = services.registries.Create();
  const bool deletesKey =
      key && registry->KeyExists(key->path) && !AnotherProfileUsesKey(*file, profile.name, profile.code, *key) &&
      AskYesNo(services, owner, Format(texts::kDeleteAltKeyQuestion, {ShownKey(profile.code, key->name)}));
  if (deletesKey) {
    if (RefusedWhileIdeRuns(services, owner, profile.code, key->name)) return false;
    BackUpWholeKey(services, store, *registry, profile.code, *key, profile.name);
  }
  store.Delete(profile.name);
  if (deletesKey) registry->DeleteKey(key->path);
  return true;
}

}  // namespace ombrisk
