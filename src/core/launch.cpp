#include "core/launch.h"

#include "core/errors.h"
#include "core/platforms.h"
#include "core/profile_store.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

std::u16string BuildIdeParameters(bool delphiOnly, bool noSplash, bool noProject, bool noCache, bool useAltReg,
                                  std::u16string_view altReg, std::u16string_view parameters) {
  std::u16string result;
  if (delphiOnly) result += u"-pDelphi ";
  if (noSplash) result += u"/ns ";
  if (noProject) result += u"/np ";
  if (noCache) result += u"/nocache ";
  if (useAltReg) {
    result += u"/r";
    result += altReg;
    result += u' ';
  }
  result += Trim(parameters);
  return result;
}

namespace {

// Everything of the path up to and including its last "\" or ":", without
// one trailing "\".
std::u16string_view ParentFolder(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\:");
  std::u16string_view folder = separator == std::u16string_view::npos ? u"" : path.substr(0, separator + 1);
  if (folder.ends_with(u'\\')) folder.remove_suffix(1);
  return folder;
}

// Replaces every occurrence of the macro, found left to right without regard
// to the case of a to z; inserted text is not searched again.
std::u16string ReplaceMacro(std::u16string_view text, std::u16string_view macro, std::u16string_view replacement) {
  const std::u16string upperText = AsciiUpper(text);
  const std::u16string upperMacro = AsciiUpper(macro);
  std::u16string result;
  std::size_t from = 0;
  for (std::size_t at = upperText.find(upperMacro); at != std::u16string::npos; at = upperText.find(upperMacro, from)) {
    result += text.substr(from, at - from);
    result += replacement;
    from = at + macro.size();
  }
  result += text.substr(from);
  return result;
}

}  // namespace

std::u16string ExpandPreProcessMacros(std::u16string_view text, std::u16string_view exePath, FileSystem& files) {
  const std::u16string shortFolder = files.ShortPath(ParentFolder(ParentFolder(exePath)));
  return ReplaceMacro(ReplaceMacro(text, u"@$(DELPHI)@", shortFolder), u"@$(BDS)@", shortFolder);
}

namespace {

// The profile's values the launch reads once the registry is written.
struct StartValues {
  bool useAltReg = false;
  std::u16string altReg;
  bool runAsAdmin = false;
  std::u16string preProcess;
  std::u16string parameters;
};

// Steps 3 to 12: the registry writes, with the settings file and the
// registry object released when they end, also when an error passes.
StartValues WriteProfileToRegistry(const LaunchServices& services, VersionCode code, std::u16string_view profileName) {
  const SettingsFile file(services.files, services.comparer, services.settingsFileName);
  const std::u16string section = ProfileSection(profileName);
  // A profile the file cannot find would read as every default and empty
  // every library path of the IDE: it is not launched.
  if (!file.SectionExists(section)) throw AppError(Format(texts::kProfileNotFound, {profileName}));

  const std::unique_ptr<Registry> registry = services.registries.Create();
  StartValues values;
  values.useAltReg = file.ReadBool(section, u"UseAltReg", false);
  values.altReg = file.ReadString(section, u"AltReg", u"");
  values.runAsAdmin = file.ReadBool(section, u"RunAsAdmin", false);
  const std::u16string base = IdeRegistryKey(code, values.useAltReg, values.altReg);

  const std::u16string disabledPackages = Concat({base, u"Disabled Packages"});
  registry->DeleteKey(disabledPackages);
  registry->CreateKey(disabledPackages);
  values.preProcess = file.ReadString(section, u"PreProcess", u"");

  if (code >= 8) {
    registry->OpenKey(Concat({base, u"Form Design"}), true);
    registry->WriteString(u"Embedded Designer", file.ReadString(section, u"Embedded_Designer", u"True"));
    registry->CloseKey();

    const std::vector<DisabledPackage> packages = DisabledPackages(file, section);
    registry->OpenKey(disabledPackages, true);
    for (const DisabledPackage& package : packages) registry->WriteString(package.path, package.name);
    registry->CloseKey();
  }

  for (TPlatformType platform : VersionPlatforms(code)) {
    if (!registry->OpenKey(Concat({base, LibraryKeyName(platform)}), true)) continue;
    for (const LibrarySetting& setting : LibrarySettings) {
      if (!IsWrittenAtLaunch(setting, code)) continue;
      registry->WriteString(RegistryValueName(setting, code),
                            file.ReadString(section, SettingsKey(platform, setting), u""));
    }
    registry->CloseKey();
  }

  values.parameters =
      BuildIdeParameters(file.ReadBool(section, u"DelphiOnly", false), file.ReadBool(section, u"NoSplash", false),
                         file.ReadBool(section, u"NoProject", false), file.ReadBool(section, u"NoCache", false),
                         values.useAltReg, values.altReg, file.ReadString(section, u"Parameters", u""));
  return values;
}

}  // namespace

void LaunchProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName) {
  const StartValues values = WriteProfileToRegistry(services, code, profileName);

  services.processPendingMessages();
  if (!values.preProcess.empty()) {
    services.processes.RunAndWait(
        ExpandPreProcessMacros(values.preProcess, GetIdeExePath(services.registries, code), services.files), true);
  }
  services.processPendingMessages();

  // The executable is read again: the pre-launch command may have changed it.
  const std::u16string executable = Concat({u"\"", GetIdeExePath(services.registries, code), u"\""});
  if (services.processes.SupportsElevation() && values.runAsAdmin) {
    services.processes.RunElevated(executable, values.parameters);
  } else {
    services.processes.Open(executable, values.parameters);
  }
  services.closeWindow();
}

}  // namespace ombrisk
