// Shell links (.lnk files): the shortcuts to profiles on the desktop.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

struct ShellLinkContent {
  std::u16string target;
  std::u16string arguments;
  std::u16string workingFolder;
  // The icon: a file and, when negative, the number of its icon resource.
  std::u16string iconFile;
  int iconIndex = 0;
  // The comment Explorer shows.
  std::u16string description;
};

// The user's desktop folder as the shell names it; "" where it names none.
std::u16string DesktopFolder();

// Writes the link into the file, replacing what the file held; false when
// it could not be written.
bool SaveShellLink(std::u16string_view path, const ShellLinkContent& link);

}  // namespace ombrisk
