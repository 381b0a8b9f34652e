#include "ui/ui_font.h"

#include <array>

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

UiFont::UiFont() {
  LOGFONTW font{};
  font.lfHeight = -13;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, ChooseUiFontFace().c_str(), LF_FACESIZE);
  font_ = CreateFontIndirectW(&font);
}

UiFont::~UiFont() {
  if (font_ != nullptr) DeleteObject(font_);
}

}  // namespace ombrisk
