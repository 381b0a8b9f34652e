// The file-system operations on Windows.
#pragma once

#include "core/file_system.h"

namespace ombrisk {

class WinFileSystem : public FileSystem {
 public:
  bool FileExists(std::u16string_view path) override;
};

}  // namespace ombrisk
