// A profile's environment variables: the editor page's text, the settings
// file's pairs, the import from the IDE's key and the launch's writes.
#include <gtest/gtest.h>

#include "core/editor_checks.h"
#include "core/fakes.h"
#include "core/launch.h"
#include "core/profile_store.h"
#include "core/test_comparer.h"
#include "core/text.h"

namespace ombrisk {
namespace {

using Variables = std::vector<EnvironmentVariable>;

TEST(Environment, ThePageTextIsParsedOrRefusedAtItsLine) {
  const testing::PlatformTextComparer comparer;
  const std::u16string longest(32767, u'x');
  struct Case {
    std::u16string text;
    std::variant<Variables, EnvironmentProblem> expected;
  };
  const Case cases[] = {
      {u"", Variables{}},
      {u"\r\n  \r\n", Variables{}},
      {u" PATH = C:\\bin;%PATH% \r\n\r\nA B=\"q\"", Variables{{u"PATH", u" C:\\bin;%PATH% "}, {u"A B", u"\"q\""}}},
      {u"名前=値=2\nX=" + longest, Variables{{u"名前", u"値=2"}, {u"X", longest}}},
      {u"A=1\r\n\r\nno equals", EnvironmentProblem{u"環境変数の 3 行目は 名前=値 の形式で入力してください", 2}},
      {u"  =value", EnvironmentProblem{u"環境変数の 1 行目は 名前=値 の形式で入力してください", 0}},
      {u"Path=1\r\nä=2\r\nPATH=3", EnvironmentProblem{u"環境変数 [PATH] が重複しています", 2}},
      {u"ä=1\r\nÄ=2", EnvironmentProblem{u"環境変数 [Ä] が重複しています", 1}},
      {u"A=1\r\nLONG=" + longest + u"x", EnvironmentProblem{u"環境変数 [LONG] の値が長すぎます", 1}},
      // CR, LF and CR LF each end a line; a NUL is refused at its line.
      {u"A=1\rB=2\nC=3\r\n\rD=4", Variables{{u"A", u"1"}, {u"B", u"2"}, {u"C", u"3"}, {u"D", u"4"}}},
      {u"A=1\rB=x" + std::u16string(1, u'\0') + u"y",
       EnvironmentProblem{u"環境変数の 2 行目は 名前=値 の形式で入力してください", 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text.substr(0, 40)));
    const auto parsed = ParseEnvironment(c.text, comparer);
    if (const auto* expected = std::get_if<Variables>(&c.expected)) {
      ASSERT_TRUE(std::holds_alternative<Variables>(parsed));
      EXPECT_EQ(std::get<Variables>(parsed), *expected);
      EXPECT_EQ(std::get<Variables>(ParseEnvironment(EnvironmentText(*expected), comparer)), *expected);
    } else {
      ASSERT_TRUE(std::holds_alternative<EnvironmentProblem>(parsed));
      EXPECT_EQ(std::get<EnvironmentProblem>(parsed).message, std::get<EnvironmentProblem>(c.expected).message);
      EXPECT_EQ(std::get<EnvironmentProblem>(parsed).line, std::get<EnvironmentProblem>(c.expected).line);
    }
  }
}

class EnvironmentStore : public ::testing::Test {
 protected:
  static constexpr std::u16string_view kSettings = u"C:\\Tools\\Ombrisk.env";
  SettingsFile& File() {
    if (!file_) file_ = std::make_unique<SettingsFile>(files, comparer, std::u16string(kSettings));
    return *file_;
  }
  void Ide(std::u16string_view key, std::u16string_view name, std::u16string_view value) {
    store.SetString(RegistryRoot::CurrentUser, u"\\Software\\Embarcadero\\BDS\\37.0\\" + std::u16string(key), name,
                    value);
  }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  MemoryRegistryStore store;
  std::unique_ptr<SettingsFile> file_;
};

// Saved as pairs and a count, read back exactly; a load takes the stored
// variables over the imported ones, and a profile stored without them keeps
// the IDE's. The 64-bit IDE imports its own key where it has one.
TEST_F(EnvironmentStore, PairsRoundTripAndALoadTakesThemOnlyWhereStored) {
  Ide(u"Environment Variables", u"SKIADIR", u"C:\\skia");
  Ide(u"Environment Variables", u"PATH", u"C:\\bpl32");
  Ide(u"Environment Variables x64", u"PATH", u"C:\\bpl64");
  MemoryRegistry registry(store);
  ProfileRecord record;
  record.version = 2027;
  ImportIdeSettings(registry, record);
  EXPECT_EQ(record.environment, (Variables{{u"SKIADIR", u"C:\\skia"}, {u"PATH", u"C:\\bpl32"}}));
  record.ide64 = record.ide64Installed = true;
  ImportIdeSettings(registry, record);
  EXPECT_EQ(record.environment, (Variables{{u"PATH", u"C:\\bpl64"}}));
  // The page shows a variable a line: an imported line break is a blank.
  Ide(u"Environment Variables x64", u"LINES", u"a\r\nb\rc\nd");
  ImportIdeSettings(registry, record);
  EXPECT_EQ(record.environment, (Variables{{u"PATH", u"C:\\bpl64"}, {u"LINES", u"a b c d"}}));
  record.description = u"two\nlines";
  SaveProfile(File(), u"Lines", std::nullopt, record);
  EXPECT_EQ(File().ReadString(u"PREF_Lines", u"Description", u""), u"two lines") << "no line break in the file";
  EXPECT_EQ(File().ReadString(u"PREF_Lines", u"ENV_VALUE2", u""), u"a b c d");

  const Variables mine{{u"A B%", u" ; \"q\" "}, {u"名前", std::u16string(32767, u'v')}, {u"Q", u"\"quoted\""}};
  record.environment = mine;
  SaveProfile(File(), u"P", std::nullopt, record);
  File().UpdateFile();
  file_.reset();  // read again from the file, which trims what it reads
  const std::vector<std::u16string> keys = File().ReadKeys(u"PREF_P");
  EXPECT_EQ(std::vector<std::u16string>(keys.end() - 5, keys.end()),
            (std::vector<std::u16string>{u"ENV_NAME2", u"ENV_VALUE2", u"ENV_NAME3", u"ENV_VALUE3", u"ENV_Count"}));
  EXPECT_EQ(StoredEnvironment(File(), u"PREF_P"), mine);
  File().WriteString(u"PREF_Old", u"Version", u"2027");
  EXPECT_EQ(StoredEnvironment(File(), u"PREF_Old"), std::nullopt);

  ProfileRecord loaded;
  loaded.version = 2027;
  loaded.environment = {{u"IMPORTED", u"1"}};
  LoadProfile(File(), registry, u"P", loaded);
  EXPECT_EQ(loaded.environment, mine);
  loaded.environment = {{u"IMPORTED", u"1"}};
  LoadProfile(File(), registry, u"Old", loaded);
  EXPECT_EQ(loaded.environment, (Variables{{u"IMPORTED", u"1"}}));
  File().WriteString(u"PREF_Old", u"ENV_Count", u"2000000000");
  File().WriteString(u"PREF_Old", u"env_name1", u"ONE");
  EXPECT_EQ(StoredEnvironment(File(), u"PREF_Old"), (Variables{{u"ONE", u""}})) << "a pair without a name left out";
}

}  // namespace
}  // namespace ombrisk
