#include "core/platforms.h"

#include <gtest/gtest.h>

#include "core/texts.h"

namespace ombrisk {
namespace {

using enum TPlatformType;

TEST(Platforms, ReleasesHaveTheirPlatformsInOrder) {
  const TPlatformTypes none{pftNone};
  for (VersionCode code : {2, 3, 7, 8, 2005, 2009, 2011, 2028, 0, -1}) EXPECT_EQ(VersionPlatforms(code), none) << code;
  const TPlatformTypes xe2{pftWin32, pftWin64, pftOSX32};
  EXPECT_EQ(VersionPlatforms(2012), xe2);
  EXPECT_EQ(VersionPlatforms(2013), xe2);
  EXPECT_EQ(VersionPlatforms(2014), (TPlatformTypes{pftWin32, pftWin64, pftOSX32, pftiOSDevice, pftiOSSimulator}));
  const TPlatformTypes xe5{pftWin32, pftWin64, pftOSX32, pftiOSDevice, pftiOSSimulator, pftAndroid32};
  for (VersionCode code : {2015, 2016, 2017, 2018}) EXPECT_EQ(VersionPlatforms(code), xe5) << code;
  const TPlatformTypes xe8{pftWin32, pftWin64, pftOSX32, pftiOSDevice32, pftiOSDevice64, pftiOSSimulator, pftAndroid32};
  for (VersionCode code : {2019, 2020, 2021}) EXPECT_EQ(VersionPlatforms(code), xe8) << code;
  TPlatformTypes tokyo = xe8;
  tokyo.push_back(pftLinux64);
  EXPECT_EQ(VersionPlatforms(2022), tokyo);
  EXPECT_EQ(VersionPlatforms(2023),
            (TPlatformTypes{pftWin32, pftWin64, pftOSX32, pftOSX64, pftiOSDevice32, pftiOSDevice64, pftiOSSimulator,
                            pftAndroid32, pftAndroid64, pftLinux64}));
  EXPECT_EQ(VersionPlatforms(2024), (TPlatformTypes{pftWin32, pftWin64, pftOSX64, pftiOSDevice64, pftiOSSimulator,
                                                    pftAndroid32, pftAndroid64, pftLinux64}));
  EXPECT_EQ(VersionPlatforms(2025),
            (TPlatformTypes{pftWin32, pftWin64, pftOSX64, pftOSXARM64, pftiOSDevice64, pftiOSSimulator, pftiOSSimARM64,
                            pftAndroid32, pftAndroid64, pftLinux64}));
  const TPlatformTypes athens{pftWin32,       pftWin64,       pftWin64x,    pftOSX64,     pftOSXARM64,
                              pftiOSDevice64, pftiOSSimARM64, pftAndroid32, pftAndroid64, pftLinux64};
  for (VersionCode code : {2026, 2027}) EXPECT_EQ(VersionPlatforms(code), athens) << code;
  for (VersionCode code : {2017, 2018, 2027}) EXPECT_EQ(WritesOnlyKnownPlatforms(code), code >= 2018) << code;
}

TEST(Platforms, NamesOfEveryPlatform) {
  struct Names {
    TPlatformType platform;
    std::u16string_view library, prefix, caption;
    int image;
  };
  const Names expected[] = {
      {pftNone, u"Library", u"", u"Win32", 0},
      {pftWin32, u"Library\\Win32", u"", u"Win32", 0},
      {pftWin64, u"Library\\Win64", u"WIN64_", u"Win64", 0},
      {pftOSX32, u"Library\\OSX32", u"OSX32_", u"OSX32", 1},
      {pftOSX64, u"Library\\OSX64", u"OSX64_", u"OSX64", 1},
      {pftLinux32, u"Library\\Linux32", u"LINUX32_", u"Linux32", 2},
      {pftLinux64, u"Library\\Linux64", u"LINUX64_", u"Linux64", 2},
      {pftiOSDevice, u"Library\\iOSDevice", u"IOSDEVICE_", u"iOS Device", 3},
      {pftiOSSimulator, u"Library\\iOSSimulator", u"IOSSIMULATOR_", u"iOS Simulator", 3},
      {pftAndroid32, u"Library\\Android32", u"ANDROID32_", u"Android32", 4},
      {pftOSXARM64, u"Library\\OSXARM64", u"OSXARM64_", u"OSX ARM64", 1},
      {pftiOSDevice32, u"Library\\iOSDevice32", u"IOSDEVICE32_", u"iOS Device 32", 3},
      {pftiOSDevice64, u"Library\\iOSDevice64", u"IOSDEVICE64_", u"iOS Device 64", 3},
      {pftiOSSimARM64, u"Library\\iOSSimARM64", u"IOSSIMARM64_", u"iOS Sim ARM64", 3},
      {pftAndroid64, u"Library\\Android64", u"ANDROID64_", u"Android64", 4},
      {pftWin64x, u"Library\\Win64x", u"WIN64X_", u"Win64 (Modern)", 0},
  };
  for (const Names& row : expected) {
    SCOPED_TRACE(static_cast<int>(row.platform));
    EXPECT_EQ(LibraryKeyName(row.platform), row.library);
    EXPECT_EQ(u"Library" + std::u16string(PlatformKeySuffix(row.platform)), row.library);
    EXPECT_EQ(PlatformIniPrefix(row.platform), row.prefix);
    EXPECT_EQ(PlatformTabCaption(row.platform), row.caption);
    EXPECT_EQ(PlatformTabImage(row.platform), row.image);
  }
  const auto outside = static_cast<TPlatformType>(16);
  EXPECT_EQ(PlatformKeySuffix(outside), u"");
  EXPECT_EQ(LibraryKeyName(outside), u"Library");
  EXPECT_EQ(PlatformIniPrefix(outside), u"");
  EXPECT_EQ(PlatformTabCaption(outside), u"Win32");
  EXPECT_EQ(PlatformTabImage(static_cast<TPlatformType>(255)), 0);
}

TEST(Platforms, SearchPathValueNameChangesAfterDelphi3) {
  EXPECT_EQ(SearchPathValueName(2), u"SearchPath");
  EXPECT_EQ(SearchPathValueName(3), u"SearchPath");
  EXPECT_EQ(SearchPathValueName(4), u"Search Path");
  EXPECT_EQ(SearchPathValueName(2017), u"Search Path");
  EXPECT_EQ(RegistryValueName(LibrarySettings[0], 3), u"SearchPath");
  EXPECT_EQ(RegistryValueName(LibrarySettings[0], 2012), u"Search Path");
}

TEST(Platforms, LibrarySettingsTable) {
  struct Expected {
    std::u16string_view caption, valueName, suffix;
  };
  const Expected expected[12] = {
      {u"ライブラリパス(&B):", u"Search Path", u"Search_Path"},
      {u"パッケージ出力ディレクトリ(&K):", u"Package DPL Output", u"Package_DPL_Output"},
      {u"DCP 出力ディレクトリ(&R):", u"Package DCP Output", u"Package_DCP_Output"},
      {u"ブラウザ検索パス(&W):", u"Browsing Path", u"Browsing_Path"},
      {u"パッケージ検索パス(&P):", u"Package Search Path", u"Package_Search_Path"},
      {u"ユニットスコープ名 / 名前空間プレフィクス(&U):", u"Namespace Search Path", u"Namespace_Search_Path"},
      {u"デバッグ DCU パス(&D):", u"Debug DCU Path", u"Debug_DCU_Path"},
      {u"言語ライブラリパス(&L):", u"Language Library Path", u"Language_Library_Path"},
      {u"翻訳済みライブラリパス(&T):", u"Translated Library Path", u"Translated_Library_Path"},
      {u"翻訳済みデバッグ DCU パス(&D):", u"Translated Debug Library Path", u"Translated_Debug_Library_Path"},
      {u"翻訳済みリソースパス(&R):", u"Translated Resource Path", u"Translated_Resource_Path"},
      {u"HPP 出力ディレクトリ(&H):", u"HPP Output Directory", u"HPP_Output_Directory"},
  };
  for (std::size_t row = 0; row < 12; ++row) {
    SCOPED_TRACE(row + 1);
    const LibrarySetting& setting = LibrarySettings[row];
    EXPECT_EQ(texts::kLibraryLabels[row], expected[row].caption);
    EXPECT_EQ(RegistryValueName(setting, 2017), expected[row].valueName);
    EXPECT_EQ(setting.settingsKeySuffix, expected[row].suffix);
  }
  EXPECT_EQ(SettingsKey(pftNone, LibrarySettings[0]), u"Search_Path");
  EXPECT_EQ(SettingsKey(pftWin32, LibrarySettings[0]), u"Search_Path");
  EXPECT_EQ(SettingsKey(pftWin64, LibrarySettings[0]), u"WIN64_Search_Path");
  EXPECT_EQ(SettingsKey(pftiOSDevice, LibrarySettings[11]), u"IOSDEVICE_HPP_Output_Directory");
  EXPECT_EQ(SettingsKey(pftAndroid32, LibrarySettings[11]), u"ANDROID32_HPP_Output_Directory");
}

// Rows (numbered from 1) the editor enables and the launch writes.
std::vector<int> EnabledRows(VersionCode code) {
  std::vector<int> rows;
  for (std::size_t i = 0; i < LibrarySettings.size(); ++i) {
    if (!IsDisabledInEditor(LibrarySettings[i], code)) rows.push_back(static_cast<int>(i) + 1);
  }
  return rows;
}

std::vector<int> WrittenRows(VersionCode code) {
  std::vector<int> rows;
  for (std::size_t i = 0; i < LibrarySettings.size(); ++i) {
    if (IsWrittenAtLaunch(LibrarySettings[i], code)) rows.push_back(static_cast<int>(i) + 1);
  }
  return rows;
}

std::vector<int> Rows(int last) {
  std::vector<int> rows;
  for (int row = 1; row <= last; ++row) rows.push_back(row);
  return rows;
}

TEST(Platforms, GatesOfTheLibrarySettings) {
  EXPECT_EQ(EnabledRows(2), Rows(1));
  EXPECT_EQ(WrittenRows(2), Rows(1));
  EXPECT_EQ(EnabledRows(3), Rows(1));
  EXPECT_EQ(WrittenRows(3), Rows(1));
  EXPECT_EQ(EnabledRows(4), Rows(4));
  EXPECT_EQ(WrittenRows(4), Rows(4));
  // The two rows where the gates differ.
  EXPECT_EQ(EnabledRows(5), Rows(4));
  EXPECT_EQ(WrittenRows(5), Rows(5));
  EXPECT_EQ(EnabledRows(6), Rows(5));
  EXPECT_EQ(WrittenRows(6), Rows(5));
  EXPECT_EQ(EnabledRows(7), Rows(6));
  EXPECT_EQ(WrittenRows(7), Rows(6));
  EXPECT_EQ(EnabledRows(8), Rows(6));
  EXPECT_EQ(WrittenRows(8), Rows(7));
  EXPECT_EQ(EnabledRows(2009), Rows(7));
  EXPECT_EQ(WrittenRows(2009), Rows(7));
  EXPECT_EQ(EnabledRows(2010), Rows(11));
  EXPECT_EQ(WrittenRows(2010), Rows(11));
  for (VersionCode code : {2011, 2014, 2017}) {
    EXPECT_EQ(EnabledRows(code), Rows(12)) << code;
    EXPECT_EQ(WrittenRows(code), Rows(12)) << code;
  }
}

}  // namespace
}  // namespace ombrisk
