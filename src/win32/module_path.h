#pragma once

#include <string>

namespace ombrisk {

// The full path of the running executable.
std::u16string ExecutablePath();

}  // namespace ombrisk
