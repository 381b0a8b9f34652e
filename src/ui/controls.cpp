#include "ui/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

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

int ImageSizeFor(int dpi) {
  const int wanted = MulDiv(16, dpi, USER_DEFAULT_SCREEN_DPI);
  int size = 16;
  for (const int drawn : {20, 24, 32}) {
    if (drawn <= wanted) size = drawn;
  }
  return size;
}

namespace {

// The strip's pixels, top row first, as tools/make_images.py encodes them:
// the image size and count, then runs of a count and a pixel. Empty when
// the resource is missing or cut short.
std::vector<std::uint32_t> DecodeStrip(int resource, int size, int& count) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource * 100 + size), RT_RCDATA);
  const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  const DWORD length = found != nullptr ? SizeofResource(instance, found) : 0;
  std::vector<std::uint32_t> pixels;
  count = 0;
  if (bytes == nullptr || length < 4) return pixels;
  const auto word = [bytes](std::size_t at) { return static_cast<unsigned>(bytes[at] | (bytes[at + 1] << 8)); };
  if (static_cast<int>(word(0)) != size) return pixels;
  count = static_cast<int>(word(2));
  const std::size_t total =
      static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * static_cast<std::size_t>(count);
  for (std::size_t at = 4; at + 6 <= length && pixels.size() < total; at += 6) {
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, bytes + at + 2, sizeof pixel);
    pixels.insert(pixels.end(), std::min<std::size_t>(word(at), total - pixels.size()), pixel);
  }
  if (pixels.size() != total) pixels.clear();
  return pixels;
}

}  // namespace

HIMAGELIST LoadImageStrip(int resource, int size, int index) {
  int count = 0;
  const std::vector<std::uint32_t> pixels = DecodeStrip(resource, size, count);
  const int first = index < 0 ? 0 : index;
  const int images = index < 0 ? count : 1;
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, images, 0);
  if (pixels.empty() || first + images > count) return list;
  BITMAPINFO format{};
  // Top-down rows: a negative height.
  format.bmiHeader = {sizeof format.bmiHeader, size * images, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return list;
  const auto stripWidth = static_cast<std::size_t>(size) * static_cast<std::size_t>(count);
  const auto width = static_cast<std::size_t>(size) * static_cast<std::size_t>(images);
  for (std::size_t row = 0; row < static_cast<std::size_t>(size); ++row) {
    std::memcpy(static_cast<std::uint32_t*>(bits) + row * width,
                pixels.data() + row * stripWidth + static_cast<std::size_t>(first) * static_cast<std::size_t>(size),
                width * sizeof(std::uint32_t));
  }
  ImageList_Add(list, bitmap, nullptr);
  DeleteObject(bitmap);
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

void SelectLine(HWND edit, int line) {
  const LRESULT start = SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
  if (start < 0) return;
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), start);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace ombrisk
