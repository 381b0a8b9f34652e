// The program's user-interface font: a proportional Japanese font 13 pixels
// high with the Shift-JIS character set, the first installed of a short list.
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
  UiFont();
  ~UiFont();
  UiFont(const UiFont&) = delete;
  UiFont& operator=(const UiFont&) = delete;

  HFONT Get() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

}  // namespace ombrisk
