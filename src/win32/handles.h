// Owners of the system's handles the program opens: each is closed when its
// owner goes, on every path, also when an error passes.
#pragma once

#include <windows.h>

#include <utility>

namespace ombrisk {

// A kernel object's handle: a file, a process, a thread, a mutex.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~ScopedHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }
  HANDLE Release() { return std::exchange(handle_, nullptr); }

 private:
  HANDLE handle_;
};

// An open registry key.
class ScopedKey {
 public:
  ScopedKey() = default;
  ~ScopedKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  ScopedKey(const ScopedKey&) = delete;
  ScopedKey& operator=(const ScopedKey&) = delete;

  HKEY* Receive() { return &key_; }
  HKEY Get() const { return key_; }
  HKEY Release() { return std::exchange(key_, nullptr); }

 private:
  HKEY key_ = nullptr;
};

// A window's screen device context with a font selected, for measuring
// text; the old font is put back and the context released.
class ScreenFont {
 public:
  ScreenFont(HWND window, HFONT font) : window_(window), dc_(GetDC(window)), old_(SelectObject(dc_, font)) {}
  ~ScreenFont() {
    SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  ScreenFont(const ScreenFont&) = delete;
  ScreenFont& operator=(const ScreenFont&) = delete;

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ombrisk
