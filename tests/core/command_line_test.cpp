#include "core/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/text.h"

namespace ombrisk {
namespace {

TEST(CommandLine, ArgumentsAskForTheWindowACommandOrTheUsage) {
  using Kind = CommandLineRequest::Kind;
  struct Case {
    std::vector<std::u16string> arguments;
    Kind kind;
    std::u16string_view name;
    int exitCode;
    std::u16string_view file = u"";
  };
  for (const Case& c : std::initializer_list<Case>{
           {{}, Kind::Window, u"", 0},
           {{u"/launch", u"XE6 標準"}, Kind::Launch, u"XE6 標準", 0},
           {{u"-LAUNCH", u"a \"b\" %PATH%"}, Kind::Launch, u"a \"b\" %PATH%", 0},
           {{u"/Launch", u""}, Kind::Launch, u"", 0},
           {{u"/?"}, Kind::Usage, u"", 0},
           {{u"-?"}, Kind::Usage, u"", 0},
           {{u"/launch"}, Kind::Usage, u"", 1},
           {{u"/launch", u"a", u"C:\\Work Dir\\App.dproj"}, Kind::Launch, u"a", 0, u"C:\\Work Dir\\App.dproj"},
           {{u"/launch", u"a", u"b", u"c"}, Kind::Usage, u"", 1},
           {{u"/lunch", u"a"}, Kind::Usage, u"", 1},
           {{u"launch", u"a"}, Kind::Usage, u"", 1},
           {{u"XE6"}, Kind::Usage, u"", 1},
           {{u"/?", u"x"}, Kind::Usage, u"", 1},
           {{u"/Apply", u"XE6"}, Kind::Apply, u"XE6", 0},
           {{u"/apply"}, Kind::Usage, u"", 2},
           {{u"-apply", u"a", u"b"}, Kind::Usage, u"", 2},
           {{u"/export", u"team.ombrisk"}, Kind::Export, u"", 0, u"team.ombrisk"},
           {{u"/EXPORT"}, Kind::Usage, u"", 2},
           {{u"/import", u"team.ombrisk"}, Kind::Import, u"", 0, u"team.ombrisk"},
           {{u"/import", u"a", u"b"}, Kind::Usage, u"", 2},
       }) {
    const CommandLineRequest request = ParseCommandLine(c.arguments);
    const std::string trace = c.arguments.empty() ? "" : ToUtf8(c.arguments[0]);
    EXPECT_EQ(request.kind, c.kind) << trace;
    EXPECT_EQ(request.name, c.name) << trace;
    EXPECT_EQ(request.exitCode, c.exitCode) << trace;
    EXPECT_EQ(request.file, c.file) << trace;
    EXPECT_EQ(request.console, c.exitCode == 2) << trace;
  }
  const std::u16string exported[] = {u"/export", u"f", u"a", u"b"};
  EXPECT_EQ(ParseCommandLine(exported).names, (std::vector<std::u16string>{u"a", u"b"}));
}

// Each argument is read back by the Windows rules: backslashes are literal
// except before a quote, where 2n + 1 of them give n and a quote.
TEST(CommandLine, ShortcutArgumentsQuoteTheNameSoItComesBackUnchanged) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"XE6 標準", u"/launch \"XE6 標準\""},           {u"say \"hi\"", u"/launch \"say \\\"hi\\\"\""},
      {u"C:\\dir\\", u"/launch \"C:\\dir\\\\\""},       {u"a\\\"b", u"/launch \"a\\\\\\\"b\""},
      {u"50% & ^ | <x>", u"/launch \"50% & ^ | <x>\""}, {u"", u"/launch \"\""},
  };
  for (const auto& [name, arguments] : cases) EXPECT_EQ(LaunchArguments(name), arguments) << ToUtf8(name);
}

TEST(CommandLine, ShortcutFileNamesHoldOnlyWhatAFileNameMay) {
  const std::tuple<std::u16string_view, std::size_t, std::u16string_view> cases[] = {
      {u"XE6 標準", 100, u"XE6 標準"}, {u"a<b>c:d\"e/f\\g|h?i*j\tk", 100, u"a_b_c_d_e_f_g_h_i_j_k"},
      {u"con", 100, u"_con"},          {u"NUL.backup", 100, u"_NUL.backup"},
      {u"LPT1 ", 100, u"_LPT1 "},      {u"CONSOLE", 100, u"CONSOLE"},
      {u"COM10", 100, u"COM10"},       {u"abcdef", 4, u"abcd"},
      {u"ab\U0001F600", 3, u"ab"},
  };
  for (const auto& [name, length, file] : cases) EXPECT_EQ(ShortcutFileName(name, length), file) << ToUtf8(name);
}

}  // namespace
}  // namespace ombrisk
