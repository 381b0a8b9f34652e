// Between the main window's stored geometry and the window itself: the
// stored client size, position and state applied as its placement, and its
// placement taken back as geometry to store.
#pragma once

#include <windows.h>

#include "core/profile_store.h"

namespace ombrisk {

// The screen and the frame a window of the style adds to its client area
// at the DPI, from which the stored position defaults to the screen's
// centre.
ScreenMetrics CurrentScreen(DWORD style, DWORD exStyle, int dpi);

// Applies the stored client size (at 96 DPI, taken at the window's DPI) and
// position (the desktop's pixels) to the hidden window's normal placement,
// then its state (minimised, maximised) without activating it.
void ApplyGeometry(HWND window, const MainFormGeometry& geometry, int dpi);

// The window's normal client size (at 96 DPI) and position and its state,
// as stored: a minimised or maximised window gives the bounds it returns
// to. The column widths are the caller's.
MainFormGeometry CurrentGeometry(HWND window, int dpi);

}  // namespace ombrisk
