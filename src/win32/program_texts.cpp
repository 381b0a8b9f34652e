#include "win32/program_texts.h"

#include <string>
#include <vector>

#include "text_ids.h"

namespace ombrisk {

namespace {

// A string resource is a block of sixteen counted texts: identity / 16 + 1
// names the block, identity % 16 the place in it.
const wchar_t* Block(unsigned block) { return MAKEINTRESOURCEW(block + 1); }

BOOL CALLBACK NoteLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) {
  reinterpret_cast<std::vector<LANGID>*>(found)->push_back(language);
  return TRUE;
}

// The table's language the module holds for the one asked for.
LANGID TableLanguage(LANGID wanted, HMODULE module) {
  std::vector<LANGID> held;
  EnumResourceLanguagesW(module, RT_STRING, Block(IDS_FIRST_TEXT / 16), NoteLanguage,
                         reinterpret_cast<LONG_PTR>(&held));
  for (const LANGID language : held) {
    if (language == wanted) return language;
  }
  for (const LANGID language : held) {
    if (PRIMARYLANGID(language) == PRIMARYLANGID(wanted)) return language;
  }
  return LanguageId(Language::English);
}

}  // namespace

LANGID InterfaceLanguage() { return GetUserDefaultUILanguage(); }

LANGID LanguageId(Language language) {
  return language == Language::Japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                        : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

TextTable LoadTexts(LANGID language, HMODULE module) {
  const LANGID found = TableLanguage(language, module);
  // The Japanese faces for Japanese, the system's message font for others.
  TextTable table(PRIMARYLANGID(found) == LANG_JAPANESE ? Language::Japanese : Language::English);
  for (unsigned block = IDS_FIRST_TEXT / 16; block <= IDS_LAST_TEXT / 16; ++block) {
    const HRSRC resource = FindResourceExW(module, RT_STRING, Block(block), found);
    const HGLOBAL loaded = resource == nullptr ? nullptr : LoadResource(module, resource);
    const auto* text = loaded == nullptr ? nullptr : static_cast<const wchar_t*>(LockResource(loaded));
    if (text == nullptr) continue;
    for (unsigned place = 0; place < 16; ++place) {
      const auto length = static_cast<std::size_t>(*text++);
      if (length > 0) {
        table.Set(block * 16 + place, std::u16string(reinterpret_cast<const char16_t*>(text), length));
      }
      text += length;
    }
  }
  return table;
}

}  // namespace ombrisk
