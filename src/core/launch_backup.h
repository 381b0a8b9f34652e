// The way back from a launch: what a launch writes below the release's
// settings key, the registry script that puts back what those writes
// replace, the folder of such scripts beside the settings file, and the
// restore of one of them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "core/catalogue.h"
#include "core/file_system.h"
#include "core/registry.h"
#include "core/registry_script.h"

namespace ombrisk {

// A key a launch writes: replaced whole (deleted, then created with the
// values) or only given the values.
struct LaunchKeyWrite {
  std::u16string path;
  bool replaced = false;
  // A key that can be neither opened nor created is passed over.
  bool skippedWhenUnopenable = false;
  std::vector<std::pair<std::u16string, std::u16string>> values;
};

struct LaunchWrites {
  std::u16string settingsKey;  // with a trailing "\"
  std::vector<LaunchKeyWrite> keys;
};

// The writes, key by key in order.
void ApplyLaunchWrites(Registry& registry, const LaunchWrites& writes);

// What gives the key back exactly: the key removed, then, where it exists,
// created again with every value (type and bytes) and sub key, in the
// registry's enumeration order, parents first.
std::vector<ScriptKey> CaptureWholeKey(Registry& registry, std::u16string_view path);

// The script that undoes the writes: a replaced key as it stands (removed,
// then its values and sub keys again where it exists), each value the
// writes set with its data or as deleted, and a key the writes would create
// removed from its highest missing level below the settings key.
RegistryScript CaptureBeforeLaunch(Registry& registry, const LaunchWrites& writes, std::u16string_view profile);

struct BackupTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool operator==(const BackupTime&) const = default;
  friend bool operator<(const BackupTime& a, const BackupTime& b) {
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
  }
};
BackupTime LocalTimeNow();
// "2026/12/09 15:30:12"
std::u16string DisplayTime(const BackupTime& time);

inline constexpr std::size_t kBackupsPerKey = 20;
// "Ombrisk.backup" in the settings file's folder.
std::u16string BackupFolder(std::u16string_view settingsPath);

// Writes the script as "<code>_<base>_<yyyymmdd-hhmmss>.reg" (with "_2",
// "_3" and so on where that name is taken) into the folder, creating it,
// then removes the oldest backups of the release and base beyond
// kBackupsPerKey. Throws AppError (kBackupFailed) when the folder or the
// file cannot be written.
void WriteLaunchBackup(FileSystem& files, std::u16string_view folder, VersionCode code, std::u16string_view settingsKey,
                       const RegistryScript& script, const BackupTime& time);

// A backup as its file name tells it, and the profile its script names
// ("" where the script cannot be read).
struct BackupEntry {
  std::u16string path;
  VersionCode code = 0;
  std::u16string base;
  BackupTime time;
  int sequence = 1;
  std::u16string profile;
};
// The folder's backups, newest first.
std::vector<BackupEntry> ListBackups(FileSystem& files, std::u16string_view folder);

// Applies the backup through the registry layer. A file that is no intact
// script of the program's, or names any key that is not one settings key of
// a release (\Software\<vendor>\<base>\<version>, any base) or below it,
// is refused with AppError (kBackupRefused) before anything is written.
void RestoreBackup(RegistryFactory& registries, FileSystem& files, std::u16string_view path);

}  // namespace ombrisk
