// The program's command line: "/launch NAME" starts a profile's IDE without
// the window, and the texts a shortcut to a profile carries.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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
  enum class Kind { Window, Launch, Open, Usage };
  Kind kind = Kind::Window;
  // The profile to launch, and a file for its IDE to open in place of the
  // profile's parameters ("" for none), as given.
  std::u16string name;
  std::u16string file;
  // The exit code after the usage text: 0 when it was asked for ("/?"), 1
  // after a mistake.
  int exitCode = 0;
};

// None: the window. "/launch NAME [FILE]" (also "-launch", letters in any
// case): the launch. "/open FILE": the file opened in its profile. "/?" or
// "-?": the usage text. Anything else, also a missing NAME or FILE or more
// arguments after FILE: the usage text after a mistake.
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

}  // namespace ombrisk
