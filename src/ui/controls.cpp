#include "ui/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ui/components.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CONTEXTMENU:
    case WM_NEXTDLGCTL:
    // A multi-line edit asks its parent to close when Esc is pressed in it.
    case WM_CLOSE:
      return SendMessageW(GetParent(window), message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK FillBackgroundProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(window, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, FillBackgroundProc, 0);
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) { RegisterChildClass(instance, kPanelClass, PanelProc); }

void RegisterChildClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);
}

HWND CreateChild(HWND parent, const wchar_t* className, std::u16string_view caption, DWORD style, DWORD exStyle, int id,
                 HFONT font) {
  HWND window =
      CreateWindowExW(exStyle, className, Wide(caption).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return window;
}

void MoveTo(HWND window, int left, int top, int width, int height) {
  SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HIMAGELIST LoadImageStrip(int resource, int count) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, count, 0);
  const auto strip = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (strip != nullptr) {
    ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
  }
  return list;
}

HIMAGELIST LoadStripImage(int resource, int index) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  const auto strip = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  DIBSECTION section{};
  if (strip != nullptr && GetObjectW(strip, sizeof section, &section) == sizeof section &&
      section.dsBm.bmBitsPixel == 32 && section.dsBm.bmWidth >= (index + 1) * 16) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, 16, section.dsBm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HBITMAP image = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (image != nullptr) {
      // Row by row, the 16 pixels of the image, alpha included.
      const auto width = static_cast<std::size_t>(section.dsBm.bmWidth);
      const auto first = static_cast<std::size_t>(index) * 16;
      for (std::size_t row = 0; row < static_cast<std::size_t>(section.dsBm.bmHeight); ++row) {
        const auto* from = static_cast<const std::uint32_t*>(section.dsBm.bmBits) + row * width + first;
        std::memcpy(static_cast<std::uint32_t*>(bits) + row * 16, from, 16 * sizeof(std::uint32_t));
      }
      ImageList_Add(list, image, nullptr);
      DeleteObject(image);
    }
  }
  if (strip != nullptr) DeleteObject(strip);
  return list;
}

void FillOwnBackground(HWND window) { SetWindowSubclass(window, FillBackgroundProc, 0, 0); }

int TextHeight(HWND window, HFONT font) {
  const ScreenFont screen(window, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen.Get(), &metrics);
  return metrics.tmHeight;
}

int TextWidth(HWND window, HFONT font, std::u16string_view text) {
  std::wstring shown;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    shown += static_cast<wchar_t>(text[i]);
  }
  const ScreenFont screen(window, font);
  SIZE extent{};
  GetTextExtentPoint32W(screen.Get(), shown.c_str(), static_cast<int>(shown.size()), &extent);
  return extent.cx;
}

std::u16string ControlText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

}  // namespace ombrisk
