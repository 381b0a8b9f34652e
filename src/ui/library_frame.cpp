#include "ui/library_frame.h"

#include <imm.h>

#include <algorithm>

#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr const wchar_t* kScrollBoxClass = L"TScrollBox";
constexpr int kLeft = 20;
constexpr int kEditWidth = 534;
constexpr int kEditHeight = 21;
constexpr std::array<int, TframeLibrary::kRows> kLabelTops{4, 46, 90, 134, 178, 222, 266, 308, 352, 396, 440, 482};
constexpr std::array<int, TframeLibrary::kRows> kEditTops{19, 61, 105, 149, 193, 237, 281, 323, 367, 413, 455, 497};
constexpr POINT kDummyLabel{224, 518};
constexpr int kFirstEditId = 300;

// The content's height at scroll position 0: down to the bottom of lblDmy,
// kept in the window's user data.
int ContentHeight(HWND box) { return static_cast<int>(GetWindowLongPtrW(box, GWLP_USERDATA)); }

int ScrollPosition(HWND box) {
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(box, SB_VERT, &info);
  return info.nPos;
}

// Scrolls to the position, clamped to the content; moves the children.
void ScrollTo(HWND box, int position) {
  RECT client;
  GetClientRect(box, &client);
  const int maximum = std::max(0, ContentHeight(box) - static_cast<int>(client.bottom));
  position = std::clamp(position, 0, maximum);
  const int old = ScrollPosition(box);
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, position, 0};
  SetScrollInfo(box, SB_VERT, &info, TRUE);
  if (position != old) {
    ScrollWindowEx(box, 0, old - position, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  }
}

void UpdateScrollRange(HWND box) {
  RECT client;
  GetClientRect(box, &client);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, ContentHeight(box) - 1, static_cast<UINT>(client.bottom), 0, 0};
  SetScrollInfo(box, SB_VERT, &info, TRUE);
  ScrollTo(box, ScrollPosition(box));
}

// Brings a child that got the focus fully into view.
void ScrollIntoView(HWND box, HWND child) {
  RECT bounds;
  GetWindowRect(child, &bounds);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&bounds), 2);
  RECT client;
  GetClientRect(box, &client);
  const int position = ScrollPosition(box);
  // The label above an edit comes into view with it.
  constexpr int kLabelMargin = 15;
  if (bounds.top - kLabelMargin < 0) {
    ScrollTo(box, position + bounds.top - kLabelMargin);
  } else if (bounds.bottom > client.bottom) {
    ScrollTo(box, position + bounds.bottom - client.bottom);
  }
}

LRESULT CALLBACK ScrollBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      UpdateScrollRange(box);
      return 0;
    case WM_VSCROLL: {
      RECT client;
      GetClientRect(box, &client);
      const int position = ScrollPosition(box);
      constexpr int kLine = 16;
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          ScrollTo(box, position - kLine);
          break;
        case SB_LINEDOWN:
          ScrollTo(box, position + kLine);
          break;
        case SB_PAGEUP:
          ScrollTo(box, position - client.bottom);
          break;
        case SB_PAGEDOWN:
          ScrollTo(box, position + client.bottom);
          break;
        case SB_TOP:
          ScrollTo(box, 0);
          break;
        case SB_BOTTOM:
          ScrollTo(box, ContentHeight(box));
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
          GetScrollInfo(box, SB_VERT, &info);
          ScrollTo(box, info.nTrackPos);
          break;
        }
        default:
          break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      UINT lines = 3;
      SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
      ScrollTo(box, ScrollPosition(box) - GET_WHEEL_DELTA_WPARAM(wParam) * static_cast<int>(lines) * 16 / WHEEL_DELTA);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_SETFOCUS) ScrollIntoView(box, reinterpret_cast<HWND>(lParam));
      return SendMessageW(GetParent(box), message, wParam, lParam);
    case WM_NOTIFY:
    case WM_NEXTDLGCTL:
    case WM_CLOSE:
      return SendMessageW(GetParent(box), message, wParam, lParam);
    default:
      return DefWindowProcW(box, message, wParam, lParam);
  }
}

}  // namespace

void TframeLibrary::RegisterWindowClass(HINSTANCE instance) {
  RegisterChildClass(instance, kScrollBoxClass, ScrollBoxProc);
}

TframeLibrary::TframeLibrary(HWND page, HFONT font, TPlatformType platform) : platform_(platform) {
  RECT bounds;
  GetClientRect(page, &bounds);
  frame_ = CreateChild(page, kPanelClass, u"", WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, font);
  MoveTo(frame_, 0, 0, bounds.right, bounds.bottom);
  scrollBox_ = CreateChild(frame_, kScrollBoxClass, u"", WS_VSCROLL | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, font);
  const int labelHeight = TextHeight(frame_, font);
  // Tab order follows creation: each label, then its edit.
  for (int row = 0; row < kRows; ++row) {
    const auto index = static_cast<std::size_t>(row);
    const std::u16string_view caption = LibrarySettings[index].labelCaption;
    labels_[index] = CreateChild(scrollBox_, L"STATIC", caption, SS_LEFT, 0, 0, font);
    MoveTo(labels_[index], kLeft, kLabelTops[index], TextWidth(frame_, font, caption) + 2, labelHeight);
    edits_[index] =
        CreateChild(scrollBox_, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kFirstEditId + row, font);
    MoveTo(edits_[index], kLeft, kEditTops[index], kEditWidth, kEditHeight);
    ImmAssociateContext(edits_[index], nullptr);
  }
  lblDmy_ = CreateChild(scrollBox_, L"STATIC", u"   ", SS_LEFT, 0, 0, font);
  MoveTo(lblDmy_, kDummyLabel.x, kDummyLabel.y, TextWidth(frame_, font, u"   ") + 2, labelHeight);
  // The content's height is known now: sizing the box sets its scroll range.
  SetWindowLongPtrW(scrollBox_, GWLP_USERDATA, kDummyLabel.y + labelHeight);
  MoveTo(scrollBox_, 0, 0, bounds.right, bounds.bottom);
}

void TframeLibrary::SetRowEnabled(int row, bool enabled) {
  EnableWindow(Edit(row), enabled);
  EnableWindow(Label(row), enabled);
}

std::array<std::u16string, TframeLibrary::kRows> TframeLibrary::Values() const {
  std::array<std::u16string, kRows> values;
  for (int row = 0; row < kRows; ++row) values[static_cast<std::size_t>(row)] = ControlText(Edit(row));
  return values;
}

void TframeLibrary::SetValues(const std::array<std::u16string, kRows>& values) {
  for (int row = 0; row < kRows; ++row) {
    SetWindowTextW(Edit(row), Wide(values[static_cast<std::size_t>(row)]).c_str());
  }
}

}  // namespace ombrisk
