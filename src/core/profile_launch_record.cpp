#include "core/profile_launch_record.h"

#include "core/key_identity.h"
#include "core/launch_backup.h"
#include "core/profile_store.h"
#include "core/settings_file.h"
#include "core/text.h"

namespace ombrisk {

namespace {

constexpr std::u16string_view kProfileKey = u"Profile";

// The key's section: its identity, levels joined by "\".
std::u16string RecordSection(std::u16string_view settingsKey, const CaseMapping& mapping) {
  const KeyIdentity identity(settingsKey, mapping);
  std::u16string section;
  for (const std::u16string& level : identity.Levels()) {
    section += section.empty() ? level : Concat({u"\\", level});
  }
  return section;
}

}  // namespace

LaunchRecords::LaunchRecords(FileSystem& files, const TextComparer& comparer, std::u16string_view settingsPath)
    : files_(files),
      comparer_(comparer),
      folder_(BackupFolder(settingsPath)),
      path_(Concat({folder_, u"\\", kLaunchRecordFile})) {}

std::optional<LaunchRecord> LaunchRecords::Read(std::u16string_view settingsKey) const {
  const SettingsFile file(files_, comparer_, path_);
  const std::u16string section = RecordSection(settingsKey, comparer_.Mapping());
  if (!file.SectionExists(section)) return std::nullopt;
  return LaunchRecord{file.ReadString(section, kProfileKey, u""), ReadStoredProfile(file, section, LaunchRecordRows())};
}

void LaunchRecords::Write(std::u16string_view settingsKey, std::u16string_view profile,
                          const ProfileRecord& written) const {
  std::string content;
  {
    // Let go of before the file is replaced.
    SettingsFile file(files_, comparer_, path_);
    const std::u16string section = RecordSection(settingsKey, comparer_.Mapping());
    file.EraseSection(section);
    file.WriteString(section, kProfileKey, profile);
    WriteProfileRows(file, section, written, LaunchRecordRows());
    content = file.FileContent();
  }
  if (const std::u16string error = files_.CreateFolder(folder_); !error.empty()) ThrowBackupFailed(folder_, error);
  if (const std::u16string error = files_.WriteFile(path_, content); !error.empty()) ThrowBackupFailed(path_, error);
}

void LaunchRecords::Forget(std::u16string_view settingsKey) const {
  if (!files_.FileExists(path_)) return;
  SettingsFile file(files_, comparer_, path_);
  const std::u16string section = RecordSection(settingsKey, comparer_.Mapping());
  if (!file.SectionExists(section)) return;
  file.EraseSection(section);
  file.UpdateFile();
}

void LaunchRecords::Rename(std::u16string_view profile, std::optional<std::u16string_view> newName) const {
  if (!files_.FileExists(path_)) return;
  SettingsFile file(files_, comparer_, path_);
  bool changed = false;
  for (const std::u16string& section : file.ReadSections()) {
    if (!comparer_.Mapping().Equal(file.ReadString(section, kProfileKey, u""), profile)) continue;
    if (newName) {
      file.WriteString(section, kProfileKey, *newName);
    } else {
      file.EraseSection(section);
    }
    changed = true;
  }
  if (changed) file.UpdateFile();
}

std::vector<SettingChange> ChangesSinceLaunch(Registry& registry, std::u16string_view settingsKey,
                                              const ProfileRecord& written, const CaseMapping& mapping) {
  registry.SetRootKey(RegistryRoot::CurrentUser);
  std::vector<SettingChange> changes;
  for (const ListSetting& setting : ListSettings()) {
    const std::size_t before = changes.size();
    setting.compare(registry, settingsKey, written, mapping, changes);
    for (std::size_t at = before; at < changes.size(); ++at) changes[at].setting = &setting;
  }
  return changes;
}

void TakeInChanges(std::span<const SettingChange> changes, const CaseMapping& mapping, ProfileRecord& stored) {
  for (const SettingChange& change : changes) change.setting->takeIn(change, mapping, stored);
}

}  // namespace ombrisk
