// The releases that make a project file, read from the file.
#include "core/project_release.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/text.h"

namespace ombrisk {
namespace {

std::string Dproj(std::string_view version) {
  return "\xEF\xBB\xBF<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\r\n"
         "  <PropertyGroup>\r\n    <ProjectGuid>{1}</ProjectGuid>\r\n" +
         std::string(version) + "  </PropertyGroup>\r\n</Project>\r\n";
}

// Every value of the table, a value no release writes, a project without
// one, and the files that have no release.
TEST(ProjectReleases, ADprojIsMadeByTheReleasesOfItsProjectVersion) {
  const struct {
    std::string_view element;
    std::vector<VersionCode> releases;
  } rows[] = {
      {"", {2007}},
      {"<ProjectVersion>12.0</ProjectVersion>", {2009, 2010}},
      {"<ProjectVersion>12.2</ProjectVersion>", {2011}},
      {"<ProjectVersion> 12.3 </ProjectVersion>", {2011}},
      {"<ProjectVersion>13.4</ProjectVersion>", {2012}},
      {"<ProjectVersion>14.3</ProjectVersion>", {2013}},
      {"<ProjectVersion>14.4</ProjectVersion>", {2013, 2014}},
      {"<ProjectVersion>14.6</ProjectVersion>", {2014}},
      {"<ProjectVersion>15.1</ProjectVersion>", {2015}},
      {"<ProjectVersion>15.3</ProjectVersion>", {2015}},
      {"<ProjectVersion>15.4</ProjectVersion>", {2017}},
      {"<ProjectVersion>16.0</ProjectVersion>", {2018}},
      {"<ProjectVersion>17.2</ProjectVersion>", {2019}},
      {"<ProjectVersion>18.8</ProjectVersion>", {}},
      {"<ProjectVersion></ProjectVersion>", {2007}},
  };
  testing::FakeFileSystem files;
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.element));
    files.contents[u"C:\\P\\App.DPROJ"] = Dproj(row.element);
    EXPECT_EQ(ProjectReleases(files, u"C:\\P\\App.DPROJ"), row.releases);
  }
  // UTF-16 with its mark.
  const std::u16string text = u"\uFEFF<Project><ProjectVersion>15.4</ProjectVersion></Project>";
  files.contents[u"C:\\P\\Wide.dproj"] = std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  EXPECT_EQ(ProjectReleases(files, u"C:\\P\\Wide.dproj"), std::vector<VersionCode>{2017});

  files.readFailures[u"C:\\P\\Locked.dproj"] = u"アクセスが拒否されました。";
  files.contents[u"C:\\P\\Locked.dproj"] = Dproj("<ProjectVersion>15.4</ProjectVersion>");
  EXPECT_TRUE(ProjectReleases(files, u"C:\\P\\Locked.dproj").empty());
  EXPECT_TRUE(ProjectReleases(files, u"C:\\P\\Missing.dproj").empty());
  EXPECT_EQ(ProjectReleases(files, u"C:\\P\\Old.bdsproj"), (std::vector<VersionCode>{2005, 2006}));
  EXPECT_EQ(ProjectReleases(files, u"C:\\P\\Old.BdsGroup"), (std::vector<VersionCode>{2005, 2006}));
  files.contents[u"C:\\P\\App.dpr"] = "program App;";
  EXPECT_TRUE(ProjectReleases(files, u"C:\\P\\App.dpr").empty());
  EXPECT_TRUE(ProjectReleases(files, u"C:\\P.dproj\\App").empty()) << "a folder's dot";
}

// A group is made by the releases of its first project, found beside it
// (or by its full path); a group whose first project cannot be read, or
// names none, has none.
TEST(ProjectReleases, AGroupIsMadeByItsFirstProject) {
  testing::FakeFileSystem files;
  files.contents[u"C:\\G\\Sub\\A&B.dproj"] = Dproj("<ProjectVersion>14.4</ProjectVersion>");
  files.contents[u"C:\\G\\Second.dproj"] = Dproj("<ProjectVersion>15.4</ProjectVersion>");
  files.contents[u"C:\\G\\All.groupproj"] =
      "<Project>\r\n  <ItemGroup>\r\n    <Projects Include=\"Sub\\A&amp;B.dproj\">\r\n"
      "      <Dependencies/>\r\n    </Projects>\r\n    <Projects Include=\"Second.dproj\"/>\r\n  </ItemGroup>\r\n"
      "</Project>\r\n";
  EXPECT_EQ(ProjectReleases(files, u"C:\\G\\All.groupproj"), (std::vector<VersionCode>{2013, 2014}));
  files.contents[u"C:\\G\\Full.groupproj"] = "<Project><Projects Include=\"C:\\G\\Second.dproj\"/></Project>";
  EXPECT_EQ(ProjectReleases(files, u"C:\\G\\Full.groupproj"), std::vector<VersionCode>{2017});
  files.contents[u"C:\\G\\Gone.groupproj"] = "<Project><Projects Include=\"Gone.dproj\"/></Project>";
  EXPECT_TRUE(ProjectReleases(files, u"C:\\G\\Gone.groupproj").empty());
  files.contents[u"C:\\G\\Empty.groupproj"] = "<Project><ProjectsX Include=\"Second.dproj\"/></Project>";
  EXPECT_TRUE(ProjectReleases(files, u"C:\\G\\Empty.groupproj").empty());
  files.contents[u"C:\\G\\Loop.groupproj"] = "<Project><Projects Include=\"Loop.groupproj\"/></Project>";
  EXPECT_TRUE(ProjectReleases(files, u"C:\\G\\Loop.groupproj").empty());
}

}  // namespace
}  // namespace ombrisk
