// The launch on the real registry, file system and processes under Wine,
// with the IDE played by tests/helpers/fake_ide.cpp.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/errors.h"
#include "core/launch.h"
#include "core/settings_file.h"
#include "core/text.h"
#include "support/win_test_support.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_process_starter.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

namespace ombrisk {
namespace {

using testing::TempFolder;

std::wstring Helper(const wchar_t* name) { return testing::ExecutableFolder() + L"\\" + name; }
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(RunAndWait, ReturnsTheExitCodeOrZeroAtOnce) {
  TempFolder folder;
  WinProcessStarter starter(nullptr);
  const std::wstring exitWith = L"\"" + Helper(L"exit_with.exe") + L"\"";
  const std::wstring marker = folder / L"done.txt";

  EXPECT_EQ(starter.RunAndWait(FromWide(exitWith + L" 3 \"" + marker + L"\" x"), true), 3u);
  EXPECT_TRUE(Exists(marker)) << "waited for the end";

  DeleteFileW(marker.c_str());
  // The command writes its file only once the test lets it.
  const std::wstring goName = L"OmbriskGo-" + std::to_wstring(GetCurrentProcessId());
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, goName.c_str());
  EXPECT_EQ(starter.RunAndWait(FromWide(exitWith + L" 5 \"" + marker + L"\" x " + goName), false), 0u);
  EXPECT_FALSE(Exists(marker)) << "returned before the command wrote its file";
  SetEvent(go);
  EXPECT_TRUE(testing::WaitUntil([&] { return Exists(marker); })) << "the command went on by itself";
  CloseHandle(go);

  EXPECT_EQ(starter.RunAndWait(FromWide(folder / L"missing.exe"), true), 0u);
  EXPECT_EQ(starter.RunAndWait(u"", true), 0u);
}

TEST(ShortPath, FolderWithABlankHasAShortFormWithout) {
  TempFolder folder;
  const std::wstring spaced = folder / L"Embarcadero Studio";
  CreateDirectoryW(spaced.c_str(), nullptr);
  WinFileSystem files;
  const std::u16string shortForm = files.ShortPath(FromWide(spaced));
  EXPECT_FALSE(shortForm.empty());
  EXPECT_EQ(shortForm.find(u' '), std::u16string::npos) << ToUtf8(shortForm);
  wchar_t longForm[MAX_PATH];
  GetLongPathNameW(Wide(shortForm).c_str(), longForm, MAX_PATH);
  EXPECT_EQ(std::wstring(longForm), spaced);
  EXPECT_EQ(files.ShortPath(FromWide(folder / L"missing folder")), u"");
  EXPECT_EQ(files.ShortPath(u""), u"");
}

// A release 2017 installation whose IDE is the fake one, in a folder with a
// blank, and a settings file beside the launcher.
class LaunchUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring studio = folder / L"Embarcadero Studio";
    CreateDirectoryW(studio.c_str(), nullptr);
    CreateDirectoryW((studio + L"\\bin").c_str(), nullptr);
    ide = studio + L"\\bin\\bds.exe";
    ASSERT_TRUE(CopyFileW(Helper(L"fake_ide.exe").c_str(), ide.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Helper(L"exit_with.exe").c_str(), (studio + L"\\bin\\exit_with.exe").c_str(), FALSE));
    testing::SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0", L"APP", ide);
  }

  void WriteProfile(bool runAsAdmin) {
    SettingsFile file(files, comparer, settings());
    const std::u16string section = u"PREF_XE6 nightly";
    file.WriteInteger(section, u"Version", 2017);
    file.WriteBool(section, u"NoSplash", true);
    file.WriteBool(section, u"UseAltReg", true);
    file.WriteBool(section, u"RunAsAdmin", runAsAdmin);
    file.WriteString(section, u"AltReg", u"Test");
    file.WriteString(section, u"Parameters", u" C:\\Work\\App.dproj ");
    file.WriteString(section, u"Embedded_Designer", u"False");
    file.WriteString(section, u"PKG_PATH1", u"$(BDS)\\bin\\dclib200.bpl");
    file.WriteString(section, u"PKG_NAME1", u"データベース");
    file.WriteInteger(section, u"PKG_Count", 1);
    file.WriteString(section, u"Search_Path", u"$(BDS)\\lib\\win32\\release");
    file.WriteString(section, u"WIN64_Search_Path", u"$(BDS)\\lib\\win64\\release");
    file.WriteString(section, u"ANDROID32_HPP_Output_Directory", u"C:\\hpp");
    file.WriteString(section, u"PreProcess", u"@$(BDS)@\\bin\\exit_with.exe 0 @$(BDS)@\\bin\\prelaunch.txt written");
    file.UpdateFile();
  }

  // What the fake IDE found, line by line as "name" -> "value".
  std::map<std::string, std::string> Launch() {
    WinProcessStarter starter(nullptr);
    int messages = 0;
    const ProfileStore store(files, comparer, settings());
    LaunchServices services{store, registries, starter, [&] { ++messages; }, [&] { closed = true; }};
    // A backup restored here is no change of the IDE's: the profile as stored.
    services.reviewChanges = [](std::span<const SettingChange>) {
      return ChangesAnswer{ChangesAnswer::Choice::LaunchAsStored, {}};
    };
    LaunchProfile(services, 2017, u"XE6 nightly");
    EXPECT_EQ(messages, 2);
    std::map<std::string, std::string> found;
    std::istringstream lines(testing::ReadWrittenFile(ide + L".txt"));
    for (std::string line; std::getline(lines, line);) {
      const std::size_t equals = line.find('=');
      found[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    return found;
  }

  std::u16string settings() const { return FromWide(folder / L"Ombrisk.env"); }

  testing::RegistryCleaner cleaner{{L"Software\\Embarcadero"}};
  TempFolder folder;
  std::wstring ide;
  WinFileSystem files;
  WinTextComparer comparer;
  WinRegistryFactory registries;
  bool closed = false;
};

TEST_F(LaunchUnderWine, TheIdeFindsTheProfileInItsKeyAndItsSwitches) {
  WriteProfile(false);
  const auto found = Launch();
  ASSERT_FALSE(found.empty()) << "the fake IDE did not report";
  EXPECT_TRUE(closed);
  EXPECT_EQ(found.at("command"), testing::Narrow(L"\"" + ide + L"\" /ns /rTest C:\\Work\\App.dproj"));
  EXPECT_EQ(found.at("release"), "2017");
  EXPECT_EQ(found.at("key"), "\\Software\\Embarcadero\\Test\\14.0\\");
  EXPECT_EQ(found.at("prelaunch"), "written") << "the pre-launch command ended before the IDE started";
  EXPECT_EQ(found.at("Disabled Packages|$(BDS)\\bin\\dclib200.bpl"), "データベース");
  EXPECT_EQ(found.at("Form Design|Embedded Designer"), "False");
  EXPECT_EQ(found.at("Library\\Win32|Search Path"), "$(BDS)\\lib\\win32\\release");
  EXPECT_EQ(found.at("Library\\Win64|Search Path"), "$(BDS)\\lib\\win64\\release");
  EXPECT_EQ(found.at("Library\\Android32|HPP Output Directory"), "C:\\hpp");
  EXPECT_EQ(found.at("Library\\OSX32|Debug DCU Path"), "") << "a missing value is written empty";
  std::size_t libraryValues = 0;
  for (const auto& [name, value] : found)
    libraryValues += name.starts_with("Library\\") && name.find('|') != std::string::npos;
  EXPECT_EQ(libraryValues, 6u * 12u);
}

TEST_F(LaunchUnderWine, AnElevatedStartStartsTheIdeToo) {
  WriteProfile(true);
  const auto found = Launch();
  ASSERT_FALSE(found.empty()) << "the fake IDE did not report";
  EXPECT_EQ(found.at("command"), testing::Narrow(L"\"" + ide + L"\" /ns /rTest C:\\Work\\App.dproj"));
  EXPECT_TRUE(closed);
}

// The text with each occurrence of a part replaced.
std::string Replaced(std::string text, const std::string& part, const std::string& by) {
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + by.size())) {
    text.replace(at, part.size(), by);
  }
  return text;
}

// A release-2017 profile with every key a profile has is launched as it
// always was: the IDE's command line and the whole key tree the launch
// leaves, byte for byte, against what the launch gave before the later
// releases came (tests/win32/launch_2017.txt), with the flag that renews
// MSBuild's copy of the library settings added since.
TEST_F(LaunchUnderWine, AnXe6ProfileIsLaunchedAsItAlwaysWas) {
  WriteProfile(false);
  {
    SettingsFile file(files, comparer, settings());
    for (TPlatformType platform : VersionPlatforms(2017)) {
      for (const LibrarySetting& setting : LibrarySettings) {
        file.WriteString(
            u"PREF_XE6 nightly", SettingsKey(platform, setting),
            u"C:\\" + std::u16string(PlatformTabCaption(platform)) + u"\\" + std::u16string(setting.settingsKeySuffix));
      }
    }
    file.UpdateFile();
  }
  const auto found = Launch();
  ASSERT_FALSE(found.empty()) << "the fake IDE did not report";
  const std::string result = Replaced(
      "command=" + found.at("command") + "\n" + testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"),
      testing::Narrow(ide), "{IDE}");
  std::string hexIde;
  for (wchar_t c : ide + std::wstring(1, L'\0')) {
    static const char digits[] = "0123456789abcdef";
    for (int shift : {4, 0, 12, 8}) hexIde += digits[(c >> shift) & 15];
  }
  const std::string expected = testing::ReadBytes(testing::SourceFile(L"tests/win32/launch_2017.txt"));
  EXPECT_EQ(Replaced(result, hexIde, "{IDE}"), expected);
}

// The only backup in the folder beside the settings file.
std::wstring OnlyBackup(const TempFolder& folder) {
  WinFileSystem files;
  const std::vector<BackupEntry> backups = ListBackups(files, FromWide(folder / L"Ombrisk.backup"));
  EXPECT_EQ(backups.size(), 1u);
  return backups.empty() ? L"" : Wide(backups.front().path);
}

// A launch's backup gives the key back as it was, through the program's
// registry layer and through the system's registry editor alike.
TEST_F(LaunchUnderWine, TheBackupGivesTheKeyBackThroughTheProgramAndThroughTheRegistryEditor) {
  WriteProfile(false);
  const std::wstring key = L"Software\\Embarcadero\\Test\\14.0\\";
  testing::SetRegistryString(HKEY_CURRENT_USER, key + L"Disabled Packages", L"old \"x\\y\".bpl", L"古い");
  testing::SetRegistryString(HKEY_CURRENT_USER, key + L"Disabled Packages\\Sub", L"", L"default");
  const wchar_t expand[] = L"$(BDS)\\lib";
  const DWORD one = 1;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (key + L"Library\\Win32").c_str(), L"Search Path", REG_EXPAND_SZ, expand,
                            sizeof expand),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (key + L"Library\\Win32").c_str(), L"Kept", REG_DWORD, &one, 4),
            ERROR_SUCCESS);
  const std::string before = testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");

  ASSERT_FALSE(Launch().empty()) << "the fake IDE did not report";
  const std::wstring backup = OnlyBackup(folder);
  ASSERT_NE(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);
  RestoreBackup(registries, files, FromWide(backup), comparer.Mapping());
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);

  DeleteFileW((ide + L".txt").c_str());
  ASSERT_FALSE(Launch().empty()) << "the fake IDE did not report";
  ASSERT_NE(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);
  WinProcessStarter(nullptr).RunAndWait(FromWide(L"regedit.exe /s \"" + backup + L"\""), true);
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);
}

TEST_F(LaunchUnderWine, ABackupFolderThatCannotBeMadeRefusesTheLaunch) {
  WriteProfile(false);
  testing::WriteBytes(folder / L"Ombrisk.backup", "a file where the folder would go");
  const std::string before = testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  WinProcessStarter starter(nullptr);
  const ProfileStore store(files, comparer, settings());
  try {
    LaunchProfile(LaunchServices{store, registries, starter, [] {}, [] {}}, 2017, u"XE6 nightly");
    ADD_FAILURE() << "launched";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Message().starts_with(u"バックアップを作成できません: " + FromWide(folder / L"Ombrisk.backup ")))
        << ToUtf8(error.Message());
  }
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);
  EXPECT_FALSE(Exists(ide + L".txt")) << "no IDE started";
}

}  // namespace
}  // namespace ombrisk
