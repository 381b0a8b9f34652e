#include "win32/module_path.h"

#include <windows.h>

#include "win32/wide.h"

namespace ombrisk {

std::u16string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return FromWide(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

std::u16string FullPathName(std::u16string_view path) {
  const std::wstring given = Wide(path);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::u16string(path);
    if (length < full.size()) return FromWide(std::wstring_view(full.data(), length));
    full.resize(length);
  }
}

}  // namespace ombrisk
