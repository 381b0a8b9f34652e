#include "core/editor_checks.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/test_comparer.h"
#include "core/texts.h"

namespace ombrisk {
namespace {

class EditorChecks : public ::testing::Test {
 protected:
  // The message of the first problem, or "" when the input passes.
  std::u16string Problem(std::u16string_view name, bool useAltReg = false, std::u16string_view altReg = u"",
                         std::u16string_view preProcess = u"") {
    const auto problem =
        CheckProfileInput(ProfileInput{name, 2017, useAltReg, altReg, preProcess}, listed, taken, comparer);
    field = problem ? std::optional(problem->field) : std::nullopt;
    return problem ? problem->message : u"";
  }

  std::vector<std::u16string> listed{u"Alpha", u"Größe", u""};
  std::vector<std::u16string> taken{u"System", u"PREF_Hidden", u"pref_ÄÖÜ"};
  std::optional<EditorField> field;
  testing::PlatformTextComparer comparer;
};

TEST_F(EditorChecks, NamesMustBeNewNonBlankAndFreeInTheFile) {
  EXPECT_EQ(Problem(u"Beta"), u"");
  EXPECT_EQ(Problem(u"alpha"), texts::kDuplicateProfile) << "case is ignored";
  EXPECT_EQ(field, EditorField::ProfileName);
  EXPECT_EQ(Problem(u"Große"), u"") << "an accent makes another name";
  EXPECT_EQ(Problem(u"größe"), texts::kDuplicateProfile);
  EXPECT_EQ(Problem(u"Alpha \t"), texts::kDuplicateProfile) << "trailing blanks do not make a new name";
  EXPECT_EQ(Problem(u" Alpha"), u"") << "leading blanks stay part of the name";
  EXPECT_EQ(Problem(u"   "), texts::kEmptyProfileName) << "blank, although a profile has the empty name";
  EXPECT_EQ(Problem(u""), texts::kEmptyProfileName);
  EXPECT_EQ(field, EditorField::ProfileName);
  // Sections of the file, listed or not, match as the file matches names.
  EXPECT_EQ(Problem(u"hidden"), texts::kDuplicateProfile);
  EXPECT_EQ(Problem(u"äöü"), texts::kDuplicateProfile);
  EXPECT_EQ(Problem(u"System"), u"") << "only profile sections are profiles";
}

TEST_F(EditorChecks, AlternateKeyAndPreLaunchCommand) {
  EXPECT_EQ(Problem(u"New", true, u" \t "), texts::kEmptyAltReg);
  EXPECT_EQ(field, EditorField::AltReg);
  EXPECT_EQ(Problem(u"New", false, u""), u"") << "not chosen: not examined";
  EXPECT_EQ(Problem(u"New", true, u" X "), u"");
  EXPECT_EQ(Problem(u"New", true, u"X\\"), u"代替レジストリキー名 [X\\] は使用できません");
  EXPECT_EQ(field, EditorField::AltReg);
  EXPECT_EQ(Problem(u"Alpha", true, u""), texts::kDuplicateProfile) << "the name comes first";
  EXPECT_EQ(Problem(u"New", false, u"", u"copy a b\r\ncopy c d"), texts::kMultiLinePreProcess);
  EXPECT_EQ(field, EditorField::PreProcess);
  EXPECT_EQ(Problem(u"New", false, u"", u"echo\n"), texts::kMultiLinePreProcess);
  EXPECT_EQ(Problem(u"New", true, u"", u"a\rb"), texts::kEmptyAltReg) << "the alternate key comes first";
  EXPECT_EQ(Problem(u"New", false, u"", u"cmd /c \"a b\" & echo \t done"), u"");
}

TEST(BrowseTexts, FileFolderAndQuoting) {
  EXPECT_EQ(ParameterFile(u"C:\\Work\\App.dproj -debug"), u"C:\\Work\\App.dproj -debug");
  EXPECT_EQ(ParameterFile(u"\"C:\\My Work\\App.dproj\" -debug"), u"C:\\My Work\\App.dproj");
  EXPECT_EQ(ParameterFile(u"\"C:\\Say \"\"Hi\"\"\\x.dpr\" y"), u"C:\\Say \"Hi\"\\x.dpr");
  EXPECT_EQ(ParameterFile(u"\"unterminated"), u"unterminated");
  EXPECT_EQ(ParameterFile(u""), u"");
  EXPECT_EQ(FolderPart(u"C:\\My Work\\App.dproj"), u"C:\\My Work\\");
  EXPECT_EQ(FolderPart(u"D:App.dpr"), u"D:");
  EXPECT_EQ(FolderPart(u"App.dpr"), u"");
  EXPECT_EQ(QuotedWhenBlank(u"C:\\Work\\App.dproj"), u"C:\\Work\\App.dproj");
  EXPECT_EQ(QuotedWhenBlank(u"C:\\My Work\\App.dproj"), u"\"C:\\My Work\\App.dproj\"");
  EXPECT_EQ(StoredProfileName(u"  name \t\r\n"), u"  name");
}

}  // namespace
}  // namespace ombrisk
