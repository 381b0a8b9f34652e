#include "core/profile_list.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/fakes.h"
#include "core/test_comparer.h"

namespace ombrisk {
namespace {

class ProfileList : public ::testing::Test {
 protected:
  void Store(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    files.contents[u"Ombrisk.env"] = bytes;
  }
  std::unique_ptr<SettingsFile> Open() { return std::make_unique<SettingsFile>(files, comparer, u"Ombrisk.env"); }

  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
};

TEST_F(ProfileList, ListsProfilesOfInstalledReleasesInTheLocalesOrder) {
  Store(
      u"[PREF_gamma]\r\nVersion=2017\r\n[PREF_beta]\r\nVersion=7\r\nDescription=seven\r\n"
      u"[PREF_Alpha]\r\nVersion=2017\r\nDescription=first\r\n[PREF_uninstalled]\r\nVersion=2010\r\n"
      u"[PREF_nonsense]\r\nVersion=2008\r\n[PREF_missing]\r\nDescription=x\r\n[pref_lower]\r\nVersion=7\r\n"
      u"[MainForm]\r\nClientWidth=1\r\n[PREF_]\r\nVersion=7\r\n");
  const auto rows = ListProfiles(*Open(), 0x20 | 0x40000, comparer);
  std::vector<std::u16string> names;
  for (const ListedProfile& row : rows) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"", u"Alpha", u"beta", u"gamma"}));
  EXPECT_EQ(rows[1].label, u"Delphi XE6 / RAD Studio XE6");
  EXPECT_EQ(rows[1].description, u"first");
  EXPECT_EQ(rows[1].code, 2017);
  EXPECT_EQ(rows[2].label, u"Delphi 7 / 7.1");
}

TEST(LineColor, SystemColoursAndFallback) {
  const auto system = [](int index) { return static_cast<std::uint32_t>(0x10000 + index); };
  EXPECT_EQ(LineColorFor(16772829, system), 0xFFEEDDu);
  EXPECT_EQ(LineColorFor(0x00FF00, system), 0x00FF00u);
  EXPECT_EQ(LineColorFor(static_cast<std::int32_t>(0xFF00000F), system), 0x1000Fu);
  EXPECT_EQ(LineColorFor(0x1F000000, system), 0xFFEEDDu);
  EXPECT_EQ(LineColorFor(-1, system), 0x100FFu);
}

TEST_F(ProfileList, GeometryDefaultsCentreAndStoredValuesWin) {
  auto empty = Open();
  MainFormGeometry geometry = ReadMainFormGeometry(*empty, 1280, 1024, 16, 39);
  EXPECT_EQ(geometry.windowState, 0);
  EXPECT_EQ(geometry.clientWidth, 512);
  EXPECT_EQ(geometry.clientHeight, 320);
  EXPECT_EQ(geometry.left, (1280 - 528) / 2);
  EXPECT_EQ(geometry.top, (1024 - 359) / 2);
  EXPECT_EQ(geometry.columnWidths, (std::array<int, 3>{132, 190, 154}));

  Store(u"[MainForm]\r\nClientWidth=600\r\nListViewColumnWidths=50,abc\r\nTop=-7\r\n");
  geometry = ReadMainFormGeometry(*Open(), 1281, 1024, 16, 39);
  EXPECT_EQ(geometry.left, (1281 - 616) / 2) << "centred with the stored width";
  EXPECT_EQ(geometry.top, -7);
  EXPECT_EQ(geometry.columnWidths, (std::array<int, 3>{50, 100, 100}));

  auto file = Open();
  geometry = MainFormGeometry{2, 700, 400, 10, 20, {1, 2, 3}};
  WriteMainFormGeometry(*file, geometry);
  const std::string bytes = file->FileContent();
  std::u16string text(bytes.size() / 2, u'\0');
  std::memcpy(text.data(), bytes.data(), bytes.size());
  EXPECT_EQ(text,
            u"\xFEFF[MainForm]\r\nClientWidth=700\r\nListViewColumnWidths=1,2,3\r\nTop=20\r\n"
            u"ClientHeight=400\r\nWindowState=2\r\nLeft=10\r\n\r\n")
      << "existing keys are replaced in place, new ones appended in order";
}

}  // namespace
}  // namespace ombrisk
