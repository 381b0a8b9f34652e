#include "core/settings_file.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

#include "core/errors.h"
#include "core/line_scan.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

static_assert(std::endian::native == std::endian::little, "the file's UTF-16LE bytes are used as text in place");

std::u16string SettingsFileName(std::u16string_view executablePath) {
  const std::size_t slash = executablePath.find_last_of(u"\\/");
  const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
  std::size_t dot = executablePath.rfind(u'.');
  if (dot == std::u16string_view::npos || dot < nameStart) dot = executablePath.size();
  std::u16string name(executablePath.substr(0, dot));
  name += u".env";
  return name;
}

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseHex(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::u16string_view text) {
  if (text.starts_with(u"0x") || text.starts_with(u"0X")) return ParseHex(text.substr(2));
  if (text.starts_with(u'$') || text.starts_with(u'x') || text.starts_with(u'X')) return ParseHex(text.substr(1));
  bool negative = false;
  if (text.starts_with(u'+') || text.starts_with(u'-')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::vector<int> ParseWidthList(std::u16string_view text, std::size_t columns, int fallback) {
  std::vector<std::u16string> entries;
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && text[i] != u'\0' && IsBlankOrControl(text[i])) ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::u16string entry;
    if (text[i] == u'"') {
      // A quoted entry: "" stands for one quote; it ends at the closing quote.
      ++i;
      while (i < text.size()) {
        if (text[i] == u'"') {
          if (i + 1 < text.size() && text[i + 1] == u'"') {
            entry += u'"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        entry += text[i++];
      }
    } else {
      const std::size_t start = i;
      while (i < text.size() && !IsBlankOrControl(text[i]) && text[i] != u',') ++i;
      entry.assign(text.substr(start, i - start));
    }
    entries.push_back(std::move(entry));
    skipBlanks();
    if (i < text.size() && text[i] == u',') {
      if (i + 1 == text.size()) entries.emplace_back();
      ++i;
      skipBlanks();
    }
  }
  std::vector<int> widths(columns, fallback);
  for (std::size_t column = 0; column < columns && column < entries.size(); ++column) {
    widths[column] = ParseInteger(entries[column]).value_or(fallback);
  }
  return widths;
}

std::u16string WidthListText(std::span<const int> widths) {
  std::u16string text;
  for (std::size_t i = 0; i < widths.size(); ++i) {
    if (i > 0) text += u',';
    text += DecimalText(widths[i]);
  }
  return text;
}

namespace {

bool IsValidUtf8(std::span<const unsigned char> bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > bytes.size()) return false;
    if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// Whether a file is read as UTF-8: it starts with the UTF-8 mark, or it has
// no UTF-16 mark, no NUL byte and is valid UTF-8. Editors save settings files
// that way, and reading them as UTF-16 would lose every profile at the next
// write.
bool IsUtf8(std::span<const unsigned char> bytes) {
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return true;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return false;
  if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr) return false;
  return IsValidUtf8(bytes);
}

constexpr unsigned kLookupsBeforeIndex = 4;

}  // namespace

SettingsFile::SettingsFile(FileSystem& files, const TextComparer& comparer, std::u16string path)
    : files_(files),
      mapping_(comparer.Mapping()),
      path_(std::move(path)),
      sectionIndex_(0, NameHash{&mapping_}, NameEqual{&mapping_}) {
  if (path_.empty()) return;
  FileReadResult read = files_.ReadFile(path_);
  if (read.status == FileReadStatus::Missing) return;
  if (read.status == FileReadStatus::Failed) throw AppError(Format(texts::kSettingsReadFailed, {path_, read.error}));

  file_ = std::move(read.content);
  const std::span<const unsigned char> bytes = file_.Bytes();
  std::u16string_view text;
  if (IsUtf8(bytes)) {
    const bool marked = bytes.size() >= 3 && bytes[0] == 0xEF;
    decoded_ =
        FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).substr(marked ? 3 : 0));
    file_ = {};
    text = decoded_;
  } else {
    text = file_.Units();  // a trailing odd byte is ignored
    if (text.starts_with(u'\xFEFF')) text.remove_prefix(1);
  }
  Parse(text);
}

SettingsFile::~SettingsFile() = default;

void SettingsFile::Parse(std::u16string_view text) {
  // One vector for all lines, reserved at a size few files reach; memory
  // reserved and never touched costs nothing.
  read_.reserve(text.size() / 16 + 16);
  std::optional<std::size_t> section;  // the section opened last
  std::size_t start = 0;
  while (start < text.size()) {
    // One pass over the line: up to the first "=", then to its end (CR, LF,
    // or a NUL, which ends the text).
    std::size_t end = ScanLine(text, start, true);
    const std::size_t equals = end < text.size() && text[end] == u'=' ? end : std::u16string_view::npos;
    if (equals != std::u16string_view::npos) end = ScanLine(text, equals + 1, false);

    const std::u16string_view line = Trim(text.substr(start, end - start));
    if (!line.empty() && line.front() != u';') {
      if (line.front() == u'[' && line.back() == u']' && line.size() >= 2) {
        section = AppendSection(Trim(line.substr(1, line.size() - 2)));
        sections_[*section].first = read_.size();
      } else if (section && equals == std::u16string_view::npos) {
        read_.push_back(Line{line, {}, false});
        ++sections_[*section].count;
      } else if (section) {
        read_.push_back(
            Line{Trim(text.substr(start, equals - start)), Trim(text.substr(equals + 1, end - equals - 1)), true});
        ++sections_[*section].count;
      }
    }
    if (end >= text.size() || text[end] == u'\0') break;
    start = end + ((end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n') ? 2 : 1);
  }
}

std::size_t SettingsFile::AppendSection(std::u16string_view name) {
  const std::size_t index = sections_.size();
  Section section;
  section.name = name;
  sections_.push_back(std::move(section));
  sectionIndex_[name].push_back(index);
  return index;
}

std::span<const SettingsFile::Line> SettingsFile::LinesOf(const Section& section) const {
  if (section.detached) return section.own;
  return std::span<const Line>(read_).subspan(section.first, section.count);
}

std::span<SettingsFile::Line> SettingsFile::LinesOf(Section& section) {
  if (section.detached) return section.own;
  return std::span<Line>(read_).subspan(section.first, section.count);
}

const SettingsFile::Section* SettingsFile::FindSection(std::u16string_view name) const {
  auto it = sectionIndex_.find(name);
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second.front()];
}

SettingsFile::Section* SettingsFile::FindSection(std::u16string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::size_t> SettingsFile::FindKeyLine(const Section& section, std::u16string_view key) const {
  // A few look-ups scan the section (the list reads two keys of every
  // profile); a section read further gets an index of its keys.
  if (!section.keyIndex && ++section.lookups <= kLookupsBeforeIndex) {
    const std::span<const Line> lines = LinesOf(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const Line& line = lines[i];
      if (line.hasKey && mapping_.Equal(line.key, key)) return i;
    }
    return std::nullopt;
  }
  if (!section.keyIndex) {
    const std::span<const Line> lines = LinesOf(section);
    section.keyIndex = std::make_unique<KeyIndex>(lines.size(), NameHash{&mapping_}, NameEqual{&mapping_});
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].hasKey) section.keyIndex->emplace(lines[i].key, i);
    }
  }
  auto it = section.keyIndex->find(key);
  if (it == section.keyIndex->end()) return std::nullopt;
  return it->second;
}

const SettingsFile::Line* SettingsFile::FindKey(const Section& section, std::u16string_view key) const {
  const std::optional<std::size_t> index = FindKeyLine(section, key);
  return index ? &LinesOf(section)[*index] : nullptr;
}

std::u16string_view SettingsFile::Own(std::u16string_view text) { return owned_.emplace_back(text); }

std::u16string SettingsFile::ReadString(std::u16string_view section, std::u16string_view key,
                                        std::u16string_view defaultValue) const {
  const Section* found = FindSection(section);
  const Line* line = found ? FindKey(*found, key) : nullptr;
  return std::u16string(line ? line->value : defaultValue);
}

std::int32_t SettingsFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                       std::int32_t defaultValue) const {
  return ParseInteger(ReadString(section, key, u"")).value_or(defaultValue);
}

bool SettingsFile::ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool SettingsFile::ValueExists(std::u16string_view section, std::u16string_view key) const {
  const Section* found = FindSection(section);
  return found != nullptr && FindKey(*found, key) != nullptr;
}

bool SettingsFile::SectionExists(std::u16string_view section) const { return FindSection(section) != nullptr; }

std::vector<std::u16string> SettingsFile::ReadKeys(std::u16string_view section) const {
  std::vector<std::u16string> keys;
  if (const Section* found = FindSection(section)) {
    for (const Line& line : LinesOf(*found)) {
      if (line.hasKey) keys.emplace_back(line.key);
    }
  }
  return keys;
}

std::vector<std::u16string> SettingsFile::ReadSections() const {
  std::vector<std::u16string> names;
  for (const Section& section : sections_) {
    if (!section.erased) names.emplace_back(section.name);
  }
  return names;
}

void SettingsFile::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
  Section* found = FindSection(section);
  if (found == nullptr) found = &sections_[AppendSection(Own(section))];
  const Line line{Own(key), Own(value), true};
  if (const std::optional<std::size_t> index = FindKeyLine(*found, key)) {
    LinesOf(*found)[*index] = line;
    return;
  }
  if (!found->detached) {
    const std::span<const Line> lines = LinesOf(*found);
    found->own.assign(lines.begin(), lines.end());
    found->detached = true;
  }
  found->own.push_back(line);
  if (found->keyIndex) found->keyIndex->emplace(line.key, found->own.size() - 1);
}

void SettingsFile::WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value) {
  WriteString(section, key, DecimalText(value));
}

void SettingsFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

void SettingsFile::EraseSection(std::u16string_view section) {
  auto it = sectionIndex_.find(section);
  if (it == sectionIndex_.end()) return;
  Section& erased = sections_[it->second.front()];
  erased.erased = true;
  erased.own = {};
  erased.detached = true;
  erased.keyIndex.reset();
  it->second.erase(it->second.begin());
  if (it->second.empty()) sectionIndex_.erase(it);
}

void SettingsFile::CopySection(const SettingsFile& source, std::u16string_view section) {
  const Section* from = source.FindSection(section);
  if (from == nullptr) return;
  const std::size_t index = AppendSection(Own(from->name));
  std::vector<Line> lines;
  lines.reserve(from->count + from->own.size());
  for (const Line& line : source.LinesOf(*from)) lines.push_back(Line{Own(line.key), Own(line.value), line.hasKey});
  sections_[index].own = std::move(lines);
  sections_[index].detached = true;
}

std::string SettingsFile::FileContent() const {
  constexpr std::u16string_view kLineEnd = u"\r\n";
  std::size_t units = 1;  // the byte order mark
  for (const Section& section : sections_) {
    if (section.erased) continue;
    units += 1 + section.name.size() + 1 + 2 * kLineEnd.size();  // "[name]", its line end, the empty line
    for (const Line& line : LinesOf(section)) {
      units += line.key.size() + (line.hasKey ? 1 + line.value.size() : 0) + kLineEnd.size();
    }
  }
  // The UTF-16LE bytes are written straight into the result.
  std::string bytes(units * 2, '\0');
  char* out = bytes.data();
  const auto put = [&out](std::u16string_view text) {
    std::memcpy(out, text.data(), text.size() * 2);
    out += text.size() * 2;
  };
  put(u"\xFEFF");
  for (const Section& section : sections_) {
    if (section.erased) continue;
    put(u"[");
    put(section.name);
    put(u"]");
    put(kLineEnd);
    for (const Line& line : LinesOf(section)) {
      put(line.key);
      if (line.hasKey) {
        put(u"=");
        put(line.value);
      }
      put(kLineEnd);
    }
    put(kLineEnd);
  }
  return bytes;
}

void SettingsFile::LetGoOfFile() {
  if (!file_.IsView()) return;
  FileBytes own = FileBytes::ForSize(file_.byteCount);
  std::memcpy(own.Data(), file_.Begin(), file_.byteCount);
  // Every name and value that points into the view points to the same
  // place of the copy.
  const auto from = reinterpret_cast<std::uintptr_t>(file_.Begin());
  const std::uintptr_t to = from + file_.byteCount;
  const char16_t* copy = own.Begin();
  const auto move = [from, to, copy](std::u16string_view& text) {
    const auto at = reinterpret_cast<std::uintptr_t>(text.data());
    if (at >= from && at <= to) text = std::u16string_view(copy + (at - from) / sizeof(char16_t), text.size());
  };
  for (Line& line : read_) {
    move(line.key);
    move(line.value);
  }
  sectionIndex_.clear();
  for (std::size_t index = 0; index < sections_.size(); ++index) {
    Section& section = sections_[index];
    move(section.name);
    for (Line& line : section.own) {
      move(line.key);
      move(line.value);
    }
    section.keyIndex.reset();
    section.lookups = 0;
    if (!section.erased) sectionIndex_[section.name].push_back(index);
  }
  file_ = std::move(own);
}

void SettingsFile::UpdateFile() {
  std::string content = FileContent();
  LetGoOfFile();
  const std::u16string error = files_.WriteFile(path_, content);
  if (!error.empty()) throw AppError(Format(texts::kSettingsWriteFailed, {path_, error}));
}

}  // namespace ombrisk
