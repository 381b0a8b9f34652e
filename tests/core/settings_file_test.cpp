#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/errors.h"
#include "core/fakes.h"
#include "core/test_comparer.h"
#include "support/expect_app_error.h"

namespace ombrisk {
namespace {

// The bytes of a text in UTF-16LE.
std::string Utf16(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  std::memcpy(bytes.data(), text.data(), bytes.size());
  return bytes;
}

const std::string kMark = "\xFF\xFE";
const std::u16string kPath = u"C:\\Tools\\Ombrisk.env";

class Settings : public ::testing::Test {
 protected:
  void Store(const std::string& bytes) { files.contents[kPath] = bytes; }
  std::unique_ptr<SettingsFile> Open() { return std::make_unique<SettingsFile>(files, comparer, kPath); }
  const std::string& Written() { return files.contents[kPath]; }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
};

TEST(SettingsFileName, ReplacesTheLastExtensionOfTheFileName) {
  EXPECT_EQ(SettingsFileName(u"C:\\Tools\\Ombrisk.exe"), u"C:\\Tools\\Ombrisk.env");
  EXPECT_EQ(SettingsFileName(u"C:\\Tools\\my.tool.exe"), u"C:\\Tools\\my.tool.env");
  EXPECT_EQ(SettingsFileName(u"C:\\Tools.d\\Ombrisk"), u"C:\\Tools.d\\Ombrisk.env");
  EXPECT_EQ(SettingsFileName(u"Z:/work/a.b/Ombrisk"), u"Z:/work/a.b/Ombrisk.env");
}

TEST(ValueTypes, IntegersInDecimalAndHexadecimal) {
  EXPECT_EQ(ParseInteger(u"2017"), 2017);
  EXPECT_EQ(ParseInteger(u"+5"), 5);
  EXPECT_EQ(ParseInteger(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInteger(u"2147483647"), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ParseInteger(u"2147483648"), std::nullopt);
  EXPECT_EQ(ParseInteger(u"-2147483649"), std::nullopt);
  EXPECT_EQ(ParseInteger(u"99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseInteger(u"$00FF00"), 0x00FF00);
  EXPECT_EQ(ParseInteger(u"0x00ff00"), 0x00FF00);
  EXPECT_EQ(ParseInteger(u"0X1f"), 31);
  EXPECT_EQ(ParseInteger(u"x1F"), 31);
  EXPECT_EQ(ParseInteger(u"X1F"), 31);
  EXPECT_EQ(ParseInteger(u"$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger(u"$123456789"), std::nullopt) << "nine hexadecimal digits";
  for (std::u16string_view bad :
       {u"", u"-", u"+", u"$", u"0x", u"green", u"12abc", u"1 ", u" 1", u"1.0", u"True", u"$FG", u"--1", u"１２"}) {
    EXPECT_EQ(ParseInteger(bad), std::nullopt) << ToUtf8(bad);
  }
}

TEST(ValueTypes, WidthListsAreCommaText) {
  using W = std::vector<int>;
  EXPECT_EQ(ParseWidthList(u"132,190,154", 3, 100), (W{132, 190, 154}));
  EXPECT_EQ(ParseWidthList(u"50,abc", 3, 100), (W{50, 100, 100}));
  EXPECT_EQ(ParseWidthList(u"200", 3, 100), (W{200, 100, 100}));
  EXPECT_EQ(ParseWidthList(u"", 3, 100), (W{100, 100, 100}));
  EXPECT_EQ(ParseWidthList(u"10 20 30", 3, 100), (W{10, 20, 30}));
  EXPECT_EQ(ParseWidthList(u" 10 ,\t20,  30 ", 3, 100), (W{10, 20, 30}));
  EXPECT_EQ(ParseWidthList(u"1,2,3,4,5", 3, 100), (W{1, 2, 3}));
  EXPECT_EQ(ParseWidthList(u",5", 3, 100), (W{100, 5, 100})) << "an empty first entry";
  EXPECT_EQ(ParseWidthList(u"1,,3", 3, 100), (W{1, 100, 3}));
  EXPECT_EQ(ParseWidthList(u"\"7\",\"8 9\",10", 3, 100), (W{7, 100, 10}));
  EXPECT_EQ(ParseWidthList(u"\"1\"\"2\",$10", 2, 400), (W{400, 16}));
  EXPECT_EQ(ParseWidthList(u"430,410", 2, 400), (W{430, 410}));
  EXPECT_EQ(WidthListText(W{132, 190, 154}), u"132,190,154");
  EXPECT_EQ(WidthListText(W{-1, 0}), u"-1,0");
  EXPECT_EQ(WidthListText(W{}), u"");
}

TEST_F(Settings, MissingFileGivesDefaultsAndAnEmptyCopyIsTheMarkAlone) {
  auto file = Open();
  EXPECT_EQ(file->ReadString(u"MainForm", u"ListViewColumnWidths", u"132,190,154"), u"132,190,154");
  EXPECT_EQ(file->ReadInteger(u"System", u"ListViewLineColor", 16772829), 16772829);
  EXPECT_FALSE(file->ValueExists(u"MainForm", u"Top"));
  EXPECT_TRUE(file->ReadSections().empty());
  file->UpdateFile();
  EXPECT_EQ(Written(), kMark);
  SettingsFile empty(files, comparer, u"");
  EXPECT_TRUE(empty.ReadSections().empty());
}

// The profile and window sections exactly as the program writes them.
constexpr std::u16string_view kExample =
    u"\xFEFF[PREF_D7 clean]\r\nVersion=7\r\nDescription=plain Delphi 7\r\nDelphiOnly=0\r\nNoSplash=1\r\n"
    u"NoProject=1\r\nNoCache=0\r\nUseAltReg=0\r\nRunAsAdmin=0\r\nAltReg=\r\nParameters=\r\n"
    u"Search_Path=$(DELPHI)\\Lib;$(DELPHI)\\Bin\r\nPackage_DPL_Output=\r\nPackage_DCP_Output=\r\nBrowsing_Path=\r\n"
    u"Package_Search_Path=\r\nNamespace_Search_Path=\r\nDebug_DCU_Path=\r\nLanguage_Library_Path=\r\n"
    u"Translated_Library_Path=\r\nTranslated_Debug_Library_Path=\r\nTranslated_Resource_Path=\r\n"
    u"HPP_Output_Directory=\r\nPreProcess=\r\n\r\n"
    u"[MainForm]\r\nClientWidth=512\r\nClientHeight=320\r\nWindowState=0\r\nTop=380\r\nLeft=704\r\n"
    u"ListViewColumnWidths=132,190,154\r\n\r\n";

TEST_F(Settings, WritesSectionsByteForByte) {
  auto file = Open();
  const std::u16string section = u"PREF_D7 clean";
  file->WriteInteger(section, u"Version", 7);
  file->WriteString(section, u"Description", u"plain Delphi 7");
  file->WriteBool(section, u"DelphiOnly", false);
  file->WriteBool(section, u"NoSplash", true);
  file->WriteBool(section, u"NoProject", true);
  file->WriteBool(section, u"NoCache", false);
  file->WriteBool(section, u"UseAltReg", false);
  file->WriteBool(section, u"RunAsAdmin", false);
  file->WriteString(section, u"AltReg", u"");
  file->WriteString(section, u"Parameters", u"");
  file->WriteString(section, u"Search_Path", u"$(DELPHI)\\Lib;$(DELPHI)\\Bin");
  for (std::u16string_view key :
       {u"Package_DPL_Output", u"Package_DCP_Output", u"Browsing_Path", u"Package_Search_Path",
        u"Namespace_Search_Path", u"Debug_DCU_Path", u"Language_Library_Path", u"Translated_Library_Path",
        u"Translated_Debug_Library_Path", u"Translated_Resource_Path", u"HPP_Output_Directory", u"PreProcess"}) {
    file->WriteString(section, key, u"");
  }
  file->WriteInteger(u"MainForm", u"ClientWidth", 512);
  file->WriteInteger(u"MainForm", u"ClientHeight", 320);
  file->WriteInteger(u"MainForm", u"WindowState", 0);
  file->WriteInteger(u"MainForm", u"Top", 380);
  file->WriteInteger(u"MainForm", u"Left", 704);
  file->WriteString(u"MainForm", u"ListViewColumnWidths", u"132,190,154");
  file->UpdateFile();
  EXPECT_EQ(Written(), Utf16(kExample));

  // Read back and written again unchanged, the bytes stay the same.
  auto again = Open();
  EXPECT_EQ(again->ReadString(u"PREF_D7 clean", u"Search_Path", u""), u"$(DELPHI)\\Lib;$(DELPHI)\\Bin");
  EXPECT_EQ(again->ReadInteger(u"MainForm", u"Left", 0), 704);
  again->UpdateFile();
  EXPECT_EQ(Written(), Utf16(kExample));
}

TEST_F(Settings, ReadingRulesForHandEditedFiles) {
  Store(kMark + Utf16(u"x=1\r\n;before\r\n  [ System ]  \n;note\r\n\r\n   \r\n"
                      u"  ListViewLineColor =  $00FF00 \rstray words\r\n"
                      u"\t= empty name\r\n[]\r\nk==v=w\r\n[Last]\r\nend=1"));
  auto file = Open();
  EXPECT_EQ(file->ReadSections(), (std::vector<std::u16string>{u"System", u"", u"Last"}));
  EXPECT_EQ(file->ReadInteger(u"System", u"ListViewLineColor", 0), 0x00FF00);
  EXPECT_EQ(file->ReadString(u"System", u"", u"-"), u"empty name");
  EXPECT_FALSE(file->ValueExists(u"System", u"stray words")) << "a line without = is no key";
  EXPECT_EQ(file->ReadString(u"", u"k", u""), u"=v=w") << "the first = separates";
  EXPECT_EQ(file->ReadString(u"Last", u"end", u""), u"1") << "the last line needs no line end";
  EXPECT_FALSE(file->ValueExists(u"System", u"x"));
  file->UpdateFile();
  EXPECT_EQ(Written(), kMark + Utf16(u"[System]\r\nListViewLineColor=$00FF00\r\nstray words\r\n=empty name\r\n\r\n"
                                     u"[]\r\nk==v=w\r\n\r\n[Last]\r\nend=1\r\n\r\n"));
}

TEST_F(Settings, DecodingTakesUtf16UpToTheFirstNulAndIgnoresAnOddByte) {
  Store(Utf16(u"[A]\r\nk=v\r\n") + std::string("\0\0", 2) + Utf16(u"[B]\r\nk=w\r\n"));
  EXPECT_EQ(Open()->ReadSections(), std::vector<std::u16string>{u"A"}) << "no mark, NUL ends the text";
  Store(kMark + Utf16(u"[A]\r\nk=v") + "X");
  EXPECT_EQ(Open()->ReadString(u"A", u"k", u""), u"v") << "odd trailing byte";
  // Bytes that are neither UTF-16 nor valid UTF-8 are read as UTF-16 all the
  // same, and nothing is recognised.
  Store("[A]\r\nk=\x83\x65\x83\x58\x83\x67\r\n");
  EXPECT_TRUE(Open()->ReadSections().empty());
  Store(std::string("\xFE\xFF\0[\0A\0]", 8));
  EXPECT_TRUE(Open()->ReadSections().empty()) << "big-endian is not recognised";
}

TEST_F(Settings, Utf8FilesKeepTheirProfiles) {
  const std::string utf8 = "[PREF_Größe]\r\nVersion=7\r\nDescription=日本語の説明\r\n";
  for (const std::string& bytes : {"\xEF\xBB\xBF" + utf8, utf8}) {
    Store(bytes);
    auto file = Open();
    EXPECT_EQ(file->ReadSections(), std::vector<std::u16string>{u"PREF_Größe"});
    EXPECT_EQ(file->ReadString(u"PREF_Größe", u"Description", u""), u"日本語の説明");
    file->WriteInteger(u"MainForm", u"ClientWidth", 512);
    file->UpdateFile();
    EXPECT_EQ(Written(), kMark + Utf16(u"[PREF_Größe]\r\nVersion=7\r\nDescription=日本語の説明\r\n\r\n"
                                       u"[MainForm]\r\nClientWidth=512\r\n\r\n"));
  }
  Store("[PREF_plain]\nVersion=2017\n");
  EXPECT_EQ(Open()->ReadInteger(u"PREF_plain", u"Version", 0), 2017) << "plain ASCII without a mark";
}

TEST_F(Settings, NamesMatchWithoutRegardToCaseIncludingNonAsciiLetters) {
  Store(kMark + Utf16(u"[prefform]\r\nlistviewcolumnwidths=1,2\r\n[PREF_äöü Ωmega ｂ]\r\nＫey=1\r\n"));
  auto file = Open();
  EXPECT_EQ(file->ReadString(u"PrefForm", u"ListViewColumnWidths", u""), u"1,2");
  EXPECT_TRUE(file->ValueExists(u"PREF_ÄÖÜ ΩMEGA Ｂ", u"ｋEY"));
  EXPECT_FALSE(file->ValueExists(u"PREF_aou omega b", u"Key")) << "no accent folding";
  file->WriteString(u"PrefForm", u"ListViewColumnWidths", u"430,410");
  file->UpdateFile();
  EXPECT_EQ(Written(), kMark + Utf16(u"[prefform]\r\nListViewColumnWidths=430,410\r\n\r\n"
                                     u"[PREF_äöü Ωmega ｂ]\r\nＫey=1\r\n\r\n"));
}

TEST_F(Settings, DuplicateSectionsAndKeysAnswerFromTheFirst) {
  Store(kMark + Utf16(u"[PREF_A]\r\nVersion=7\r\nVersion=8\r\n[pref_a]\r\nVersion=2017\r\nDescription=second\r\n"));
  auto file = Open();
  EXPECT_EQ(file->ReadSections(), (std::vector<std::u16string>{u"PREF_A", u"pref_a"}));
  EXPECT_EQ(file->ReadInteger(u"pref_a", u"Version", 0), 7);
  EXPECT_FALSE(file->ValueExists(u"PREF_A", u"Description"));
  file->WriteInteger(u"pref_A", u"VERSION", 5);
  EXPECT_EQ(file->FileContent(), kMark + Utf16(u"[PREF_A]\r\nVERSION=5\r\nVersion=8\r\n\r\n"
                                               u"[pref_a]\r\nVersion=2017\r\nDescription=second\r\n\r\n"));
  // Once the first is erased, the later one answers, also to writes.
  file->EraseSection(u"PREF_A");
  EXPECT_EQ(file->ReadInteger(u"PREF_A", u"Version", 0), 2017);
  file->WriteString(u"PREF_A", u"Description", u"edited");
  EXPECT_EQ(file->FileContent(), kMark + Utf16(u"[pref_a]\r\nVersion=2017\r\nDescription=edited\r\n\r\n"));
  file->EraseSection(u"PREF_A");
  file->EraseSection(u"PREF_A");
  EXPECT_EQ(file->FileContent(), kMark);
}

TEST_F(Settings, WritesReplaceInPlaceAppendNewKeysAndMoveRewrittenSectionsToTheEnd) {
  Store(kMark + Utf16(u"[PREF_One]\r\nVersion=7\r\nDescription=first\r\n[PREF_Two]\r\nVersion=2017\r\n"));
  auto file = Open();
  file->WriteString(u"PREF_One", u"description", u"changed");
  file->WriteString(u"PREF_One", u"PreProcess", u"");
  file->EraseSection(u"PREF_One");
  EXPECT_FALSE(file->ValueExists(u"PREF_One", u"Version"));
  file->WriteInteger(u"PREF_One", u"Version", 2016);
  EXPECT_EQ(file->ReadSections(), (std::vector<std::u16string>{u"PREF_Two", u"PREF_One"}));
  file->WriteString(u"PREF_Two", u"Description", u"added last");
  EXPECT_EQ(file->FileContent(), kMark + Utf16(u"[PREF_Two]\r\nVersion=2017\r\nDescription=added last\r\n\r\n"
                                               u"[PREF_One]\r\nVersion=2016\r\n\r\n"));
  file->EraseSection(u"PREF_Missing");
  EXPECT_EQ(file->ReadSections().size(), 2u);
}

// A copy reads a view of the file, lets go of it to write the file, and
// goes on answering as before: the same names, values, duplicates and
// order, once more written the same.
TEST_F(Settings, AfterWritingTheCopyAnswersAsBeforeWithoutHoldingTheFile) {
  Store(kMark + Utf16(u"[PREF_A]\r\nVersion=7\r\nloose line\r\n[pref_a]\r\nVersion=3\r\n[PREF_B]\r\nKey=b\r\n"
                      u"[PREF_C]\r\nKey=c\r\n"));
  auto file = Open();
  for (int i = 0; i < 6; ++i) file->ReadString(u"PREF_B", u"Key", u"");  // an index of the section's keys
  file->WriteString(u"PREF_B", u"Added", u"new");                        // the section gets lines of its own
  file->EraseSection(u"PREF_C");
  file->UpdateFile();
  const std::string written = Written();
  EXPECT_EQ(file->ReadInteger(u"PREF_A", u"Version", 0), 7);
  EXPECT_EQ(file->ReadString(u"pref_b", u"KEY", u""), u"b");
  EXPECT_EQ(file->ReadString(u"PREF_B", u"Added", u""), u"new");
  EXPECT_FALSE(file->SectionExists(u"PREF_C"));
  EXPECT_EQ(file->ReadSections(), (std::vector<std::u16string>{u"PREF_A", u"pref_a", u"PREF_B"}));
  file->EraseSection(u"PREF_A");
  EXPECT_EQ(file->ReadInteger(u"PREF_A", u"Version", 0), 3) << "the second of the name answers now";
  file->UpdateFile();
  EXPECT_EQ(Written(), kMark + Utf16(u"[pref_a]\r\nVersion=3\r\n\r\n[PREF_B]\r\nKey=b\r\nAdded=new\r\n\r\n"));
  EXPECT_EQ(written, kMark + Utf16(u"[PREF_A]\r\nVersion=7\r\nloose line\r\n\r\n[pref_a]\r\nVersion=3\r\n\r\n"
                                   u"[PREF_B]\r\nKey=b\r\nAdded=new\r\n\r\n"));
}

TEST_F(Settings, ManyLookupsInOneSectionStayCorrectAsItChanges) {
  std::u16string text = u"[PREF_Big]\r\n";
  for (int i = 0; i < 200; ++i) text += u"Key" + DecimalText(i) + u"=" + DecimalText(i * 2) + u"\r\n";
  text += u"key7=duplicate\r\n";
  Store(kMark + Utf16(text));
  auto file = Open();
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(file->ReadInteger(u"PREF_Big", u"KEY" + DecimalText(i), -1), i * 2) << i;
  }
  EXPECT_EQ(file->ReadString(u"PREF_Big", u"Key7", u""), u"14");
  file->WriteString(u"PREF_Big", u"New", u"n");
  file->WriteString(u"PREF_Big", u"key7", u"seven");
  EXPECT_EQ(file->ReadString(u"pref_big", u"NEW", u""), u"n");
  EXPECT_EQ(file->ReadString(u"PREF_Big", u"Key7", u""), u"seven");
  EXPECT_FALSE(file->ValueExists(u"PREF_Big", u"Key200"));
  const std::string bytes = file->FileContent();
  EXPECT_NE(bytes.find(Utf16(u"\r\nkey7=seven\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Utf16(u"\r\nkey7=duplicate\r\nNew=n\r\n")), std::string::npos);
}

TEST_F(Settings, BooleansAndIntegersReadFromTheFile) {
  Store(kMark + Utf16(u"[PREF_X]\r\nDelphiOnly=True\r\nNoSplash=2\r\nNoProject=  1  \r\nNoCache=0\r\n"
                      u"RunAsAdmin=\r\n[System]\r\nListViewLineColor=0x00FF00\r\n[MainForm]\r\nTop=green\r\n"));
  auto file = Open();
  EXPECT_FALSE(file->ReadBool(u"PREF_X", u"DelphiOnly", false));
  EXPECT_TRUE(file->ReadBool(u"PREF_X", u"DelphiOnly", true)) << "no integer gives the default";
  EXPECT_TRUE(file->ReadBool(u"PREF_X", u"NoSplash", false));
  EXPECT_TRUE(file->ReadBool(u"PREF_X", u"NoProject", false));
  EXPECT_FALSE(file->ReadBool(u"PREF_X", u"NoCache", true));
  EXPECT_TRUE(file->ReadBool(u"PREF_X", u"RunAsAdmin", true));
  EXPECT_TRUE(file->ValueExists(u"PREF_X", u"RunAsAdmin")) << "present with an empty value";
  EXPECT_EQ(file->ReadString(u"PREF_X", u"RunAsAdmin", u"default"), u"");
  EXPECT_EQ(file->ReadInteger(u"System", u"ListViewLineColor", 16772829), 0x00FF00);
  EXPECT_EQ(file->ReadInteger(u"MainForm", u"Top", 380), 380);
}

TEST_F(Settings, MultiLinePreProcessKeepsOnlyItsFirstLine) {
  auto file = Open();
  file->WriteInteger(u"PREF_Multi", u"Version", 7);
  file->WriteString(u"PREF_Multi", u"PreProcess", u"copy a b\r\nset X=1");
  file->WriteInteger(u"MainForm", u"Top", 1);
  file->UpdateFile();
  auto again = Open();
  EXPECT_EQ(again->ReadString(u"PREF_Multi", u"PreProcess", u""), u"copy a b");
  EXPECT_EQ(again->ReadString(u"PREF_Multi", u"set X", u""), u"1") << "the second line became a key";
  again->EraseSection(u"PREF_Multi");
  again->WriteInteger(u"PREF_Multi", u"Version", 7);
  again->WriteString(u"PREF_Multi", u"PreProcess", u"copy a b");
  EXPECT_EQ(again->FileContent(),
            kMark + Utf16(u"[MainForm]\r\nTop=1\r\n\r\n[PREF_Multi]\r\nVersion=7\r\nPreProcess=copy a b\r\n\r\n"));
}

TEST_F(Settings, TrailingBlanksOfANameAreLostWhenReadAgain) {
  auto file = Open();
  file->WriteInteger(u"PREF_Alpha ", u"Version", 7);
  file->UpdateFile();
  EXPECT_EQ(Written(), kMark + Utf16(u"[PREF_Alpha ]\r\nVersion=7\r\n\r\n"));
  EXPECT_EQ(Open()->ReadSections(), std::vector<std::u16string>{u"PREF_Alpha"});
}

TEST_F(Settings, UnreadableAndUnwritableFilesRaiseTheirErrors) {
  files.readFailures[kPath] = u"別のプロセスが使用中です";
  testing::ExpectAppError([&] { Open(); }, u"ファイル C:\\Tools\\Ombrisk.env は開けません。 別のプロセスが使用中です ");
  files.readFailures.clear();
  Store(Utf16(kExample));
  auto file = Open();
  file->EraseSection(u"PREF_D7 clean");
  files.writeFailures[kPath] = u"アクセスが拒否されました";
  testing::ExpectAppError([&] { file->UpdateFile(); },
                          u"ファイル \"C:\\Tools\\Ombrisk.env\" を作成できません。アクセスが拒否されました");
  EXPECT_EQ(Written(), Utf16(kExample));
}

}  // namespace
}  // namespace ombrisk
