#include "ui/library_frame.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/texts.h"
#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr const wchar_t* kScrollBoxClass = L"TScrollBox";
constexpr int kLeft = 20;
constexpr int kEditWidth = 534;
constexpr int kEditHeight = 21;
// The tops of each row's label and edit, in the order of LibrarySettings.
struct RowTops {
  int label, edit;
};
constexpr std::array<RowTops, TframeLibrary::kRows> kRowTops{{{4, 19},
                                                              {46, 61},
                                                              {90, 105},
                                                              {134, 149},
                                                              {178, 193},
                                                              {222, 237},
                                                              {266, 281},
                                                              {308, 323},
                                                              {352, 367},
                                                              {396, 413},
                                                              {440, 455},
                                                              {482, 497}}};
constexpr POINT kDummyLabel{224, 518};

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

namespace {

// The identities of the frame's components.
enum Id : int { kFrame = 100, kScrollBox1, kLblDmy, kFirstLabel = 200, kFirstEdit = 300 };

// The names of each row's label and edit, as the form names them.
constexpr std::array<std::pair<const char*, const char*>, TframeLibrary::kRows> kRowNames{{
    {"lblSearch_Path", "edSearch_Path"},
    {"lblPackage_DPL_Output", "edPackage_DPL_Output"},
    {"lblPackage_DCP_Output", "edPackage_DCP_Output"},
    {"lblBrowsing_Path", "edBrowsing_Path"},
    {"lblPackage_Search_Path", "edPackage_Search_Path"},
    {"lblNamespace_Search_Path", "edNamespace_Search_Path"},
    {"lblDebug_DCU_Path", "edDebug_DCU_Path"},
    {"lblLanguage_Library_Path", "edLanguage_Library_Path"},
    {"lblTranslated_Library_Path", "edTranslated_Library_Path"},
    {"lblTranslated_Debug_Library_Path", "edTranslated_Debug_Library_Path"},
    {"lblTranslated_Resource_Path", "edTranslated_Resource_Path"},
    {"lblHPP_Output_Directory", "edHPP_Output_Directory"},
}};

// The frame's components: the frame filling its page, the scrolling box
// filling the frame, and on it each library setting's label and edit, in
// Tab order, then lblDmy, which keeps a margin below the last edit.
constexpr std::array<ComponentRow, 3 + 2 * TframeLibrary::kRows> MakeFrameComponents() {
  std::array<ComponentRow, 3 + 2 * TframeLibrary::kRows> rows{};
  rows[0] = Panel(kFrame, "frame", 0, {}).Anchor(akAll).With(0, kFillParent);
  rows[1] = ComponentRow{
      kScrollBox1,         "ScrollBox1", kFrame, kScrollBoxClass, u"", {}, akAll, WS_VSCROLL | WS_CLIPCHILDREN,
      WS_EX_CONTROLPARENT, kFillParent};
  for (int row = 0; row < TframeLibrary::kRows; ++row) {
    const auto place = static_cast<std::size_t>(row);
    rows[2 + 2 * place] = Label(kFirstLabel + row, kRowNames[place].first, kScrollBox1, texts::kLibraryLabels[place],
                                {kLeft, kRowTops[place].label});
    rows[3 + 2 * place] = Edit(kFirstEdit + row, kRowNames[place].second, kScrollBox1,
                               {kLeft, kRowTops[place].edit, kEditWidth, kEditHeight})
                              .With(0, kImeOff);
  }
  rows.back() = Label(kLblDmy, "lblDmy", kScrollBox1, u"   ", kDummyLabel);
  return rows;
}

constexpr auto kFrameComponents = MakeFrameComponents();

}  // namespace

TframeLibrary::TframeLibrary(HWND page, HFONT font, TPlatformType platform, int dpi) : platform_(platform) {
  RECT bounds;
  GetClientRect(page, &bounds);
  // The page's present size is its design size: the frame fills it.
  components_.Create(
      page,
      SIZE{MulDiv(bounds.right, USER_DEFAULT_SCREEN_DPI, dpi), MulDiv(bounds.bottom, USER_DEFAULT_SCREEN_DPI, dpi)},
      kFrameComponents, font, dpi);
  UpdateContentHeight();
}

// The content's height is known once the rows are placed: the box takes its
// scroll range.
void TframeLibrary::UpdateContentHeight() {
  const HWND box = ScrollBox1();
  RECT dummy;
  GetWindowRect(lblDmy(), &dummy);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&dummy), 2);
  SetWindowLongPtrW(box, GWLP_USERDATA, dummy.bottom + ScrollPosition(box));
  SendMessageW(box, WM_SIZE, 0, 0);
}

void TframeLibrary::Rescale(HFONT font, int dpi) {
  ScrollTo(ScrollBox1(), 0);
  components_.Rescale(font, dpi);
  UpdateContentHeight();
}

HWND TframeLibrary::Handle() const { return components_.Find(kFrame); }
HWND TframeLibrary::ScrollBox1() const { return components_.Find(kScrollBox1); }
HWND TframeLibrary::Edit(int row) const { return components_.Find(kFirstEdit + row); }
HWND TframeLibrary::Label(int row) const { return components_.Find(kFirstLabel + row); }
HWND TframeLibrary::lblDmy() const { return components_.Find(kLblDmy); }

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
