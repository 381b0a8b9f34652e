#include "core/text_comparer.h"

#include <algorithm>
#include <cstdint>

namespace ombrisk {

std::u16string CaseMapping::UpperCase(std::u16string_view text) const {
  std::u16string upper(text);
  for (char16_t& c : upper) c = Upper(c);
  return upper;
}

bool CaseMapping::Equal(std::u16string_view a, std::u16string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::size_t CaseMapping::Hash(std::u16string_view text) const {
  // FNV-1a over the upper-cased code units.
  std::uint64_t hash = 14695981039346656037ull;
  for (char16_t c : text) {
    hash = (hash ^ Upper(c)) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

const CaseMapping& TextComparer::Mapping() const {
  std::call_once(made_, [this] {
    std::u16string units(0x10000, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(i);
    // Surrogates only have a case as pairs; they map to themselves.
    std::u16string below(units.begin() + 1, units.begin() + 0xD800);
    std::u16string above(units.begin() + 0xE000, units.end());
    UpperCaseInPlace(below);
    UpperCaseInPlace(above);
    auto table = std::make_unique<std::array<char16_t, 0x10000>>();
    std::copy(units.begin(), units.end(), table->begin());
    std::copy(below.begin(), below.end(), table->begin() + 1);
    std::copy(above.begin(), above.end(), table->begin() + 0xE000);
    mapping_ = std::make_unique<CaseMapping>(std::move(table));
  });
  return *mapping_;
}

}  // namespace ombrisk
