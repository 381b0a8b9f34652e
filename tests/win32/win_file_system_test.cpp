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

TEST(WinFileSystem, FoldersAreMadeOnceListedWithoutSubFoldersAndFilesRemoved) {
  testing::TempFolder folder;
  WinFileSystem files;
  const std::u16string made = FromWide(folder / L"made");
  EXPECT_EQ(files.CreateFolder(made), u"");
  EXPECT_EQ(files.CreateFolder(made), u"") << "a folder that is there";
  testing::WriteBytes(folder / L"made\\a.reg", "a");
  CreateDirectoryW((folder / L"made\\sub").c_str(), nullptr);
  EXPECT_EQ(files.ListFiles(made), std::vector<std::u16string>{u"a.reg"});
  EXPECT_TRUE(files.ListFiles(FromWide(folder / L"missing")).empty());
  EXPECT_TRUE(files.RemoveFile(made + u"\\a.reg"));
  EXPECT_FALSE(files.RemoveFile(made + u"\\a.reg"));
  EXPECT_NE(files.CreateFolder(made + u"\\sub\\x\\y"), u"") << "its parent is missing";
  testing::WriteBytes(folder / L"taken", "a file");
  EXPECT_NE(files.CreateFolder(FromWide(folder / L"taken")), u"") << "a file in its place";
}

}  // namespace
}  // namespace ombrisk
