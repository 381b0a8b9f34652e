#include "support/layout_checks.h"

#include <algorithm>

#include <commctrl.h>

#include "support/win_test_support.h"
#include "ui/dpi.h"

namespace ombrisk::testing {

namespace {

struct Placed {
  HWND window;
  RECT bounds;  // in the parent's client coordinates
};

std::string NameOf(HWND window) {
  return Narrow(ClassName(window)) + " " + std::to_string(GetDlgCtrlID(window)) + " \"" + Narrow(WindowText(window)) +
         "\"";
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// A container whose siblings may lie on it.
bool Holds(HWND window) {
  const std::wstring name = ClassName(window);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  return name == WC_TABCONTROLW || (name == L"Button" && (style & BS_TYPEMASK) == BS_GROUPBOX);
}

// A line, which draws only its top edge: what follows may lie on it.
bool IsLine(HWND window) {
  return ClassName(window) == L"Static" && (GetWindowLongPtrW(window, GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ;
}

std::vector<Placed> ShownChildren(HWND parent) {
  std::vector<Placed> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT bounds;
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    children.push_back({child, bounds});
  }
  return children;
}

// The room a caption needs in its control: its text's extent, with the
// check box and the push button's margins.
SIZE NeededFor(HWND control, int dpi) {
  const std::wstring text = WindowText(control);
  const std::wstring name = ClassName(control);
  if (text.empty() || (name != L"Static" && name != L"Button")) return SIZE{0, 0};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  const DWORD kind = style & BS_TYPEMASK;
  if (name == L"Button" && kind == BS_GROUPBOX) return SIZE{0, 0};
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  SIZE needed{extent.right, extent.bottom};
  if (name == L"Button" && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX)) {
    needed.cx += SystemMetricForDpi(SM_CXMENUCHECK, dpi);
  } else if (name == L"Button") {
    needed.cx += 4;
    needed.cy += 4;
  }
  return needed;
}

void CheckChildren(HWND parent, int dpi, std::vector<std::string>& problems) {
  RECT client;
  GetClientRect(parent, &client);
  const std::vector<Placed> children = ShownChildren(parent);
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Placed& child = children[i];
    if (!Inside(child.bounds, client)) {
      problems.push_back(NameOf(child.window) + " at " + Describe(child.bounds) + " outside its parent " +
                         NameOf(parent) + " of " + Describe(client));
    }
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      const Placed& other = children[j];
      RECT common;
      if (!IntersectRect(&common, &child.bounds, &other.bounds)) continue;
      if ((Holds(child.window) && Inside(other.bounds, child.bounds)) ||
          (Holds(other.window) && Inside(child.bounds, other.bounds)) || IsLine(child.window) || IsLine(other.window)) {
        continue;
      }
      problems.push_back(NameOf(child.window) + " at " + Describe(child.bounds) + " overlaps " + NameOf(other.window) +
                         " at " + Describe(other.bounds));
    }
    const SIZE needed = NeededFor(child.window, dpi);
    if (needed.cx > child.bounds.right - child.bounds.left || needed.cy > child.bounds.bottom - child.bounds.top) {
      problems.push_back(NameOf(child.window) + " of " + Describe(child.bounds) + " needs " +
                         std::to_string(needed.cx) + "x" + std::to_string(needed.cy) + " for its caption");
    }
    // The controls' own parts (a combo box's edit, a list's header) are
    // theirs to place.
    if (ClassName(child.window) != L"ComboBox" && ClassName(child.window) != WC_LISTVIEWW) {
      CheckChildren(child.window, dpi, problems);
    }
  }
}

}  // namespace

std::vector<std::string> LayoutProblems(HWND window, int dpi) {
  std::vector<std::string> problems;
  CheckChildren(window, dpi, problems);
  return problems;
}

TEXTMETRICW FontMetrics(HWND control) {
  const HDC dc = GetDC(control);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return metrics;
}

int FontHeight(HWND control) { return FontMetrics(control).tmHeight; }

}  // namespace ombrisk::testing
