#include "ui/dpi.h"

#include <shellscalingapi.h>

namespace ombrisk {

namespace {

// The per-monitor functions where the system has them.
struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  int(WINAPI* metricForDpi)(int, UINT) = nullptr;
  BOOL(WINAPI* adjustForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
  HRESULT(WINAPI* dpiForMonitor)(HMONITOR, MONITOR_DPI_TYPE, UINT*, UINT*) = nullptr;
};

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
  if (module != nullptr) function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const DpiFunctions& Functions() {
  static const DpiFunctions functions = [] {
    DpiFunctions found;
    const HMODULE user = GetModuleHandleW(L"user32.dll");
    Resolve(user, "GetDpiForWindow", found.dpiForWindow);
    Resolve(user, "GetSystemMetricsForDpi", found.metricForDpi);
    Resolve(user, "AdjustWindowRectExForDpi", found.adjustForDpi);
    // shcore comes with Windows 8.1 and later; it is loaded only to ask.
    Resolve(LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32), "GetDpiForMonitor",
            found.dpiForMonitor);
    return found;
  }();
  return functions;
}

int DesktopDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

int WindowDpi(HWND window) {
  const DpiFunctions& functions = Functions();
  if (functions.dpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = functions.dpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return DesktopDpi();
}

int DpiAt(POINT point) {
  const DpiFunctions& functions = Functions();
  UINT x = 0;
  UINT y = 0;
  if (functions.dpiForMonitor != nullptr &&
      SUCCEEDED(
          functions.dpiForMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI, &x, &y)) &&
      y > 0) {
    return static_cast<int>(y);
  }
  return DesktopDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  const DpiFunctions& functions = Functions();
  if (functions.metricForDpi != nullptr) return functions.metricForDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, DesktopDpi());
}

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  RECT bounds{0, 0, client.cx, client.cy};
  const DpiFunctions& functions = Functions();
  if (functions.adjustForDpi != nullptr) {
    functions.adjustForDpi(&bounds, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
  }
  return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace ombrisk
