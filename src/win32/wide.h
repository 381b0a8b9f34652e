// The one pair of conversions between the core's UTF-16 strings and the
// wchar_t strings of the Windows API (both 16 bits on Windows).
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

std::wstring Wide(std::u16string_view text);
std::u16string FromWide(std::wstring_view text);

}  // namespace ombrisk
