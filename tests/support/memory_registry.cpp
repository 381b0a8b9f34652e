#include "support/memory_registry.h"

#include <algorithm>

#include "core/errors.h"
#include "core/key_identity.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

// Names are compared as the registry compares them: case ignored over all
// of Unicode, by the platform's upper-case mapping.
const CaseMapping& Names() {
  static const testing::PlatformTextComparer comparer;
  return comparer.Mapping();
}

std::u16string Upper(std::u16string_view name) { return Names().UpperCase(name); }

// The levels of a path, repeated separators skipped as the registry skips
// them.
std::vector<std::u16string_view> SplitPath(std::u16string_view path) { return KeyLevels(path); }

auto FindValue(MemoryRegistryStore::Key& key, std::u16string_view name) {
  return std::find_if(key.values.begin(), key.values.end(),
                      [&](const auto& entry) { return Names().Equal(entry.first, name); });
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
    auto it = key->subKeys.find(Upper(part));
    if (it == key->subKeys.end()) return nullptr;
    key = &it->second;
  }
  return key;
}

MemoryRegistryStore::Key& MemoryRegistryStore::Create(RegistryRoot root, std::u16string_view path) {
  Key* key = &Root(root);
  for (std::u16string_view part : SplitPath(path)) {
    Key& child = key->subKeys[Upper(part)];
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
    auto it = parent->subKeys.find(Upper(part));
    if (it == parent->subKeys.end()) return false;
    parent = &it->second;
  }
  return parent->subKeys.erase(Upper(last)) > 0;
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
  if (store_.Find(root_, path) == nullptr) return false;
  if (store_.refuseWrites ||
      (!store_.undeletable.empty() && KeyIdentity(store_.undeletable, Names()) == KeyIdentity(path, Names()))) {
    throw AppError(KeyDeleteFailedMessage(path, u"アクセスが拒否されました"));
  }
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
