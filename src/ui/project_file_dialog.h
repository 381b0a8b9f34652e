// The browse button's question: which project or package the IDE opens.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/services.h"

namespace ombrisk {

// Asks for the file, starting in the folder of the one the parameters name
// (their first quoted or unquoted part) and offering project files first.
// The chosen file's path; nothing when the dialog was cancelled.
std::optional<std::u16string> ChooseProjectFile(HWND owner, std::u16string_view parameters,
                                                const FileOpenDialog& openFile);

}  // namespace ombrisk
