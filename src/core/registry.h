// The registry operations the program relies on. An operation creates a
// registry object, uses it and frees it before it returns. Paths begin with
// "\" (absolute from the root); a trailing "\" is ignored.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrisk {

enum class RegistryRoot { CurrentUser, LocalMachine };

// A value as the registry stores it: its type, numbered as Windows numbers
// them, and its bytes.
struct RegistryData {
  std::uint32_t type = 0;
  std::string bytes;
  bool operator==(const RegistryData&) const = default;
};
namespace registry_type {
inline constexpr std::uint32_t kString = 1;        // REG_SZ
inline constexpr std::uint32_t kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kBinary = 3;        // REG_BINARY
inline constexpr std::uint32_t kDWord = 4;         // REG_DWORD
}  // namespace registry_type

// The text as UTF-16 in little-endian order.
inline std::string LittleEndianBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}
// String data: the text and a terminating NUL, as UTF-16 in little-endian
// order.
inline RegistryData StringData(std::u16string_view text, std::uint32_t type = registry_type::kString) {
  RegistryData data{type, LittleEndianBytes(text)};
  data.bytes.append(2, '\0');
  return data;
}
// The text of string data, up to its first NUL.
inline std::u16string DataText(const RegistryData& data) {
  std::u16string text;
  for (std::size_t at = 0; at + 1 < data.bytes.size(); at += 2) {
    const auto c = static_cast<char16_t>(static_cast<unsigned char>(data.bytes[at]) |
                                         static_cast<unsigned char>(data.bytes[at + 1]) << 8);
    if (c == u'\0') break;
    text += c;
  }
  return text;
}

class Registry {
 public:
  virtual ~Registry() = default;

  virtual RegistryRoot RootKey() const = 0;
  // Switches the root; closes the open key when the root changes.
  virtual void SetRootKey(RegistryRoot root) = 0;

  // True when the key can be opened for reading; the open key is unchanged.
  virtual bool KeyExists(std::u16string_view path) = 0;
  // On success the key becomes the open key; on failure the open key stays.
  virtual bool OpenKeyReadOnly(std::u16string_view path) = 0;
  // Opens for writing, creating missing keys along the path when asked to.
  virtual bool OpenKey(std::u16string_view path, bool create) = 0;
  // Creates the key and its missing parents; throws AppError on failure.
  virtual void CreateKey(std::u16string_view path) = 0;
  // Deletes the key with all its sub keys and values; false when missing.
  // A key that is there and cannot be deleted throws AppError naming it
  // (KeyDeleteFailedMessage of key_identity.h).
  virtual bool DeleteKey(std::u16string_view path) = 0;

  // True when the open key has a value of that name, of any type.
  virtual bool ValueExists(std::u16string_view name) = 0;
  // The stored text, not expanded, cut at its first NUL; "" when the value is
  // missing or no key is open. Throws AppError for a value that is no string
  // or cannot be read.
  virtual std::u16string ReadString(std::u16string_view name) = 0;
  // Stores a string value in the open key; throws AppError on failure.
  virtual void WriteString(std::u16string_view name, std::u16string_view text) = 0;
  // The open key's value names in enumeration order; empty with no key open.
  virtual std::vector<std::u16string> GetValueNames() = 0;
  // The open key's sub keys' names in enumeration order; empty with no key
  // open.
  virtual std::vector<std::u16string> GetKeyNames() = 0;

  // A value of the open key as stored, of any type; nothing when it or the
  // open key is missing. Throws AppError when it cannot be read.
  virtual std::optional<RegistryData> ReadData(std::u16string_view name) = 0;
  // Every value of the open key as stored, in enumeration order, each read
  // with its name at once; none with no key open. Throws AppError when one
  // cannot be read.
  virtual std::vector<std::pair<std::u16string, RegistryData>> ReadValues() = 0;
  // Stores the value as given in the open key; throws AppError on failure.
  virtual void WriteData(std::u16string_view name, const RegistryData& data) = 0;
  // Removes the value from the open key, if it is there; throws AppError
  // when it is and cannot be removed.
  virtual void DeleteValue(std::u16string_view name) = 0;
  virtual void CloseKey() = 0;
};

// Makes registry objects whose root is HKEY_CURRENT_USER.
class RegistryFactory {
 public:
  virtual ~RegistryFactory() = default;
  virtual std::unique_ptr<Registry> Create() = 0;
};

}  // namespace ombrisk
