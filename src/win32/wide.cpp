#include "win32/wide.h"

namespace ombrisk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t holds UTF-16 code units");

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string FromWide(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace ombrisk
