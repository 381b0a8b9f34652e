#include "core/profile_list.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

TEST(LineColor, SystemColoursAndFallback) {
  const auto system = [](int index) { return static_cast<std::uint32_t>(0x10000 + index); };
  EXPECT_EQ(LineColorFor(16772829, system), 0xFFEEDDu);
  EXPECT_EQ(LineColorFor(0x00FF00, system), 0x00FF00u);
  EXPECT_EQ(LineColorFor(static_cast<std::int32_t>(0xFF00000F), system), 0x1000Fu);
  EXPECT_EQ(LineColorFor(0x1F000000, system), 0xFFEEDDu);
  EXPECT_EQ(LineColorFor(-1, system), 0x100FFu);
}

}  // namespace
}  // namespace ombrisk
