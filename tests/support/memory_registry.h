// A registry kept in memory, for the core's tests: the core's operations
// run on it without Windows. Paths resolve as the registry resolves them:
// repeated separators skipped, key and value names matched without regard
// to case over all of Unicode; values keep the order in which they were
// first set.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/registry.h"

namespace ombrisk {

class MemoryRegistryStore {
 public:
  struct Key {
    std::u16string name;
    std::map<std::u16string, Key> subKeys;  // by upper-cased name
    std::vector<std::pair<std::u16string, RegistryData>> values;
  };

  Key& Root(RegistryRoot root) { return root == RegistryRoot::CurrentUser ? currentUser_ : localMachine_; }

  Key* Find(RegistryRoot root, std::u16string_view path);
  Key& Create(RegistryRoot root, std::u16string_view path);
  bool Delete(RegistryRoot root, std::u16string_view path);

  // Test helpers: set a value of any type, creating the key; read one back.
  void SetValue(RegistryRoot root, std::u16string_view path, std::u16string_view name, RegistryData value);
  void SetString(RegistryRoot root, std::u16string_view path, std::u16string_view name, std::u16string_view text);
  std::optional<RegistryData> GetValue(RegistryRoot root, std::u16string_view path, std::u16string_view name);

  // Makes creating keys fail, as a key without write access would.
  bool refuseWrites = false;
  // A key that cannot be deleted, as one another program denies deletion.
  std::u16string undeletable;

 private:
  Key currentUser_;
  Key localMachine_;
};

class MemoryRegistry : public Registry {
 public:
  explicit MemoryRegistry(MemoryRegistryStore& store) : store_(store) {}

  RegistryRoot RootKey() const override { return root_; }
  void SetRootKey(RegistryRoot root) override;
  bool KeyExists(std::u16string_view path) override;
  bool OpenKeyReadOnly(std::u16string_view path) override;
  bool OpenKey(std::u16string_view path, bool create) override;
  void CreateKey(std::u16string_view path) override;
  bool DeleteKey(std::u16string_view path) override;
  bool ValueExists(std::u16string_view name) override;
  std::u16string ReadString(std::u16string_view name) override;
  void WriteString(std::u16string_view name, std::u16string_view text) override;
  std::vector<std::u16string> GetValueNames() override;
  std::vector<std::u16string> GetKeyNames() override;
  std::optional<RegistryData> ReadData(std::u16string_view name) override;
  std::vector<std::pair<std::u16string, RegistryData>> ReadValues() override;
  void WriteData(std::u16string_view name, const RegistryData& data) override;
  void DeleteValue(std::u16string_view name) override;
  void CloseKey() override;

  bool HasOpenKey() const { return openPath_.has_value(); }

 private:
  MemoryRegistryStore::Key* OpenKeyNode();
  // The open key for a write of the named value; AppError when it cannot be
  // written.
  MemoryRegistryStore::Key& WritableKey(std::u16string_view name);

  MemoryRegistryStore& store_;
  RegistryRoot root_ = RegistryRoot::CurrentUser;
  std::optional<std::u16string> openPath_;  // as passed; the key may vanish
  bool openWritable_ = false;
};

class MemoryRegistryFactory : public RegistryFactory {
 public:
  explicit MemoryRegistryFactory(MemoryRegistryStore& store) : store_(store) {}
  std::unique_ptr<Registry> Create() override { return std::make_unique<MemoryRegistry>(store_); }

 private:
  MemoryRegistryStore& store_;
};

}  // namespace ombrisk
