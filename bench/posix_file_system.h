// Files on this machine for the native benchmark: the settings file's
// operations without Windows.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/text.h"

namespace ombrisk::bench {

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(std::u16string_view path) override {
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), "rb");
    if (file != nullptr) std::fclose(file);
    return file != nullptr;
  }

  FileReadResult ReadFile(std::u16string_view path) override {
    FileReadResult result;
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), "rb");
    if (file == nullptr) return result;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    result.content = FileBytes::ForSize(static_cast<std::size_t>(size));
    result.content.byteCount = std::fread(result.content.Data(), 1, result.content.byteCount, file);
    std::fclose(file);
    result.status = FileReadStatus::Read;
    return result;
  }

  std::u16string ShortPath(std::u16string_view path) override { return std::u16string(path); }

  std::u16string CreateFolder(std::u16string_view path) override {
    std::error_code error;
    std::filesystem::create_directory(ToUtf8(path), error);
    return error ? u"cannot create" : u"";
  }
  std::vector<std::u16string> ListFiles(std::u16string_view folder) override {
    std::vector<std::u16string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(ToUtf8(folder), error)) {
      if (entry.is_regular_file()) names.push_back(FromUtf8(entry.path().filename().string()));
    }
    return names;
  }
  bool RemoveFile(std::u16string_view path) override {
    std::error_code error;
    return std::filesystem::remove(ToUtf8(path), error);
  }

  std::u16string WriteFile(std::u16string_view path, std::string_view bytes) override {
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), "wb");
    if (file == nullptr) return u"cannot open";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return written ? u"" : u"cannot write";
  }
};

}  // namespace ombrisk::bench
