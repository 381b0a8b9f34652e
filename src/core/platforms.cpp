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
    {u"edSearch_Path", u"lblSearch_Path", u"ライブラリパス(&B):", u"", u"Search_Path", std::nullopt, std::nullopt},
    {u"edPackage_DPL_Output", u"lblPackage_DPL_Output", u"パッケージ出力ディレクトリ(&K):", u"Package DPL Output",
     u"Package_DPL_Output", 3, 4},
    {u"edPackage_DCP_Output", u"lblPackage_DCP_Output", u"DCP 出力ディレクトリ(&R):", u"Package DCP Output",
     u"Package_DCP_Output", 3, 4},
    {u"edBrowsing_Path", u"lblBrowsing_Path", u"ブラウザ検索パス(&W):", u"Browsing Path", u"Browsing_Path", 3, 4},
    {u"edPackage_Search_Path", u"lblPackage_Search_Path", u"パッケージ検索パス(&P):", u"Package Search Path",
     u"Package_Search_Path", 5, 5},
    {u"edNamespace_Search_Path", u"lblNamespace_Search_Path", u"ユニットスコープ名 / 名前空間プレフィクス(&U):",
     u"Namespace Search Path", u"Namespace_Search_Path", 6, 7},
    {u"edDebug_DCU_Path", u"lblDebug_DCU_Path", u"デバッグ DCU パス(&D):", u"Debug DCU Path", u"Debug_DCU_Path", 8, 8},
    {u"edLanguage_Library_Path", u"lblLanguage_Library_Path", u"言語ライブラリパス(&L):", u"Language Library Path",
     u"Language_Library_Path", 2009, 2010},
    {u"edTranslated_Library_Path", u"lblTranslated_Library_Path", u"翻訳済みライブラリパス(&T):",
     u"Translated Library Path", u"Translated_Library_Path", 2009, 2010},
    {u"edTranslated_Debug_Library_Path", u"lblTranslated_Debug_Library_Path", u"翻訳済みデバッグ DCU パス(&D):",
     u"Translated Debug Library Path", u"Translated_Debug_Library_Path", 2009, 2010},
    {u"edTranslated_Resource_Path", u"lblTranslated_Resource_Path", u"翻訳済みリソースパス(&R):",
     u"Translated Resource Path", u"Translated_Resource_Path", 2009, 2010},
    {u"edHPP_Output_Directory", u"lblHPP_Output_Directory", u"HPP 出力ディレクトリ(&H):", u"HPP Output Directory",
     u"HPP_Output_Directory", 2010, 2011},
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
