// The program's texts of the interface's language, from the string tables
// in the executable's resources.
#pragma once

#include <windows.h>

#include "core/ui_text.h"

namespace ombrisk {

// Japanese where the user's interface language is Japanese, English
// otherwise.
Language InterfaceLanguage();

// The string table of the language in the module's resources (the
// executable's where none is given).
TextTable LoadTexts(Language language, HMODULE module = nullptr);

}  // namespace ombrisk
