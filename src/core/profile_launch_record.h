// What the last launch into each settings key wrote there for the settings a
// profile manages (the list settings: the disabled packages, the designer
// setting, the library values, the environment variables) and which profile
// wrote it, so that the next launch can tell what the IDE or an installer
// changed since and offer to take it into the profile. The records live
// beside the launch backups, in the settings file's format: a section per
// key (named by its identity), "Profile", then the profile's own keys of
// those settings.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/profile_list_settings.h"
#include "core/profile_record.h"
#include "core/registry.h"
#include "core/text_comparer.h"

namespace ombrisk {

inline constexpr std::u16string_view kLaunchRecordFile = u"LastLaunches.ini";

struct LaunchRecord {
  std::u16string profile;
  // What the launch wrote, as a stored profile of those rows reads.
  ProfileRecord written;
};

class LaunchRecords {
 public:
  // The records beside the launch backups of the settings file.
  LaunchRecords(FileSystem& files, const TextComparer& comparer, std::u16string_view settingsPath);

  // The record of the last launch into the key (as the registry resolves
  // it), if the program launched into it.
  std::optional<LaunchRecord> Read(std::u16string_view settingsKey) const;
  // Replaces the key's record by what a launch of the profile writes there
  // (the stored record as the launch uses it). A record that cannot be
  // written refuses the launch as its backup would (AppError kBackupFailed).
  void Write(std::u16string_view settingsKey, std::u16string_view profile, const ProfileRecord& written) const;
  // Drops the key's record: the program itself gave the key other values
  // (a backup restored, the base key copied into it), which are no changes
  // of the IDE's to take in.
  void Forget(std::u16string_view settingsKey) const;
  // The profile's records follow it to its new name, or go with it where it
  // has none (deleted). Names compare as the settings file compares them.
  void Rename(std::u16string_view profile, std::optional<std::u16string_view> newName) const;

 private:
  FileSystem& files_;
  const TextComparer& comparer_;
  std::u16string folder_;
  std::u16string path_;
};

// What the key holds now otherwise than the recorded launch wrote it, each
// list setting's changes in turn.
std::vector<SettingChange> ChangesSinceLaunch(Registry& registry, std::u16string_view settingsKey,
                                              const ProfileRecord& written, const CaseMapping& mapping);
// Takes the changes' present values into the stored profile.
void TakeInChanges(std::span<const SettingChange> changes, const CaseMapping& mapping, ProfileRecord& stored);

}  // namespace ombrisk
