// The file-system operations on Windows.
#pragma once

#include "core/file_system.h"

namespace ombrisk {

class WinFileSystem : public FileSystem {
 public:
  bool FileExists(std::u16string_view path) override;
  FileReadResult ReadFile(std::u16string_view path) override;
  // Writes a temporary file beside the target, flushes it and puts it in
  // place with ReplaceFileW, so a crash or a full disk never leaves a
  // truncated file. Where the folder or another program refuses that, the
  // file is rewritten in place, opened exclusively.
  std::u16string WriteFile(std::u16string_view path, std::string_view bytes) override;
  std::u16string ShortPath(std::u16string_view path) override;
  std::u16string CreateFolder(std::u16string_view path) override;
  std::vector<std::u16string> ListFiles(std::u16string_view folder) override;
  bool RemoveFile(std::u16string_view path) override;
};

// The system's description of an error code, without trailing blanks and
// full stops.
std::u16string SystemErrorMessage(unsigned long code);

}  // namespace ombrisk
