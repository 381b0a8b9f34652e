#include "ui/main_form.h"

#include "core/texts.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kApplicationIcon = 1;
// Posted when the window is first shown, so that the first-show work runs
// once the window is visible (an error box then belongs to it) and before
// its first paint.
constexpr UINT kFirstShowMessage = WM_APP + 1;

}  // namespace

void TMAIN_FORM::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = &Window::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  windowClass.hIconSm =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
}

TMAIN_FORM::TMAIN_FORM(Services services) : services_(std::move(services)) {}

void TMAIN_FORM::Create() {
  RECT bounds{0, 0, kDesignClientSize.cx, kDesignClientSize.cy};
  AdjustWindowRectEx(&bounds, kStyle, FALSE, kExStyle);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  CreateHandle(kClassName, Wide(texts::kMainFormCaption).c_str(), kStyle, kExStyle,
               RECT{left, top, left + width, top + height}, nullptr);
}

void TMAIN_FORM::Show() { ShowWindow(Handle(), SW_SHOWNORMAL); }

LRESULT TMAIN_FORM::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam != FALSE && !shown_) {
        shown_ = true;
        PostMessageW(Handle(), kFirstShowMessage, 0, 0);
      }
      break;
    case kFirstShowMessage:
      FormShow();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kMinimumSize.cx, kMinimumSize.cy};
      return 0;
    case WM_DESTROY:
      FormDestroy();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

void TMAIN_FORM::FormShow() { DetectInstalledVersions(services_.registries, services_.files, installedVersions_); }

void TMAIN_FORM::FormDestroy() {
  // The loop ends whatever the destroy work does.
  PostQuitMessage(0);
}

}  // namespace ombrisk
