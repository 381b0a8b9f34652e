// Test doubles for the core's interfaces.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/file_system.h"
#include "core/text.h"
#include "support/memory_registry.h"

namespace ombrisk::testing {

// Files that exist are the ones listed, with the content they hold. A
// failure set for a path is returned instead of reading or writing it. A
// file is read as a view, as on Windows, and cannot be written while a view
// of it lives.
class FakeFileSystem : public FileSystem {
 public:
  bool FileExists(std::u16string_view path) override {
    return files.count(std::u16string(path)) > 0 || contents.count(std::u16string(path)) > 0;
  }
  FileReadResult ReadFile(std::u16string_view path) override {
    const std::u16string name(path);
    FileReadResult result;
    if (auto failure = readFailures.find(name); failure != readFailures.end()) {
      result.status = FileReadStatus::Failed;
      result.error = failure->second;
      return result;
    }
    auto it = contents.find(name);
    if (it == contents.end()) return result;
    result.status = FileReadStatus::Read;
    const std::size_t units = it->second.size() / 2 + 1;
    auto* copy = new char16_t[units];
    std::memcpy(copy, it->second.data(), it->second.size());
    // What is read from a view after it is gone reads as garbage.
    std::shared_ptr<const char16_t> view(copy, [units](const char16_t* text) {
      std::fill_n(const_cast<char16_t*>(text), units, u'#');
      delete[] text;
    });
    views[name] = view;
    result.content = FileBytes::ForView(std::move(view), it->second.size());
    return result;
  }
  std::u16string WriteFile(std::u16string_view path, std::string_view bytes) override {
    const std::u16string name(path);
    if (auto failure = writeFailures.find(name); failure != writeFailures.end()) return failure->second;
    if (!views[name].expired()) return u"held by a view";
    contents[name] = std::string(bytes);
    return {};
  }

  std::u16string ShortPath(std::u16string_view path) override {
    auto it = shortPaths.find(std::u16string(path));
    return it == shortPaths.end() ? u"" : it->second;
  }

  std::u16string CreateFolder(std::u16string_view path) override {
    if (auto failure = writeFailures.find(std::u16string(path)); failure != writeFailures.end()) return failure->second;
    folders.insert(std::u16string(path));
    return {};
  }
  std::vector<std::u16string> ListFiles(std::u16string_view folder) override {
    std::vector<std::u16string> names;
    const std::u16string prefix = std::u16string(folder) + u"\\";
    for (const auto& [path, bytes] : contents) {
      if (path.starts_with(prefix) && path.find(u'\\', prefix.size()) == std::u16string::npos) {
        names.push_back(path.substr(prefix.size()));
      }
    }
    return names;
  }
  bool RemoveFile(std::u16string_view path) override { return contents.erase(std::u16string(path)) > 0; }

  std::set<std::u16string> files;
  std::set<std::u16string> folders;
  std::map<std::u16string, std::string> contents;
  std::map<std::u16string, std::u16string> shortPaths;
  std::map<std::u16string, std::u16string> readFailures;
  std::map<std::u16string, std::u16string> writeFailures;
  std::map<std::u16string, std::weak_ptr<const char16_t>> views;
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

// Every key below a root as "path" -> "", and every value as
// "path|name" -> its text, paths joined by "\" from the root on; with
// exact, the value's type and bytes instead.
inline std::map<std::u16string, std::u16string> DumpRegistry(MemoryRegistryStore& store, RegistryRoot root,
                                                             bool exact = false) {
  std::map<std::u16string, std::u16string> dump;
  const auto walk = [&dump, exact](const auto& self, const MemoryRegistryStore::Key& key,
                                   const std::u16string& path) -> void {
    if (!path.empty()) dump[path] = u"";
    for (const auto& [name, value] : key.values) {
      std::u16string& text = dump[path + u"|" + name];
      if (!exact) {
        text = DataText(value);
        continue;
      }
      text = DecimalText(value.type) + u":";
      for (unsigned char byte : value.bytes) text += {u"0123456789abcdef"[byte >> 4], u"0123456789abcdef"[byte & 15]};
    }
    for (const auto& [upper, child] : key.subKeys)
      self(self, child, path.empty() ? child.name : path + u"\\" + child.name);
  };
  walk(walk, store.Root(root), u"");
  return dump;
}

class LoggingRegistryFactory : public RegistryFactory {
 public:
  explicit LoggingRegistryFactory(MemoryRegistryStore& store) : store_(store) {}
  std::unique_ptr<Registry> Create() override { return std::make_unique<LoggingRegistry>(store_, log); }
  std::vector<std::string> log;

 private:
  MemoryRegistryStore& store_;
};

}  // namespace ombrisk::testing
