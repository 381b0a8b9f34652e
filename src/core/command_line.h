// The program's command line: "/launch NAME" starts a profile's IDE without
// the window, and the texts a shortcut to a profile carries.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_system.h"
#include "core/launch.h"
#include "core/profile_list.h"
#include "core/registry.h"
#include "core/text_comparer.h"

namespace ombrisk {

// The profile a user chose to open a file in, and whether to open the file
// there from now on.
struct ProfileChoice {
  std::u16string name;
  bool remember = true;
};

// What the arguments after the program's name ask for.
struct CommandLineRequest {
  enum class Kind { Window, Launch, Open, Apply, Export, Import, Usage };
  Kind kind = Kind::Window;
  // The profile to launch or apply, and a file for its IDE to open in place
  // of the profile's parameters ("" for none) or to export into or import
  // from, as given.
  std::u16string name;
  std::u16string file;
  // The profiles to export (every one where none).
  std::vector<std::u16string> names;
  // The exit code after the usage text: 0 when it was asked for ("/?"), 1
  // after a mistake, 2 after a mistake in a script's command, whose usage
  // goes to the console (console).
  int exitCode = 0;
  bool console = false;
};

// None: the window. "/launch NAME [FILE]" (also "-launch", letters in any
// case): the launch. "/open FILE": the file opened in its profile. The
// scripts' commands, which show no window: "/apply NAME", "/export FILE
// [NAME ...]", "/import FILE". "/?" or "-?": the usage text. Anything else,
// also a missing NAME or FILE or more arguments than a command takes: the
// usage text after a mistake, on the console for a script's command.
CommandLineRequest ParseCommandLine(std::span<const std::u16string> arguments);

// The text as one argument that the Windows rules of splitting a command
// line give back unchanged: in quotes, a quote and the backslashes before it
// or before the closing quote escaped.
std::u16string QuoteArgument(std::u16string_view text);
// The arguments of a profile's shortcut: /launch "NAME".
std::u16string LaunchArguments(std::u16string_view profileName);

// A profile's shortcut file name without ".lnk": the name with every
// character a file name cannot hold replaced by "_", "_" before a device
// name (CON, NUL, COM1 and so on), cut to at most maxLength code units.
std::u16string ShortcutFileName(std::u16string_view profileName, std::size_t maxLength);

struct CommandLineServices {
  RegistryFactory& registries;
  FileSystem& files;
  const TextComparer& comparer;
  // The running executable; the settings file lies beside it.
  std::u16string executablePath;
  ProcessStarter& processes;
  std::function<void(std::u16string_view message)> reportError;
  // The running processes and the question before launching beside an IDE
  // that uses the profile's key (LaunchServices).
  ProcessLister runningProcesses = nullptr;
  std::function<bool(std::u16string_view question)> confirm = nullptr;
  // The review of what the IDE changed since the profile's last launch.
  std::function<ChangesAnswer(std::span<const SettingChange> changes)> reviewChanges = nullptr;
  // Writes what a script's command has to say besides its errors.
  std::function<void(std::u16string_view message)> tell = nullptr;
  // The time an import's backup is named after.
  std::function<BackupTime()> clock = LocalTimeNow;
  // Asks which profile opens the file (/open): the listed profiles in the
  // list's order, those of the releases that made the file first (madeBy of
  // them). The choice, or none when the user cancelled.
  std::function<std::optional<ProfileChoice>(std::span<const ListedProfile> profiles, std::size_t madeBy,
                                             std::u16string_view file)>
      chooseProfile = nullptr;
};

// Launches the profile the list would show under the name (matched as the
// settings file matches section names, an exact match first), without
// writing the settings file unless changes the IDE made are taken into the
// profile; with a file (a full path), the IDE opens it in
// place of the profile's parameters, and a file that is not there is
// refused before anything else. Returns the exit code: 0 when the IDE
// started, 1 when an error was reported (no such file, no such profile of
// an installed release, an unreadable settings file, a registry error, a
// start that failed).
int LaunchFromCommandLine(const CommandLineServices& services, std::u16string_view name, std::u16string_view file = u"",
                          bool rememberFile = true);

// Opens the file (a full path) in its profile: the one remembered for it
// while it is listed, otherwise the one the user chooses, launched as
// LaunchFromCommandLine does; the choice is remembered where the user asks.
// A file that is not there is refused first. The exit code: 0 when the IDE
// started, 1 otherwise (also when the user cancelled).
int OpenFromCommandLine(const CommandLineServices& services, std::u16string_view file);

// The scripts' commands. Each reports a refusal through reportError and
// what it did through tell, and returns the exit code: 0 done, 1 refused.
// /apply NAME: ApplyProfile on the profile LaunchFromCommandLine would
// launch.
int ApplyFromCommandLine(const CommandLineServices& services, std::u16string_view name);
// /export FILE [NAME ...]: ExportProfiles into the file (a full path).
int ExportFromCommandLine(const CommandLineServices& services, std::u16string_view file,
                          std::span<const std::u16string> names);
// /import FILE: ImportProfiles of the file (a full path), every profile
// whose name exists left out and named; 1 where any was.
int ImportFromCommandLine(const CommandLineServices& services, std::u16string_view file);

}  // namespace ombrisk
