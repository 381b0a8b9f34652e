#include "core/running_ide.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/text.h"

namespace ombrisk {
namespace {

TEST(RunningIde, TheKeyACommandLineNamesAsTheIdeReadsIt) {
  const std::pair<std::u16string_view, std::u16string_view> rows[] = {
      {u"\"C:\\RAD Studio\\bin\\bds.exe\" -rTEST", u"TEST"},
      {u"bds.exe /rtest", u"test"},
      {u"bds.exe \"-rA B\" C:\\Work\\App.dproj", u"A B"},
      {u"bds.exe -r\"A B\"", u"A B"},
      {u"bds.exe -R", u""},
      {u"bds.exe -r TEST", u""},             // the name does not follow a blank
      {u"bds.exe -rONE -np /RTWO", u"TWO"},  // the last one counts
      {u"bds.exe -pDelphi /ns", u""},
      {u"\"C:\\-rNOT\\bds.exe\"", u""},  // the program itself is no switch
      {u"bds.exe \"-rCUT", u"CUT"},      // cut short
      {u"", u""},
      {u"   \t ", u""},
  };
  for (const auto& [commandLine, key] : rows) {
    EXPECT_EQ(AlternateKeyOfCommandLine(commandLine), key) << ToUtf8(commandLine);
  }
}

TEST(RunningIde, PathsCompareAsWindowsComparesThem) {
  testing::FakeFileSystem files;
  files.shortPaths[u"C:\\Program Files\\RAD\\bin\\bds.exe"] = u"C:\\PROGRA~1\\RAD\\bin\\bds.exe";
  files.shortPaths[u"C:\\PROGRA~1\\RAD\\bin\\bds.exe"] = u"C:\\PROGRA~1\\RAD\\bin\\bds.exe";
  EXPECT_TRUE(SamePath(u"c:\\program files\\rad\\BIN\\BDS.EXE", u"C:\\Program Files\\RAD\\bin\\bds.exe", files));
  EXPECT_TRUE(SamePath(u"C:\\PROGRA~1\\RAD\\bin\\bds.exe", u"C:\\Program Files\\RAD\\bin\\bds.exe", files));
  EXPECT_FALSE(SamePath(u"C:\\Other\\bds.exe", u"C:\\Program Files\\RAD\\bin\\bds.exe", files));
  EXPECT_FALSE(SamePath(u"C:\\gone\\bds.exe", u"C:\\also gone\\bds.exe", files)) << "no short forms";
  files.shortPaths[u"C:\\RAD\\LongName.exe"] = u"C:\\RAD\\LONGNA~1.EXE";
  files.shortPaths[u"C:\\RAD\\LONGNA~1.EXE"] = u"C:\\RAD\\LONGNA~1.EXE";
  EXPECT_TRUE(SamePath(u"C:\\RAD\\LONGNA~1.EXE", u"C:\\RAD\\LongName.exe", files)) << "a short file name";
  const std::u16string ides[] = {u"C:\\IDE\\bin\\bds.exe", u"C:\\IDE\\bin64\\bds.exe"};
  EXPECT_TRUE(MayRun(u"BDS.EXE", ides));
  EXPECT_TRUE(MayRun(u"LONGNA~1.EXE", ides));
  EXPECT_FALSE(MayRun(u"notepad.exe", ides));
}

// The release's IDE, its 64-bit IDE, with the key or without a readable
// command line, and nothing else.
TEST(RunningIde, AnIdeOfTheReleaseUsesTheKeyItWasStartedWith) {
  MemoryRegistryStore store;
  MemoryRegistryFactory registries(store);
  testing::FakeFileSystem files;
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"APP", u"C:\\IDE\\bin\\bds.exe");
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"App x64", u"C:\\IDE\\bin64\\bds.exe");
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(7), u"APP", u"C:\\D7\\delphi32.exe");
  std::vector<RunningProcess> running;
  const ProcessLister lister = [&](std::span<const std::u16string> executables) {
    std::vector<RunningProcess> listed;
    for (const RunningProcess& process : running) {
      const std::u16string_view path = process.executable;
      if (MayRun(path.substr(path.find_last_of(u'\\') + 1), executables)) listed.push_back(process);
    }
    return listed;
  };
  const auto uses = [&](VersionCode code, std::u16string_view key) {
    return IdeRunsWithKey(lister, registries, files, code, key);
  };
  running = {{u"C:\\Other\\bds.exe", std::nullopt}, {u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rTEST"}};
  EXPECT_TRUE(uses(2027, u"test"));
  EXPECT_FALSE(uses(2027, u""));
  EXPECT_FALSE(uses(2027, u"OTHER"));
  EXPECT_FALSE(uses(2026, u"TEST")) << "another release";
  running = {{u"c:\\ide\\BIN64\\bds.exe", u"bds.exe"}};
  EXPECT_TRUE(uses(2027, u"")) << "the 64-bit IDE on the base key";
  EXPECT_TRUE(uses(2027, u"BDS"));
  EXPECT_FALSE(uses(2027, u"TEST"));
  running = {{u"C:\\IDE\\bin\\bds.exe", std::nullopt}};
  EXPECT_TRUE(uses(2027, u"ANY")) << "a command line that cannot be read counts";
  running = {{u"C:\\D7\\delphi32.exe", u"delphi32.exe -rX"}};
  EXPECT_TRUE(uses(7, u"")) << "Delphi 7 has one key";
  EXPECT_FALSE(IdeRunsWithKey(nullptr, registries, files, 2027, u""));
  EXPECT_EQ(ShownKey(2017, u"TEST"), u"Software\\Embarcadero\\TEST\\14.0");
  EXPECT_EQ(ShownKey(2017, u""), u"Software\\Embarcadero\\BDS\\14.0");
}

}  // namespace
}  // namespace ombrisk
