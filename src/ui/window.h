// The base of the program's windows: the static window procedure stores the
// object at creation and forwards every message to HandleMessage, inside the
// error boundary, so that no exception crosses the Win32 callback.
#pragma once

#include <windows.h>

#include "ui/error_boundary.h"

namespace ombrisk {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return handle_; }

  // Registers a class of the program's own windows: this window procedure,
  // the program's icon and the dialog background.
  static void RegisterFormClass(HINSTANCE instance, const wchar_t* name, UINT style);

 protected:
  // Creates the window of a registered class with this object behind it.
  void CreateHandle(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, RECT bounds,
                    HWND parent);
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual const ErrorReporter& Reporter() const = 0;
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  HWND handle_ = nullptr;
};

}  // namespace ombrisk
