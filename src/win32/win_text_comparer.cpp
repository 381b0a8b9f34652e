#include "win32/win_text_comparer.h"

#include <windows.h>

#include "win32/wide.h"

namespace ombrisk {

void WinTextComparer::UpperCaseInPlace(std::u16string& text) const {
  std::wstring wide = Wide(text);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  text = FromWide(wide);
}

int WinTextComparer::CompareIgnoringCase(std::u16string_view a, std::u16string_view b) const {
  const std::wstring left = Wide(a);
  const std::wstring right = Wide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.c_str(), static_cast<int>(left.size()),
                        right.c_str(), static_cast<int>(right.size())) -
         CSTR_EQUAL;
}

}  // namespace ombrisk
