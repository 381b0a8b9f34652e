#include "core/profile_record.h"

#include "core/profile_store.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/fakes.h"
#include "core/test_comparer.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

constexpr std::u16string_view kSettings = u"C:\\Tools\\Ombrisk.env";

// The whole written file as text, the byte-order mark left out.
std::u16string FileText(const SettingsFile& file) {
  const std::string bytes = file.FileContent();
  std::u16string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    text +=
        static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return text;
}

// The twelve library lines of a tab, each value being prefix + suffix.
std::u16string LibraryLines(TPlatformType platform, std::u16string_view valuePrefix) {
  std::u16string lines;
  for (const LibrarySetting& setting : LibrarySettings) {
    lines += SettingsKey(platform, setting) + u"=" + std::u16string(valuePrefix) +
             std::u16string(setting.settingsKeySuffix) + u"\r\n";
  }
  return lines;
}

class ProfileRecordTest : public ::testing::Test {
 protected:
  // Values of the IDE's key of the release (the default one).
  void Ide(VersionCode code, std::u16string_view relative, std::u16string_view name, std::u16string_view text) {
    store.SetString(RegistryRoot::CurrentUser, IdeRegistryKey(code, false, u"") + std::u16string(relative), name, text);
  }
  // A library key with every value its rows read: "<platform>:<value name>".
  void LibraryKey(VersionCode code, TPlatformType platform) {
    for (const LibrarySetting& setting : LibrarySettings) {
      const std::u16string_view name = RegistryValueName(setting, code);
      Ide(code, LibraryKeyName(platform), name,
          std::u16string(PlatformTabCaption(platform)) + u":" + std::u16string(name));
    }
  }
  ProfileRecord Import(VersionCode code) {
    ProfileRecord record;
    record.version = code;
    MemoryRegistry registry(store);
    ImportIdeSettings(registry, record);
    return record;
  }
  SettingsFile& File() {
    if (!file) file = std::make_unique<SettingsFile>(files, comparer, std::u16string(kSettings));
    return *file;
  }

  MemoryRegistryStore store;
  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  std::unique_ptr<SettingsFile> file;
};

TEST_F(ProfileRecordTest, ImportOfTheEarlyReleasesReadsOneLibraryTabWithTheirRows) {
  for (VersionCode code : {2, 3, 7}) {
    LibraryKey(code, TPlatformType::pftNone);
    // Packages of an early release are not read: it has no package list.
    Ide(code, u"Known Packages", u"C:\\p.bpl", u"P");
    ProfileRecord record;
    record.version = code;
    record.delphiOnly = record.noCache = record.useAltReg = record.embeddedDesigner = true;
    record.noSplash = record.noProject = record.runAsAdmin = true;
    record.altReg = u"ALT";
    MemoryRegistry registry(store);
    ImportIdeSettings(registry, record);
    SCOPED_TRACE(code);
    EXPECT_FALSE(record.delphiOnly || record.noCache || record.useAltReg || record.embeddedDesigner);
    EXPECT_EQ(record.altReg, u"");
    EXPECT_TRUE(record.noSplash && record.noProject && record.runAsAdmin) << "switches every release has stay";
    EXPECT_TRUE(record.packages.empty());
    ASSERT_EQ(record.libraries.size(), 1u);
    EXPECT_EQ(record.libraries[0].platform, TPlatformType::pftNone);
    const std::u16string search = code <= 3 ? u"Win32:SearchPath" : u"Win32:Search Path";
    EXPECT_EQ(record.libraries[0].values[0], search);
    for (std::size_t row = 1; row < 12; ++row) {
      const bool enabled = code == 7 && row <= 5;
      EXPECT_EQ(record.libraries[0].values[row].empty(), !enabled) << "row " << row + 1;
    }
  }
}

TEST_F(ProfileRecordTest, ImportOf2006ReadsPackagesDesignerAndSevenRows) {
  LibraryKey(2006, TPlatformType::pftNone);
  Ide(2006, u"Known Packages", u"C:\\pkg\\zeta.bpl", u"Zeta components");
  Ide(2006, u"Known Packages", u"C:\\pkg\\Alpha.bpl", u"Alpha components");
  Ide(2006, u"Known Packages", u"C:\\pkg\\Ünï.bpl", u"Unicode");
  Ide(2006, u"Disabled Packages", u"c:\\PKG\\ALPHA.BPL", u"ignored data");
  Ide(2006, u"Disabled Packages", u"C:\\pkg\\üNï.bpl", u"other case of non-ASCII letters");
  Ide(2006, u"Disabled Packages", u"C:\\pkg\\missing.bpl", u"");
  Ide(2006, u"Form Design", u"Embedded Designer", u"false");
  const ProfileRecord record = Import(2006);
  ASSERT_EQ(record.packages.size(), 3u);
  // In the registry's enumeration order; the editor sorts them.
  EXPECT_EQ(record.packages[0].path, u"C:\\pkg\\zeta.bpl");
  EXPECT_EQ(record.packages[0].name, u"Zeta components");
  EXPECT_TRUE(record.packages[0].enabled);
  EXPECT_FALSE(record.packages[1].enabled) << "ASCII letters match in any case";
  EXPECT_TRUE(record.packages[2].enabled) << "other letters must match exactly";
  EXPECT_TRUE(record.embeddedDesigner) << "only the exact text False turns the designer off";
  ASSERT_EQ(record.libraries.size(), 1u);
  for (std::size_t row = 0; row < 12; ++row) EXPECT_EQ(record.libraries[0].values[row].empty(), row >= 7) << row;
}

TEST_F(ProfileRecordTest, ImportOfXe6ReadsATabPerExistingPlatformKeyInOrder) {
  for (TPlatformType platform : VersionPlatforms(2017)) {
    if (platform != TPlatformType::pftWin64) LibraryKey(2017, platform);
  }
  Ide(2017, u"Form Design", u"Embedded Designer", u"False");
  ProfileRecord record = Import(2017);
  EXPECT_FALSE(record.embeddedDesigner);
  std::vector<std::u16string_view> tabs;
  for (const LibraryPage& page : record.libraries) tabs.push_back(PlatformTabCaption(page.platform));
  EXPECT_EQ(tabs,
            (std::vector<std::u16string_view>{u"Win32", u"OSX32", u"iOS Device", u"iOS Simulator", u"Android32"}));
  EXPECT_EQ(record.libraries[1].values[0], u"OSX32:Search Path");
  EXPECT_EQ(record.libraries[1].values[11], u"OSX32:HPP Output Directory");

  // Without the designer key the box keeps its state; without library keys
  // there are no tabs.
  MemoryRegistryStore empty;
  MemoryRegistry registry(empty);
  record.embeddedDesigner = true;
  ImportIdeSettings(registry, record);
  EXPECT_TRUE(record.embeddedDesigner);
  EXPECT_TRUE(record.libraries.empty());
  EXPECT_TRUE(record.packages.empty());
}

TEST_F(ProfileRecordTest, ImportReadsTheAlternateKeyByItsTrimmedName) {
  store.SetString(RegistryRoot::CurrentUser, IdeRegistryKey(2017, true, u"Test") + u"Library\\Win32", u"Search Path",
                  u"alternate");
  LibraryKey(2017, TPlatformType::pftWin32);
  ProfileRecord record;
  record.version = 2017;
  record.useAltReg = true;
  record.altReg = u"  Test \t";
  MemoryRegistry registry(store);
  ImportIdeSettings(registry, record);
  ASSERT_EQ(record.libraries.size(), 1u);
  EXPECT_EQ(record.libraries[0].values[0], u"alternate");
  EXPECT_EQ(record.altReg, u"  Test \t") << "the edit keeps what was typed";

  record.altReg = u"   ";
  ImportIdeSettings(registry, record);
  EXPECT_EQ(record.libraries[0].values[0], u"Win32:Search Path") << "a blank name reads the default key";
}

TEST_F(ProfileRecordTest, AnImportErrorKeepsWhatWasReadBeforeIt) {
  LibraryKey(2017, TPlatformType::pftWin32);
  Ide(2017, u"Known Packages", u"C:\\a.bpl", u"A");
  store.SetValue(RegistryRoot::CurrentUser, IdeRegistryKey(2017, false, u"") + u"Library\\Win64", u"Search Path",
                 RegistryData{registry_type::kDWord, std::string("\x01\0\0\0", 4)});
  ProfileRecord record;
  record.version = 2017;
  MemoryRegistry registry(store);
  testing::ExpectAppError([&] { ImportIdeSettings(registry, record); }, u"'Search Path' のデータ型が不正です");
  EXPECT_EQ(record.packages.size(), 1u);
  ASSERT_EQ(record.libraries.size(), 2u) << "the failing tab stays, as it was added before the read";
  EXPECT_EQ(record.libraries[0].values[0], u"Win32:Search Path");
}

TEST_F(ProfileRecordTest, LoadTakesTheStoredValuesOverTheImport) {
  LibraryKey(2017, TPlatformType::pftWin32);
  LibraryKey(2017, TPlatformType::pftWin64);
  Ide(2017, u"Known Packages", u"C:\\pkg\\b.bpl", u"B");
  Ide(2017, u"Known Packages", u"C:\\pkg\\a.bpl", u"A");
  Ide(2017, u"Known Packages", u"C:\\pkg\\ä.bpl", u"Umlaut");
  Ide(2017, u"Disabled Packages", u"C:\\pkg\\b.bpl", u"B");
  Ide(2017, u"Form Design", u"Embedded Designer", u"False");
  ProfileRecord record = Import(2017);
  const std::u16string section = u"PREF_P";
  SettingsFile& settings = File();
  for (const auto& [key, value] : std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>{
           {u"Version", u"2017"},
           {u"Description", u"note"},
           {u"DelphiOnly", u"1"},
           {u"NoSplash", u"1"},
           {u"NoProject", u"0"},
           {u"NoCache", u"1"},
           {u"UseAltReg", u"0"},
           {u"RunAsAdmin", u"1"},
           {u"AltReg", u"X"},
           {u"Parameters", u"-d"},
           {u"PKG_Count", u"4"},
           {u"PKG_PATH1", u"c:\\PKG\\A.BPL"},
           {u"PKG_PATH2", u"   "},
           {u"PKG_PATH3", u"C:\\pkg\\Ä.bpl"},
           {u"Search_Path", u"stored 32"},
           {u"WIN64_HPP_Output_Directory", u"hpp"},
           {u"PreProcess", u"cmd /c echo"}}) {
    settings.WriteString(section, key, value);
  }
  MemoryRegistry registry(store);
  LoadProfile(settings, registry, u"P", record);
  EXPECT_EQ(record.description, u"note");
  EXPECT_TRUE(record.delphiOnly && record.noSplash && record.noCache && record.runAsAdmin);
  EXPECT_FALSE(record.noProject || record.useAltReg);
  EXPECT_EQ(record.altReg, u"X");
  EXPECT_EQ(record.parameters, u"-d");
  EXPECT_EQ(record.preProcess, u"cmd /c echo");
  EXPECT_FALSE(record.embeddedDesigner) << "no stored value: the IDE's setting";
  // The rows are read again, in enumeration order, and only the stored paths
  // are unchecked: the IDE's own disabled list does not count here.
  ASSERT_EQ(record.packages.size(), 3u);
  EXPECT_EQ(record.packages[0].path, u"C:\\pkg\\b.bpl");
  EXPECT_TRUE(record.packages[0].enabled);
  EXPECT_FALSE(record.packages[1].enabled);
  EXPECT_TRUE(record.packages[2].enabled) << "ä and Ä differ";
  ASSERT_EQ(record.libraries.size(), 2u);
  EXPECT_EQ(record.libraries[0].values[0], u"stored 32");
  EXPECT_EQ(record.libraries[0].values[1], u"") << "a missing key empties the edit";
  EXPECT_EQ(record.libraries[1].values[11], u"hpp");

  for (const auto& [stored, expected] : {std::pair{u"True", true}, {u"true", false}, {u"False", false}}) {
    settings.WriteString(section, u"Embedded_Designer", stored);
    LoadProfile(settings, registry, u"P", record);
    EXPECT_EQ(record.embeddedDesigner, expected) << ToUtf8(stored);
  }
}

TEST_F(ProfileRecordTest, LoadOfAnEarlyReleaseLeavesDesignerAndPackagesAlone) {
  ProfileRecord record = Import(7);
  record.embeddedDesigner = false;
  record.packages.push_back(PackageRow{u"kept", u"C:\\k.bpl", true});
  File().WriteString(u"PREF_Seven", u"Embedded_Designer", u"True");
  MemoryRegistry registry(store);
  LoadProfile(File(), registry, u"Seven", record);
  EXPECT_FALSE(record.embeddedDesigner);
  EXPECT_EQ(record.packages.size(), 1u);
}

TEST_F(ProfileRecordTest, SaveWritesEveryKeyInOrderAtTheEndOfTheFile) {
  SettingsFile& settings = File();
  settings.WriteString(u"PREF_New", u"Old", u"gone");
  settings.WriteString(u"System", u"ListViewLineColor", u"1");
  ProfileRecord record;
  record.version = 2017;
  record.description = u" note ";
  record.delphiOnly = record.noProject = record.useAltReg = true;
  record.altReg = u"ALT";
  record.parameters = u" -x ";
  record.embeddedDesigner = false;
  record.ide64 = true;  // not a key of XE6's
  record.packages = {{u"One", u"C:\\1.bpl", false}, {u"Two", u"C:\\2.bpl", true}, {u"Three", u"C:\\3.bpl", false}};
  record.libraries.push_back(LibraryPage{TPlatformType::pftWin32, {}});
  record.libraries.push_back(LibraryPage{TPlatformType::pftWin64, {}});
  for (std::size_t row = 0; row < 12; ++row) {
    record.libraries[0].values[row] = u"a" + std::u16string(LibrarySettings[row].settingsKeySuffix);
    record.libraries[1].values[row] = u"b" + std::u16string(LibrarySettings[row].settingsKeySuffix);
  }
  record.preProcess = u"echo";
  SaveProfile(settings, u"New", std::nullopt, record);
  EXPECT_EQ(FileText(settings),
            u"[System]\r\nListViewLineColor=1\r\n\r\n[PREF_New]\r\nVersion=2017\r\nDescription= note \r\n"
            u"DelphiOnly=1\r\nNoSplash=0\r\nNoProject=1\r\nNoCache=0\r\nUseAltReg=1\r\nRunAsAdmin=0\r\nAltReg=ALT\r\n"
            u"Parameters= -x \r\nEmbedded_Designer=False\r\nPKG_PATH1=C:\\1.bpl\r\nPKG_NAME1=One\r\n"
            u"PKG_PATH2=C:\\3.bpl\r\nPKG_NAME2=Three\r\nPKG_Count=2\r\n" +
                LibraryLines(TPlatformType::pftWin32, u"a") + LibraryLines(TPlatformType::pftWin64, u"b") +
                u"PreProcess=echo\r\nAltRegInit=1\r\nENV_Count=0\r\n\r\n");

  // Saved again as release 7 under a new name: no designer and package keys,
  // the old section gone, the new one at the end.
  record.version = 7;
  record.libraries = {LibraryPage{TPlatformType::pftNone, record.libraries[0].values}};
  settings.WriteString(u"Later", u"k", u"v");
  SaveProfile(settings, u"Renamed", u"New", record);
  EXPECT_EQ(FileText(settings),
            u"[System]\r\nListViewLineColor=1\r\n\r\n[Later]\r\nk=v\r\n\r\n[PREF_Renamed]\r\nVersion=7\r\n"
            u"Description= note \r\nDelphiOnly=1\r\nNoSplash=0\r\nNoProject=1\r\nNoCache=0\r\nUseAltReg=1\r\n"
            u"RunAsAdmin=0\r\nAltReg=ALT\r\nParameters= -x \r\n" +
                LibraryLines(TPlatformType::pftNone, u"a") + u"PreProcess=echo\r\n\r\n");

  // Back to XE6 with every package enabled: a count of 0 and no pairs.
  record.version = 2017;
  for (PackageRow& row : record.packages) row.enabled = true;
  record.libraries.clear();
  SaveProfile(settings, u"renamed", u"Renamed", record);
  const std::u16string text = FileText(settings);
  EXPECT_NE(text.find(u"[PREF_renamed]\r\nVersion=2017\r\n"), std::u16string::npos) << ToUtf8(text);
  EXPECT_NE(text.find(u"Embedded_Designer=False\r\nPKG_Count=0\r\nPreProcess=echo\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"PREF_Renamed"), std::u16string::npos);

  // 13 Florence: the 64-bit IDE's key after the switches, no designer key.
  record.version = 2027;
  SaveProfile(settings, u"renamed", u"renamed", record);
  EXPECT_NE(FileText(settings).find(u"RunAsAdmin=0\r\nIDE64=1\r\nAltReg=ALT\r\nParameters= -x \r\nPKG_Count=0\r\n"),
            std::u16string::npos);
}

}  // namespace
}  // namespace ombrisk
