#include "core/registry_script.h"

#include <cstdint>

#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kRoot = u"HKEY_CURRENT_USER";
constexpr std::u16string_view kProfileComment = u"; プロファイル: ";
constexpr std::u16string_view kKeyComment = u"; キー: ";
constexpr std::u16string_view kCheckComment = u"; Ombrisk ";
constexpr std::u16string_view kLineEnd = u"\r\n";
constexpr char16_t kByteOrderMark = 0xFEFF;
// Hexadecimal data wraps before this column, as the registry editor's does.
constexpr std::size_t kHexLineWidth = 77;

std::u16string HexNumber(std::uint32_t value, std::size_t width) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789abcdef"[value & 0xFU]);
    value >>= 4U;
  } while (value != 0);
  if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
  return digits;
}

// FNV-1a over the text's 16-bit units, as eight lower-case hex digits.
std::u16string Checksum(std::u16string_view text) {
  std::uint32_t hash = 2166136261U;
  for (char16_t unit : text) {
    hash = (hash ^ (unit & 0xFFU)) * 16777619U;
    hash = (hash ^ (unit >> 8U)) * 16777619U;
  }
  return HexNumber(hash, 8);
}

bool HoldsLineBreakOrNul(std::u16string_view text) {
  return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

std::u16string Quoted(std::u16string_view text) {
  std::u16string quoted = u"\"";
  for (char16_t c : text) {
    if (c == u'\\' || c == u'"') quoted += u'\\';
    quoted += c;
  }
  return quoted + u'"';
}

// String data the editor's "..." form holds exactly: whole units ending in
// the one NUL, with no line break.
bool IsPlainString(const RegistryData& data) {
  if (data.type != registry_type::kString || data.bytes.size() % 2 != 0 || data.bytes.size() < 2) return false;
  const std::u16string text = DataText(data);
  return (text.size() + 1) * 2 == data.bytes.size() && !HoldsLineBreakOrNul(text);
}

std::u16string DataLine(std::u16string_view nameField, const RegistryData& data) {
  std::u16string line = Concat({nameField, u"="});
  if (IsPlainString(data)) return line + Quoted(DataText(data));
  if (data.type == registry_type::kDWord && data.bytes.size() == 4) {
    std::uint32_t value = 0;
    for (std::size_t at = 4; at-- > 0;) value = value << 8U | static_cast<unsigned char>(data.bytes[at]);
    return Concat({line, u"dword:", HexNumber(value, 8)});
  }
  line += data.type == registry_type::kBinary ? u"hex:" : Concat({u"hex(", HexNumber(data.type, 1), u"):"});
  for (std::size_t at = 0; at < data.bytes.size(); ++at) {
    line += HexNumber(static_cast<unsigned char>(data.bytes[at]), 2);
    if (at + 1 == data.bytes.size()) break;
    line += u',';
    const std::size_t lineStart = line.rfind(u'\n');
    if (line.size() - (lineStart == line.npos ? 0 : lineStart + 1) >= kHexLineWidth) {
      line += Concat({u"\\", kLineEnd, u"  "});
    }
  }
  return line;
}

}  // namespace

std::optional<std::string> WriteRegistryScript(const RegistryScript& script) {
  std::u16string profile = script.profile;
  for (char16_t& c : profile) {
    if (HoldsLineBreakOrNul(std::u16string_view(&c, 1))) c = u' ';
  }
  std::u16string text = Concat({kHeader, kLineEnd, kLineEnd, kProfileComment, profile, kLineEnd});
  if (!script.key.empty()) {
    if (HoldsLineBreakOrNul(script.key)) return std::nullopt;
    text += Concat({kKeyComment, script.key, kLineEnd});
  }
  for (const ScriptKey& key : script.keys) {
    if (HoldsLineBreakOrNul(key.path)) return std::nullopt;
    text += Concat({kLineEnd, key.removed ? u"[-" : u"[", kRoot, key.path, u"]", kLineEnd});
    for (const ScriptValue& value : key.values) {
      if (HoldsLineBreakOrNul(value.name)) return std::nullopt;
      const std::u16string nameField = value.name.empty() ? u"@" : Quoted(value.name);
      text += value.data ? DataLine(nameField, *value.data) : Concat({nameField, u"=-"});
      text += kLineEnd;
    }
  }
  text += Concat({kLineEnd, kCheckComment, Checksum(text), kLineEnd});

  return LittleEndianBytes(Concat({std::u16string_view(&kByteOrderMark, 1), text}));
}

namespace {

// Reads the script's lines one by one, joining a hexadecimal line with the
// lines its trailing "\" continues it on.
class ScriptLines {
 public:
  explicit ScriptLines(std::u16string_view text) : text_(text) {}
  bool AtEnd() const { return at_ >= text_.size(); }
  // The next line without its CR LF; nothing where a line has no CR LF.
  std::optional<std::u16string_view> Next() {
    const std::size_t end = text_.find(kLineEnd, at_);
    if (end == text_.npos) return std::nullopt;
    const std::u16string_view line = text_.substr(at_, end - at_);
    at_ = end + kLineEnd.size();
    return line;
  }
  std::size_t Position() const { return at_; }

 private:
  std::u16string_view text_;
  std::size_t at_ = 0;
};

// Reads a "..." field from the start of rest, undoing the escapes; rest is
// left after the closing quote.
std::optional<std::u16string> ReadQuoted(std::u16string_view& rest) {
  if (!rest.starts_with(u'"')) return std::nullopt;
  std::u16string text;
  for (std::size_t at = 1; at < rest.size(); ++at) {
    if (rest[at] == u'"') {
      rest.remove_prefix(at + 1);
      return text;
    }
    if (rest[at] == u'\\') {
      if (++at == rest.size() || (rest[at] != u'\\' && rest[at] != u'"')) return std::nullopt;
    }
    text += rest[at];
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ReadHexNumber(std::u16string_view digits, std::size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    const std::size_t digit = std::u16string_view(u"0123456789abcdef").find(c);
    if (digit == std::u16string_view::npos) return std::nullopt;
    value = value << 4U | static_cast<std::uint32_t>(digit);
  }
  return value;
}

std::optional<std::string> ReadHexBytes(std::u16string_view list) {
  std::string bytes;
  while (!list.empty()) {
    const std::optional<std::uint32_t> byte = ReadHexNumber(list.substr(0, 2), 2);
    if (list.size() < 2 || !byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
    list.remove_prefix(2);
    if (list.empty()) break;
    // A comma, then another byte.
    if (list.front() != u',' || list.size() == 1) return std::nullopt;
    list.remove_prefix(1);
  }
  return bytes;
}

// The data after "name=": "-" for a deletion, a string, a dword or hex bytes
// (whose continuation lines lines supplies).
std::optional<std::optional<RegistryData>> ReadData(std::u16string_view field, ScriptLines& lines) {
  if (field == u"-") return std::optional<RegistryData>();
  if (field.starts_with(u'"')) {
    std::optional<std::u16string> text = ReadQuoted(field);
    if (!text || !field.empty()) return std::nullopt;
    return std::optional(StringData(*text));
  }
  if (field.starts_with(u"dword:")) {
    const std::optional<std::uint32_t> value = ReadHexNumber(field.substr(6), 8);
    if (!value || field.size() != 14) return std::nullopt;
    RegistryData data{registry_type::kDWord, {}};
    for (std::uint32_t byte = 0; byte < 4; ++byte) data.bytes += static_cast<char>(*value >> (8 * byte) & 0xFFU);
    return std::optional(data);
  }
  std::uint32_t type = registry_type::kBinary;
  if (field.starts_with(u"hex(")) {
    const std::size_t close = field.find(u"):");
    const std::optional<std::uint32_t> number = ReadHexNumber(field.substr(4, close - 4), 8);
    if (close == field.npos || !number || *number == registry_type::kBinary) return std::nullopt;
    type = *number;
    field.remove_prefix(close + 2);
  } else if (field.starts_with(u"hex:")) {
    field.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  std::u16string list(field);
  while (list.ends_with(u",\\")) {
    list.pop_back();
    const std::optional<std::u16string_view> next = lines.Next();
    if (!next || !next->starts_with(u"  ")) return std::nullopt;
    list += next->substr(2);
  }
  std::optional<std::string> bytes = ReadHexBytes(list);
  if (!bytes) return std::nullopt;
  return std::optional(RegistryData{type, std::move(*bytes)});
}

std::optional<ScriptValue> ReadValue(std::u16string_view line, ScriptLines& lines) {
  ScriptValue value;
  if (line.starts_with(u"@=")) {
    line.remove_prefix(1);
  } else {
    std::optional<std::u16string> name = ReadQuoted(line);
    if (!name || name->empty()) return std::nullopt;
    value.name = std::move(*name);
  }
  if (!line.starts_with(u'=')) return std::nullopt;
  std::optional<std::optional<RegistryData>> data = ReadData(line.substr(1), lines);
  if (!data) return std::nullopt;
  value.data = std::move(*data);
  return value;
}

std::optional<ScriptKey> ReadKeyLine(std::u16string_view line) {
  ScriptKey key;
  if (!line.starts_with(u'[') || !line.ends_with(u']')) return std::nullopt;
  line = line.substr(1, line.size() - 2);
  key.removed = line.starts_with(u'-');
  if (key.removed) line.remove_prefix(1);
  if (!line.starts_with(kRoot) || !line.substr(kRoot.size()).starts_with(u'\\')) return std::nullopt;
  key.path = line.substr(kRoot.size());
  return key;
}

}  // namespace

namespace {

// The header lines and the profile's comment; false where they are not the
// program's.
bool ReadHead(ScriptLines& lines, RegistryScript& script) {
  if (lines.Next() != kHeader || lines.Next() != u"") return false;
  const std::optional<std::u16string_view> comment = lines.Next();
  if (!comment || !comment->starts_with(kProfileComment)) return false;
  script.profile = comment->substr(kProfileComment.size());
  return true;
}

}  // namespace

std::optional<RegistryScript> ParseRegistryScriptHead(std::u16string_view fileText) {
  if (!fileText.starts_with(kByteOrderMark)) return std::nullopt;
  ScriptLines lines(fileText.substr(1));
  RegistryScript script;
  if (!ReadHead(lines, script)) return std::nullopt;
  while (const std::optional<std::u16string_view> line = lines.Next()) {
    if (line->starts_with(kKeyComment) && script.key.empty()) {
      script.key = line->substr(kKeyComment.size());
    } else if (line->starts_with(u'[')) {
      std::optional<ScriptKey> key = ReadKeyLine(*line);
      if (!key) return std::nullopt;
      script.keys.push_back(std::move(*key));
      return script;
    } else if (line->starts_with(kCheckComment)) {
      return script;  // a script without keys
    } else if (!line->empty()) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<RegistryScript> ParseRegistryScript(std::u16string_view fileText) {
  if (!fileText.starts_with(kByteOrderMark)) return std::nullopt;
  const std::u16string_view text = fileText.substr(1);
  ScriptLines lines(text);
  RegistryScript script;
  if (!ReadHead(lines, script)) return std::nullopt;

  while (true) {
    const std::size_t lineStart = lines.Position();
    const std::optional<std::u16string_view> line = lines.Next();
    if (!line) return std::nullopt;
    if (line->empty()) continue;
    if (line->starts_with(kKeyComment) && script.keys.empty() && script.key.empty()) {
      script.key = line->substr(kKeyComment.size());
      continue;
    }
    if (line->starts_with(kCheckComment)) {
      // The check covers everything before the blank line above it.
      const bool intact =
          line->substr(kCheckComment.size()) == Checksum(text.substr(0, lineStart - kLineEnd.size())) && lines.AtEnd();
      return intact ? std::optional(std::move(script)) : std::nullopt;
    }
    if (line->starts_with(u'[')) {
      std::optional<ScriptKey> key = ReadKeyLine(*line);
      if (!key) return std::nullopt;
      script.keys.push_back(std::move(*key));
      continue;
    }
    std::optional<ScriptValue> value = ReadValue(*line, lines);
    if (!value || script.keys.empty() || script.keys.back().removed) return std::nullopt;
    script.keys.back().values.push_back(std::move(*value));
  }
}

void ApplyRegistryScript(Registry& registry, const RegistryScript& script) {
  for (const ScriptKey& key : script.keys) {
    if (key.removed) {
      registry.DeleteKey(key.path);
      continue;
    }
    // Created where missing and opened at once: a large script makes many
    // keys.
    if (!registry.OpenKey(key.path, true)) throw AppError(Format(texts::kRegistryCreateKeyFailed, {key.path}));
    for (const ScriptValue& value : key.values) {
      if (value.data) {
        registry.WriteData(value.name, *value.data);
      } else {
        registry.DeleteValue(value.name);
      }
    }
    registry.CloseKey();
  }
}

}  // namespace ombrisk
