// SettingsFile: the in-memory copy of the settings file, a UTF-16 INI file,
// with its read and write operations. The only way the file is read or
// written. Reading follows fixed rules for any file, hand-edited ones
// included; UpdateFile writes the whole copy back byte for byte.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/file_system.h"
#include "core/text_comparer.h"

namespace ombrisk {

// The settings file of an executable: its path with the extension (from the
// last "." of the file name on) replaced by ".env", or ".env" appended.
std::u16string SettingsFileName(std::u16string_view executablePath);

// The integer rule: optional sign and decimal digits within the 32-bit
// range, or "$", "x", "X", "0x" or "0X" and one to eight hexadecimal digits
// taken as a 32-bit pattern; nothing may follow.
std::optional<std::int32_t> ParseInteger(std::u16string_view text);

// Column widths read as comma text: entries separated by "," or by runs of
// blanks and controls, double quotes around an entry that holds either, a
// final "," adding an empty entry. Each column takes its entry as an integer,
// or the fallback where the entry is missing or no integer.
std::vector<int> ParseWidthList(std::u16string_view text, std::size_t columns, int fallback);
// Widths in decimal joined by ",".
std::u16string WidthListText(std::span<const int> widths);

class SettingsFile {
 public:
  // Reads the file at the path. A missing file, or an empty path, gives an
  // empty copy; a file that exists but cannot be read throws AppError.
  SettingsFile(FileSystem& files, const TextComparer& comparer, std::u16string path);
  ~SettingsFile();
  // Views into the copy's own text: neither copied nor moved.
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key, std::int32_t defaultValue) const;
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;
  bool ValueExists(std::u16string_view section, std::u16string_view key) const;
  bool SectionExists(std::u16string_view section) const;
  // Every section name in order, duplicates included.
  std::vector<std::u16string> ReadSections() const;
  // The key names of the section in order, duplicates included; none for a
  // missing section.
  std::vector<std::u16string> ReadKeys(std::u16string_view section) const;

  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);
  // Removes the first section of that name with all its lines.
  void EraseSection(std::u16string_view section);
  // Appends a section with the name and every line of the other copy's
  // first section of that name, as they stand; nothing where it has none.
  void CopySection(const SettingsFile& source, std::u16string_view section);

  // Writes the whole copy to the path; throws AppError when it cannot.
  void UpdateFile();
  // The bytes UpdateFile writes.
  std::string FileContent() const;

 private:
  struct Line {
    std::u16string_view key;  // the whole line when it holds no "="
    std::u16string_view value;
    bool hasKey;
  };
  struct NameHash {
    const CaseMapping* mapping;
    std::size_t operator()(std::u16string_view name) const { return mapping->Hash(name); }
  };
  struct NameEqual {
    const CaseMapping* mapping;
    bool operator()(std::u16string_view a, std::u16string_view b) const { return mapping->Equal(a, b); }
  };
  using KeyIndex = std::unordered_map<std::u16string_view, std::size_t, NameHash, NameEqual>;
  struct Section {
    std::u16string_view name;
    // The lines as read are a run of read_; a section that gains a line gets
    // its own copy.
    std::size_t first = 0;
    std::size_t count = 0;
    std::vector<Line> own;
    bool detached = false;
    bool erased = false;
    mutable unsigned lookups = 0;
    mutable std::unique_ptr<KeyIndex> keyIndex;
  };

  void Parse(std::u16string_view text);
  // Moves what the copy read from a view of the file into memory of its
  // own and lets go of the file, which may then be replaced.
  void LetGoOfFile();
  std::span<const Line> LinesOf(const Section& section) const;
  std::span<Line> LinesOf(Section& section);
  std::size_t AppendSection(std::u16string_view name);
  const Section* FindSection(std::u16string_view name) const;
  Section* FindSection(std::u16string_view name);
  const Line* FindKey(const Section& section, std::u16string_view key) const;
  std::optional<std::size_t> FindKeyLine(const Section& section, std::u16string_view key) const;
  std::u16string_view Own(std::u16string_view text);

  FileSystem& files_;
  const CaseMapping& mapping_;
  std::u16string path_;
  FileBytes file_;                    // the file as read (or a view of it); names and values point into it
  std::u16string decoded_;            // the text of a UTF-8 file
  std::deque<std::u16string> owned_;  // text written since, at stable addresses
  std::vector<Line> read_;            // every line as read, section after section
  std::vector<Section> sections_;     // in file order, erased ones kept as gaps
  // Live sections by name, first occurrence first.
  std::unordered_map<std::u16string_view, std::vector<std::size_t>, NameHash, NameEqual> sectionIndex_;
};

}  // namespace ombrisk
