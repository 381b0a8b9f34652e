#include "core/command_line.h"

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "core/errors.h"
#include "core/profile_projects.h"
#include "core/profile_store.h"
#include "core/profile_transfer.h"
#include "core/project_release.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

bool IsSwitch(std::u16string_view argument, std::u16string_view name) {
  if (argument.size() != name.size() + 1 || (argument[0] != u'/' && argument[0] != u'-')) return false;
  return AsciiUpper(argument.substr(1)) == AsciiUpper(name);
}

// The names Windows keeps for devices.
constexpr std::array<std::u16string_view, 22> kDeviceNames{
    u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3", u"COM4", u"COM5", u"COM6", u"COM7",
    u"COM8", u"COM9", u"LPT1", u"LPT2", u"LPT3", u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9"};

bool IsDeviceName(std::u16string_view fileName) {
  std::u16string_view stem = fileName.substr(0, fileName.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  const std::u16string upper = AsciiUpper(stem);
  return std::find(kDeviceNames.begin(), kDeviceNames.end(), upper) != kDeviceNames.end();
}

}  // namespace

CommandLineRequest ParseCommandLine(std::span<const std::u16string> arguments) {
  CommandLineRequest request;
  if (arguments.empty()) return request;
  // The scripts' commands: a mistake is told on the console.
  const std::size_t count = arguments.size();
  const bool apply = IsSwitch(arguments[0], u"apply"), exports = IsSwitch(arguments[0], u"export");
  if (apply || exports || IsSwitch(arguments[0], u"import")) {
    if (count < 2 || (!exports && count > 2)) {
      request.kind = CommandLineRequest::Kind::Usage;
      request.exitCode = 2;
      request.console = true;
      return request;
    }
    request.kind = apply     ? CommandLineRequest::Kind::Apply
                   : exports ? CommandLineRequest::Kind::Export
                             : CommandLineRequest::Kind::Import;
    (apply ? request.name : request.file) = arguments[1];
    request.names.assign(arguments.begin() + 2, arguments.end());
    return request;
  }
  if (arguments.size() == 1 && IsSwitch(arguments[0], u"?")) {
    request.kind = CommandLineRequest::Kind::Usage;
    return request;
  }
  if (arguments.size() == 2 && IsSwitch(arguments[0], u"open")) {
    request.kind = CommandLineRequest::Kind::Open;
    request.file = arguments[1];
    return request;
  }
  if ((arguments.size() == 2 || arguments.size() == 3) && IsSwitch(arguments[0], u"launch")) {
    request.kind = CommandLineRequest::Kind::Launch;
    request.name = arguments[1];
    if (arguments.size() == 3) request.file = arguments[2];
    return request;
  }
  request.kind = CommandLineRequest::Kind::Usage;
  request.exitCode = 1;
  return request;
}

std::u16string QuoteArgument(std::u16string_view text) {
  std::u16string quoted = u"\"";
  std::size_t backslashes = 0;
  for (char16_t c : text) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count as such only before a quote: there each is doubled
    // and the quote escaped.
    quoted.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, u'\\');
  return quoted + u"\"";
}

std::u16string LaunchArguments(std::u16string_view profileName) { return u"/launch " + QuoteArgument(profileName); }

std::u16string ShortcutFileName(std::u16string_view profileName, std::size_t maxLength) {
  constexpr std::u16string_view kForbidden = u"<>:\"/\\|?*";
  // "_" before a device name, which Windows reads whatever extension follows.
  std::u16string name = IsDeviceName(profileName) ? u"_" : u"";
  for (char16_t c : profileName) {
    name += c < 0x20 || kForbidden.find(c) != std::u16string_view::npos ? u'_' : c;
  }
  if (name.size() > maxLength) {
    // A surrogate pair is not cut in two.
    const bool splitsPair = maxLength > 0 && name[maxLength - 1] >= 0xD800 && name[maxLength - 1] <= 0xDBFF;
    name.resize(splitsPair ? maxLength - 1 : maxLength);
  }
  return name;
}

namespace {

// The listed profile of the name, matched as the settings file matches
// section names, an exact match first; AppError kProfileNotFound where none
// is listed.
ListedProfile FindListedProfile(const CommandLineServices& services, const ProfileStore& store,
                                std::u16string_view name) {
  InstalledVersionSet installed;
  DetectInstalledVersions(services.registries, services.files, installed);
  std::vector<ListedProfile> profiles = ListProfiles(*store.Open(), installed, services.comparer);
  auto found = std::find_if(profiles.begin(), profiles.end(), [&](const ListedProfile& p) { return p.name == name; });
  if (found == profiles.end()) {
    found = std::find_if(profiles.begin(), profiles.end(),
                         [&](const ListedProfile& p) { return services.comparer.Mapping().Equal(p.name, name); });
  }
  if (found == profiles.end()) throw AppError(Format(texts::kProfileNotFound, {name}));
  return std::move(*found);
}

ProfileStore StoreOf(const CommandLineServices& services) {
  return ProfileStore(services.files, services.comparer, SettingsFileName(services.executablePath));
}

// Runs a command, reporting its refusal; its exit code.
int Reporting(const CommandLineServices& services, const std::function<int()>& command) {
  try {
    return command();
  } catch (const AppError& error) {
    services.reportError(error.Message());
    return 1;
  }
}

void Tell(const CommandLineServices& services, std::u16string_view message) {
  if (services.tell) services.tell(message);
}

}  // namespace

int LaunchFromCommandLine(const CommandLineServices& services, std::u16string_view name, std::u16string_view file,
                          bool rememberFile) {
  return Reporting(services, [&] {
    CheckLaunchFile(services.files, file);  // before the profile is looked for
    const ProfileStore store = StoreOf(services);
    const ListedProfile profile = FindListedProfile(services, store, name);
    LaunchServices launch{store, services.registries, services.processes, [] {}, [] {}};
    launch.file = file;
    launch.rememberFile = rememberFile;
    launch.runningProcesses = services.runningProcesses;
    launch.confirm = services.confirm;
    launch.reviewChanges = services.reviewChanges;
    const LaunchResult result = LaunchProfile(launch, profile.code, profile.name);
    if (result.cancelled) return 1;
    if (!result.started) throw AppError(Format(texts::kIdeStartFailed, {result.executable}));
    return 0;
  });
}

int ApplyFromCommandLine(const CommandLineServices& services, std::u16string_view name) {
  return Reporting(services, [&] {
    const ProfileStore store = StoreOf(services);
    const ListedProfile profile = FindListedProfile(services, store, name);
    LaunchServices apply{store, services.registries, services.processes, [] {}, [] {}};
    apply.runningProcesses = services.runningProcesses;
    ApplyProfile(apply, profile.code, profile.name);
    Tell(services, Format(texts::kApplied, {profile.name}));
    return 0;
  });
}

int ExportFromCommandLine(const CommandLineServices& services, std::u16string_view file,
                          std::span<const std::u16string> names) {
  return Reporting(services, [&] {
    const std::size_t count = ExportProfiles(StoreOf(services), file, names);
    Tell(services, Format(texts::kExported, {DecimalText(static_cast<long long>(count))}));
    return 0;
  });
}

int ImportFromCommandLine(const CommandLineServices& services, std::u16string_view file) {
  return Reporting(services, [&] {
    InstalledVersionSet installed;
    DetectInstalledVersions(services.registries, services.files, installed);
    const ImportOutcome outcome = ImportProfiles(
        StoreOf(services), file, installed, [](std::u16string_view) { return ExistingProfile::LeaveOut; },
        services.clock());
    Tell(services, ImportMessage(outcome));
    for (const std::u16string& name : outcome.leftOut) services.reportError(Format(texts::kImportLeftOut, {name}));
    return outcome.leftOut.empty() ? 0 : 1;
  });
}

int OpenFromCommandLine(const CommandLineServices& services, std::u16string_view file) {
  ProfileChoice choice;
  const int refused = Reporting(services, [&] {
    CheckLaunchFile(services.files, file);
    InstalledVersionSet installed;
    DetectInstalledVersions(services.registries, services.files, installed);
    const std::unique_ptr<SettingsFile> settings = StoreOf(services).Open();
    std::vector<ListedProfile> profiles = ListProfiles(*settings, installed, services.comparer);
    const CaseMapping& mapping = services.comparer.Mapping();
    const std::optional<std::u16string> remembered = RememberedProfile(*settings, file, mapping);
    const auto listed = [&](const ListedProfile& profile) {
      return remembered && mapping.Equal(profile.name, *remembered);
    };
    if (const auto found = std::find_if(profiles.begin(), profiles.end(), listed); found != profiles.end()) {
      choice.name = found->name;
    } else {
      const std::vector<VersionCode> releases = ProjectReleases(services.files, file);
      const auto madeBy = std::stable_partition(profiles.begin(), profiles.end(), [&](const ListedProfile& profile) {
        return std::find(releases.begin(), releases.end(), profile.code) != releases.end();
      });
      const std::optional<ProfileChoice> chosen =
          services.chooseProfile
              ? services.chooseProfile(profiles, static_cast<std::size_t>(madeBy - profiles.begin()), file)
              : std::nullopt;
      if (!chosen) return 1;
      choice = *chosen;
    }
    return 0;
  });
  return refused != 0 ? refused : LaunchFromCommandLine(services, choice.name, file, choice.remember);
}

}  // namespace ombrisk
