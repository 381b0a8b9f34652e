// Which releases make a project file: the release a project was made with
// is the one to open it in (a newer IDE upgrades a project it opens).
#pragma once

#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/file_system.h"

namespace ombrisk {

// The releases that make the file, oldest first: a .dproj by its
// "ProjectVersion" (Release::projectVersions; a project without one is
// 2007's), a .bdsproj or .bdsgroup by its extension (Release::bdsProjects),
// a .groupproj by its first project. None for a file that cannot be read,
// a value no release writes, or any other file.
std::vector<VersionCode> ProjectReleases(FileSystem& files, std::u16string_view path);

}  // namespace ombrisk
