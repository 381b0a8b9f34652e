// The launch: writes a profile into its IDE release's registry key, runs the
// pre-launch command and starts the IDE.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/file_system.h"
#include "core/launch_backup.h"
#include "core/profile_list_settings.h"
#include "core/profile_store.h"
#include "core/registry.h"
#include "core/running_ide.h"

namespace ombrisk {

// The IDE's start-up switches of the record's settings, in the order of
// ProfileKeys, each with its own trailing blank, then the profile's own
// parameters without surrounding blanks and controls.
std::u16string BuildIdeParameters(const ProfileRecord& record);

// Replaces "@$(DELPHI)@" and "@$(BDS)@" (any letter case) by the short form
// of the folder above the executable's folder; "" where there is none.
std::u16string ExpandPreProcessMacros(std::u16string_view text, std::u16string_view exePath, FileSystem& files);

// The process starts of the launch.
class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Runs a command line as it stands; with wait, returns its exit code once
  // it has ended, otherwise 0 at once. A command that cannot start gives 0.
  virtual std::uint32_t RunAndWait(std::u16string_view commandLine, bool wait) = 0;
  // Starts the file through the shell verb "runas", without waiting; false
  // when it did not start.
  virtual bool RunElevated(std::u16string_view file, std::u16string_view parameters) = 0;
  // Starts the file through the shell verb "Open"; false when it did not
  // start.
  virtual bool Open(std::u16string_view file, std::u16string_view parameters) = 0;
  // Whether the system is Windows 6.0 or later, where elevation exists.
  virtual bool SupportsElevation() = 0;
};

// The answer to the changes the IDE (or an installer) made in the key since
// the profile's last launch into it.
struct ChangesAnswer {
  enum class Choice { Cancel, LaunchAsStored, TakeIn };
  Choice choice = Choice::Cancel;
  // With TakeIn: which of the changes, in their order.
  std::vector<bool> taken;
};

// What the launch needs of its surroundings.
struct LaunchServices {
  const ProfileStore& store;
  RegistryFactory& registries;
  ProcessStarter& processes;
  // Lets the window's pending messages be processed.
  std::function<void()> processPendingMessages;
  // Closes the window that launched, which ends the program.
  std::function<void()> closeWindow;
  // The time the launch's backup is named after.
  std::function<BackupTime()> clock = LocalTimeNow;
  // The running processes, among which an IDE that uses the profile's key
  // is looked for; unset, none is.
  ProcessLister runningProcesses = nullptr;
  // Asks the question whether to launch all the same; true for Yes.
  std::function<bool(std::u16string_view question)> confirm = nullptr;
  // Shows what the IDE changed in the key since the profile's last launch
  // into it and asks what to do; unset, nothing is launched.
  std::function<ChangesAnswer(std::span<const SettingChange> changes)> reviewChanges = nullptr;
  // A file (a full path) the IDE opens in place of the profile's
  // parameters, for this launch only; "" for the profile's own.
  std::u16string_view file = u"";
  // Whether a launch with a file remembers the profile for the file
  // (profile_projects.*), to open it there again from Explorer.
  bool rememberFile = true;
};

struct LaunchResult {
  // The IDE's executable as the registry names it, and whether it started.
  std::u16string executable;
  bool started = false;
  // The user said No to launching beside an IDE that uses the key: nothing
  // was written or started, and the window stays.
  bool cancelled = false;
};

// Refuses a file to open with a launch that is not there (AppError
// kFileNotFound); nothing for "", the profile's own parameters.
void CheckLaunchFile(FileSystem& files, std::u16string_view file);

// The launch of a profile: a file to open that is not there is refused
// first; when an IDE of the release runs with the
// profile's key, the question whether to launch all the same; where the
// IDE changed in the key what the profile's last launch wrote there, the
// changes reviewed (taken into the profile and saved, or not); then the
// backup of what the registry writes replace with the record of what they
// write,
// the registry writes, the pre-launch command, the IDE start and the closing
// of the window, which comes whether the IDE started or not. A registry
// error ends it with AppError, as do a profile whose section the settings
// file lacks and a backup that cannot be written (then nothing is written
// or started).
LaunchResult LaunchProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName);

// What a launch of the profile does before it starts anything: its checks
// and refusals, the backup, the copy of the base key, the record and the
// registry writes; no pre-launch command, no IDE. Where a launch would ask
// (an IDE runs with the key, the IDE changed what the last launch wrote),
// it refuses instead (AppError, the changes listed), before any write.
void ApplyProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName);

}  // namespace ombrisk
