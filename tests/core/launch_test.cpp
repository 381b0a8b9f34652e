#include "core/launch.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "core/command_line.h"
#include "core/errors.h"
#include "core/fakes.h"
#include "core/platforms.h"
#include "core/profile_launch_record.h"
#include "core/profile_projects.h"
#include "core/profile_record.h"
#include "core/settings_file.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "core/texts.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

using Dump = std::map<std::u16string, std::u16string>;

TEST(BuildIdeParameters, SwitchesInOrderEachWithItsBlank) {
  struct Case {
    bool delphiOnly, noSplash, noProject, noCache, useAltReg;
    std::u16string_view altReg, parameters, expected;
  };
  const Case cases[] = {
      {false, false, false, false, false, u"", u"", u""},
      {true, false, false, false, false, u"", u"", u"-pDelphi "},
      {false, true, false, false, false, u"", u"", u"/ns "},
      {false, false, true, false, false, u"", u"", u"/np "},
      {false, false, false, true, false, u"", u"", u"/nocache "},
      {false, false, false, false, true, u"Test", u"", u"/rTest "},
      {false, false, false, false, true, u"", u"", u"/r "},
      {false, false, false, false, false, u"Test", u"", u""},  // no /r unless asked for
      {true, true, false, false, true, u"Test", u" C:\\Work\\App.dproj ", u"-pDelphi /ns /rTest C:\\Work\\App.dproj"},
      {true, true, true, true, true, u" Alt ", u"\t\r\n -x  -y \x1F", u"-pDelphi /ns /np /nocache /rAlt -x  -y"},
      {false, false, false, false, true, u"My Key", u"", u"/r\"My Key\" "},
      {false, false, false, false, false, u"", u" \t ", u""},
  };
  for (const Case& c : cases) {
    ProfileRecord record;
    record.delphiOnly = c.delphiOnly;
    record.noSplash = c.noSplash;
    record.noProject = c.noProject;
    record.noCache = c.noCache;
    record.useAltReg = c.useAltReg;
    record.altReg = c.altReg;
    record.parameters = c.parameters;
    // Neither is a switch of the IDE.
    record.runAsAdmin = true;
    record.ide64 = true;
    EXPECT_EQ(BuildIdeParameters(record), c.expected) << ToUtf8(c.expected);
  }
}

TEST(ExpandPreProcessMacros, ReplaceBothMacrosByTheShortInstallationFolder) {
  testing::FakeFileSystem files;
  files.shortPaths[u"C:\\Tools\\IDE 9"] = u"C:\\Tools\\IDE9~1";
  files.shortPaths[u"C:"] = u"C:";
  const std::u16string exe = u"C:\\Tools\\IDE 9\\bin\\ide.exe";
  EXPECT_EQ(ExpandPreProcessMacros(u"@$(BDS)@\\bin\\tool.exe", exe, files), u"C:\\Tools\\IDE9~1\\bin\\tool.exe");
  EXPECT_EQ(ExpandPreProcessMacros(u"@$(delphi)@ @$(Bds)@ @$(DELPHI)@ @$(bds)@", exe, files),
            u"C:\\Tools\\IDE9~1 C:\\Tools\\IDE9~1 C:\\Tools\\IDE9~1 C:\\Tools\\IDE9~1");
  EXPECT_EQ(ExpandPreProcessMacros(u"copy a b & echo ünïcödé", exe, files), u"copy a b & echo ünïcödé");
  EXPECT_EQ(ExpandPreProcessMacros(u"x@$(BDS)@y", u"ide.exe", files), u"xy") << "no separator: empty folder";
  EXPECT_EQ(ExpandPreProcessMacros(u"[@$(BDS)@]", u"C:/Tools/bin/ide.exe", files), u"[C:]")
      << "only \\ and : separate folders";
  EXPECT_EQ(ExpandPreProcessMacros(u"[@$(BDS)@]", u"", files), u"[]");
  EXPECT_EQ(ExpandPreProcessMacros(u"[@$(BDS)@]", u"D:\\gone\\bin\\bds.exe", files), u"[]") << "no such folder";
  // A replacement does not search the text it put in; the second macro is
  // replaced in the result of the first.
  files.shortPaths[u"C:\\@$(DELPHI)@"] = u"C:\\@$(DELPHI)@";
  EXPECT_EQ(ExpandPreProcessMacros(u"@$(DELPHI)@", u"C:\\@$(DELPHI)@\\bin\\x.exe", files), u"C:\\@$(DELPHI)@");
  files.shortPaths[u"C:\\@$(BDS)@"] = u"C:\\@$(BDS)@";
  EXPECT_EQ(ExpandPreProcessMacros(u"@$(DELPHI)@", u"C:\\@$(BDS)@\\bin\\x.exe", files), u"C:\\C:\\@$(BDS)@");
  EXPECT_EQ(ExpandPreProcessMacros(u"@$(BDS)@$(BDS)@", exe, files), u"C:\\Tools\\IDE9~1$(BDS)@");
}

// Records the starts and the window calls in the order they come.
class RecordingStarter : public ProcessStarter {
 public:
  explicit RecordingStarter(std::vector<std::u16string>& log) : log_(log) {}
  std::uint32_t RunAndWait(std::u16string_view commandLine, bool wait) override {
    log_.push_back(u"run " + std::u16string(commandLine) + (wait ? u" (wait)" : u""));
    if (duringRun) duringRun();
    return 0;
  }
  bool RunElevated(std::u16string_view file, std::u16string_view parameters) override {
    log_.push_back(u"runas " + std::u16string(file) + u" [" + std::u16string(parameters) + u"]");
    return starts;
  }
  bool Open(std::u16string_view file, std::u16string_view parameters) override {
    log_.push_back(u"open " + std::u16string(file) + u" [" + std::u16string(parameters) + u"]");
    return starts;
  }
  bool SupportsElevation() override { return elevation; }

  bool elevation = true;
  // What the IDE starts answer.
  bool starts = true;
  std::function<void()> duringRun;

 private:
  std::vector<std::u16string>& log_;
};

class Launch : public ::testing::Test {
 protected:
  static constexpr std::u16string_view kSettings = u"C:\\Tools\\Ombrisk.env";
  static constexpr BackupTime kLaunchTime{2026, 12, 9, 15, 30, 12};

  void SetUp() override { files.shortPaths[u"C:\\IDE"] = u"C:\\IDE"; }

  // Writes the profile's keys into the settings file.
  void Profile(std::u16string_view name,
               std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> keys) {
    SettingsFile file(files, comparer, std::u16string(kSettings));
    for (const auto& [key, value] : keys) file.WriteString(u"PREF_" + std::u16string(name), key, value);
    file.UpdateFile();
  }
  void Install(VersionCode code) {
    store.SetString(InstallationRoot(code), InstallationKey(code), ExecutableValueName(code), u"C:\\IDE\\bin\\ide.exe");
  }
  LaunchResult Run(VersionCode code, std::u16string_view name) {
    const ProfileStore profiles(files, comparer, std::u16string(kSettings));
    LaunchServices services{profiles,
                            registries,
                            starter,
                            [this] { log.push_back(u"messages"); },
                            [this] { log.push_back(u"close"); },
                            [] { return kLaunchTime; }};
    services.reviewChanges = [this](std::span<const SettingChange> changes) {
      reviewed.emplace_back(changes.begin(), changes.end());
      return changesAnswer;
    };
    return LaunchProfile(services, code, name);
  }
  // The changes each launch showed, and the answer given.
  std::vector<std::vector<SettingChange>> reviewed;
  ChangesAnswer changesAnswer{ChangesAnswer::Choice::LaunchAsStored, {}};
  // The values of the user's registry below a key, as "sub key|name".
  Dump Below(std::u16string_view key) {
    Dump below;
    const std::u16string prefix = std::u16string(key) + u"\\";
    for (const auto& [path, value] : testing::DumpRegistry(store, RegistryRoot::CurrentUser)) {
      if (path.starts_with(prefix)) below[path.substr(prefix.size())] = value;
    }
    return below;
  }
  // The expected library values of a release on one key: the written rows,
  // each holding the prefix and its settings key suffix (as LibraryValues
  // stores them), or empty when the profile stores none.
  static void ExpectLibrary(Dump& expected, VersionCode code, TPlatformType platform,
                            std::optional<std::u16string_view> prefix) {
    const std::u16string key = LibraryKeyName(platform);
    expected[key] = u"";
    for (const LibrarySetting& setting : LibrarySettings) {
      if (!IsWrittenAtLaunch(setting, code)) continue;
      expected[key + u"|" + std::u16string(RegistryValueName(setting, code))] =
          prefix ? std::u16string(*prefix) + std::u16string(setting.settingsKeySuffix) : u"";
    }
  }
  // A profile value for every library key of the release: prefix + suffix.
  void LibraryValues(std::u16string_view name, VersionCode code) {
    SettingsFile file(files, comparer, std::u16string(kSettings));
    for (TPlatformType platform : VersionPlatforms(code)) {
      for (const LibrarySetting& setting : LibrarySettings) {
        file.WriteString(u"PREF_" + std::u16string(name), SettingsKey(platform, setting),
                         std::u16string(PlatformIniPrefix(platform)) + std::u16string(setting.settingsKeySuffix));
      }
    }
    file.UpdateFile();
  }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  MemoryRegistryStore store;
  MemoryRegistryFactory registries{store};
  std::vector<std::u16string> log;
  RecordingStarter starter{log};
};

TEST_F(Launch, Delphi7WritesItsOneLibraryKeyAndStartsTheIde) {
  Install(7);
  Profile(u"D7", {{u"Version", u"7"}, {u"NoSplash", u"1"}, {u"NoProject", u"1"}});
  LibraryValues(u"D7", 7);
  const std::u16string base = u"Software\\Borland\\DELPHI\\7.0";
  store.SetString(RegistryRoot::CurrentUser, base + u"\\Disabled Packages\\Old", u"stale.bpl", u"Stale");
  store.SetString(RegistryRoot::CurrentUser, base + u"\\Disabled Packages", u"dcl.bpl", u"Old package");
  store.SetString(RegistryRoot::CurrentUser, base + u"\\Library", u"Debug DCU Path", u"kept: row 7 is not written");
  Run(7, u"D7");

  Dump expected{{u"Disabled Packages", u""}, {u"Library|Debug DCU Path", u"kept: row 7 is not written"}};
  ExpectLibrary(expected, 7, TPlatformType::pftNone, u"");
  EXPECT_EQ(Below(base), expected);
  EXPECT_EQ(log, (std::vector<std::u16string>{u"messages", u"messages", u"open \"C:\\IDE\\bin\\ide.exe\" [/ns /np ]",
                                              u"close"}));
}

TEST_F(Launch, Delphi3WritesOnlyItsSearchPath) {
  Install(3);
  Profile(u"D3", {{u"Version", u"3"}, {u"Search_Path", u"C:\\D3\\Lib"}, {u"Browsing_Path", u"not written"}});
  Run(3, u"D3");
  EXPECT_EQ(Below(u"Software\\Borland\\DELPHI\\3.0"),
            (Dump{{u"Disabled Packages", u""}, {u"Library", u""}, {u"Library|SearchPath", u"C:\\D3\\Lib"}}));
}

TEST_F(Launch, Delphi8WritesDesignerPackagesAndMissingValuesEmpty) {
  Install(8);
  Profile(u"D8", {{u"Version", u"8"},
                  {u"PKG_Count", u"2"},
                  {u"PKG_PATH1", u"$(BDS)\\bin\\dclib.bpl"},
                  {u"PKG_NAME1", u"Interbase"},
                  {u"PKG_NAME2", u"no path: the default value"},
                  {u"Search_Path", u"$(BDS)\\lib"}});
  Run(8, u"D8");
  Dump expected{{u"Disabled Packages", u""},
                {u"Disabled Packages|$(BDS)\\bin\\dclib.bpl", u"Interbase"},
                {u"Disabled Packages|", u"no path: the default value"},
                {u"Form Design", u""},
                {u"Form Design|Embedded Designer", u"True"}};
  ExpectLibrary(expected, 8, TPlatformType::pftNone, std::nullopt);
  expected[u"Library|Search Path"] = u"$(BDS)\\lib";
  EXPECT_EQ(Below(u"Software\\Borland\\BDS\\2.0"), expected);
  EXPECT_EQ(expected.count(u"Library|Debug DCU Path"), 1u) << "row 7 is written for release 8";

  // From 2007 on, MSBuild's copy of the library settings is renewed.
  Install(2007);
  Profile(u"D2007", {{u"Version", u"2007"}, {u"Search_Path", u"$(BDS)\\lib"}});
  Run(2007, u"D2007");
  EXPECT_EQ(Below(u"Software\\Borland\\BDS\\5.0").at(u"Globals|ForceEnvOptionsUpdate"), u"1");
}

TEST_F(Launch, AlternateKeyMovesEveryWriteAndAddsTheSwitch) {
  Install(2006);
  Profile(u"Alt", {{u"Version", u"2006"},
                   {u"UseAltReg", u"1"},
                   {u"AltReg", u"Test"},
                   {u"Embedded_Designer", u"False"},
                   {u"Parameters", u" C:\\Work\\App.bdsproj "},
                   {u"DelphiOnly", u"1"}});
  LibraryValues(u"Alt", 2006);
  Run(2006, u"Alt");
  Dump expected{{u"Disabled Packages", u""}, {u"Form Design", u""}, {u"Form Design|Embedded Designer", u"False"}};
  ExpectLibrary(expected, 2006, TPlatformType::pftNone, u"");
  EXPECT_EQ(Below(u"Software\\Borland\\Test\\4.0"), expected);
  EXPECT_TRUE(Below(u"Software\\Borland\\BDS\\4.0").empty()) << "the default key is left alone";
  EXPECT_EQ(log[2], u"open \"C:\\IDE\\bin\\ide.exe\" [-pDelphi /rTest C:\\Work\\App.bdsproj]");
}

TEST_F(Launch, PlatformReleasesWriteOneLibraryKeyPerPlatform) {
  for (VersionCode code : {2014, 2017}) {
    SCOPED_TRACE(code);
    Install(code);
    const std::u16string name = u"P" + DecimalText(code);
    Profile(name,
            {{u"Version", DecimalText(code)}, {u"PKG_Count", u"1"}, {u"PKG_PATH1", u"a.bpl"}, {u"PKG_NAME1", u"A"}});
    LibraryValues(name, code);
    Run(code, name);
    Dump expected{{u"Disabled Packages", u""},
                  {u"Disabled Packages|a.bpl", u"A"},
                  {u"Form Design", u""},
                  {u"Form Design|Embedded Designer", u"True"},
                  {u"Globals", u""},
                  {u"Globals|ForceEnvOptionsUpdate", u"1"},
                  {u"Library", u""}};
    for (TPlatformType platform : VersionPlatforms(code))
      ExpectLibrary(expected, code, platform, PlatformIniPrefix(platform));
    EXPECT_EQ(Below(IdeRegistryKey(code, false, u"").substr(1, IdeRegistryKey(code, false, u"").size() - 2)), expected);
  }
}

TEST_F(Launch, PreLaunchCommandRunsBetweenMessagesAndTheIdeStartsElevated) {
  Install(2017);
  Profile(u"Pre", {{u"Version", u"2017"}, {u"RunAsAdmin", u"1"}, {u"PreProcess", u"@$(BDS)@\\bin\\prep.exe --go"}});
  // The command registers another executable: the start uses the new one.
  starter.duringRun = [this] {
    store.SetString(RegistryRoot::CurrentUser, InstallationKey(2017), u"APP", u"C:\\IDE\\bin\\other.exe");
  };
  Run(2017, u"Pre");
  EXPECT_EQ(log, (std::vector<std::u16string>{u"messages", u"run C:\\IDE\\bin\\prep.exe --go (wait)", u"messages",
                                              u"runas \"C:\\IDE\\bin\\other.exe\" []", u"close"}));

  log.clear();
  starter.duringRun = nullptr;
  starter.elevation = false;
  Run(2017, u"Pre");
  EXPECT_EQ(log[3], u"open \"C:\\IDE\\bin\\other.exe\" []") << "no elevation before Windows 6.0";
}

TEST_F(Launch, MissingSectionOrRegistryErrorStartsNothing) {
  Install(2017);
  Profile(u"Known", {{u"Version", u"2017"}});
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser);
  testing::ExpectAppError([&] { Run(2017, u"Gone"); }, u"プロファイル [Gone] が見つかりません");
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser), before);

  store.refuseWrites = true;
  testing::ExpectAppError([&] { Run(2017, u"Known"); },
                          u"キー \\Software\\Embarcadero\\BDS\\14.0\\Disabled Packages の作成に失敗しました");
  EXPECT_TRUE(log.empty()) << "no command, no start, the window stays";
}

// A hand-edited "PKG_Count" costs what the section holds: the numbers after
// the last package key all read as two empty texts, written once.
TEST_F(Launch, AnyPackageCountWritesAndLoadsWhatTheSectionHolds) {
  Install(2017);
  const auto disabled = [this] {
    Dump packages;
    for (const auto& [path, value] : Below(u"Software\\Embarcadero\\BDS\\14.0")) {
      if (path.starts_with(u"Disabled Packages")) packages[path.substr(17)] = value;
    }
    return packages;
  };
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\14.0\\Known Packages", u"A.bpl", u"a");
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\14.0\\Known Packages", u"b.bpl", u"b");
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\14.0\\Known Packages", u"c.bpl", u"c");
  struct Case {
    std::u16string_view count;
    Dump written;
    std::u16string enabled;  // of a, b and c after the load
  };
  const Dump both{{u"", u""}, {u"|a.bpl", u"A"}, {u"|c.bpl", u"C"}, {u"|", u""}};
  for (const Case& c :
       {Case{u"2147483647", both, u"-+-"}, Case{u"-2147483648", {{u"", u""}}, u"+++"}, Case{u"0", {{u"", u""}}, u"+++"},
        Case{u"2", {{u"", u""}, {u"|a.bpl", u"A"}, {u"|", u""}}, u"-++"},
        Case{u"3", {{u"", u""}, {u"|a.bpl", u"A"}, {u"|", u""}, {u"|c.bpl", u"C"}}, u"-+-"}}) {
    Profile(u"P", {{u"Version", u"2017"},
                   {u"PKG_Count", c.count},
                   {u"pkg_path1", u"a.bpl"},
                   {u"PKG_NAME1", u"A"},
                   {u"PKG_PATH3", u"c.bpl"},
                   {u"PKG_NAME3", u"C"},
                   {u"PKG_PATH03", u"no number"},
                   {u"PKG_NAME9x", u"no number"}});
    Run(2017, u"P");
    EXPECT_EQ(disabled(), c.written) << ToUtf8(c.count);

    ProfileRecord record;
    record.version = 2017;
    SettingsFile file(files, comparer, std::u16string(kSettings));
    MemoryRegistry registry(store);
    LoadProfile(file, registry, u"P", record);
    std::u16string enabled;
    for (const PackageRow& row : record.packages) enabled += row.enabled ? u'+' : u'-';
    EXPECT_EQ(enabled, c.enabled) << ToUtf8(c.count);
  }
}

// The releases after XE6: their editions lack some platforms, so a library
// key is written where it exists or the profile holds a value for it; the
// designer setting goes up to 10.4 Sydney.
TEST_F(Launch, LaterReleasesWriteTheirKnownPlatformsAndTheDesignerWhileTheyHaveIt) {
  for (VersionCode code = 2018; code <= 2027; ++code) {
    SCOPED_TRACE(code);
    store = MemoryRegistryStore();
    files.contents.clear();
    Install(code);
    const TPlatformTypes platforms = VersionPlatforms(code);
    const std::u16string base = IdeRegistryKey(code, false, u"").substr(1);
    const std::u16string key = base.substr(0, base.size() - 1);
    // The edition knows the second platform; the profile holds a value for
    // the last one; the others it neither knows nor holds.
    store.SetString(RegistryRoot::CurrentUser, base + LibraryKeyName(platforms[1]), u"Search Path", u"old");
    Profile(u"P", {{u"Version", DecimalText(code)},
                   {u"Embedded_Designer", u"False"},
                   {u"PKG_Count", u"1"},
                   {u"PKG_PATH1", u"dcl.bpl"},
                   {u"PKG_NAME1", u"D"},
                   {SettingsKey(platforms.back(), LibrarySettings[0]), u"last"}});
    Run(code, u"P");
    Dump expected{{u"Disabled Packages", u""},
                  {u"Disabled Packages|dcl.bpl", u"D"},
                  {u"Globals", u""},
                  {u"Globals|ForceEnvOptionsUpdate", u"1"},
                  {u"Library", u""}};
    if (code <= 2024) {
      expected[u"Form Design"] = u"";
      expected[u"Form Design|Embedded Designer"] = u"False";
    }
    ExpectLibrary(expected, code, platforms[1], std::nullopt);
    ExpectLibrary(expected, code, platforms.back(), std::nullopt);
    expected[LibraryKeyName(platforms.back()) + u"|Search Path"] = u"last";
    EXPECT_EQ(Below(key), expected);
  }
}

// From 12 Athens on a profile may start the 64-bit IDE: its own disabled
// packages are written, the 32-bit IDE's left alone, and its executable
// starts; where it is not installed, the profile starts the 32-bit IDE.
TEST_F(Launch, TheSixtyFourBitIdeHasItsOwnPackagesAndExecutable) {
  Install(2026);
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\23.0\\Disabled Packages", u"kept.bpl",
                  u"32-bit");
  Profile(u"P", {{u"Version", u"2026"},
                 {u"IDE64", u"1"},
                 {u"PKG_Count", u"1"},
                 {u"PKG_PATH1", u"x.bpl"},
                 {u"PKG_NAME1", u"X"},
                 {u"NoSplash", u"1"}});
  Run(2026, u"P");
  EXPECT_EQ(log.back(), u"close");
  EXPECT_EQ(log[log.size() - 2], u"open \"C:\\IDE\\bin\\ide.exe\" [/ns ]") << "no 64-bit IDE installed";
  EXPECT_EQ(Below(u"Software\\Embarcadero\\BDS\\23.0")[u"Disabled Packages|x.bpl"], u"X");

  store = MemoryRegistryStore();
  Install(2026);
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2026), u"App x64", u"C:\\IDE\\bin64\\bds.exe");
  files.files.insert(u"C:\\IDE\\bin64\\bds.exe");
  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\23.0\\Disabled Packages", u"kept.bpl",
                  u"32-bit");
  log.clear();
  Run(2026, u"P");
  EXPECT_EQ(log[log.size() - 2], u"open \"C:\\IDE\\bin64\\bds.exe\" [/ns ]");
  const Dump below = Below(u"Software\\Embarcadero\\BDS\\23.0");
  EXPECT_EQ(below.at(u"Disabled Packages x64|x.bpl"), u"X");
  EXPECT_EQ(below.at(u"Disabled Packages|kept.bpl"), u"32-bit") << "the 32-bit IDE's packages are left alone";
  EXPECT_EQ(below.count(u"Disabled Packages|x.bpl"), 0u);
}

// A profile's variables replace the IDE's key whole, the 64-bit IDE's own
// key where it has one; a profile stored without them leaves the key; the
// backup gives the key back.
TEST_F(Launch, EnvironmentVariablesReplaceTheIdesWhereTheProfileHasThem) {
  Install(2027);
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"App x64", u"C:\\IDE\\bin64\\bds.exe");
  files.files.insert(u"C:\\IDE\\bin64\\bds.exe");
  const std::u16string base = u"\\Software\\Embarcadero\\BDS\\37.0\\";
  store.SetString(RegistryRoot::CurrentUser, base + u"Environment Variables", u"OLD", u"old");
  const std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> variables{
      {u"Version", u"2027"},  {u"ENV_NAME1", u"PATH"},     {u"ENV_VALUE1", u"C:\\bpl;%PATH%"},
      {u"ENV_NAME2", u"A B"}, {u"ENV_VALUE2", u"\" v \""}, {u"ENV_Count", u"2"}};
  Profile(u"Env", variables);
  Profile(u"Env64", variables);
  Profile(u"Env64", {{u"IDE64", u"1"}});
  Profile(u"Before", {{u"Version", u"2027"}});
  Run(2027, u"Before");
  EXPECT_EQ(Below(u"Software\\Embarcadero\\BDS\\37.0").at(u"Environment Variables|OLD"), u"old");
  Run(2027, u"Env");
  Dump below = Below(u"Software\\Embarcadero\\BDS\\37.0");
  EXPECT_FALSE(below.contains(u"Environment Variables|OLD")) << "replaced whole";
  EXPECT_EQ(below.at(u"Environment Variables|PATH"), u"C:\\bpl;%PATH%");
  EXPECT_EQ(below.at(u"Environment Variables|A B"), u" v ");
  EXPECT_EQ(store.GetValue(RegistryRoot::CurrentUser, base + u"Environment Variables", u"A B")->type,
            registry_type::kString);
  std::vector<std::u16string> order;
  for (const auto& [name, data] : store.Find(RegistryRoot::CurrentUser, base + u"Environment Variables")->values) {
    order.push_back(name);
  }
  EXPECT_EQ(order, (std::vector<std::u16string>{u"PATH", u"A B"})) << "in the profile's order";

  // The 64-bit IDE writes the shared key while it has no key of its own.
  store.SetString(RegistryRoot::CurrentUser, base + u"Environment Variables", u"OLD", u"old");
  Run(2027, u"Env64");
  EXPECT_FALSE(Below(u"Software\\Embarcadero\\BDS\\37.0").contains(u"Environment Variables|OLD"));
  store.SetString(RegistryRoot::CurrentUser, base + u"Environment Variables x64", u"OLD64", u"old");
  store.SetString(RegistryRoot::CurrentUser, base + u"Environment Variables", u"OLD", u"old");
  Run(2027, u"Env64");
  below = Below(u"Software\\Embarcadero\\BDS\\37.0");
  EXPECT_EQ(below.at(u"Environment Variables x64|PATH"), u"C:\\bpl;%PATH%");
  EXPECT_FALSE(below.contains(u"Environment Variables x64|OLD64"));
  EXPECT_EQ(below.at(u"Environment Variables|OLD"), u"old") << "the 32-bit IDE's are left alone";

  // The backup gives back the key the launch replaced.
  store.Delete(RegistryRoot::CurrentUser, base + u"Environment Variables x64");
  store.SetString(RegistryRoot::CurrentUser, base + u"Environment Variables", u"OLD", u"old");
  const Dump beforeTheLast = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  Run(2027, u"Env64");
  const std::vector<BackupEntry> backups = ListBackups(files, u"C:\\Tools\\Ombrisk.backup");
  ASSERT_FALSE(backups.empty());
  RestoreBackup(registries, files, backups.front().path, comparer.Mapping());
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), beforeTheLast);
}

TEST_F(Launch, NoExecutableStartsTwoQuotesAndStillCloses) {
  Profile(u"Lost", {{u"Version", u"2017"}, {u"PreProcess", u"[@$(BDS)@]"}});
  Run(2017, u"Lost");
  EXPECT_EQ(log, (std::vector<std::u16string>{u"messages", u"run [] (wait)", u"messages", u"open \"\" []", u"close"}));
}

// "/launch NAME": the profile the list shows under the name, launched as
// from the list; the settings file is only read.
TEST_F(Launch, FromTheCommandLineAsTheListFindsIt) {
  Install(2017);
  files.files.insert(u"C:\\IDE\\bin\\ide.exe");
  Profile(u"XE6", {{u"Version", u"2017"}, {u"NoSplash", u"1"}});
  Profile(u"Seven", {{u"Version", u"7"}});
  Profile(u"50% \"off\" & <x> ^ | \\", {{u"Version", u"2017"}});
  const std::string stored = files.contents.at(std::u16string(kSettings));
  struct Case {
    std::u16string_view name;
    bool starts;
    int exitCode;
    std::u16string_view outcome;  // the start, or the error reported
  };
  for (const Case& c : std::initializer_list<Case>{
           {u"XE6", true, 0, u"open \"C:\\IDE\\bin\\ide.exe\" [/ns ]"},
           {u"xe6", true, 0, u"open \"C:\\IDE\\bin\\ide.exe\" [/ns ]"},
           {u"50% \"off\" & <x> ^ | \\", true, 0, u"open \"C:\\IDE\\bin\\ide.exe\" []"},
           {u"Seven", true, 1, u"プロファイル [Seven] が見つかりません"},
           {u"Nope", true, 1, u"プロファイル [Nope] が見つかりません"},
           {u"XE6", false, 1, u"IDE を起動できません: C:\\IDE\\bin\\ide.exe"},
       }) {
    SCOPED_TRACE(ToUtf8(c.name));
    log.clear();
    starter.starts = c.starts;
    std::vector<std::u16string> errors;
    const int exitCode =
        LaunchFromCommandLine(CommandLineServices{registries, files, comparer, u"C:\\Tools\\Ombrisk.exe", starter,
                                                  [&](std::u16string_view message) { errors.emplace_back(message); }},
                              c.name);
    EXPECT_EQ(exitCode, c.exitCode);
    const std::u16string outcome = c.exitCode == 0 ? log.back() : errors.empty() ? u"" : errors.back();
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(files.contents.at(std::u16string(kSettings)), stored);
  }
  files.readFailures[std::u16string(kSettings)] = u"held";
  std::vector<std::u16string> errors;
  EXPECT_EQ(
      LaunchFromCommandLine(CommandLineServices{registries, files, comparer, u"C:\\Tools\\Ombrisk.exe", starter,
                                                [&](std::u16string_view message) { errors.emplace_back(message); }},
                            u"XE6"),
      1);
  EXPECT_EQ(errors, std::vector<std::u16string>{u"ファイル C:\\Tools\\Ombrisk.env は開けません。 held "});
}

// The registry after a launch and the restore of its backup is the registry
// before it, types and bytes included; a settings key the launch created
// stays, empty of what the launch wrote.
TEST_F(Launch, RestoringTheBackupGivesBackTheRegistryAsItWasBeforeTheLaunch) {
  Install(2018);
  const std::u16string base = u"\\Software\\Embarcadero\\BDS\\15.0\\";
  store.SetString(RegistryRoot::CurrentUser, base + u"Disabled Packages", u"old.bpl", u"Old");
  store.SetValue(RegistryRoot::CurrentUser, base + u"Disabled Packages", u"count",
                 RegistryData{4, std::string("\1\0\0\0", 4)});
  store.SetString(RegistryRoot::CurrentUser, base + u"Disabled Packages\\Sub", u"", u"default");
  store.SetValue(RegistryRoot::CurrentUser, base + u"Library\\Win32", u"Search Path", StringData(u"$(BDS)\\lib", 2));
  store.SetString(RegistryRoot::CurrentUser, base + u"Library\\Win32", u"Other", u"not the launch's");
  store.Create(RegistryRoot::CurrentUser, base + u"Library\\Win64");
  Profile(u"P", {{u"Version", u"2018"},
                 {u"PKG_Count", u"1"},
                 {u"PKG_PATH1", u"new.bpl"},
                 {u"PKG_NAME1", u"New"},
                 {SettingsKey(TPlatformType::pftOSX32, LibrarySettings[0]), u"osx"}});
  Profile(u"Fresh key", {{u"Version", u"2018"}, {u"UseAltReg", u"1"}, {u"AltReg", u"Fresh"}});
  const std::u16string folder = u"C:\\Tools\\Ombrisk.backup\\";

  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  Run(2018, u"P");
  EXPECT_NE(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);
  RestoreBackup(registries, files, folder + u"2018_BDS_20261209-153012.reg", comparer.Mapping());
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);

  Run(2018, u"Fresh key");
  RestoreBackup(registries, files, folder + u"2018_Fresh_20261209-153012.reg", comparer.Mapping());
  Dump withFreshKey = before;
  withFreshKey[u"Software\\Embarcadero\\Fresh"] = u"";
  withFreshKey[u"Software\\Embarcadero\\Fresh\\15.0"] = u"";
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), withFreshKey);
}

// A profile that asks for it starts its missing alternate key as a copy of
// the base key, then writes as always; its backup removes the key again.
// Without the key (stored before it), with it off or with the key there,
// only the launch's writes reach the key.
TEST_F(Launch, AMissingAlternateKeyStartsFromTheBaseKeyWhereTheProfileAsks) {
  Install(2017);
  const std::u16string base = u"\\Software\\Embarcadero\\BDS\\14.0\\";
  store.SetString(RegistryRoot::CurrentUser, base + u"Known Packages", u"z.bpl", u"Z");
  store.SetString(RegistryRoot::CurrentUser, base + u"Library\\Win32", u"Search Path", u"base");
  store.SetValue(RegistryRoot::CurrentUser, base + u"Options", u"Flags", RegistryData{3, std::string("\0\1", 2)});
  for (const std::u16string_view name : {u"TEST", u"BARE", u"ZERO"}) {
    Profile(name, {{u"Version", u"2017"}, {u"UseAltReg", u"1"}, {u"AltReg", name}, {u"Search_Path", u"mine"}});
  }
  Profile(u"TEST", {{u"AltRegInit", u"1"}});
  Profile(u"ZERO", {{u"AltRegInit", u"0"}});
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);

  Run(2017, u"TEST");
  const Dump copied = Below(u"Software\\Embarcadero\\TEST\\14.0");
  EXPECT_EQ(copied.at(u"Known Packages|z.bpl"), u"Z");
  EXPECT_EQ(copied.at(u"Library\\Win32|Search Path"), u"mine") << "the profile's write over the copy";
  EXPECT_EQ(copied.at(u"Options|Flags"), std::u16string(1, u'\x100'));
  RestoreBackup(registries, files, u"C:\\Tools\\Ombrisk.backup\\2017_TEST_20261209-153012.reg", comparer.Mapping());
  Dump withParent = before;  // as after any launch that made a key
  withParent[u"Software\\Embarcadero\\TEST"] = u"";
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), withParent) << "the backup undoes the copy";

  Run(2017, u"TEST");
  store.SetString(RegistryRoot::CurrentUser, base + u"Known Packages", u"later.bpl", u"Later");
  Run(2017, u"TEST");
  EXPECT_FALSE(Below(u"Software\\Embarcadero\\TEST\\14.0").contains(u"Known Packages|later.bpl"))
      << "an existing key is not copied into";
  for (const std::u16string_view name : {u"BARE", u"ZERO"}) {
    Run(2017, name);
    const Dump written = Below(u"Software\\Embarcadero\\" + std::u16string(name) + u"\\14.0");
    EXPECT_FALSE(written.contains(u"Known Packages")) << ToUtf8(name);
    EXPECT_EQ(written.at(u"Library\\Win32|Search Path"), u"mine");
  }
}

// A key name with a blank is passed to the IDE quoted, as the IDE splits
// its arguments; a name the key may not have stops the launch before
// anything is written or started.
TEST_F(Launch, TheIdeGetsTheKeyTheLaunchWroteAndARefusedNameStopsTheLaunch) {
  Install(2017);
  Profile(u"Spaced", {{u"Version", u"2017"}, {u"UseAltReg", u"1"}, {u"AltReg", u"My Key"}});
  Run(2017, u"Spaced");
  EXPECT_TRUE(store.Find(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\My Key\\14.0\\Disabled Packages"));
  EXPECT_EQ(log.at(2), u"open \"C:\\IDE\\bin\\ide.exe\" [/r\"My Key\" ]");
  log.clear();
  Profile(u"Refused", {{u"Version", u"2017"}, {u"UseAltReg", u"1"}, {u"AltReg", u"BDS\\"}});
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  testing::ExpectAppError([&] { Run(2017, u"Refused"); }, u"代替レジストリキー名 [BDS\\] は使用できません");
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(ListBackups(files, u"C:\\Tools\\Ombrisk.backup").size(), 1U) << "only the first launch's backup";
}

// A profile stored before variables were, on an alternate key (and again
// with the 64-bit IDE): the editor shows that key's own variables, an OK
// that leaves them as shown stores none, and the launch leaves the key's.
TEST_F(Launch, AnEditOfAProfileWithoutVariablesKeepsThoseOfItsKey) {
  Install(2027);
  store.SetString(RegistryRoot::CurrentUser, InstallationKey(2027), u"App x64", u"C:\\IDE\\bin64\\ide.exe");
  files.files.insert(u"C:\\IDE\\bin64\\ide.exe");
  const std::u16string alt = u"Software\\Embarcadero\\ALT\\37.0";
  store.SetString(RegistryRoot::CurrentUser, u"Software\\Embarcadero\\BDS\\37.0\\Environment Variables", u"PATH",
                  u"base");
  store.SetString(RegistryRoot::CurrentUser, alt + u"\\Environment Variables", u"PATH", u"alt32");
  store.SetString(RegistryRoot::CurrentUser, alt + u"\\Environment Variables x64", u"PATH", u"alt64");
  for (const bool ide64 : {false, true}) {
    SCOPED_TRACE(ide64);
    Profile(u"Old",
            {{u"Version", u"2027"}, {u"UseAltReg", u"1"}, {u"AltReg", u"ALT"}, {u"IDE64", ide64 ? u"1" : u"0"}});
    const ProfileStore profiles(files, comparer, std::u16string(kSettings));
    ProfileRecord record;
    record.version = 2027;
    record.ide64Installed = true;
    MemoryRegistry registry(store);
    profiles.Load(registry, u"Old", record);
    EXPECT_EQ(record.environment, (std::vector<EnvironmentVariable>{{u"PATH", ide64 ? u"alt64" : u"alt32"}}));
    EXPECT_FALSE(record.holdsEnvironment);
    profiles.Save(u"Old", u"Old", record);
    EXPECT_FALSE(profiles.Open()->ValueExists(u"PREF_Old", u"ENV_Count"));
    Run(2027, u"Old");
    const Dump below = Below(alt);
    EXPECT_EQ(below.at(u"Environment Variables|PATH"), u"alt32");
    EXPECT_EQ(below.at(u"Environment Variables x64|PATH"), u"alt64");
  }
}

TEST_F(Launch, ABackupThatCannotBeWrittenStopsTheLaunchBeforeAnyWrite) {
  Install(2017);
  Profile(u"P", {{u"Version", u"2017"}, {u"PKG_Count", u"1"}, {u"PKG_PATH1", u"new.bpl"}});
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  const std::u16string folder = u"C:\\Tools\\Ombrisk.backup";
  for (const std::u16string& failing :
       {folder, folder + u"\\2017_BDS_20261209-153012.reg", folder + u"\\LastLaunches.ini"}) {
    files.writeFailures = {{failing, u"アクセスが拒否されました。"}};
    testing::ExpectAppError([&] { Run(2017, u"P"); },
                            u"バックアップを作成できません: " + failing + u" アクセスが拒否されました。");
    EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);
    EXPECT_TRUE(log.empty()) << "no command, no start, the window stays";
  }
}

// An IDE of the release running with the profile's key: the launch asks
// first, and No leaves everything as it was; one that would copy the base
// key into that key is refused; an IDE on another key asks nothing.
TEST_F(Launch, AnIdeRunningWithTheKeyMakesTheLaunchAskFirst) {
  Install(2017);
  Profile(u"Test", {{u"Version", u"2017"}, {u"UseAltReg", u"1"}, {u"AltReg", u"TEST"}, {u"PKG_Count", u"0"}});
  Profile(u"Base", {{u"Version", u"2017"}, {u"PKG_Count", u"0"}});
  const ProfileStore profiles(files, comparer, std::u16string(kSettings));
  std::vector<std::u16string> questions;
  bool answer = false;
  const auto launch = [&](std::u16string_view name) {
    LaunchServices services{
        profiles, registries, starter, [] {}, [this] { log.push_back(u"close"); }, [] { return kLaunchTime; }};
    services.runningProcesses = [](std::span<const std::u16string>) {
      return std::vector<RunningProcess>{{u"c:\\ide\\BIN\\ide.exe", u"\"C:\\IDE\\bin\\ide.exe\" -rtest"}};
    };
    services.confirm = [&](std::u16string_view question) {
      questions.emplace_back(question);
      return answer;
    };
    return LaunchProfile(services, 2017, name);
  };
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  // A copy of the base key into the key would be undone whole: refused.
  Profile(u"Copying", {{u"Version", u"2017"}, {u"UseAltReg", u"1"}, {u"AltReg", u"test"}, {u"AltRegInit", u"1"}});
  testing::ExpectAppError([&] { launch(u"Copying"); },
                          u"Delphi XE6 / RAD Studio XE6 が実行中です (キー: Software\\Embarcadero\\test\\14.0)。"
                          u"IDE を終了してからやり直してください。");
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);
  EXPECT_TRUE(launch(u"Test").cancelled);
  EXPECT_EQ(questions,
            std::vector<std::u16string>{u"Delphi XE6 / RAD Studio XE6 は既に実行中です (キー: "
                                        u"Software\\Embarcadero\\TEST\\14.0)。実行中の IDE は終了するときに"
                                        u"設定を書き戻すため、この起動で書き込む設定が上書きされることがあります。"
                                        u"起動しますか？"});
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), before);
  EXPECT_TRUE(log.empty()) << "nothing started, the window stays";
  EXPECT_TRUE(files.ListFiles(u"C:\\Tools\\Ombrisk.backup").empty()) << "no backup";
  answer = true;
  EXPECT_TRUE(launch(u"Test").started);
  EXPECT_EQ(log.back(), u"close");
  questions.clear();
  EXPECT_TRUE(launch(u"Base").started);
  EXPECT_TRUE(questions.empty()) << "the running IDE uses another key";
}

// An apply writes what a launch writes, with its backup, and starts
// nothing; where a launch would ask (the IDE changed the key since, an IDE
// runs with it) it refuses, says why and writes nothing.
TEST_F(Launch, ApplyWritesWhatALaunchWritesAndRefusesWhereALaunchWouldAsk) {
  Install(2017);
  files.files.insert(u"C:\\IDE\\bin\\ide.exe");
  Profile(u"P", {{u"Version", u"2017"},
                 {u"PreProcess", u"cmd /c prepare"},
                 {u"PKG_Count", u"1"},
                 {u"PKG_PATH1", u"a.bpl"},
                 {SettingsKey(TPlatformType::pftWin32, LibrarySettings[0]), u"C:\\Lib"}});
  std::vector<std::u16string> said, errors;
  std::u16string running;  // the command line of a running IDE, if any
  CommandLineServices services{registries, files,
                               comparer,   u"C:\\Tools\\Ombrisk.exe",
                               starter,    [&](std::u16string_view message) { errors.emplace_back(message); }};
  services.tell = [&](std::u16string_view message) { said.emplace_back(message); };
  services.clock = [] { return kLaunchTime; };
  services.runningProcesses = [&](std::span<const std::u16string>) {
    return running.empty() ? std::vector<RunningProcess>{}
                           : std::vector<RunningProcess>{{u"c:\\ide\\bin\\ide.exe", running}};
  };
  const Dump before = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  EXPECT_EQ(ApplyFromCommandLine(services, u"p"), 0);
  EXPECT_EQ(said, std::vector<std::u16string>{u"プロファイル [P] を適用しました"});
  EXPECT_TRUE(log.empty()) << "no pre-launch command, no IDE";
  const Dump applied = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  EXPECT_NE(applied, before);
  EXPECT_EQ(ListBackups(files, u"C:\\Tools\\Ombrisk.backup").size(), 1u);
  Run(2017, u"P");
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), applied) << "what a launch writes";
  EXPECT_TRUE(reviewed.empty()) << "the apply's record is the launch's";

  store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\14.0\\Disabled Packages", u"b.bpl", u"B");
  const Dump changed = testing::DumpRegistry(store, RegistryRoot::CurrentUser, true);
  EXPECT_EQ(ApplyFromCommandLine(services, u"P"), 1);
  EXPECT_EQ(errors.back(), std::u16string(texts::kChangesRefusal) + u"\r\n無効パッケージ [B]: 有効 → 無効");
  running = u"\"C:\\IDE\\bin\\ide.exe\"";
  EXPECT_EQ(ApplyFromCommandLine(services, u"P"), 1);
  EXPECT_EQ(errors.back(),
            u"Delphi XE6 / RAD Studio XE6 が実行中です (キー: Software\\Embarcadero\\BDS\\14.0)。"
            u"IDE を終了してからやり直してください。");
  EXPECT_EQ(testing::DumpRegistry(store, RegistryRoot::CurrentUser, true), changed);
  EXPECT_EQ(ListBackups(files, u"C:\\Tools\\Ombrisk.backup").size(), 2u) << "the apply's and the launch's";
  EXPECT_EQ(said.size(), 1u);
}

// What the IDE or an installer changed in the key since the profile's last
// launch is shown kind by kind before anything is written: Cancel writes
// nothing, the chosen changes are taken into the profile (saved, and
// written back as they are), and the profile as stored puts its own values
// back. Nothing is shown once the key holds what the launch wrote.
TEST_F(Launch, ChangesSinceTheLastLaunchAreShownKindByKindAndTakenInAsChosen) {
  Install(2017);
  Profile(u"P", {{u"Version", u"2017"},
                 {u"Embedded_Designer", u"True"},
                 {u"PKG_Count", u"2"},
                 {u"PKG_PATH1", u"a.bpl"},
                 {u"PKG_NAME1", u"A"},
                 {u"PKG_PATH2", u"b.bpl"},
                 {u"PKG_NAME2", u""},
                 {SettingsKey(TPlatformType::pftWin32, LibrarySettings[0]), u"C:\\Lib"},
                 {u"ENV_Count", u"2"},
                 {u"ENV_NAME1", u"X"},
                 {u"ENV_VALUE1", u"1"},
                 {u"ENV_NAME2", u"Y"},
                 {u"ENV_VALUE2", u"2"}});
  Run(2017, u"P");
  Run(2017, u"P");
  EXPECT_TRUE(reviewed.empty()) << "the first launch, and a key as the launch left it";

  const std::u16string key = u"\\Software\\Embarcadero\\BDS\\14.0\\";
  const std::u16string library = key + LibraryKeyName(TPlatformType::pftWin32);
  const auto changeKey = [&] {
    MemoryRegistry registry(store);
    registry.OpenKey(key + u"Disabled Packages", false);
    registry.DeleteValue(u"a.bpl");
    registry.WriteString(u"c.bpl", u"");
    registry.OpenKey(key + u"Environment Variables", false);
    registry.DeleteValue(u"Y");
    registry.WriteString(u"x", u"10");
    registry.WriteString(u"Z", u"3");
    store.SetString(RegistryRoot::CurrentUser, key + u"Form Design", u"Embedded Designer", u"False");
    store.SetString(RegistryRoot::CurrentUser, library, u"Search Path", u"C:\\Lib;C:\\New");
  };
  changeKey();
  const std::u16string_view below = u"Software\\Embarcadero\\BDS\\14.0";
  const Dump changed = Below(below);
  changesAnswer = ChangesAnswer{};
  log.clear();
  EXPECT_TRUE(Run(2017, u"P").cancelled);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Below(below), changed) << "Cancel writes nothing";
  ASSERT_EQ(reviewed.size(), 1u);
  const std::vector<std::array<std::u16string, 3>> rows{
      {u"無効パッケージ [A]", u"無効", u"有効"},
      {u"無効パッケージ [c.bpl]", u"有効", u"無効"},  // no description
      {u"埋め込みデザイナ", u"オン", u"オフ"},
      {u"Win32: ライブラリパス", u"C:\\Lib", u"C:\\Lib;C:\\New"},
      {u"環境変数 [X]", u"1", u"10"},
      {u"環境変数 [Y]", u"2", u"(なし)"},
      {u"環境変数 [Z]", u"(なし)", u"3"},
  };
  std::vector<std::array<std::u16string, 3>> shown;
  for (const SettingChange& change : reviewed[0]) {
    const ChangeTexts texts = change.setting->describe(change);
    shown.push_back({texts.setting, texts.written, texts.now});
  }
  EXPECT_EQ(shown, rows);

  // All but the designer taken in.
  changesAnswer = ChangesAnswer{ChangesAnswer::Choice::TakeIn, {true, true, false, true, true, true, true}};
  Run(2017, u"P");
  const std::unique_ptr<SettingsFile> file = ProfileStore(files, comparer, std::u16string(kSettings)).Open();
  const ProfileRecord saved = ReadStoredProfile(*file, u"PREF_P");
  std::vector<std::u16string> disabled;
  for (const DisabledPackage& package : DisabledPackages(*file, u"PREF_P")) disabled.push_back(package.path);
  EXPECT_EQ(disabled, (std::vector<std::u16string>{u"b.bpl", u"c.bpl"}));
  EXPECT_TRUE(saved.embeddedDesigner);
  EXPECT_EQ(saved.libraries.at(0).values[0], u"C:\\Lib;C:\\New");
  EXPECT_EQ(saved.environment, (std::vector<EnvironmentVariable>{{u"X", u"10"}, {u"Z", u"3"}}));
  Dump expected = changed;
  expected[u"Form Design|Embedded Designer"] = u"True";
  EXPECT_EQ(Below(below), expected) << "the changes kept, the designer the profile's";
  Run(2017, u"P");
  EXPECT_EQ(reviewed.size(), 2u) << "the key holds what the launch wrote";

  // The profile as stored puts its own values back.
  store.SetString(RegistryRoot::CurrentUser, library, u"Search Path", u"C:\\Installer");
  changesAnswer = ChangesAnswer{ChangesAnswer::Choice::LaunchAsStored, {}};
  Run(2017, u"P");
  ASSERT_EQ(reviewed.size(), 3u);
  EXPECT_EQ(reviewed[2].size(), 1u);
  EXPECT_EQ(Below(below), expected);
}

// Only the profile's own last launch into the key is reviewed: after
// another profile's launch the difference is that profile's. The records
// follow a renamed profile and go with a deleted one.
TEST_F(Launch, OnlyTheProfilesOwnLastLaunchIsReviewedAndItsRecordsFollowItsName) {
  Install(2017);
  const std::u16string searchPath = SettingsKey(TPlatformType::pftWin32, LibrarySettings[0]);
  Profile(u"P", {{u"Version", u"2017"}, {searchPath, u"C:\\P"}});
  Profile(u"Q", {{u"Version", u"2017"}, {searchPath, u"C:\\Q"}});
  const std::u16string library = u"\\Software\\Embarcadero\\BDS\\14.0\\" + LibraryKeyName(TPlatformType::pftWin32);
  const auto installerWrites = [&] { store.SetString(RegistryRoot::CurrentUser, library, u"Search Path", u"C:\\I"); };
  Run(2017, u"P");
  Run(2017, u"Q");
  installerWrites();
  Run(2017, u"P");
  EXPECT_TRUE(reviewed.empty()) << "Q launched last";

  installerWrites();
  const ProfileStore profiles(files, comparer, std::u16string(kSettings));
  ProfileRecord renamed = ReadStoredProfile(*profiles.Open(), u"PREF_P");
  profiles.Save(u"Renamed", u"P", renamed);
  Run(2017, u"Renamed");
  ASSERT_EQ(reviewed.size(), 1u) << "the record follows the new name";
  EXPECT_EQ(reviewed[0].at(0).now, u"C:\\I");

  const LaunchRecords records(files, comparer, std::u16string(kSettings));
  ASSERT_TRUE(records.Read(u"\\SOFTWARE\\\\Embarcadero\\BDS\\14.0"));
  profiles.Delete(u"Renamed");
  EXPECT_FALSE(records.Read(u"\\Software\\Embarcadero\\BDS\\14.0\\"));
}

// "/open FILE": the user chooses among the listed profiles, those of the
// release that made the project first; the choice is remembered where asked
// (as a launch with a file remembers it), and the next /open of the file
// launches it at once. Cancel and a missing file start nothing.
TEST_F(Launch, OpenLaunchesTheRememberedProfileOrTheOneChosen) {
  Install(2017);
  Install(2022);
  files.files.insert(u"C:\\IDE\\bin\\ide.exe");
  Profile(u"XE6 b", {{u"Version", u"2017"}});
  Profile(u"Tokyo", {{u"Version", u"2022"}});
  Profile(u"XE6 a", {{u"Version", u"2017"}});
  for (const std::u16string_view name : {u"C:\\Work\\App.dproj", u"C:\\Work\\Other.dproj"}) {
    files.contents[std::u16string(name)] = "<Project><ProjectVersion>15.4</ProjectVersion></Project>";
  }
  std::vector<std::vector<std::u16string>> offered;
  std::optional<ProfileChoice> choice = ProfileChoice{u"XE6 a", true};
  std::vector<std::u16string> errors;
  CommandLineServices services{registries, files,
                               comparer,   u"C:\\Tools\\Ombrisk.exe",
                               starter,    [&](std::u16string_view message) { errors.emplace_back(message); }};
  services.chooseProfile = [&](std::span<const ListedProfile> profiles, std::size_t madeBy, std::u16string_view) {
    std::vector<std::u16string> names;
    for (const ListedProfile& profile : profiles) names.push_back(profile.name);
    names.insert(names.begin() + static_cast<std::ptrdiff_t>(madeBy), u"|");
    offered.push_back(names);
    return choice;
  };
  const auto open = [&](std::u16string_view file) {
    log.clear();
    return OpenFromCommandLine(services, file);
  };
  EXPECT_EQ(open(u"C:\\Work\\App.dproj"), 0);
  EXPECT_EQ(offered, (std::vector<std::vector<std::u16string>>{{u"XE6 a", u"XE6 b", u"|", u"Tokyo"}}));
  EXPECT_EQ(log, std::vector<std::u16string>{u"open \"C:\\IDE\\bin\\ide.exe\" [C:\\Work\\App.dproj]"});
  EXPECT_EQ(open(u"C:\\Work\\App.dproj"), 0);
  EXPECT_EQ(offered.size(), 1u) << "remembered";

  choice = std::nullopt;
  EXPECT_EQ(open(u"C:\\Work\\Other.dproj"), 1);
  EXPECT_TRUE(log.empty());
  choice = ProfileChoice{u"Tokyo", false};
  EXPECT_EQ(open(u"C:\\Work\\Other.dproj"), 0);
  EXPECT_EQ(open(u"C:\\Work\\Other.dproj"), 0);
  EXPECT_EQ(offered.size(), 4u) << "not remembered";
  EXPECT_EQ(ReadProjectPairings(*ProfileStore(files, comparer, std::u16string(kSettings)).Open()),
            (std::vector<ProjectPairing>{{u"C:\\Work\\App.dproj", u"XE6 a"}}));

  EXPECT_EQ(open(u"C:\\Work\\Gone.dproj"), 1);
  EXPECT_EQ(errors, std::vector<std::u16string>{u"ファイル [C:\\Work\\Gone.dproj] が見つかりません"});
  EXPECT_EQ(offered.size(), 4u);
}

}  // namespace
}  // namespace ombrisk
