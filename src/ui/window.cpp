#include "ui/window.h"

#include <stdexcept>

#include "resource_ids.h"

namespace ombrisk {

Window::~Window() {
  if (handle_ != nullptr) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void Window::RegisterFormClass(HINSTANCE instance, const wchar_t* name, UINT style) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = &Window::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_OMBRISK), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_OMBRISK), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

void Window::CreateHandle(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, RECT bounds,
                          HWND parent) {
  const HWND created =
      CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top, parent, nullptr, GetModuleHandleW(nullptr), this);
  if (created == nullptr) throw std::runtime_error("CreateWindowExW failed");
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // A handler that fails stops there: the message's default processing does
  // not follow (a failed close handler must not close the window).
  LRESULT result = 0;
  RunHandler(self->Reporter(), [&] { result = self->HandleMessage(message, wParam, lParam); });
  return result;
}

}  // namespace ombrisk
