// The texts the user sees in the language of the interface: each of the
// program's own texts has an identity (res/text_ids.h) and one string table
// per language in the executable's resources (res/texts_*.rc). The program
// reads the table of its language at start and installs it here; a UiText
// reads it where it is shown.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

// The languages of the interface.
enum class Language { Japanese, English };

// The program's texts of one language, by identity.
class TextTable {
 public:
  explicit TextTable(Language language) : language_(language) {}
  Language TableLanguage() const { return language_; }
  void Set(unsigned id, std::u16string text);
  // "" where the table has none.
  std::u16string_view Get(unsigned id) const;
  // The identities the table holds, in order.
  std::vector<unsigned> Ids() const;

 private:
  std::vector<std::u16string> texts_;  // by identity from IDS_FIRST_TEXT
  std::vector<bool> present_;
  Language language_;
};

// Installs the table every UiText reads from, before any text is shown and
// before a second thread starts; it lives as long as the program.
void UseTexts(const TextTable& table);
// The language of the installed texts (Japanese before any).
Language TextLanguage();

// A text as it is shown: one of the program's own by its identity, read in
// the installed language, or a text that stands as it is (a name, a
// symbol, the caption "Ombrisk").
class UiText {
 public:
  constexpr UiText() = default;
  constexpr UiText(std::u16string_view fixed) : fixed_(fixed) {}  // NOLINT(google-explicit-constructor)
  constexpr UiText(const char16_t* fixed) : fixed_(fixed) {}      // NOLINT(google-explicit-constructor)
  constexpr explicit UiText(unsigned id) : id_(id) {}
  operator std::u16string_view() const;  // NOLINT(google-explicit-constructor)
  std::u16string_view View() const { return *this; }
  constexpr unsigned Id() const { return id_; }
  friend bool operator==(const UiText& text, std::u16string_view other) { return text.View() == other; }

 private:
  std::u16string_view fixed_;
  unsigned id_ = 0;
};

// Texts of consecutive identities from the first: a list's columns, pages.
template <std::size_t N>
constexpr std::array<UiText, N> TextRun(unsigned first) {
  return [first]<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<UiText, N>{UiText{static_cast<unsigned>(first + I)}...};
  }
  (std::make_index_sequence<N>{});
}

}  // namespace ombrisk
