// The console of the scripts' commands, which show no window.
#pragma once

#include <string_view>

namespace ombrisk {

enum class ConsoleStream { Output, Error };

// Writes the text and a line end to the standard output or error the
// process was given (UTF-8 into a file or pipe), or else to the console of
// the process that started it; nowhere where there is neither.
void WriteConsoleLine(ConsoleStream stream, std::u16string_view text);

}  // namespace ombrisk
