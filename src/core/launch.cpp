#include "core/launch.h"

#include <algorithm>

#include "core/errors.h"
#include "core/platforms.h"
#include "core/profile_store.h"
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

// Whether the profile holds a value for any library setting of the platform.
bool HoldsLibraryValues(const SettingsFile& file, std::u16string_view section, TPlatformType platform) {
  return std::any_of(LibrarySettings.begin(), LibrarySettings.end(), [&](const LibrarySetting& setting) {
    return !file.ReadString(section, SettingsKey(platform, setting), u"").empty();
  });
}

// Step 10: the library values of each platform of the release. From XE7 on
// an edition may lack a platform, so its key is written only where it exists
// or the profile holds a value for it.
void WriteLibraries(Registry& registry, const SettingsFile& file, std::u16string_view section, std::u16string_view base,
                    VersionCode code) {
  for (TPlatformType platform : VersionPlatforms(code)) {
    const std::u16string key = Concat({base, LibraryKeyName(platform)});
    if (WritesOnlyKnownPlatforms(code) && !registry.KeyExists(key) && !HoldsLibraryValues(file, section, platform)) {
      continue;
    }
    if (!registry.OpenKey(key, true)) continue;
    for (const LibrarySetting& setting : LibrarySettings) {
      if (!IsWrittenAtLaunch(setting, code)) continue;
      registry.WriteString(RegistryValueName(setting, code),
                           file.ReadString(section, SettingsKey(platform, setting), u""));
    }
    registry.CloseKey();
  }
}

// Steps 3 to 12: the registry writes, with the settings file and the
// registry object released when they end, also when an error passes.
// Returns the profile's stored values the rest of the launch uses.
ProfileRecord WriteProfileToRegistry(const LaunchServices& services, VersionCode code,
                                     std::u16string_view profileName) {
  const std::unique_ptr<SettingsFile> file = services.store.Open();
  const std::u16string section = ProfileSection(profileName);
  // A profile the file cannot find would read as every default and empty
  // every library path of the IDE: it is not launched.
  if (!file->SectionExists(section)) throw AppError(Format(texts::kProfileNotFound, {profileName}));

  const std::unique_ptr<Registry> registry = services.registries.Create();
  ProfileRecord stored;
  stored.version = code;
  ReadProfileKeys(*file, section, stored);
  // The 64-bit IDE, where the profile chose it and it is installed.
  stored.ide64 = stored.ide64 && Ide64Installed(services.registries, services.store.Files(), code);
  const std::u16string base = IdeRegistryKey(code, stored.useAltReg, stored.altReg);

  const std::u16string disabledPackages = Concat({base, ide::DisabledPackages(stored.ide64)});
  registry->DeleteKey(disabledPackages);
  registry->CreateKey(disabledPackages);

  if (const ProfileKey& designer = ProfileKeyOf(KeyKind::TextBoolean); designer.AppliesTo(code)) {
    registry->OpenKey(Concat({base, ide::kFormDesign}), true);
    registry->WriteString(ide::kEmbeddedDesigner, file->ReadString(section, designer.name, designer.fallback));
    registry->CloseKey();
  }
  if (ProfileKeyOf(KeyKind::Packages).AppliesTo(code)) {
    const std::vector<DisabledPackage> packages = DisabledPackages(*file, section);
    registry->OpenKey(disabledPackages, true);
    for (const DisabledPackage& package : packages) registry->WriteString(package.path, package.name);
    registry->CloseKey();
  }

  WriteLibraries(*registry, *file, section, base, code);
  return stored;
}

}  // namespace

LaunchResult LaunchProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName) {
  const ProfileRecord stored = WriteProfileToRegistry(services, code, profileName);

  services.processPendingMessages();
  if (!stored.preProcess.empty()) {
    services.processes.RunAndWait(
        ExpandPreProcessMacros(stored.preProcess, GetIdeExePath(services.registries, code), services.store.Files()),
        true);
  }
  services.processPendingMessages();

  const std::u16string parameters =
      BuildIdeParameters(stored.delphiOnly, stored.noSplash, stored.noProject, stored.noCache, stored.useAltReg,
                         stored.altReg, stored.parameters);
  // The executable is read again: the pre-launch command may have changed it.
  LaunchResult result;
  result.executable =
      stored.ide64 ? GetIde64ExePath(services.registries, code) : GetIdeExePath(services.registries, code);
  const std::u16string quoted = Concat({u"\"", result.executable, u"\""});
  if (services.processes.SupportsElevation() && stored.runAsAdmin) {
    result.started = services.processes.RunElevated(quoted, parameters);
  } else {
    result.started = services.processes.Open(quoted, parameters);
  }
  services.closeWindow();
  return result;
}

}  // namespace ombrisk
