// The settings-file reader's inner loop: finding where a line ends. Reading
// a settings file is mostly this scan, so it looks at several UTF-16 units
// per step.
#pragma once

#include <cstddef>
#include <string_view>

namespace ombrisk {

// The position of the first unit at or after from that is CR, LF or NUL, or
// "=" when stopAtEquals is set; text.size() when there is none.
std::size_t ScanLine(std::u16string_view text, std::size_t from, bool stopAtEquals);

// The same, four units at a time in plain C++: used where SSE2 is missing,
// and tested against ScanLine.
std::size_t ScanLinePortable(std::u16string_view text, std::size_t from, bool stopAtEquals);

}  // namespace ombrisk
