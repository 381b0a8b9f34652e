#include "core/platforms.h"

namespace ombrisk {

namespace {

struct PlatformNames {
  std::u16string_view keySuffix;
  std::u16string_view iniPrefix;
  std::u16string_view tabCaption;
  int tabImage;
};

constexpr std::array<PlatformNames, 16> kPlatformNames{{
    {u"", u"", u"Win32", 0},
    {u"\\Win32", u"", u"Win32", 0},
    {u"\\Win64", u"WIN64_", u"Win64", 0},
    {u"\\OSX32", u"OSX32_", u"OSX32", 1},
    {u"\\OSX64", u"OSX64_", u"OSX64", 1},
    {u"\\Linux32", u"LINUX32_", u"Linux32", 2},
    {u"\\Linux64", u"LINUX64_", u"Linux64", 2},
    {u"\\iOSDevice", u"IOSDEVICE_", u"iOS Device", 3},
    {u"\\iOSSimulator", u"IOSSIMULATOR_", u"iOS Simulator", 3},
    {u"\\Android32", u"ANDROID32_", u"Android32", 4},
    {u"\\OSXARM64", u"OSXARM64_", u"OSX ARM64", 1},
    {u"\\iOSDevice32", u"IOSDEVICE32_", u"iOS Device 32", 3},
    {u"\\iOSDevice64", u"IOSDEVICE64_", u"iOS Device 64", 3},
    {u"\\iOSSimARM64", u"IOSSIMARM64_", u"iOS Sim ARM64", 3},
    {u"\\Android64", u"ANDROID64_", u"Android64", 4},
    {u"\\Win64x", u"WIN64X_", u"Win64 (Modern)", 0},
}};

const PlatformNames& NamesOf(TPlatformType platform) {
  const auto index = static_cast<std::size_t>(platform);
  return index < kPlatformNames.size() ? kPlatformNames[index] : kPlatformNames[0];
}

}  // namespace

TPlatformTypes VersionPlatforms(VersionCode code) {
  const std::span<const TPlatformType> platforms = ReleaseFacts(code).platforms;
  if (platforms.empty()) return {TPlatformType::pftNone};
  return {platforms.begin(), platforms.end()};
}

bool WritesOnlyKnownPlatforms(VersionCode code) { return ReleaseFacts(code).onlyKnownPlatforms; }

std::u16string_view PlatformKeySuffix(TPlatformType platform) { return NamesOf(platform).keySuffix; }

std::u16string LibraryKeyName(TPlatformType platform) {
  std::u16string name = u"Library";
  name += PlatformKeySuffix(platform);
  return name;
}

std::u16string_view PlatformIniPrefix(TPlatformType platform) { return NamesOf(platform).iniPrefix; }

std::u16string_view SearchPathValueName(VersionCode code) { return ReleaseFacts(code).searchPathValue; }

std::u16string_view PlatformTabCaption(TPlatformType platform) { return NamesOf(platform).tabCaption; }

int PlatformTabImage(TPlatformType platform) { return NamesOf(platform).tabImage; }

const std::array<LibrarySetting, 12> LibrarySettings{{
    {u"", u"Search_Path", std::nullopt, std::nullopt},
    {u"Package DPL Output", u"Package_DPL_Output", 3, 4},
    {u"Package DCP Output", u"Package_DCP_Output", 3, 4},
    {u"Browsing Path", u"Browsing_Path", 3, 4},
    {u"Package Search Path", u"Package_Search_Path", 5, 5},
    {u"Namespace Search Path", u"Namespace_Search_Path", 6, 7},
    {u"Debug DCU Path", u"Debug_DCU_Path", 8, 8},
    {u"Language Library Path", u"Language_Library_Path", 2009, 2010},
    {u"Translated Library Path", u"Translated_Library_Path", 2009, 2010},
    {u"Translated Debug Library Path", u"Translated_Debug_Library_Path", 2009, 2010},
    {u"Translated Resource Path", u"Translated_Resource_Path", 2009, 2010},
    {u"HPP Output Directory", u"HPP_Output_Directory", 2010, 2011},
}};

bool IsDisabledInEditor(const LibrarySetting& setting, VersionCode code) {
  return setting.editorDisabledUpTo && code <= *setting.editorDisabledUpTo;
}

bool IsWrittenAtLaunch(const LibrarySetting& setting, VersionCode code) {
  return !setting.launchWrittenFrom || code >= *setting.launchWrittenFrom;
}

std::u16string_view RegistryValueName(const LibrarySetting& setting, VersionCode code) {
  return setting.registryValueName.empty() ? SearchPathValueName(code) : setting.registryValueName;
}

std::u16string SettingsKey(TPlatformType platform, const LibrarySetting& setting) {
  std::u16string key(PlatformIniPrefix(platform));
  key += setting.settingsKeySuffix;
  return key;
}

}  // namespace ombrisk
