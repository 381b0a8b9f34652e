// The program's user-interface font: a proportional Japanese font 13 pixels
// high at 96 DPI (scaled for other DPIs) with the Shift-JIS character set,
// the first installed of a short list.
#pragma once

#include <windows.h>

#include <span>
#include <string>

namespace ombrisk {

// The faces tried in order: the Windows ones first, then the
// metric-compatible one that Wine systems have.
std::span<const wchar_t* const> UiFontFaces();

// The first installed face of the list, or the first of the list when none is
// (the system then substitutes one).
std::wstring ChooseUiFontFace();

class UiFont {
 public:
  explicit UiFont(int dpi = USER_DEFAULT_SCREEN_DPI);
  ~UiFont();
  UiFont(const UiFont&) = delete;
  UiFont& operator=(const UiFont&) = delete;

  HFONT Get() const { return font_; }
  // Makes the font anew for the DPI; the old one is deleted, so every
  // window that used it must have taken the new one first.
  void Rescale(int dpi);

 private:
  HFONT font_ = nullptr;
};

}  // namespace ombrisk
