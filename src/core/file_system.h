// The file-system operations the core needs, behind an interface so that the
// core runs and is tested without Windows.
#pragma once

#include <string_view>

namespace ombrisk {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when the path names an existing file; a folder does not count, a
  // link counts when its target can be opened.
  virtual bool FileExists(std::u16string_view path) = 0;
};

}  // namespace ombrisk
