// The settings file on the real file system under Wine: reading, the
// atomic replacement, and files another program holds open.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/settings_file.h"
#include "support/win_test_support.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_text_comparer.h"

namespace ombrisk {
namespace {

using testing::FileHolder;
using testing::FolderEntries;
using testing::ReadBytes;

const std::string kStored = std::string("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0\r\0\n\0", 26);

class SettingsOnDisk : public ::testing::Test {
 protected:
  std::u16string Path() const { return FromWide(folder / L"Ombrisk.env"); }
  std::unique_ptr<SettingsFile> Open() { return std::make_unique<SettingsFile>(files, comparer, Path()); }
  std::string Error(const std::function<void()>& action) {
    try {
      action();
    } catch (const AppError& error) {
      return ToUtf8(error.Message());
    }
    return "no error";
  }
  std::string ReadError(DWORD code) const {
    return ToUtf8(u"ファイル " + Path() + u" は開けません。 " + SystemErrorMessage(code) + u" ");
  }
  std::string WriteError(DWORD code) const {
    return ToUtf8(u"ファイル \"" + Path() + u"\" を作成できません。" + SystemErrorMessage(code));
  }
  // The settings file holds its stored bytes and is alone in its folder.
  void ExpectStoredFileAlone() {
    EXPECT_EQ(ReadBytes(folder / L"Ombrisk.env"), kStored);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::wstring>{L"Ombrisk.env"});
  }

  testing::TempFolder folder;
  WinFileSystem files;
  WinTextComparer comparer;
};

TEST_F(SettingsOnDisk, WritesAndReadsTheRealFileLeavingNothingElse) {
  auto file = Open();
  file->WriteString(u"A", u"k", u"v");
  file->UpdateFile();
  EXPECT_EQ(ReadBytes(folder / L"Ombrisk.env"), kStored);
  file->WriteString(u"PREF_日本語", u"Description", u"説明");
  file->UpdateFile();
  EXPECT_EQ(Open()->ReadString(u"pref_日本語", u"DESCRIPTION", u""), u"説明");
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::wstring>{L"Ombrisk.env"});

  testing::WriteBytes(folder / L"Ombrisk.env", "[A]\r\nk=odd");
  EXPECT_EQ(Open()->ReadString(u"A", u"k", u""), u"odd") << "UTF-8 from an editor";
}

TEST_F(SettingsOnDisk, FolderOrMissingFileReadsAsEmpty) {
  EXPECT_TRUE(Open()->ReadSections().empty());
  CreateDirectoryW((folder / L"Ombrisk.env").c_str(), nullptr);
  EXPECT_TRUE(Open()->ReadSections().empty());
  EXPECT_EQ(files.ReadFile(Path()).status, FileReadStatus::Missing);
}

TEST_F(SettingsOnDisk, FileHeldExclusivelyCannotBeReadOrWritten) {
  auto file = Open();
  file->WriteString(u"A", u"k", u"changed");
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  {
    FileHolder holder(folder / L"Ombrisk.env", L"read", L"-");
    EXPECT_EQ(Error([&] { Open(); }), ReadError(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Error([&] { file->UpdateFile(); }), WriteError(ERROR_SHARING_VIOLATION));
  }
  ExpectStoredFileAlone();
}

// While a copy lives it holds the file it read: others may read it or
// replace it as the program does, not write into it; the copy keeps what it
// read, and lets go of the file when it writes.
TEST_F(SettingsOnDisk, ACopyHoldsItsFileAgainstWritersUntilItWrites) {
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  auto file = Open();
  const auto openFor = [this](DWORD access, DWORD share) {
    const HANDLE handle =
        CreateFileW((folder / L"Ombrisk.env").c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    return handle != INVALID_HANDLE_VALUE;
  };
  EXPECT_TRUE(openFor(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  EXPECT_FALSE(openFor(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE));
  // Replaced by another copy of the program, as it writes.
  auto other = Open();
  other->WriteString(u"A", u"k", u"other");
  other->UpdateFile();
  EXPECT_EQ(Open()->ReadString(u"A", u"k", u""), u"other");
  EXPECT_EQ(file->ReadString(u"A", u"k", u""), u"v") << "the copy keeps what it read";
  file->WriteString(u"A", u"k2", u"mine");
  file->UpdateFile();
  EXPECT_TRUE(openFor(GENERIC_WRITE, 0)) << "the copy let go of the file";
  EXPECT_EQ(file->ReadString(u"A", u"k", u""), u"v");
  EXPECT_EQ(Open()->ReadString(u"A", u"k2", u""), u"mine");
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::wstring>{L"Ombrisk.env"});
}

TEST_F(SettingsOnDisk, FileOpenForWritingElsewhereCannotBeRead) {
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  FileHolder holder(folder / L"Ombrisk.env", L"write", L"rw");
  EXPECT_EQ(Error([&] { Open(); }), ReadError(ERROR_SHARING_VIOLATION));
}

TEST_F(SettingsOnDisk, FileReadElsewhereWithoutDeleteSharingIsReadButNotReplaced) {
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  FileHolder holder(folder / L"Ombrisk.env", L"read", L"r");
  auto file = Open();
  EXPECT_EQ(file->ReadString(u"A", u"k", u""), u"v");
  file->WriteString(u"A", u"k", u"changed");
  EXPECT_EQ(Error([&] { file->UpdateFile(); }), WriteError(ERROR_SHARING_VIOLATION));
  ExpectStoredFileAlone();
}

TEST_F(SettingsOnDisk, AReaderThatSharesDeletionDoesNotStopTheWrite) {
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  {
    FileHolder holder(folder / L"Ombrisk.env", L"read", L"rwd");
    auto file = Open();
    file->EraseSection(u"A");
    file->UpdateFile();
    EXPECT_EQ(ReadBytes(folder / L"Ombrisk.env"), "\xFF\xFE");
  }
  // The replaced file, still open in the reader, was deleted when it closed.
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::wstring>{L"Ombrisk.env"});
}

TEST_F(SettingsOnDisk, ReadOnlyFileKeepsItsContent) {
  testing::WriteBytes(folder / L"Ombrisk.env", kStored);
  SetFileAttributesW((folder / L"Ombrisk.env").c_str(), FILE_ATTRIBUTE_READONLY);
  auto file = Open();
  file->EraseSection(u"A");
  EXPECT_EQ(Error([&] { file->UpdateFile(); }), WriteError(ERROR_ACCESS_DENIED));
  ExpectStoredFileAlone();
}

TEST_F(SettingsOnDisk, MissingFolderCannotBeWritten) {
  SettingsFile file(files, comparer, FromWide(folder / L"gone\\Ombrisk.env"));
  file.WriteString(u"A", u"k", u"v");
  EXPECT_NE(Error([&] { file.UpdateFile(); }).find("を作成できません。"), std::string::npos);
}

}  // namespace
}  // namespace ombrisk
