// UTF-16 text helpers shared by every layer.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace ombrisk {

// Replaces each "%s" of the pattern, left to right, by the next argument,
// and each "%d" by the next argument, a number given as its decimal text.
// Missing arguments leave the "%s" as it stands; "%%" is not special.
std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

// Characters up to U+0020, blanks and control characters alike.
constexpr bool IsBlankOrControl(char16_t c) { return c <= u' '; }

// Removes characters up to U+0020 from both ends.
std::u16string_view Trim(std::u16string_view text);

// The text on one line, as the settings file can hold it: each line break
// (CR LF, CR or LF) becomes one blank, and NULs are dropped.
std::u16string OneLine(std::u16string_view text);

// A caption as running text: without its mnemonic (a "(&B)" after it, or
// the "&" before a letter; "&&" stands for "&") and its trailing colon.
std::u16string PlainCaption(std::u16string_view caption);

// Upper case of the letters a to z only; every other character stays.
std::u16string AsciiUpper(std::u16string_view text);

// Conversions between UTF-8 and UTF-16. Ill-formed input becomes U+FFFD.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

std::u16string DecimalText(long long value);

// The parts joined into one string.
std::u16string Concat(std::initializer_list<std::u16string_view> parts);

}  // namespace ombrisk
