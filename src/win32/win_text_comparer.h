// Upper case and comparison by the system's own rules.
#pragma once

#include "core/text_comparer.h"

namespace ombrisk {

class WinTextComparer : public TextComparer {
 public:
  // CharUpperBuffW: the system's full Unicode upper case, one to one.
  void UpperCaseInPlace(std::u16string& text) const override;
  // CompareStringW in the user's default locale, case ignored.
  int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) const override;
};

}  // namespace ombrisk
