// The browse button's question: which project or package the IDE opens.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ui/services.h"

namespace ombrisk {

// The filter of a file dialog: each type's caption and patterns, each
// ended by a NUL, and a NUL more.
std::wstring FileDialogFilter(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> types);

// Asks for the file, starting in the folder of the one the parameters name
// (their first quoted or unquoted part) and offering project files first.
// The chosen file's path; nothing when the dialog was cancelled.
std::optional<std::u16string> ChooseProjectFile(HWND owner, std::u16string_view parameters,
                                                const FileOpenDialog& openFile);

}  // namespace ombrisk
