#include "support/memory_registry.h"

#include <algorithm>

#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

std::vector<std::u16string_view> SplitPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

auto FindValue(MemoryRegistryStore::Key& key, std::u16string_view name) {
  const std::u16string upper = AsciiUpper(name);
  return std::find_if(key.values.begin(), key.values.end(),
                      [&](const auto& entry) { return AsciiUpper(entry.first) == upper; });
}

void PutValue(MemoryRegistryStore::Key& key, std::u16string_view name, RegistryData value) {
  auto it = FindValue(key, name);
  if (it != key.values.end()) {
    it->second = std::move(value);
  } else {
    key.values.emplace_back(std::u16string(name), std::move(value));
  }
}

}  // namespace

MemoryRegistryStore::Key* MemoryRegistryStore::Find(RegistryRoot root, std::u16string_view path) {
  Key* key = &Root(root);
  for (std::u16string_view part : SplitPath(path)) {
    auto it = key->subKeys.find(AsciiUpper(part));
    if (it == key->subKeys.end()) return nullptr;
    key = &it->second;
  }
  return key;
}

MemoryRegistryStore::Key& MemoryRegistryStore::Create(RegistryRoot root, std::u16string_view path) {
  Key* key = &Root(root);
  for (std::u16string_view part : SplitPath(path)) {
    Key& child = key->subKeys[AsciiUpper(part)];
    if (child.name.empty()) child.name = std::u16string(part);
    key = &child;
  }
  return *key;
}

bool MemoryRegistryStore::Delete(RegistryRoot root, std::u16string_view path) {
  auto parts = SplitPath(path);
  if (parts.empty()) return false;
  const std::u16string_view last = parts.back();
  parts.pop_back();
  Key* parent = &Root(root);
  for (std::u16string_view part : parts) {
    auto it = parent->subKeys.find(AsciiUpper(part));
    if (it == parent->subKeys.end()) return false;
    parent = &it->second;
  }
  return parent->subKeys.erase(AsciiUpper(last)) > 0;
}

void MemoryRegistryStore::SetValue(RegistryRoot root, std::u16string_view path, std::u16string_view name,
                                   RegistryData value) {
  PutValue(Create(root, path), name, std::move(value));
}

void MemoryRegistryStore::SetString(RegistryRoot root, std::u16string_view path, std::u16string_view name,
                                    std::u16string_view text) {
  SetValue(root, path, name, StringData(text));
}

std::optional<RegistryData> MemoryRegistryStore::GetValue(RegistryRoot root, std::u16string_view path,
                                                          std::u16string_view name) {
  Key* key = Find(root, path);
  if (key == nullptr) return std::nullopt;
  auto it = FindValue(*key, name);
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

void MemoryRegistry::SetRootKey(RegistryRoot root) {
  if (root != root_) {
    CloseKey();
    root_ = root;
  }
}

bool MemoryRegistry::KeyExists(std::u16string_view path) { return store_.Find(root_, path) != nullptr; }

bool MemoryRegistry::OpenKeyReadOnly(std::u16string_view path) {
  if (store_.Find(root_, path) == nullptr) return false;
  openPath_ = std::u16string(path);
  openWritable_ = false;
  return true;
}

bool MemoryRegistry::OpenKey(std::u16string_view path, bool create) {
  if (store_.Find(root_, path) == nullptr) {
    if (!create || store_.refuseWrites) return false;
    store_.Create(root_, path);
  }
  openPath_ = std::u16string(path);
  openWritable_ = true;
  return true;
}

void MemoryRegistry::CreateKey(std::u16string_view path) {
  if (store_.Find(root_, path) != nullptr) return;
  if (store_.refuseWrites) throw AppError(Format(texts::kRegistryCreateKeyFailed, {path}));
  store_.Create(root_, path);
}

bool MemoryRegistry::DeleteKey(std::u16string_view path) {
  if (store_.refuseWrites) return false;
  return store_.Delete(root_, path);
}

MemoryRegistryStore::Key* MemoryRegistry::OpenKeyNode() { return openPath_ ? store_.Find(root_, *openPath_) : nullptr; }

bool MemoryRegistry::ValueExists(std::u16string_view name) {
  MemoryRegistryStore::Key* key = OpenKeyNode();
  return key != nullptr && FindValue(*key, name) != key->values.end();
}

std::u16string MemoryRegistry::ReadString(std::u16string_view name) {
  MemoryRegistryStore::Key* key = OpenKeyNode();
  if (key == nullptr) return {};
  auto it = FindValue(*key, name);
  if (it == key->values.end()) return {};
  const RegistryData& value = it->second;
  if (value.type != registry_type::kString && value.type != registry_type::kExpandString) {
    throw AppError(Format(texts::kRegistryInvalidType, {name}));
  }
  return DataText(value);
}

void MemoryRegistry::WriteString(std::u16string_view name, std::u16string_view text) {
  WriteData(name, StringData(text));
}

MemoryRegistryStore::Key& MemoryRegistry::WritableKey(std::u16string_view name) {
  MemoryRegistryStore::Key* key = OpenKeyNode();
  if (key == nullptr || !openWritable_ || store_.refuseWrites) {
    throw AppError(Format(texts::kRegistryWriteFailed, {name}));
  }
  return *key;
}

void MemoryRegistry::WriteData(std::u16string_view name, const RegistryData& data) {
  PutValue(WritableKey(name), name, data);
}

void MemoryRegistry::DeleteValue(std::u16string_view name) {
  MemoryRegistryStore::Key& key = WritableKey(name);
  auto it = FindValue(key, name);
  if (it != key.values.end()) key.values.erase(it);
}

std::optional<RegistryData> MemoryRegistry::ReadData(std::u16string_view name) {
  MemoryRegistryStore::Key* key = OpenKeyNode();
  if (key == nullptr) return std::nullopt;
  auto it = FindValue(*key, name);
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

std::vector<std::u16string> MemoryRegistry::GetKeyNames() {
  std::vector<std::u16string> names;
  if (MemoryRegistryStore::Key* key = OpenKeyNode()) {
    for (const auto& entry : key->subKeys) names.push_back(entry.second.name);
  }
  return names;
}

std::vector<std::u16string> MemoryRegistry::GetValueNames() {
  std::vector<std::u16string> names;
  if (MemoryRegistryStore::Key* key = OpenKeyNode()) {
    for (const auto& entry : key->values) names.push_back(entry.first);
  }
  return names;
}

std::vector<std::pair<std::u16string, RegistryData>> MemoryRegistry::ReadValues() {
  if (MemoryRegistryStore::Key* key = OpenKeyNode()) return key->values;
  return {};
}

void MemoryRegistry::CloseKey() {
  openPath_.reset();
  openWritable_ = false;
}

}  // namespace ombrisk
