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
#include "core/key_identity.h"
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

// Writes the script, recording the settings key (a path below
// HKEY_CURRENT_USER, with or without its trailing "\") in it, as
// "<code>_<base>_<yyyymmdd-hhmmss>.reg" (with "_2", "_3" and so on where
// that name is taken) into the folder, creating it, then removes the oldest
// backups of the same key (as the registry resolves it) beyond
// kBackupsPerKey. Throws AppError (kBackupFailed) when the folder or the
// file cannot be written.
void WriteLaunchBackup(FileSystem& files, std::u16string_view folder, VersionCode code, std::u16string_view settingsKey,
                       RegistryScript script, const BackupTime& time, const CaseMapping& mapping);

// Writes the bytes into the folder, creating it, as
// "<stem>_<yyyymmdd-hhmmss>[_<n>]<extension>" with the first sequence from
// the one given whose name is not taken (1 has none); the file's path.
// Throws AppError (kBackupFailed) when the folder or the file cannot be
// written.
std::u16string WriteBackupFile(FileSystem& files, std::u16string_view folder, std::u16string_view stem,
                               const BackupTime& time, std::u16string_view extension, std::string_view content,
                               int sequence = 1);

// Refuses a launch whose backup cannot be written (AppError kBackupFailed):
// the file or folder, with the system's description where there is one.
[[noreturn]] void ThrowBackupFailed(std::u16string_view path, std::u16string_view error);

// A backup as its file name tells it, and the profile and the settings key
// its script names ("" where the script cannot be read). A script of an
// earlier version, which did not record its key, holds the key its keys lie
// in.
struct BackupEntry {
  std::u16string path;
  VersionCode code = 0;
  std::u16string base;
  BackupTime time;
  int sequence = 1;
  std::u16string profile;
  std::u16string key;
};
// The folder's backups, newest first.
std::vector<BackupEntry> ListBackups(FileSystem& files, std::u16string_view folder);

// The name of a settings key between its company and its version, as the
// backups' list shows it: "BDS", "Team:A", "Client\Main".
std::u16string SettingsKeyName(std::u16string_view settingsKey);

// Applies the backup through the registry layer. A file that is no intact
// script of the program's, or names any key that is not the settings key it
// records (one of a release: \Software\<vendor>\<name>\<version>) or below
// it, is refused with AppError (kBackupRefused) before anything is written.
void RestoreBackup(RegistryFactory& registries, FileSystem& files, std::u16string_view path,
                   const CaseMapping& mapping);

}  // namespace ombrisk
