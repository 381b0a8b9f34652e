#include "core/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ombrisk
