#include "core/profile_store.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/fakes.h"
#include "core/profile_projects.h"
#include "core/test_comparer.h"
#include "core/text.h"

namespace ombrisk {
namespace {

class ProfileStoreTest : public ::testing::Test {
 protected:
  void Store(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    files.contents[u"Ombrisk.env"] = bytes;
  }
  std::unique_ptr<SettingsFile> Open() { return std::make_unique<SettingsFile>(files, comparer, u"Ombrisk.env"); }
  std::u16string SettingsText() {
    const std::string& bytes = files.contents[u"Ombrisk.env"];
    std::u16string text(bytes.size() / 2, u'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * 2);
    return text;
  }
  ProfileStore Profiles() { return ProfileStore(files, comparer, u"Ombrisk.env"); }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
};

// The language a hand-set "Language" of "System" asks for; a key that only
// begins with the word, another value or no file asks for none.
TEST_F(ProfileStoreTest, LanguageIsReadWhereTheFileSetsIt) {
  const std::optional<Language> none;
  const std::pair<std::u16string_view, std::optional<Language>> cases[] = {
      {u"[System]\r\nLanguage=en\r\n", Language::English},
      {u"[MainForm]\r\nLeft=1\r\n[System]\r\n  language = JA\r\n", Language::Japanese},
      {u"[PREF_a]\r\nLanguage_Library_Path=x\r\n[System]\r\nLanguage=En", Language::English},
      {u"[PREF_a]\r\nLanguage_Library_Path=x\r\n", none},
      {u"[PREF_a]\r\nLanguage=en\r\n", none},
      {u"[System]\r\nLanguage=fr\r\n", none},
  };
  for (const auto& [text, language] : cases) {
    Store(text);
    EXPECT_EQ(Profiles().ReadLanguage(), language) << ToUtf8(text);
  }
  files.contents[u"Ombrisk.env"] = "[System]\nLanguage=ja\n";
  EXPECT_EQ(Profiles().ReadLanguage(), Language::Japanese) << "UTF-8";
  files.contents.clear();
  EXPECT_EQ(Profiles().ReadLanguage(), none);
}

TEST_F(ProfileStoreTest, ListsProfilesOfInstalledReleasesInTheLocalesOrder) {
  Store(
      u"[PREF_gamma]\r\nVersion=2017\r\n[PREF_beta]\r\nVersion=7\r\nDescription=seven\r\n"
      u"[PREF_Alpha]\r\nVersion=2017\r\nDescription=first\r\n[PREF_uninstalled]\r\nVersion=2010\r\n"
      u"[PREF_nonsense]\r\nVersion=2008\r\n[PREF_missing]\r\nDescription=x\r\n[pref_lower]\r\nVersion=7\r\n"
      u"[MainForm]\r\nClientWidth=1\r\n[PREF_]\r\nVersion=7\r\n");
  const auto rows = ListProfiles(*Open(), {7, 2017}, comparer);
  std::vector<std::u16string> names;
  for (const ListedProfile& row : rows) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"Alpha", u"beta", u"gamma"}));
  EXPECT_EQ(rows[1].label, u"Delphi XE6 / RAD Studio XE6");
  EXPECT_EQ(rows[1].description, u"first");
  EXPECT_EQ(rows[1].code, 2017);
  EXPECT_EQ(rows[2].label, u"Delphi 7 / 7.1");
}

TEST_F(ProfileStoreTest, GeometryDefaultsCentreAndStoredValuesWin) {
  MainFormGeometry geometry = ReadMainWindowSettings(*Open(), {1280, 1024, 16, 39}).geometry;
  EXPECT_EQ(geometry.windowState, 0);
  EXPECT_EQ(geometry.clientWidth, 512);
  EXPECT_EQ(geometry.clientHeight, 320);
  EXPECT_EQ(geometry.left, (1280 - 528) / 2);
  EXPECT_EQ(geometry.top, (1024 - 359) / 2);
  EXPECT_EQ(geometry.columnWidths, (std::array<int, 3>{132, 190, 154}));

  Store(u"[MainForm]\r\nClientWidth=600\r\nListViewColumnWidths=50,abc\r\nTop=-7\r\n");
  geometry = ReadMainWindowSettings(*Open(), {1281, 1024, 16, 39}).geometry;
  EXPECT_EQ(geometry.left, (1281 - 616) / 2) << "centred with the stored width";
  EXPECT_EQ(geometry.top, -7);
  EXPECT_EQ(geometry.columnWidths, (std::array<int, 3>{50, 100, 100}));

  auto file = Open();
  geometry = MainFormGeometry{2, 700, 400, 10, 20, {1, 2, 3}};
  WriteMainFormGeometry(*file, geometry);
  const std::string bytes = file->FileContent();
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), bytes.size());
  EXPECT_EQ(text,
            u"\xFEFF[MainForm]\r\nClientWidth=700\r\nListViewColumnWidths=1,2,3\r\nTop=20\r\n"
            u"ClientHeight=400\r\nWindowState=2\r\nLeft=10\r\n\r\n")
      << "existing keys are replaced in place, new ones appended in order";
}

// The store's operations read the file afresh, write it back when they
// change it, and leave the rest of it as it was.
TEST_F(ProfileStoreTest, ColumnWidthsTakenSectionsAndDeletion) {
  for (const auto& [stored, expected] : {std::pair<std::u16string_view, std::array<int, 2>>{u"", {430, 410}},
                                         {u"ListViewColumnWidths=500", {500, 400}},
                                         {u"listviewcolumnwidths=x,y,700", {400, 400}}}) {
    Store(u"[prefform]\r\n" + std::u16string(stored) + u"\r\n");
    EXPECT_EQ(Profiles().ReadPrefFormColumns(), expected) << ToUtf8(stored);
  }
  Store(u"[PREF_Keep]\r\nVersion=7\r\n[pref_ÄÖ]\r\nVersion=7\r\n[PrefForm]\r\nListViewColumnWidths=1,2\r\n");
  const int widths[] = {50, 60};
  Profiles().WritePrefFormColumns(widths);
  EXPECT_EQ(Profiles().ReadPrefFormColumns(), (std::array<int, 2>{50, 60}));
  EXPECT_EQ(Profiles().TakenSections(std::nullopt),
            (std::vector<std::u16string>{u"PREF_Keep", u"pref_ÄÖ", u"PrefForm"}));
  EXPECT_EQ(Profiles().TakenSections(u"äö"), (std::vector<std::u16string>{u"PREF_Keep", u"PrefForm"}))
      << "the edited profile's own section, matched as the file matches names";
  Profiles().Delete(u"ÄÖ");
  EXPECT_EQ(Open()->ReadSections(), (std::vector<std::u16string>{u"PREF_Keep", u"PrefForm"}));
}

// Numbered pairs are read by the numbers the section has: what the loop over
// 1 to the count reads, with each run of missing numbers standing as one
// empty pair, however large the count or the numbers.
TEST_F(ProfileStoreTest, NumberedPairsAreReadByTheNumbersThatExist) {
  using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;
  struct Case {
    std::u16string_view keys;
    Pairs expected;
  };
  const Case cases[] = {
      {u"PKG_PATH1=a\r\nPKG_NAME1=A\r\nPKG_PATH2=b\r\nPKG_Count=2\r\n", {{u"a", u"A"}, {u"b", u""}}},
      {u"PKG_PATH1=a\r\nPKG_PATH5=e\r\nPKG_Count=5\r\n", {{u"a", u""}, {}, {u"e", u""}}},
      {u"PKG_PATH1=a\r\nPKG_PATH3=c\r\nPKG_Count=2\r\n", {{u"a", u""}, {}}},
      {u"pkg_name2=X\r\nPKG_Count=3\r\n", {{}, {u"", u"X"}, {}}},
      {u"PKG_PATH01=z\r\nPKG_PATH1x=z\r\nPKG_Count=1\r\n", {{}}},
      {u"PKG_PATH1=a\r\nPKG_Count=0\r\n", {}},
      {u"PKG_PATH1=a\r\nPKG_Count=-4\r\n", {}},
      {u"PKG_PATH1=a\r\n", {}},
      {u"PKG_PATH2000000000=A\r\nPKG_Count=2000000000\r\n", {{}, {u"A", u""}}},
      {u"PKG_PATH7=A\r\nPKG_Count=2147483647\r\n", {{}, {u"A", u""}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.keys));
    Store(u"[PREF_P]\r\n" + std::u16string(c.keys));
    Pairs read;
    for (DisabledPackage& package : DisabledPackages(*Open(), u"PREF_P")) read.emplace_back(package.path, package.name);
    EXPECT_EQ(read, c.expected);
  }
}

// The profile each project was last opened in: remembered (the newest
// choice for a path, compared as Windows compares paths, replacing the
// older), read back from the file, following a renamed profile and going
// with a deleted one.
TEST_F(ProfileStoreTest, ProjectPairingsAreRememberedReplacedRenamedAndDropped) {
  Store(u"[PREF_A]\r\nVersion=7\r\n[PREF_B]\r\nVersion=7\r\n");
  const CaseMapping& mapping = comparer.Mapping();
  {
    const std::unique_ptr<SettingsFile> file = Open();
    RememberProject(*file, u"C:\\Work\\One.dproj", u"A", mapping);
    RememberProject(*file, u"C:\\Work\\Two.dproj", u"A", mapping);
    RememberProject(*file, u"c:\\work\\ONE.DPROJ", u"B", mapping);
    file->UpdateFile();
  }
  EXPECT_NE(SettingsText().find(u"[Projects]\r\nPROJECT_PATH1=C:\\Work\\Two.dproj\r\nPROJECT_PROFILE1=A\r\n"
                                u"PROJECT_PATH2=c:\\work\\ONE.DPROJ\r\nPROJECT_PROFILE2=B\r\nPROJECT_Count=2\r\n"),
            std::u16string::npos);
  EXPECT_EQ(RememberedProfile(*Open(), u"C:\\WORK\\one.dproj", mapping), u"B");
  EXPECT_EQ(RememberedProfile(*Open(), u"C:\\Work\\Three.dproj", mapping), std::nullopt);

  ProfileRecord record = ReadStoredProfile(*Open(), u"PREF_A");
  Profiles().Save(u"Renamed", u"A", record);
  EXPECT_EQ(ReadProjectPairings(*Open()),
            (std::vector<ProjectPairing>{{u"C:\\Work\\Two.dproj", u"Renamed"}, {u"c:\\work\\ONE.DPROJ", u"B"}}));
  Profiles().Delete(u"b");
  EXPECT_EQ(ReadProjectPairings(*Open()), (std::vector<ProjectPairing>{{u"C:\\Work\\Two.dproj", u"Renamed"}}));
}

}  // namespace
}  // namespace ombrisk
