#include "ui/ui_font.h"

#include <array>

#include "core/ui_text.h"
#include "win32/handles.h"

namespace ombrisk {

namespace {

constexpr std::array<const wchar_t*, 5> kFaces{L"ＭＳ Ｐゴシック", L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI",
                                               L"IPAPGothic"};

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool IsInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  const ScreenFont screen(nullptr, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  EnumFontFamiliesExW(screen.Get(), &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::span<const wchar_t* const> UiFontFaces() { return kFaces; }

std::wstring ChooseUiFontFace() {
  for (const wchar_t* face : kFaces) {
    if (IsInstalled(face)) return face;
  }
  return kFaces.front();
}

namespace {

// The system's message font, at the DPI.
HFONT MakeMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  // The metrics are at the system's DPI.
  const ScreenFont screen(nullptr, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  font.lfHeight = MulDiv(font.lfHeight, dpi, GetDeviceCaps(screen.Get(), LOGPIXELSY));
  return CreateFontIndirectW(&font);
}

// A Japanese face for the Japanese texts, the system's message font for
// the others.
HFONT MakeUiFont(int dpi) {
  if (TextLanguage() != Language::Japanese) return MakeMessageFont(dpi);
  LOGFONTW font{};
  font.lfHeight = -MulDiv(13, dpi, USER_DEFAULT_SCREEN_DPI);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  // Looked for once: the installed fonts do not change while the program runs.
  static const std::wstring face = ChooseUiFontFace();
  lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

}  // namespace

UiFont::UiFont(int dpi) : font_(MakeUiFont(dpi)) {}

UiFont::~UiFont() {
  if (font_ != nullptr) DeleteObject(font_);
}

void UiFont::Rescale(int dpi) {
  const HFONT old = font_;
  font_ = MakeUiFont(dpi);
  if (old != nullptr) DeleteObject(old);
}

}  // namespace ombrisk
