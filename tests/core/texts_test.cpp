// The string tables of both languages, as the program reads them.
#include "core/texts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "support/text_tables.h"

namespace ombrisk {
namespace {

// The placeholders of a text in order: "%s", "%d".
std::u16string Placeholders(std::u16string_view text) {
  std::u16string found;
  for (std::size_t at = text.find(u'%'); at != text.npos && at + 1 < text.size(); at = text.find(u'%', at + 2)) {
    found += text.substr(at, 2);
  }
  return found;
}

TEST(Texts, BothLanguagesHoldEveryTextWithTheSamePlaceholders) {
  const TextTable& japanese = testing::TextsOf(Language::Japanese);
  const TextTable& english = testing::TextsOf(Language::English);
  std::vector<unsigned> every;
  for (unsigned id = IDS_FIRST_TEXT; id <= IDS_LAST_TEXT; ++id) every.push_back(id);
  EXPECT_EQ(japanese.Ids(), every);
  EXPECT_EQ(english.Ids(), every);
  for (const unsigned id : every) {
    EXPECT_FALSE(english.Get(id).empty()) << id;
    EXPECT_EQ(Placeholders(japanese.Get(id)), Placeholders(english.Get(id))) << id;
  }
}

// The mnemonics shown together: a window, or a page of the editor, with its
// buttons. The Japanese editor keeps the duplicates it always had.
TEST(Texts, TheMnemonicsOfEachWindowAreUniqueInEachLanguage) {
  using namespace texts;
  const std::map<std::string, std::vector<UiText>> windows = {
      {"main",
       {kAddAction, kEditAction, kDeleteAction, kLaunchAction, kCopyAction, kFindAction, kShortcutAction,
        kRestoreAction, kExplorerAction, kExportAction, kExportAllAction, kImportAction, kCancelButton}},
      {"editor: general",
       {kNameLabel, kVersionLabel, kDescriptionLabel, kParametersLabel, kDelphiOnlyBox, kNoSplashBox, kNoProjectBox,
        kEmbeddedDesignerBox, kIde64Box, kRunAsAdminBox, kNoCacheBox, kAltRegBox, kCopyBaseKeyButton, kAltRegInitBox,
        kOkButton, kCancelButton}},
      {"editor: library", {kLibraryLabels.begin(), kLibraryLabels.end()}},
      {"editor: environment", {kEnvironmentLabel, kOkButton, kCancelButton}},
      {"changes", {kTakeInButton, kLaunchAsStoredButton, kCancelButton}},
      {"open", {kRememberBox, kOpenButton, kCancelButton}},
      {"restore", {kRestoreButton, kCancelButton}},
  };
  const std::map<Language, std::map<std::string, std::u16string>> kept = {
      {Language::Japanese, {{"editor: general", u"D"}, {"editor: library", u"DR"}}}, {Language::English, {}}};
  for (const Language language : {Language::Japanese, Language::English}) {
    UseTexts(testing::TextsOf(language));
    std::map<std::string, std::u16string> repeated;
    for (const auto& [window, captions] : windows) {
      std::set<char16_t> seen;
      for (const UiText& caption : captions) {
        const std::u16string_view text = caption;
        const std::size_t at = text.find(u'&');
        if (at == text.npos || at + 1 >= text.size()) continue;
        const char16_t key = AsciiUpper(text.substr(at + 1, 1))[0];
        if (!seen.insert(key).second) repeated[window] += key;
      }
    }
    EXPECT_EQ(repeated, kept.at(language)) << static_cast<int>(language);
  }
  UseTexts(testing::TextsOf(Language::Japanese));
}

}  // namespace
}  // namespace ombrisk
