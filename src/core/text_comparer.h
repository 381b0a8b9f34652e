// Locale-dependent text operations: full Unicode upper case (for matching
// names in the settings file) and the user's case-insensitive comparison
// (for ordering and duplicate tests). Windows answers them through its
// locale functions; PortableTextComparer serves native builds.
#pragma once

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace ombrisk {

// A one-to-one upper-case mapping of every UTF-16 code unit, built once from
// a comparer, so names can be hashed and compared without allocating.
class CaseMapping {
 public:
  explicit CaseMapping(std::unique_ptr<std::array<char16_t, 0x10000>> table) : table_(std::move(table)) {}

  char16_t Upper(char16_t c) const { return (*table_)[c]; }
  std::u16string UpperCase(std::u16string_view text) const;
  bool Equal(std::u16string_view a, std::u16string_view b) const;
  std::size_t Hash(std::u16string_view text) const;

 private:
  std::unique_ptr<std::array<char16_t, 0x10000>> table_;
};

class TextComparer {
 public:
  virtual ~TextComparer() = default;
  // Upper-cases every code unit in place, one to one.
  virtual void UpperCaseInPlace(std::u16string& text) const = 0;
  // The user's locale comparison with case ignored: negative, 0 or positive.
  virtual int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) const = 0;

  // The mapping of UpperCaseInPlace for every code unit, made on first use,
  // once, also when threads ask for it at the same time (the main window's
  // list is read on a thread of its own while the window is made).
  const CaseMapping& Mapping() const;

 private:
  mutable std::once_flag made_;
  mutable std::unique_ptr<CaseMapping> mapping_;
};

// Upper case and comparison by the C library's wide-character rules under a
// UTF-8 locale, so that "ä" and "Ä" match as they do on Windows.
class PortableTextComparer : public TextComparer {
 public:
  void UpperCaseInPlace(std::u16string& text) const override;
  int CompareIgnoringCase(std::u16string_view a, std::u16string_view b) const override;
};

}  // namespace ombrisk
