// The portable comparer of native builds, in a file of its own: the C++
// locale it needs is large, and the Windows program never links it.
#include "core/text_comparer.h"

#include <algorithm>
#include <cstdint>
#include <locale>
#include <stdexcept>

namespace ombrisk {

namespace {

const std::ctype<wchar_t>& WideCtype() {
  static const std::locale locale = [] {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      try {
        return std::locale(name);
      } catch (const std::runtime_error&) {
      }
    }
    return std::locale::classic();
  }();
  return std::use_facet<std::ctype<wchar_t>>(locale);
}

}  // namespace

void PortableTextComparer::UpperCaseInPlace(std::u16string& text) const {
  const auto& ctype = WideCtype();
  for (char16_t& c : text) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    // A wide character, not a char: clang-tidy 14 takes the facet's result
    // for a signed char.
    const auto upper =
        static_cast<std::uint32_t>(ctype.toupper(static_cast<wchar_t>(c)));  // NOLINT(bugprone-signed-char-misuse)
    if (upper <= 0xFFFF) c = static_cast<char16_t>(upper);
  }
}

int PortableTextComparer::CompareIgnoringCase(std::u16string_view a, std::u16string_view b) const {
  const CaseMapping& mapping = Mapping();
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = mapping.Upper(a[i]);
    const char16_t y = mapping.Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace ombrisk
