// The registry operations the program relies on. An operation creates a
// registry object, uses it and frees it before it returns. Paths begin with
// "\" (absolute from the root); a trailing "\" is ignored.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ombrisk {

enum class RegistryRoot { CurrentUser, LocalMachine };

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
  virtual void CloseKey() = 0;
};

// Makes registry objects whose root is HKEY_CURRENT_USER.
class RegistryFactory {
 public:
  virtual ~RegistryFactory() = default;
  virtual std::unique_ptr<Registry> Create() = 0;
};

}  // namespace ombrisk
