// The program's texts in the interface's language, from the string tables
// in the executable's resources.
#pragma once

#include <windows.h>

#include "core/ui_text.h"

namespace ombrisk {

// The user's interface language.
LANGID InterfaceLanguage();
// The language of the Japanese and of the English table.
LANGID LanguageId(Language language);

// The string table of the language in the module's resources (the
// executable's where none is given): the table of that language, else one
// of the same primary language, else the English one. So Japanese shows on
// a Japanese system, English where the executable holds no table of the
// system's language, and a table a translator adds shows where it belongs.
TextTable LoadTexts(LANGID language, HMODULE module = nullptr);

}  // namespace ombrisk
