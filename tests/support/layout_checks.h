// Properties of a window's layout that hold at every size and display
// scale, checked on the real windows instead of copying their coordinates.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ombrisk::testing {

// What is wrong with the layout of the window's shown controls, one line
// each, empty when nothing is:
// - a control reaches outside its parent's client area;
// - two sibling controls overlap, unless one lies wholly inside the other
//   where that is a group box or a tab control (what it holds, its pages)
//   or a line (which draws only its top edge);
// - a caption's text (with its check box, its button margins) is wider or
//   higher than its control.
// The check box's size is the one at the DPI the window is laid out for.
std::vector<std::string> LayoutProblems(HWND window, int dpi = USER_DEFAULT_SCREEN_DPI);

// The metrics of a control's font, and its height in pixels (the
// character cell's).
TEXTMETRICW FontMetrics(HWND control);
int FontHeight(HWND control);

}  // namespace ombrisk::testing
