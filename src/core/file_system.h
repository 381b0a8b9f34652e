// The file-system operations the core needs, behind an interface so that the
// core runs and is tested without Windows.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// A file's bytes, in 16-bit units so that a UTF-16 file (the usual case)
// becomes text without a copy or a clearing pass. They are either a buffer
// of the program's own, (byteCount + 1) / 2 units filled by the read alone,
// or a view of the file itself, which holds the file (others may read or
// replace it, not write into it) for as long as the view lives.
struct FileBytes {
  std::unique_ptr<char16_t[]> units;
  std::shared_ptr<const char16_t> view;
  std::size_t byteCount = 0;

  // A buffer for a file of the size; its content is undefined until read.
  static FileBytes ForSize(std::size_t bytes) {
    FileBytes buffer;
    buffer.units = std::make_unique_for_overwrite<char16_t[]>(bytes / 2 + 1);
    buffer.byteCount = bytes;
    return buffer;
  }
  // The bytes of a view; releasing the last copy of view lets go of the file.
  static FileBytes ForView(std::shared_ptr<const char16_t> view, std::size_t bytes) {
    FileBytes viewed;
    viewed.view = std::move(view);
    viewed.byteCount = bytes;
    return viewed;
  }
  bool IsView() const { return view != nullptr; }
  const char16_t* Begin() const { return units ? units.get() : view.get(); }
  char* Data() { return reinterpret_cast<char*>(units.get()); }
  std::span<const unsigned char> Bytes() const { return {reinterpret_cast<const unsigned char*>(Begin()), byteCount}; }
  // The whole 16-bit units; an odd last byte is left out.
  std::u16string_view Units() const { return {Begin(), byteCount / 2}; }
};

enum class FileReadStatus { Read, Missing, Failed };

struct FileReadResult {
  FileReadStatus status = FileReadStatus::Missing;
  FileBytes content;
  // The system's description of a failure.
  std::u16string error;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when the path names an existing file; a folder does not count, a
  // link counts when its target can be opened.
  virtual bool FileExists(std::u16string_view path) = 0;
  // Reads a whole file, or gives a view of it, sharing it for reading and
  // replacement only. A path that names no file (missing, or a folder) gives
  // Missing.
  virtual FileReadResult ReadFile(std::u16string_view path) = 0;
  // Replaces the file's content by the bytes, or creates the file. Returns
  // the system's description of a failure, or "" on success; on failure the
  // previous content is intact.
  virtual std::u16string WriteFile(std::u16string_view path, std::string_view bytes) = 0;
  // The short form of an existing path; "" on failure (a path that does not
  // exist, or an empty one).
  virtual std::u16string ShortPath(std::u16string_view path) = 0;

  // Creates the folder where it is missing (its parent must exist). Returns
  // the system's description of a failure, or "" when the folder is there.
  virtual std::u16string CreateFolder(std::u16string_view path) = 0;
  // The names of the files in the folder, without folders; none when the
  // folder is missing.
  virtual std::vector<std::u16string> ListFiles(std::u16string_view folder) = 0;
  // Removes the file; false when it could not.
  virtual bool RemoveFile(std::u16string_view path) = 0;
};

}  // namespace ombrisk
