#include "core/profile_transfer.h"

#include <gtest/gtest.h>

#include "core/command_line.h"
#include "core/fakes.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

// The bytes of a UTF-16 file with its mark.
std::string Utf16File(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  return bytes;
}

class Transfer : public ::testing::Test {
 protected:
  static constexpr std::u16string_view kSettings = u"C:\\Tools\\Ombrisk.env";
  static constexpr std::u16string_view kFile = u"C:\\Share\\team.ombrisk";
  static constexpr std::u16string_view kReplaced = u"C:\\Tools\\Ombrisk.backup\\Replaced_20261209-153012.ini";
  static constexpr BackupTime kTime{2026, 12, 9, 15, 30, 12};

  void Write(std::u16string_view path, std::u16string_view text) {
    files.contents[std::u16string(path)] = Utf16File(text);
  }
  const std::string& Bytes(std::u16string_view path) { return files.contents.at(std::u16string(path)); }
  ImportOutcome Import(ExistingProfile answer) {
    return ImportProfiles(
        store, kFile, installed,
        [&](std::u16string_view name) {
          asked.emplace_back(name);
          return answer;
        },
        kTime);
  }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  ProfileStore store{files, comparer, std::u16string(kSettings)};
  InstalledVersionSet installed{7};
  std::vector<std::u16string> asked;
};

// Every line of a profile's section travels as the file holds it, list
// settings, unknown keys and lines without "=" included, in the order the
// names ask for; the window's sections stay behind.
TEST_F(Transfer, ExportedProfilesComeBackByteForByte) {
  constexpr std::u16string_view kA =
      u"[PREF_a]\r\nVersion=7\r\nDescription=説明 ; not a comment\r\nPKG_PATH1=$(DELPHI)\\x.bpl\r\nPKG_NAME1=X\r\n"
      u"PKG_Count=1\r\nSearch_Path=C:\\lib\r\nENV_NAME1=PATH\r\nENV_VALUE1=\" a \"\r\nENV_Count=1\r\n"
      u"Future=kept\r\nno equals sign\r\n\r\n";
  constexpr std::u16string_view kB = u"[PREF_b]\r\nVersion=2010\r\n\r\n";
  Write(kSettings, Concat({u"[MainForm]\r\nLeft=1\r\n\r\n", kA, kB}));
  const std::u16string names[] = {u"B", u"a", u"b"};
  EXPECT_EQ(ExportProfiles(store, kFile, names), 2u);
  EXPECT_EQ(Bytes(kFile), Utf16File(Concat({u"[Ombrisk]\r\nFormatVersion=1\r\n\r\n", kB, kA})));
  EXPECT_EQ(ExportProfiles(store, u"C:\\Share\\all.ombrisk"), 2u);
  EXPECT_EQ(Bytes(u"C:\\Share\\all.ombrisk"), Utf16File(Concat({u"[Ombrisk]\r\nFormatVersion=1\r\n\r\n", kA, kB})));

  const ProfileStore other(files, comparer, u"D:\\Other\\Ombrisk.env");
  const ImportOutcome outcome = ImportProfiles(other, kFile, installed, nullptr, kTime);
  EXPECT_EQ(outcome.imported, (std::vector<std::u16string>{u"b", u"a"}));
  EXPECT_EQ(outcome.notInstalled, 1u);
  EXPECT_EQ(Bytes(u"D:\\Other\\Ombrisk.env"), Utf16File(Concat({kB, kA})));

  // A name no profile has refuses the whole export.
  const std::u16string unknown[] = {u"a", u"MainForm"};
  testing::ExpectAppError([&] { ExportProfiles(store, u"C:\\Share\\x.ombrisk", unknown); },
                          u"プロファイル [MainForm] が見つかりません");
  EXPECT_FALSE(files.FileExists(u"C:\\Share\\x.ombrisk"));
}

// A name the settings file has (in any case) is asked about before anything
// is written: replaced with the old section saved first, left out, or the
// whole import cancelled.
TEST_F(Transfer, ExistingNamesAreReplacedLeftOutOrCancelTheImport) {
  constexpr std::u16string_view kOld = u"[PREF_A]\r\nVersion=7\r\nDescription=old\r\n\r\n";
  constexpr std::u16string_view kC = u"[PREF_c]\r\nVersion=7\r\n\r\n";
  constexpr std::u16string_view kNew = u"[PREF_a]\r\nVersion=7\r\nDescription=new\r\n\r\n";
  constexpr std::u16string_view kAdded = u"[PREF_B]\r\nVersion=2010\r\n\r\n";
  for (const ExistingProfile answer : {ExistingProfile::Replace, ExistingProfile::LeaveOut, ExistingProfile::Cancel}) {
    SCOPED_TRACE(static_cast<int>(answer));
    files.contents.clear();
    asked.clear();
    Write(kSettings, Concat({kOld, kC}));
    Write(kFile, Concat({u"[Ombrisk]\r\nFormatVersion=1\r\n\r\n", kNew, kAdded, u"[PREF_A]\r\nVersion=7\r\n\r\n"}));
    const ImportOutcome outcome = Import(answer);
    EXPECT_EQ(asked, std::vector<std::u16string>{u"a"}) << "each name once, its first section";
    EXPECT_EQ(outcome.cancelled, answer == ExistingProfile::Cancel);
    const std::u16string notInstalled = u"\r\n1 件はインストールされていないリリースのものです";
    switch (answer) {
      case ExistingProfile::Replace:
        EXPECT_EQ(Bytes(kSettings), Utf16File(Concat({kC, kNew, kAdded})));
        EXPECT_EQ(Bytes(kReplaced), Utf16File(kOld));
        EXPECT_EQ(ImportMessage(outcome), u"2 件のプロファイルをインポートしました" + notInstalled);
        break;
      case ExistingProfile::LeaveOut:
        EXPECT_EQ(Bytes(kSettings), Utf16File(Concat({kOld, kC, kAdded})));
        EXPECT_EQ(outcome.leftOut, std::vector<std::u16string>{u"a"});
        EXPECT_EQ(ImportMessage(outcome), u"1 件のプロファイルをインポートしました" + notInstalled);
        break;
      case ExistingProfile::Cancel:
        EXPECT_EQ(Bytes(kSettings), Utf16File(Concat({kOld, kC})));
        break;
    }
    EXPECT_EQ(files.FileExists(kReplaced), answer == ExistingProfile::Replace);
  }
  // A replace whose backup cannot be written changes nothing.
  Write(kSettings, kOld);
  files.writeFailures[std::u16string(kReplaced)] = u"拒否";
  testing::ExpectAppError([&] { Import(ExistingProfile::Replace); },
                          Concat({u"バックアップを作成できません: ", kReplaced, u" 拒否"}));
  EXPECT_EQ(Bytes(kSettings), Utf16File(kOld));
}

TEST_F(Transfer, AFileOfAnotherFormatIsRefusedAndChangesNothing) {
  Write(kSettings, u"[PREF_a]\r\nVersion=7\r\n\r\n");
  const std::string settings = Bytes(kSettings);
  for (const std::u16string_view content :
       {u"[PREF_b]\r\nVersion=7\r\n", u"[Ombrisk]\r\nFormatVersion=2\r\n[PREF_b]\r\n", u"[Ombrisk]\r\n[PREF_b]\r\n",
        u"[Ombrisk]\r\nFormatVersion=one\r\n", u""}) {
    SCOPED_TRACE(ToUtf8(content));
    files.contents.erase(std::u16string(kFile));
    if (!content.empty()) Write(kFile, content);
    testing::ExpectAppError([&] { Import(ExistingProfile::Replace); },
                            u"ファイル [C:\\Share\\team.ombrisk] は Ombrisk のプロファイルではありません");
  }
  Write(kFile, u"[Ombrisk]\r\nFormatVersion=1\r\n[PREF_b]\r\nVersion=7\r\n");
  files.readFailures[std::u16string(kFile)] = u"held";
  testing::ExpectAppError([&] { Import(ExistingProfile::Replace); },
                          u"ファイル [C:\\Share\\team.ombrisk] は Ombrisk のプロファイルではありません");
  EXPECT_EQ(Bytes(kSettings), settings);
}

// The scripts' import leaves out every existing name, names it and ends
// with 1; the export tells its count.
TEST_F(Transfer, TheCommandLineLeavesOutExistingNamesAndSaysSo) {
  Write(kSettings, u"[PREF_a]\r\nVersion=7\r\n\r\n[PREF_b]\r\nVersion=7\r\n\r\n");
  MemoryRegistryStore registryStore;
  MemoryRegistryFactory registries{registryStore};
  std::vector<std::u16string> said, errors;
  class NoStarts : public ProcessStarter {
    std::uint32_t RunAndWait(std::u16string_view, bool) override { return 0; }
    bool RunElevated(std::u16string_view, std::u16string_view) override { return false; }
    bool Open(std::u16string_view, std::u16string_view) override { return false; }
    bool SupportsElevation() override { return false; }
  } starter;
  CommandLineServices services{registries, files,
                               comparer,   u"C:\\Tools\\Ombrisk.exe",
                               starter,    [&](std::u16string_view message) { errors.emplace_back(message); }};
  services.tell = [&](std::u16string_view message) { said.emplace_back(message); };
  services.clock = [] { return kTime; };
  EXPECT_EQ(ExportFromCommandLine(services, kFile, {}), 0);
  Write(kSettings, u"[PREF_b]\r\nVersion=7\r\n\r\n");
  EXPECT_EQ(ImportFromCommandLine(services, kFile), 1);
  EXPECT_EQ(Bytes(kSettings), Utf16File(u"[PREF_b]\r\nVersion=7\r\n\r\n[PREF_a]\r\nVersion=7\r\n\r\n"));
  EXPECT_EQ(ImportFromCommandLine(services, kFile), 1);
  files.contents.erase(std::u16string(kSettings));
  EXPECT_EQ(ImportFromCommandLine(services, kFile), 0);
  // No release is installed in the empty registry.
  const std::u16string waiting = u"件はインストールされていないリリースのものです";
  EXPECT_EQ(said,
            (std::vector<std::u16string>{
                u"2 件のプロファイルをエクスポートしました", u"1 件のプロファイルをインポートしました\r\n1 " + waiting,
                u"0 件のプロファイルをインポートしました", u"2 件のプロファイルをインポートしました\r\n2 " + waiting}));
  EXPECT_EQ(errors, (std::vector<std::u16string>{u"プロファイル [b] は既にあるため、インポートしませんでした",
                                                 u"プロファイル [a] は既にあるため、インポートしませんでした",
                                                 u"プロファイル [b] は既にあるため、インポートしませんでした"}));
}

}  // namespace
}  // namespace ombrisk
