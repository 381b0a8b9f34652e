#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// The full path of the running executable.
std::u16string ExecutablePath();
// The path made full as Windows makes it: a relative one from the current
// folder; the path as given where that fails.
std::u16string FullPathName(std::u16string_view path);

}  // namespace ombrisk
