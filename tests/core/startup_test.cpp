#include "core/startup.h"

#include <gtest/gtest.h>

namespace ombrisk {
namespace {

TEST(Startup, MutexNameIsTheFileNameWithoutItsLastExtension) {
  EXPECT_EQ(MutexName(u"C:\\Tools\\Ombrisk.exe"), u"Ombrisk");
  EXPECT_EQ(MutexName(u"C:\\Tools\\my.tool.exe"), u"my.tool");
  EXPECT_EQ(MutexName(u"C:\\Tools.d\\Ombrisk"), u"Ombrisk") << "a dot in a folder name does not count";
  EXPECT_EQ(MutexName(u"Z:/work/build/Ombrisk2.exe"), u"Ombrisk2");
  EXPECT_EQ(MutexName(u"C:\\起動\\ランチャ.exe"), u"ランチャ");
  EXPECT_EQ(MutexName(u"C:\\Tools\\.exe"), u"");
}

TEST(Startup, ErrorBoxAppendsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorBoxText(u"'APP' のデータ型が不正です"), u"'APP' のデータ型が不正です.");
  EXPECT_EQ(ErrorBoxText(u"done."), u"done.");
  EXPECT_EQ(ErrorBoxText(u"really!"), u"really!") << "'!' stands below '.'";
  EXPECT_EQ(ErrorBoxText(u"path/"), u"path/.") << "'/' stands just above '.'";
  EXPECT_EQ(ErrorBoxText(u"終わりました。"), u"終わりました。.");
  EXPECT_EQ(ErrorBoxText(u"ends with a blank "), u"ends with a blank ");
  EXPECT_EQ(ErrorBoxText(u""), u"");
}

}  // namespace
}  // namespace ombrisk
