#include "core/command_line.h"

#include <algorithm>
#include <array>

#include "core/catalogue.h"
#include "core/errors.h"
#include "core/profile_projects.h"
#include "core/profile_store.h"
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

int LaunchFromCommandLine(const CommandLineServices& services, std::u16string_view name, std::u16string_view file,
                          bool rememberFile) {
  try {
    CheckLaunchFile(services.files, file);  // before the profile is looked for
    InstalledVersionSet installed;
    DetectInstalledVersions(services.registries, services.files, installed);
    const ProfileStore store(services.files, services.comparer, SettingsFileName(services.executablePath));
    const std::vector<ListedProfile> profiles = ListProfiles(*store.Open(), installed, services.comparer);
    auto found = std::find_if(profiles.begin(), profiles.end(), [&](const ListedProfile& p) { return p.name == name; });
    if (found == profiles.end()) {
      found = std::find_if(profiles.begin(), profiles.end(),
                           [&](const ListedProfile& p) { return services.comparer.Mapping().Equal(p.name, name); });
    }
    if (found == profiles.end()) throw AppError(Format(texts::kProfileNotFound, {name}));
    LaunchServices launch{store, services.registries, services.processes, [] {}, [] {}};
    launch.file = file;
    launch.rememberFile = rememberFile;
    launch.runningProcesses = services.runningProcesses;
    launch.confirm = services.confirm;
    launch.reviewChanges = services.reviewChanges;
    const LaunchResult result = LaunchProfile(launch, found->code, found->name);
    if (result.cancelled) return 1;
    if (!result.started) throw AppError(Format(texts::kIdeStartFailed, {result.executable}));
    return 0;
  } catch (const AppError& error) {
    services.reportError(error.Message());
    return 1;
  }
}

int OpenFromCommandLine(const CommandLineServices& services, std::u16string_view file) {
  ProfileChoice choice;
  try {
    CheckLaunchFile(services.files, file);
    InstalledVersionSet installed;
    DetectInstalledVersions(services.registries, services.files, installed);
    const ProfileStore store(services.files, services.comparer, SettingsFileName(services.executablePath));
    const std::unique_ptr<SettingsFile> settings = store.Open();
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
  } catch (const AppError& error) {
    services.reportError(error.Message());
    return 1;
  }
  return LaunchFromCommandLine(services, choice.name, file, choice.remember);
}

}  // namespace ombrisk
