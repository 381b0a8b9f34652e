#include "core/text.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

#include "core/test_comparer.h"

namespace ombrisk {
namespace {

TEST(Text, FormatFillsEachPlaceholderInTurn) {
  EXPECT_EQ(Format(u"ファイル %s は開けません。 %s ", {u"C:\\a.env", u"denied"}),
            u"ファイル C:\\a.env は開けません。 denied ");
  EXPECT_EQ(Format(u"%s and %s", {u"one"}), u"one and %s");
  EXPECT_EQ(Format(u"100%", {u"x"}), u"100%");
  EXPECT_EQ(Format(u"[%s]", {u"%s"}), u"[%s]") << "inserted text is not scanned again";
  EXPECT_EQ(Format(u"%d 行目 %s %x", {u"12", u"[A]"}), u"12 行目 [A] %x");
}

TEST(Text, TrimRemovesBlanksAndControlsOnly) {
  EXPECT_EQ(Trim(u" \t\r\n a b \x1F"), u"a b");
  EXPECT_EQ(Trim(u"\u3000x\u3000"), u"\u3000x\u3000") << "the ideographic space is above U+0020";
  EXPECT_EQ(Trim(u"   "), u"");
}

TEST(Text, AsciiUpperLeavesOtherLettersAlone) { EXPECT_EQ(AsciiUpper(u"abz{äß}ｂ"), u"ABZ{äß}ｂ"); }

TEST(Text, Utf8RoundTripsAndReplacesBadBytes) {
  const std::u16string text = u"Delphi 起動 \U0001F680 ä";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD") << "overlong forms are refused";
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "encoded surrogates are refused";
  EXPECT_EQ(FromUtf8("\xE3\x81"), u"\uFFFD\uFFFD") << "a cut sequence";
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, PlainCaptionDropsTheMnemonicAndTheColon) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"ライブラリパス(&B):", u"ライブラリパス"},
      {u"埋め込みデザイナ(&M)", u"埋め込みデザイナ"},
      {u"&Library path:", u"Library path"},
      {u"Save && E&xit", u"Save & Exit"},
  };
  for (const auto& [caption, plain] : cases) EXPECT_EQ(PlainCaption(caption), plain) << ToUtf8(caption);
}

// The main window's list is read on a thread of its own while the window
// takes the mapping: every thread gets the one mapping, made once.
TEST(Text, TheCaseMappingIsMadeOnceForThreadsAskingTogether) {
  testing::PlatformTextComparer comparer;
  std::array<const CaseMapping*, 4> seen{};
  std::vector<std::thread> threads;
  for (const CaseMapping*& mapping : seen) threads.emplace_back([&] { mapping = &comparer.Mapping(); });
  for (std::thread& thread : threads) thread.join();
  for (const CaseMapping* mapping : seen) EXPECT_EQ(mapping, &comparer.Mapping());
  EXPECT_EQ(comparer.Mapping().Upper(u'a'), u'A');
}

}  // namespace
}  // namespace ombrisk
