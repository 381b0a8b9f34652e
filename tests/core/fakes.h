// Test doubles for the core's interfaces.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/memory_registry.h"
#include "core/text.h"

namespace ombrisk::testing {

// Files that exist are the ones listed.
class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(std::u16string_view path) override { return files.count(std::u16string(path)) > 0; }
  std::set<std::u16string> files;
};

// A memory registry that writes down the calls that matter for the order and
// balance of key opening.
class LoggingRegistry : public MemoryRegistry {
 public:
  LoggingRegistry(MemoryRegistryStore& store, std::vector<std::string>& log) : MemoryRegistry(store), log_(log) {}
  ~LoggingRegistry() override { log_.push_back("free"); }

  void SetRootKey(RegistryRoot root) override {
    if (root != RootKey()) log_.push_back(root == RegistryRoot::CurrentUser ? "root HKCU" : "root HKLM");
    MemoryRegistry::SetRootKey(root);
  }
  bool KeyExists(std::u16string_view path) override {
    log_.push_back("exists " + ToUtf8(path));
    return MemoryRegistry::KeyExists(path);
  }
  bool OpenKeyReadOnly(std::u16string_view path) override {
    log_.push_back("open " + ToUtf8(path));
    return MemoryRegistry::OpenKeyReadOnly(path);
  }
  void CloseKey() override {
    if (HasOpenKey()) log_.push_back("close");
    MemoryRegistry::CloseKey();
  }

 private:
  std::vector<std::string>& log_;
};

class LoggingRegistryFactory : public RegistryFactory {
 public:
  explicit LoggingRegistryFactory(MemoryRegistryStore& store) : store_(store) {}
  std::unique_ptr<Registry> Create() override { return std::make_unique<LoggingRegistry>(store_, log); }
  std::vector<std::string> log;

 private:
  MemoryRegistryStore& store_;
};

}  // namespace ombrisk::testing
