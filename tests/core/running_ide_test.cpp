#include "core/running_ide.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/test_comparer.h"
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

// The IDEs of every release whose key can be the one asked about, each
// with the key it was started with as the registry resolves it, or any key
// of its release where its command line cannot be read.
TEST(RunningIde, AnIdeUsesTheKeyItWasStartedWithAsTheRegistryResolvesIt) {
  MemoryRegistryStore store;
  MemoryRegistryFactory registries(store);
  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"APP", u"C:\\IDE\\bin\\bds.exe");
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"App x64", u"C:\\IDE\\bin64\\bds.exe");
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2007), u"APP", u"C:\\D2007\\bds.exe");
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(7), u"APP", u"C:\\D7\\delphi32.exe");
  store.SetString(RegistryRoot::LocalMachine, InstallationKey(5), u"APP", u"C:\\D5\\delphi32.exe");
  std::vector<RunningProcess> running;
  const ProcessLister lister = [&](std::span<const std::u16string> executables) {
    std::vector<RunningProcess> listed;
    for (const RunningProcess& process : running) {
      const std::u16string_view path = process.executable;
      if (MayRun(path.substr(path.find_last_of(u'\\') + 1), executables)) listed.push_back(process);
    }
    return listed;
  };
  struct Case {
    std::vector<RunningProcess> running;
    std::u16string_view key;
    std::optional<VersionCode> user;
  };
  const Case cases[] = {
      {{{u"C:\\Other\\bds.exe", std::nullopt}, {u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rTEST"}},
       u"\\Software\\Embarcadero\\test\\37.0",
       2027},
      {{{u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rTEST"}}, u"\\Software\\Embarcadero\\BDS\\37.0", std::nullopt},
      {{{u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rTEST"}}, u"\\Software\\Embarcadero\\TEST\\23.0", std::nullopt},
      {{{u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rｔｅｓｔ"}}, u"\\Software\\Embarcadero\\ＴＥＳＴ\\37.0", 2027},
      {{{u"C:\\IDE\\bin\\bds.exe", u"bds.exe \"-rMy Key\""}}, u"\\Software\\\\Embarcadero\\my key\\37.0\\", 2027},
      {{{u"C:\\IDE\\bin\\bds.exe", u"bds.exe -rTEAM"}}, u"\\Software\\Embarcadero\\Team\\37.0\\Sub", 2027},
      {{{u"c:\\ide\\BIN64\\bds.exe", u"bds.exe"}}, u"\\Software\\Embarcadero\\BDS\\37.0", 2027},
      {{{u"c:\\ide\\BIN64\\bds.exe", u"bds.exe"}}, u"\\Software\\Embarcadero\\TEST\\37.0", std::nullopt},
      {{{u"C:\\IDE\\bin\\bds.exe", std::nullopt}}, u"\\Software\\Embarcadero\\ANY\\37.0", 2027},
      {{{u"C:\\IDE\\bin\\bds.exe", std::nullopt}}, u"\\Software\\Embarcadero\\ANY\\23.0", std::nullopt},
      {{{u"C:\\D7\\delphi32.exe", u"delphi32.exe -rX"}}, u"\\Software\\Borland\\DELPHI\\7.0", 7},
      // Delphi 5's key is what a Delphi 2007 key named "Delphi" names.
      {{{u"C:\\D5\\delphi32.exe", u"delphi32.exe"}}, u"\\Software\\Borland\\Delphi\\5.0", 5},
      {{{u"C:\\D2007\\bds.exe", u"bds.exe -rdelphi"}}, u"\\Software\\Borland\\DELPHI\\5.0", 2007},
      {{{u"C:\\D2007\\bds.exe", u"bds.exe -rdelphi"}}, u"\\Software\\Borland\\BDS\\5.0", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.key));
    running = c.running;
    EXPECT_EQ(IdeUsingKey(lister, registries, files, c.key, comparer.Mapping()), c.user);
  }
  EXPECT_FALSE(IdeUsingKey(nullptr, registries, files, u"\\Software\\Embarcadero\\BDS\\37.0", comparer.Mapping()));
  EXPECT_EQ(ShownKey(u"\\Software\\Embarcadero\\TEST\\14.0\\"), u"Software\\Embarcadero\\TEST\\14.0");
}

}  // namespace
}  // namespace ombrisk
