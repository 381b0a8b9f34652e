#include "win32/win_file_system.h"

#include <gtest/gtest.h>

#include "support/win_test_support.h"
#include "win32/wide.h"

namespace ombrisk {
namespace {

TEST(WinFileSystem, OnlyExistingFilesCount) {
  testing::TempFolder folder;
  testing::WriteBytes(folder / L"bds.exe", "MZ");
  CreateDirectoryW((folder / L"bin").c_str(), nullptr);
  WinFileSystem files;
  EXPECT_TRUE(files.FileExists(FromWide(folder / L"bds.exe")));
  EXPECT_TRUE(files.FileExists(FromWide(folder / L"BDS.EXE")));
  EXPECT_FALSE(files.FileExists(FromWide(folder / L"bin"))) << "a folder is no file";
  EXPECT_FALSE(files.FileExists(FromWide(folder / L"missing.exe")));
  EXPECT_FALSE(files.FileExists(u""));
}

}  // namespace
}  // namespace ombrisk
