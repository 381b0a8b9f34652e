// The settings of a profile that are more than one value (the disabled
// packages, the designer setting, the library pages, the environment
// variables), each declared once beside the scalar rows of profile_keys::
// how it is stored in the profile's section and read back, imported from
// the IDE's key, laid over an import when the editor opens a stored
// profile, planned into a launch's writes, compared with what the key holds
// once the IDE changed it, and taken in from there. Adding one is a row
// here, its functions in profile_list_settings.cpp, the record's field and
// its page.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/launch_backup.h"
#include "core/profile_record.h"
#include "core/registry.h"
#include "core/settings_file.h"
#include "core/text_comparer.h"

namespace ombrisk {

struct ProfileKey;
struct ListSetting;

// A value of a list setting that the IDE's key holds otherwise than the last
// launch wrote it: a disabled package (by its path; its value is its
// description while it is disabled), the designer setting ("True" or
// "False"), a library value (a platform's row) or an environment variable
// (by its name). A value that is not there is none.
struct SettingChange {
  const ListSetting* setting = nullptr;
  std::u16string name;
  TPlatformType platform = TPlatformType::pftNone;
  std::size_t row = 0;
  std::optional<std::u16string> written;
  std::optional<std::u16string> now;
};
// A change as the changes' dialog shows it.
struct ChangeTexts {
  std::u16string setting, written, now;
};

struct ListSetting {
  // Its row among the profile's keys, which places it in the file.
  const ProfileKey* key;
  // Writes the record's setting into the section.
  void (*save)(SettingsFile& file, std::u16string_view section, const ProfileRecord& record);
  // Reads the setting as the section stores it (the packages the profile
  // disables, whether it holds a designer setting and variables, a page for
  // every platform of the release).
  void (*read)(const SettingsFile& file, std::u16string_view section, ProfileRecord& record);
  // Fills the setting from the IDE's key (base, ending in "\").
  void (*import)(Registry& registry, std::u16string_view base, ProfileRecord& record);
  // Lays the stored setting over an imported record, as the editor shows a
  // stored profile.
  void (*load)(Registry& registry, std::u16string_view base, const ProfileRecord& stored, ProfileRecord& record);
  // Adds what a launch of the stored record writes for it.
  void (*plan)(Registry& registry, const ProfileRecord& stored, LaunchWrites& writes);
  // Appends each value the IDE's key (base) now holds otherwise than a
  // launch wrote it (written: what that launch wrote, read back as a
  // section stores it), names compared as Windows compares them.
  void (*compare)(Registry& registry, std::u16string_view base, const ProfileRecord& written,
                  const CaseMapping& mapping, std::vector<SettingChange>& changes);
  // Takes a change's present value into a stored profile.
  void (*takeIn)(const SettingChange& change, const CaseMapping& mapping, ProfileRecord& stored);
  ChangeTexts (*describe)(const SettingChange& change);
};

// The list settings, in the order a launch writes them.
std::span<const ListSetting> ListSettings();

// The setting a row of the profile's keys stores, or nullptr for a scalar.
const ListSetting* ListSettingOf(const ProfileKey& key);

// Entries stored as numbered pairs of keys, "<first><n>" and "<second><n>"
// from 1, followed by a count key.
struct NumberedPairs {
  std::u16string_view first;
  std::u16string_view second;
  std::u16string_view count;
  // The file trims what it reads: a second text that must keep its blanks
  // is stored in quotes where it needs them.
  bool secondKeepsBlanks = false;
};
// The pairs for the numbers 1 to the count, as reading every number would
// give them (a missing key reads as ""), read by the numbers the section
// has keys for: a run of numbers without keys all read as two empty texts,
// and stands as one such pair. So any count and any numbers cost what the
// section holds.
std::vector<std::pair<std::u16string, std::u16string>> ReadPairs(const SettingsFile& file, std::u16string_view section,
                                                                 const NumberedPairs& pairs);
// Writes the entries numbered from 1, each on one line, then the count.
void WritePairs(SettingsFile& file, std::u16string_view section, const NumberedPairs& pairs,
                std::span<const std::pair<std::u16string_view, std::u16string_view>> entries);

// A package the profile disables: "PKG_PATH%d" and "PKG_NAME%d" of one
// number.
struct DisabledPackage {
  std::u16string path;
  std::u16string name;
};

// The profile's pairs for the numbers 1 to "PKG_Count", in order, as
// reading every number would give them (a missing key reads as ""), but
// read by the numbers the section has keys for: a run of numbers without
// keys reads as two empty texts each, and stands as one such pair. So any
// count and any numbers cost what the section holds.
std::vector<DisabledPackage> DisabledPackages(const SettingsFile& file, std::u16string_view section);

// The profile's variables for the numbers 1 to "ENV_Count", read as the
// packages are, a pair without a name left out; nothing when the section
// has no "ENV_Count" (a profile stored before variables were).
std::optional<std::vector<EnvironmentVariable>> StoredEnvironment(const SettingsFile& file,
                                                                  std::u16string_view section);

}  // namespace ombrisk
