#include "core/text.h"

#include <cstdint>

namespace ombrisk {

std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
  std::u16string result;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && (pattern[i + 1] == u's' || pattern[i + 1] == u'd') &&
        next != args.end()) {
      result += *next++;
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

std::u16string_view Trim(std::u16string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::u16string PlainCaption(std::u16string_view caption) {
  std::u16string plain;
  for (std::size_t at = 0; at < caption.size(); ++at) {
    if (caption.substr(at, 2) == u"(&" && at + 3 < caption.size() && caption[at + 3] == u')') {
      at += 3;
    } else if (caption[at] == u'&' && at + 1 < caption.size()) {
      plain += caption[++at];
    } else {
      plain += caption[at];
    }
  }
  while (!plain.empty() && (plain.back() == u':' || IsBlankOrControl(plain.back()))) plain.pop_back();
  return plain;
}

std::u16string OneLine(std::u16string_view text) {
  std::u16string line;
  line.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] == u'\r' || text[at] == u'\n') {
      if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
      line += u' ';
    } else if (text[at] != u'\0') {
      line += text[at];
    }
  }
  return line;
}

std::u16string AsciiUpper(std::u16string_view text) {
  std::u16string result(text);
  for (char16_t& c : result) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
  }
  return result;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      length = 1;
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      cp = lead & 0x1F;
      minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      cp = lead & 0x0F;
      minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      cp = lead & 0x07;
      minimum = 0x10000;
    }
    bool valid = length > 0 && i + static_cast<std::size_t>(length) <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const auto trail = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
      valid = (trail & 0xC0) == 0x80;
      cp = (cp << 6) | (trail & 0x3F);
    }
    if (valid && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) valid = false;
    if (!valid) {
      out += static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

std::string ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string DecimalText(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
  std::size_t size = 0;
  for (std::u16string_view part : parts) size += part.size();
  std::u16string result;
  result.reserve(size);
  for (std::u16string_view part : parts) result += part;
  return result;
}

}  // namespace ombrisk
