// The DPI of the monitor a window is on, and the system's sizes and window
// frames at a DPI. From Windows 10 1607 on each monitor has a DPI of its
// own; older systems have one for the whole desktop, which these answer
// instead.
#pragma once

#include <windows.h>

namespace ombrisk {

int WindowDpi(HWND window);
// The DPI of the monitor nearest to a point of the desktop.
int DpiAt(POINT point);
int SystemMetricForDpi(int index, int dpi);
// The window's outer size for a client area of the size, with the style's
// frame at the DPI.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace ombrisk
