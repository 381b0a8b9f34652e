#include "core/line_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ombrisk {
namespace {

TEST(LineScan, FindsLineEndsNulAndEqualsSign) {
  const std::u16string text = u"Search_Path=$(BDS)\\lib\tx\r\nnext";
  for (auto scan : {&ScanLine, &ScanLinePortable}) {
    EXPECT_EQ(scan(text, 0, true), 11u);
    EXPECT_EQ(scan(text, 12, false), 24u) << "a tab is no line end";
    EXPECT_EQ(scan(text, 26, true), text.size());
    EXPECT_EQ(scan(u"ab\0cd", 0, false), 2u);
    EXPECT_EQ(scan(u"", 0, true), 0u);
  }
}

// The fast scan and the portable one agree on every position of texts that
// mix long runs with stops and near-stops at every offset.
TEST(LineScan, FastAndPortableScansAgree) {
  const std::u16string alphabet = std::u16string(u"abc=\r\n\t\x1F\x0D\x0E\x3D\x0A\x0C\xFF0D\xD800\x000B", 17) + u'\0';
  std::mt19937 random(20261209);
  for (int round = 0; round < 300; ++round) {
    std::u16string text(random() % 70, u'x');
    for (char16_t& c : text) {
      if (random() % 6 == 0) c = alphabet[random() % alphabet.size()];
    }
    for (std::size_t from = 0; from <= text.size(); ++from) {
      for (bool equals : {false, true}) {
        ASSERT_EQ(ScanLine(text, from, equals), ScanLinePortable(text, from, equals))
            << "round " << round << " from " << from;
      }
    }
  }
}

}  // namespace
}  // namespace ombrisk
