#include "ui/window_placement.h"

#include "ui/dpi.h"

namespace ombrisk {

namespace {

SIZE FrameSize(HWND window, int dpi) {
  return WindowSizeForClient(SIZE{0, 0}, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                             static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
}

// Where the primary work area lies on the screen; window placements count
// from there.
POINT WorkAreaOrigin() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return POINT{work.left, work.top};
}

}  // namespace

ScreenMetrics CurrentScreen(DWORD style, DWORD exStyle, int dpi) {
  const SIZE frame = WindowSizeForClient(SIZE{0, 0}, style, exStyle, dpi);
  return ScreenMetrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frame.cx, frame.cy, dpi};
}

void ApplyGeometry(HWND window, const MainFormGeometry& geometry, int dpi) {
  const SIZE frame = FrameSize(window, dpi);
  const int width = LengthAtDpi(geometry.clientWidth, dpi) + frame.cx;
  const int height = LengthAtDpi(geometry.clientHeight, dpi) + frame.cy;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkAreaOrigin();
  const RECT normal{geometry.left - origin.x, geometry.top - origin.y, geometry.left - origin.x + width,
                    geometry.top - origin.y + height};
  // The window is made where the defaults place it: mostly nothing moves.
  if (!EqualRect(&placement.rcNormalPosition, &normal)) {
    placement.rcNormalPosition = normal;
    placement.showCmd = SW_HIDE;
    SetWindowPlacement(window, &placement);
  }
  if (geometry.windowState == 1) ShowWindow(window, SW_SHOWMINNOACTIVE);
  if (geometry.windowState == 2) ShowWindow(window, SW_SHOWMAXIMIZED);
}

MainFormGeometry CurrentGeometry(HWND window, int dpi) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkAreaOrigin();
  const SIZE frame = FrameSize(window, dpi);
  const RECT& normal = placement.rcNormalPosition;
  MainFormGeometry geometry;
  geometry.windowState = IsIconic(window) ? 1 : (IsZoomed(window) ? 2 : 0);
  geometry.clientWidth = LengthAt96(normal.right - normal.left - frame.cx, dpi);
  geometry.clientHeight = LengthAt96(normal.bottom - normal.top - frame.cy, dpi);
  geometry.left = normal.left + origin.x;
  geometry.top = normal.top + origin.y;
  return geometry;
}

}  // namespace ombrisk
