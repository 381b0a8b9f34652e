#include "win32/program_texts.h"

#include <string>

#include "text_ids.h"

namespace ombrisk {

namespace {

LANGID LanguageId(Language language) {
  return language == Language::Japanese ? MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)
                                        : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

}  // namespace

Language InterfaceLanguage() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::Japanese : Language::English;
}

TextTable LoadTexts(Language language, HMODULE module) {
  TextTable table(language);
  // A string resource is a block of sixteen counted texts: identity / 16 + 1
  // names the block, identity % 16 the place in it.
  for (unsigned block = IDS_FIRST_TEXT / 16; block <= IDS_LAST_TEXT / 16; ++block) {
    const HRSRC found = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block + 1), LanguageId(language));
    const HGLOBAL loaded = found == nullptr ? nullptr : LoadResource(module, found);
    const auto* text = loaded == nullptr ? nullptr : static_cast<const wchar_t*>(LockResource(loaded));
    if (text == nullptr) continue;
    for (unsigned place = 0; place < 16; ++place) {
      const std::size_t length = static_cast<std::size_t>(*text++);
      if (length > 0) {
        table.Set(block * 16 + place, std::u16string(reinterpret_cast<const char16_t*>(text), length));
      }
      text += length;
    }
  }
  return table;
}

}  // namespace ombrisk
