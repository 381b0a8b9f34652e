#include "core/launch_backup.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

constexpr std::u16string_view kFolder = u"C:\\Tools\\Ombrisk.backup";

const CaseMapping& Mapping() {
  static const testing::PlatformTextComparer comparer;
  return comparer.Mapping();
}

RegistryScript ScriptOf(std::u16string_view profile, std::vector<std::u16string> keyPaths) {
  RegistryScript script{std::u16string(profile), {}};
  for (std::u16string& path : keyPaths) {
    script.keys.push_back(ScriptKey{std::move(path), false, {{u"Search Path", StringData(u"restored")}}});
  }
  return script;
}

std::vector<std::u16string> Names(const std::vector<BackupEntry>& entries) {
  std::vector<std::u16string> names;
  for (const BackupEntry& entry : entries) names.push_back(entry.path.substr(kFolder.size() + 1));
  return names;
}

// Twenty-five launches of one key within a second and one of another key:
// unique names, the newest twenty of the first key kept, newest first. Keys
// whose file names are shortened alike keep their own twenty; one key
// spelled in another case shares them.
TEST(LaunchBackup, NamesStayUniqueAndTheNewestTwentyOfEachKeyAreKept) {
  testing::FakeFileSystem files;
  const BackupTime second{2026, 12, 9, 15, 30, 12};
  WriteLaunchBackup(files, kFolder, 2025, u"\\Software\\Embarcadero\\a:b*c_d\\22.0\\", ScriptOf(u"Other", {}),
                    BackupTime{2026, 12, 9, 15, 30, 11}, Mapping());
  for (int launch = 1; launch <= 25; ++launch) {
    WriteLaunchBackup(files, kFolder, 2017,
                      launch % 2 == 0 ? u"\\Software\\Embarcadero\\BDS\\14.0\\" : u"\\SOFTWARE\\embarcadero\\bds\\14.0",
                      ScriptOf(DecimalText(launch), {}), second, Mapping());
  }
  EXPECT_EQ(files.folders, std::set<std::u16string>{std::u16string(kFolder)});
  const std::vector<BackupEntry> entries = ListBackups(files, kFolder);
  ASSERT_EQ(entries.size(), 21U);
  EXPECT_EQ(Names(entries).front(), u"2017_bds_20261209-153012_25.reg");
  EXPECT_EQ(entries.front().profile, u"25");
  EXPECT_EQ(Names(entries)[19], u"2017_BDS_20261209-153012_6.reg") << "the five oldest removed";
  EXPECT_EQ(entries.front().key, u"\\SOFTWARE\\embarcadero\\bds\\14.0");
  EXPECT_EQ(Names(entries).back(), u"2025_a_b_c_d_20261209-153011.reg") << "its own key, its own count";
  EXPECT_EQ(entries.back().base, u"a_b_c_d");
  EXPECT_EQ(entries.back().code, 2025);
  EXPECT_EQ(DisplayTime(entries.back().time), u"2026/12/09 15:30:11");

  // Files the program did not name are neither listed nor removed.
  files.contents[std::u16string(kFolder) + u"\\notes.reg"] = "x";
  files.contents[std::u16string(kFolder) + u"\\2017_BDS_2026-1209.reg"] = "x";
  WriteLaunchBackup(files, kFolder, 2017, u"\\Software\\Embarcadero\\BDS\\14.0\\", ScriptOf(u"26", {}),
                    BackupTime{2026, 12, 10, 0, 0, 0}, Mapping());
  EXPECT_EQ(ListBackups(files, kFolder).size(), 21U);
  EXPECT_EQ(files.ListFiles(kFolder).size(), 23U);

  WriteLaunchBackup(files, kFolder, 2025, u"\\Software\\Embarcadero\\a_b*c_d\\22.0", ScriptOf(u"Alike", {}), second,
                    Mapping());
  for (int launch = 1; launch <= 20; ++launch) {
    WriteLaunchBackup(files, kFolder, 2025, u"\\Software\\Embarcadero\\a:b*c:d\\22.0", ScriptOf(u"Shortened", {}),
                      second, Mapping());
  }
  std::map<std::u16string, int> perKey;
  for (const BackupEntry& entry : ListBackups(files, kFolder)) ++perKey[entry.key];
  EXPECT_EQ(perKey[u"\\Software\\Embarcadero\\a:b*c_d\\22.0"], 1);
  EXPECT_EQ(perKey[u"\\Software\\Embarcadero\\a_b*c_d\\22.0"], 1);
  EXPECT_EQ(perKey[u"\\Software\\Embarcadero\\a:b*c:d\\22.0"], 20);
}

// A restore writes only into the settings key its script records (one of a
// release, any name of one or more levels) or below it, or, for a script of
// an earlier version, into one settings key of four levels; it refuses
// anything else before writing.
TEST(LaunchBackup, RestoreRefusesScriptsOutsideOneSettingsKeyOfTheCatalogue) {
  testing::FakeFileSystem files;
  MemoryRegistryStore store;
  MemoryRegistryFactory registries{store};
  const std::u16string path = std::u16string(kFolder) + u"\\2018_BDS_20261209-153012.reg";
  const auto restore = [&](const std::vector<std::u16string>& keys, std::u16string_view recorded = u"") {
    RegistryScript script = ScriptOf(u"P", keys);
    script.key = recorded;
    files.contents[path] = *WriteRegistryScript(script);
    RestoreBackup(registries, files, path, Mapping());
  };
  const std::vector<std::u16string> refused[] = {
      {u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
      {u"\\Software\\Embarcadero\\BDS\\99.0\\Library"},
      {u"\\Software\\Borland\\BDS\\15.0\\Library"},
      {u"\\Software\\Embarcadero\\BDS"},
      {u"\\Software\\Embarcadero\\\\15.0\\Library"},
      {u"\\Software\\Embarcadero\\BDS\\15.0\\Library", u"\\Software\\Embarcadero\\BDS\\14.0\\Library"},
      {u"\\Software\\Embarcadero\\BDS\\15.0\\Library", u"\\Software\\Embarcadero\\Alt\\15.0\\Library"},
      {u"\\Software\\Embarcadero\\BDS\\15.0\\Library", u"\\Software\\Other"},
      {},
  };
  for (const std::vector<std::u16string>& keys : refused) {
    testing::ExpectAppError([&] { restore(keys); }, u"このファイルは復元できません: " + path);
  }
  const std::pair<std::u16string_view, std::u16string_view> refusedRecorded[] = {
      {u"\\Software\\Embarcadero\\Foo\\Bar\\23.0", u"\\Software\\Embarcadero\\Foo\\23.0"},
      {u"\\Software\\Microsoft\\Run", u"\\Software\\Microsoft\\Run\\X"},
      {u"\\Software\\Embarcadero\\23.0", u"\\Software\\Embarcadero\\23.0\\X"},
  };
  for (const auto& [recorded, key] : refusedRecorded) {
    testing::ExpectAppError([&] { restore({std::u16string(key)}, recorded); },
                            u"このファイルは復元できません: " + path);
  }
  files.contents[path] = "\xFF\xFE";
  testing::ExpectAppError([&] { RestoreBackup(registries, files, path, Mapping()); },
                          u"このファイルは復元できません: " + path);
  files.contents[path] = *WriteRegistryScript(ScriptOf(u"P", {u"\\Software\\Embarcadero\\BDS\\15.0\\Library"})) + "x";
  testing::ExpectAppError([&] { RestoreBackup(registries, files, path, Mapping()); },
                          u"このファイルは復元できません: " + path);
  files.contents.erase(path);
  testing::ExpectAppError([&] { RestoreBackup(registries, files, path, Mapping()); },
                          u"このファイルは復元できません: " + path);
  EXPECT_TRUE(testing::DumpRegistry(store, RegistryRoot::CurrentUser).empty()) << "nothing written";

  restore({u"\\SOFTWARE\\embarcadero\\My Setup\\15.0\\Library", u"\\Software\\Embarcadero\\my setup\\15.0\\X\\Y"});
  restore({u"\\Software\\Borland\\DELPHI\\3.0\\Library"});
  restore({u"\\Software\\Embarcadero\\BDS\\15.0"});
  restore({u"\\Software\\Embarcadero\\BDS\\15.0\\\\Doubled"});
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser).size(), 19U);
  restore({u"\\software\\EMBARCADERO\\foo\\BAR\\23.0\\Library"}, u"\\Software\\Embarcadero\\Foo\\Bar\\23.0");
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser).size(), 24U);
}

}  // namespace
}  // namespace ombrisk
