// Files on this machine for the native benchmark: the settings file's
// operations without Windows.
#pragma once

#include <cstdio>
#include <string>

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

  std::u16string WriteFile(std::u16string_view path, std::string_view bytes) override {
    std::FILE* file = std::fopen(ToUtf8(path).c_str(), "wb");
    if (file == nullptr) return u"cannot open";
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return written ? u"" : u"cannot write";
  }
};

}  // namespace ombrisk::bench
