// Detection and executable paths against installations faked in the test
// prefix's real registry and file system.
#include <gtest/gtest.h>

#include "core/catalogue.h"
#include "core/errors.h"
#include "support/expect_app_error.h"
#include "support/win_test_support.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_registry.h"

namespace ombrisk {
namespace {

using testing::SetRegistryString;

class Detection : public ::testing::Test {
 protected:
  // Records an installation as the release's installer does, through the
  // program's own registry layer; the executable is a real file.
  std::wstring Install(VersionCode code, bool createFile = true) {
    const std::wstring exe = folder / (L"bds" + std::to_wstring(code) + L".exe");
    if (createFile) testing::WriteBytes(exe, "MZ");
    Record(code, FromWide(exe));
    return exe;
  }
  void Record(VersionCode code, std::u16string_view exe) {
    WinRegistry registry;
    registry.SetRootKey(InstallationRoot(code));
    ASSERT_TRUE(registry.OpenKey(InstallationKey(code), true));
    registry.WriteString(ExecutableValueName(code), exe);
  }
  std::vector<VersionCode> Detect() {
    InstalledVersionSet installed;
    DetectInstalledVersions(registries, files, installed);
    return installed.Codes();
  }

  testing::RegistryCleaner cleaner{{L"Software\\Borland", L"Software\\CodeGear", L"Software\\Embarcadero"}};
  testing::TempFolder folder;
  WinRegistryFactory registries;
  WinFileSystem files;
};

TEST_F(Detection, FindsReleasesOfBothRootsWhoseExecutableExists) {
  EXPECT_TRUE(Detect().empty());
  Install(2);
  Install(3);
  Install(7);
  Install(2006);
  Install(2016);
  Install(2017);
  EXPECT_EQ(Detect(), (std::vector<VersionCode>{2, 3, 7, 2006, 2016, 2017}));
}

TEST_F(Detection, MissingExecutablesFoldersAndOtherUsersInstallationsDoNotCount) {
  const std::wstring deleted = Install(2010);
  DeleteFileW(deleted.c_str());
  CreateDirectoryW((folder / L"XE").c_str(), nullptr);
  Record(2011, FromWide(folder / L"XE"));
  Record(2012, u"");
  // Release 2014 recorded for the machine only; from release 8 on only the
  // user's own key counts.
  SetRegistryString(HKEY_LOCAL_MACHINE, L"Software\\Embarcadero\\BDS\\11.0", L"APP", folder / L"bds2014.exe");
  testing::WriteBytes(folder / L"bds2014.exe", "MZ");
  // Delphi 4 records "Delphi 4", not "APP".
  SetRegistryString(HKEY_LOCAL_MACHINE, L"Software\\Borland\\DELPHI\\4.0", L"APP", folder / L"bds2014.exe");
  EXPECT_TRUE(Detect().empty());
}

TEST_F(Detection, NonStringValueStopsDetectionMidway) {
  Install(2017);
  Install(2009);
  Install(5);
  const DWORD number = 1;
  testing::SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\9.0", L"APP", REG_DWORD, &number,
                            sizeof number);
  InstalledVersionSet installed;
  testing::ExpectAppError([&] { DetectInstalledVersions(registries, files, installed); },
                          u"'APP' のデータ型が不正です");
  EXPECT_EQ(installed.Codes(), std::vector<VersionCode>{2017})
      << "2017 found before the error; 2009 and 5 never examined";
}

TEST_F(Detection, ExecutablePathIsWhatTheRegistryRecords) {
  const std::wstring d2 = Install(2, false);
  const std::wstring xe6 = Install(2017, false);
  EXPECT_EQ(GetIdeExePath(registries, 2), FromWide(d2)) << "not checked for existence";
  EXPECT_EQ(GetIdeExePath(registries, 2017), FromWide(xe6));
  EXPECT_EQ(GetIdeExePath(registries, 2016), u"");
  WinRegistry registry;
  registry.CreateKey(InstallationKey(2016));
  EXPECT_EQ(GetIdeExePath(registries, 2016), u"");
  EXPECT_EQ(GetIdeExePath(registries, 1), u"");
}

}  // namespace
}  // namespace ombrisk
