#include "ui/window_placement.h"

namespace ombrisk {

namespace {

SIZE FrameSize(HWND window) {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

// Where the primary work area lies on the screen; window placements count
// from there.
POINT WorkAreaOrigin() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return POINT{work.left, work.top};
}

}  // namespace

ScreenMetrics CurrentScreen(DWORD style, DWORD exStyle) {
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return ScreenMetrics{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), frame.right - frame.left,
                       frame.bottom - frame.top};
}

void ApplyGeometry(HWND window, const MainFormGeometry& geometry) {
  const SIZE frame = FrameSize(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkAreaOrigin();
  placement.rcNormalPosition = RECT{geometry.left - origin.x, geometry.top - origin.y,
                                    geometry.left - origin.x + geometry.clientWidth + frame.cx,
                                    geometry.top - origin.y + geometry.clientHeight + frame.cy};
  placement.showCmd = SW_HIDE;
  SetWindowPlacement(window, &placement);
  if (geometry.windowState == 1) ShowWindow(window, SW_SHOWMINNOACTIVE);
  if (geometry.windowState == 2) ShowWindow(window, SW_SHOWMAXIMIZED);
}

MainFormGeometry CurrentGeometry(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  const POINT origin = WorkAreaOrigin();
  const SIZE frame = FrameSize(window);
  const RECT& normal = placement.rcNormalPosition;
  MainFormGeometry geometry;
  geometry.windowState = IsIconic(window) ? 1 : (IsZoomed(window) ? 2 : 0);
  geometry.clientWidth = normal.right - normal.left - frame.cx;
  geometry.clientHeight = normal.bottom - normal.top - frame.cy;
  geometry.left = normal.left + origin.x;
  geometry.top = normal.top + origin.y;
  return geometry;
}

}  // namespace ombrisk
