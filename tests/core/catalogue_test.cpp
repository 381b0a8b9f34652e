#include "core/catalogue.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/fakes.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

using ombrisk::testing::FakeFileSystem;
using ombrisk::testing::LoggingRegistryFactory;

struct Row {
  VersionCode code;
  std::u16string_view label;
  int image;
  std::u16string_view key;  // IdeRegistryKey without an alternate key
};

// The release table as published for users, written out independently of
// the program's table.
constexpr Row kExpected[] = {
    {2, u"Delphi 2", 0, u"\\Software\\Borland\\DELPHI\\2.0\\"},
    {3, u"Delphi 3 / 3.1", 1, u"\\Software\\Borland\\DELPHI\\3.0\\"},
    {4, u"Delphi 4", 1, u"\\Software\\Borland\\DELPHI\\4.0\\"},
    {5, u"Delphi 5", 2, u"\\Software\\Borland\\DELPHI\\5.0\\"},
    {6, u"Delphi 6", 3, u"\\Software\\Borland\\DELPHI\\6.0\\"},
    {7, u"Delphi 7 / 7.1", 4, u"\\Software\\Borland\\DELPHI\\7.0\\"},
    {8, u"Delphi 8", 5, u"\\Software\\Borland\\BDS\\2.0\\"},
    {2005, u"Delphi 2005", 5, u"\\Software\\Borland\\BDS\\3.0\\"},
    {2006, u"Developer Studio 2006 / Turbo Delphi ", 5, u"\\Software\\Borland\\BDS\\4.0\\"},
    {2007, u"Delphi 2007 / RAD Studio 2007", 5, u"\\Software\\Borland\\BDS\\5.0\\"},
    {2009, u"Delphi 2009 / RAD Studio 2009", 5, u"\\Software\\CodeGear\\BDS\\6.0\\"},
    {2010, u"Delphi 2010 / RAD Studio 2010", 6, u"\\Software\\CodeGear\\BDS\\7.0\\"},
    {2011, u"Delphi XE / RAD Studio XE", 6, u"\\Software\\Embarcadero\\BDS\\8.0\\"},
    {2012, u"Delphi XE2 / RAD Studio XE2", 6, u"\\Software\\Embarcadero\\BDS\\9.0\\"},
    {2013, u"Delphi XE3 / RAD Studio XE3", 6, u"\\Software\\Embarcadero\\BDS\\10.0\\"},
    {2014, u"Delphi XE4 / RAD Studio XE4", 6, u"\\Software\\Embarcadero\\BDS\\11.0\\"},
    {2015, u"Delphi XE5 / RAD Studio XE5", 6, u"\\Software\\Embarcadero\\BDS\\12.0\\"},
    {2016, u"AppMethod ", 7, u"\\Software\\Embarcadero\\BDS\\13.0\\"},
    {2017, u"Delphi XE6 / RAD Studio XE6", 6, u"\\Software\\Embarcadero\\BDS\\14.0\\"},
    {2018, u"Delphi XE7 / RAD Studio XE7", 6, u"\\Software\\Embarcadero\\BDS\\15.0\\"},
    {2019, u"Delphi XE8 / RAD Studio XE8", 6, u"\\Software\\Embarcadero\\BDS\\16.0\\"},
    {2020, u"Delphi 10 Seattle / RAD Studio 10 Seattle", 8, u"\\Software\\Embarcadero\\BDS\\17.0\\"},
    {2021, u"Delphi 10.1 Berlin / RAD Studio 10.1 Berlin", 8, u"\\Software\\Embarcadero\\BDS\\18.0\\"},
    {2022, u"Delphi 10.2 Tokyo / RAD Studio 10.2 Tokyo", 8, u"\\Software\\Embarcadero\\BDS\\19.0\\"},
    {2023, u"Delphi 10.3 Rio / RAD Studio 10.3 Rio", 8, u"\\Software\\Embarcadero\\BDS\\20.0\\"},
    {2024, u"Delphi 10.4 Sydney / RAD Studio 10.4 Sydney", 8, u"\\Software\\Embarcadero\\BDS\\21.0\\"},
    {2025, u"Delphi 11 Alexandria / RAD Studio 11 Alexandria", 9, u"\\Software\\Embarcadero\\BDS\\22.0\\"},
    {2026, u"Delphi 12 Athens / RAD Studio 12 Athens", 10, u"\\Software\\Embarcadero\\BDS\\23.0\\"},
    {2027, u"Delphi 13 Florence / RAD Studio 13 Florence", 11, u"\\Software\\Embarcadero\\BDS\\37.0\\"},
};

TEST(Catalogue, ReleasesMatchThePublishedTable) {
  ASSERT_EQ(Releases().size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const Row& row = kExpected[i];
    SCOPED_TRACE(row.code);
    const Release* release = FindRelease(row.code);
    ASSERT_NE(release, nullptr);
    EXPECT_EQ(release, &Releases()[i]) << "releases stand oldest first";
    EXPECT_EQ(release->label, row.label);
    EXPECT_EQ(VersionImageIndex(row.code), row.image);
    EXPECT_EQ(IdeRegistryKey(row.code, false, u""), row.key);
    EXPECT_EQ(InstallationKey(row.code), row.key.substr(0, row.key.size() - 1));
    EXPECT_EQ(InstallationRoot(row.code), row.code <= 7 ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser);
  }
  EXPECT_NE(FindRelease(2015)->label, FindRelease(2017)->label) << "XE5 and XE6 can be told apart";
  for (VersionCode notARelease : {0, 1, 9, 2004, 2008, 2028, -7}) EXPECT_EQ(FindRelease(notARelease), nullptr);
}

TEST(Catalogue, ExecutableValueNames) {
  EXPECT_EQ(ExecutableValueName(2), u"Delphi 2.0");
  EXPECT_EQ(ExecutableValueName(3), u"Delphi 3");
  EXPECT_EQ(ExecutableValueName(4), u"Delphi 4");
  for (VersionCode code : {5, 6, 7, 8, 2005, 2009, 2016, 2017}) EXPECT_EQ(ExecutableValueName(code), u"APP");
}

TEST(Catalogue, AlternateKeyReplacesBdsOnlyWhenAskedForAndNamed) {
  EXPECT_EQ(IdeRegistryKey(2012, true, u"Test"), u"\\Software\\Embarcadero\\Test\\9.0\\");
  EXPECT_EQ(IdeRegistryKey(2012, true, u""), u"\\Software\\Embarcadero\\BDS\\9.0\\");
  EXPECT_EQ(IdeRegistryKey(2012, false, u"Test"), u"\\Software\\Embarcadero\\BDS\\9.0\\");
  EXPECT_EQ(IdeRegistryKey(8, true, u"Clean"), u"\\Software\\Borland\\Clean\\2.0\\");
  EXPECT_EQ(IdeRegistryKey(2009, true, u"Clean"), u"\\Software\\CodeGear\\Clean\\6.0\\");
  EXPECT_EQ(IdeRegistryKey(2017, true, u" spaced\t"), u"\\Software\\Embarcadero\\spaced\\14.0\\")
      << "the blanks around the name are no part of the key";
  EXPECT_EQ(IdeRegistryKey(2017, true, u"  "), u"\\Software\\Embarcadero\\BDS\\14.0\\");
  for (VersionCode code : {2, 3, 4, 5, 6, 7}) {
    EXPECT_EQ(IdeRegistryKey(code, true, u"Test"), IdeRegistryKey(code, false, u"")) << code;
  }
  EXPECT_EQ(IdeRegistryKey(2008, true, u"Test"), u"");
}

// A value that is no release has none of a release's facts.
TEST(Catalogue, AValueThatIsNoReleaseHasNoFacts) {
  for (VersionCode code : {1, 0, -2, 9, 2008, 2028, 2147483647}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(VersionImageIndex(code), -1);
    const Release& facts = ReleaseFacts(code);
    EXPECT_TRUE(facts.platforms.empty());
    EXPECT_FALSE(facts.machineWide || facts.packages || facts.designer || facts.ide64 || facts.onlyKnownPlatforms);
  }
}

// The installed set holds every release there is and nothing else, however
// many releases the table grows to.
TEST(Catalogue, TheInstalledSetHoldsAnyRelease) {
  InstalledVersionSet installed;
  EXPECT_TRUE(installed.Empty());
  for (const Release& release : Releases()) installed.Add(release.code);
  installed.Add(2008);
  EXPECT_EQ(installed.Codes().size(), Releases().size());
  EXPECT_EQ(installed.Codes().back(), 2027);
  EXPECT_FALSE(installed.Contains(2008));
  EXPECT_TRUE(installed.Contains(2));
}

class Detection : public ::testing::Test {
 protected:
  // Records an installation the way the release's installer does.
  void Install(VersionCode code, std::u16string_view exe, bool fileExists = true) {
    store.SetString(InstallationRoot(code), InstallationKey(code), ExecutableValueName(code), exe);
    if (fileExists) files.files.insert(std::u16string(exe));
  }

  MemoryRegistryStore store;
  FakeFileSystem files;
  LoggingRegistryFactory registries{store};
};

TEST_F(Detection, NothingInstalledGivesAnEmptySetAndNoComboItems) {
  InstalledVersionSet installed;
  installed.Add(2017);
  DetectInstalledVersions(registries, files, installed);
  EXPECT_TRUE(installed.Empty());
  EXPECT_TRUE(VersionComboItems(installed).empty());
}

TEST_F(Detection, OnlyRecordedExecutablesThatExistCount) {
  Install(2, u"C:\\D2\\DELPHI32.EXE");
  Install(4, u"C:\\D4\\delphi32.exe");
  Install(7, u"C:\\D7\\delphi32.exe");
  Install(2007, u"C:\\D2007\\bds.exe");
  Install(2017, u"C:\\XE6\\bds.exe");
  Install(2022, u"C:\\Tokyo\\bds.exe");
  Install(2027, u"C:\\Florence\\bds.exe");
  Install(2026, u"C:\\Athens\\gone.exe", false);
  Install(2010, u"C:\\gone\\bds.exe", false);                      // executable deleted
  store.Create(RegistryRoot::CurrentUser, InstallationKey(2011));  // key without value
  Install(2012, u"", false);                                       // empty value
  // A later release recorded under HKEY_LOCAL_MACHINE only: another user's.
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(2014), u"APP", u"C:\\XE4\\bds.exe");
  files.files.insert(u"C:\\XE4\\bds.exe");
  // Delphi 3 records "Delphi 3", so "APP" does not count for it.
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(3), u"APP", u"C:\\D7\\delphi32.exe");

  InstalledVersionSet installed;
  DetectInstalledVersions(registries, files, installed);
  EXPECT_EQ(installed.Codes(), (std::vector<VersionCode>{2, 4, 7, 2007, 2017, 2022, 2027}));
  EXPECT_TRUE(IsVersionInstalled(installed, 2017));
  EXPECT_FALSE(IsVersionInstalled(installed, 2010));
  EXPECT_FALSE(IsVersionInstalled(installed, 2008));

  std::vector<VersionCode> codes;
  for (const VersionComboItem& item : VersionComboItems(installed)) {
    codes.push_back(item.code);
    EXPECT_EQ(item.label, FindRelease(item.code)->label);
  }
  EXPECT_EQ(codes, (std::vector<VersionCode>{2027, 2022, 2017, 2007, 7, 4, 2}));
}

TEST_F(Detection, ExaminesNewestFirstAndClosesEveryKeyItOpened) {
  Install(2017, u"C:\\XE6\\bds.exe");
  Install(7, u"C:\\D7\\delphi32.exe");
  InstalledVersionSet installed;
  DetectInstalledVersions(registries, files, installed);

  std::vector<std::string> expected;
  for (VersionCode code : {2027, 2026, 2025, 2024, 2023, 2022, 2021, 2020, 2019, 2018, 2017, 2016,
                           2015, 2014, 2013, 2012, 2011, 2010, 2009, 2007, 2006, 2005, 8}) {
    expected.push_back("open " + ToUtf8(InstallationKey(code)));
    if (code == 2017) expected.push_back("close");
  }
  expected.push_back("root HKLM");
  for (VersionCode code : {7, 6, 5, 4, 3, 2}) {
    expected.push_back("open " + ToUtf8(InstallationKey(code)));
    if (code == 7) expected.push_back("close");
  }
  expected.push_back("free");
  EXPECT_EQ(registries.log, expected);
}

TEST_F(Detection, NonStringValueStopsDetectionKeepingEarlierBits) {
  Install(2017, u"C:\\XE6\\bds.exe");
  store.SetValue(RegistryRoot::CurrentUser, InstallationKey(2012), u"APP",
                 RegistryData{registry_type::kDWord, std::string("\x01\0\0\0", 4)});
  Install(2010, u"C:\\D2010\\bds.exe");
  Install(7, u"C:\\D7\\delphi32.exe");

  InstalledVersionSet installed;
  testing::ExpectAppError([&] { DetectInstalledVersions(registries, files, installed); },
                          u"'APP' のデータ型が不正です");
  EXPECT_EQ(installed.Codes(), std::vector<VersionCode>{2017}) << "2017 stays; 2010 and 7 were never examined";
  ASSERT_GE(registries.log.size(), 3u);
  EXPECT_EQ(registries.log[registries.log.size() - 3], "open \\Software\\Embarcadero\\BDS\\9.0");
  EXPECT_EQ(registries.log[registries.log.size() - 2], "close");
  EXPECT_EQ(registries.log.back(), "free");
}

TEST_F(Detection, ExecutablePathIsReadUncheckedFromTheBdsKey) {
  Install(3, u"C:\\D3\\delphi32.exe", false);
  Install(2016, u"C:\\AppMethod\\bds.exe", false);
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\Alt\\14.0", u"APP", u"C:\\alt.exe");
  store.Create(RegistryRoot::CurrentUser, InstallationKey(2017));

  EXPECT_EQ(GetIdeExePath(registries, 3), u"C:\\D3\\delphi32.exe");
  EXPECT_EQ(GetIdeExePath(registries, 2016), u"C:\\AppMethod\\bds.exe");
  EXPECT_EQ(GetIdeExePath(registries, 2017), u"") << "key without value";
  EXPECT_EQ(GetIdeExePath(registries, 2014), u"") << "no key";
  EXPECT_EQ(GetIdeExePath(registries, 2008), u"") << "no release";
  // A later release's value under HKEY_LOCAL_MACHINE is not where it is read.
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(2014), u"APP", u"C:\\XE4\\bds.exe");
  EXPECT_EQ(GetIdeExePath(registries, 2014), u"");

  // The 64-bit IDE of 12 Athens on: "App x64", installed where it names a file.
  for (VersionCode code : {2017, 2025, 2026}) {
    store.SetString(RegistryRoot::CurrentUser, InstallationKey(code), u"App x64", u"C:\\IDE\\bin64\\bds.exe");
  }
  EXPECT_EQ(GetIde64ExePath(registries, 2026), u"C:\\IDE\\bin64\\bds.exe");
  EXPECT_EQ(GetIde64ExePath(registries, 2025), u"") << "no release before 12 has one";
  EXPECT_EQ(GetIde64ExePath(registries, 2027), u"");
  EXPECT_FALSE(Ide64Installed(registries, files, 2026));
  files.files.insert(u"C:\\IDE\\bin64\\bds.exe");
  EXPECT_TRUE(Ide64Installed(registries, files, 2026));
}

}  // namespace
}  // namespace ombrisk
