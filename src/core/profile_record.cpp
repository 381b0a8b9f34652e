#include "core/profile_record.h"

#include <algorithm>

#include "core/profile_list_settings.h"
#include "core/profile_store.h"
#include "core/text.h"

namespace ombrisk {

void ReadIdePackages(Registry& registry, std::u16string_view base, bool ide64, std::vector<PackageRow>& packages) {
  if (!registry.OpenKeyReadOnly(Concat({base, ide::KnownPackages(ide64)}))) return;
  for (std::u16string& path : registry.GetValueNames()) {
    std::u16string name = registry.ReadString(path);
    packages.push_back(PackageRow{std::move(name), std::move(path), true});
  }
  registry.CloseKey();
}

void DisablePackages(std::vector<PackageRow>& packages, const std::vector<std::u16string>& paths) {
  std::vector<std::u16string> keys;
  keys.reserve(paths.size());
  for (const std::u16string& path : paths) keys.push_back(AsciiUpper(path));
  for (PackageRow& row : packages) {
    if (std::find(keys.begin(), keys.end(), AsciiUpper(row.path)) != keys.end()) row.enabled = false;
  }
}

std::u16string_view IdeEnvironmentKey(Registry& registry, std::u16string_view base, bool ide64) {
  if (ide64 && registry.KeyExists(Concat({base, ide::kEnvironmentVariables64}))) return ide::kEnvironmentVariables64;
  return ide::kEnvironmentVariables;
}

std::vector<EnvironmentVariable> ReadIdeEnvironment(Registry& registry, std::u16string_view base, bool ide64) {
  std::vector<EnvironmentVariable> variables;
  if (!registry.OpenKeyReadOnly(Concat({base, IdeEnvironmentKey(registry, base, ide64)}))) return variables;
  for (auto& [name, data] : registry.ReadValues()) {
    const bool text = data.type == registry_type::kString || data.type == registry_type::kExpandString;
    // The page shows a variable a line: a line break in its value becomes a
    // blank, as the profile will store it.
    if (text && !name.empty()) variables.push_back(EnvironmentVariable{std::move(name), OneLine(DataText(data))});
  }
  registry.CloseKey();
  return variables;
}

std::optional<bool> ReadIdeDesigner(Registry& registry, std::u16string_view base) {
  if (!registry.OpenKeyReadOnly(Concat({base, ide::kFormDesign}))) return std::nullopt;
  const bool embedded = registry.ReadString(ide::kEmbeddedDesigner) != u"False";
  registry.CloseKey();
  return embedded;
}

namespace {

// The IDE's key the import reads: the alternate one when chosen.
std::u16string ImportedKey(const ProfileRecord& record) {
  return IdeRegistryKey(record.version, record.useAltReg, record.altReg);
}

void ImportList(Registry& registry, const ProfileKey& key, ProfileRecord& record) {
  registry.SetRootKey(RegistryRoot::CurrentUser);
  ListSettingOf(key)->import(registry, ImportedKey(record), record);
}

}  // namespace

void ImportIdePackages(Registry& registry, ProfileRecord& record) {
  ImportList(registry, profile_keys::kPackages, record);
}

void ImportIdeEnvironment(Registry& registry, ProfileRecord& record) {
  ImportList(registry, profile_keys::kEnvironment, record);
}

void ImportIdeSettings(Registry& registry, ProfileRecord& record) {
  registry.SetRootKey(RegistryRoot::CurrentUser);
  // The settings the release's editor does not offer are cleared.
  for (const ProfileKey* key : ProfileKeys()) {
    if (IsOffered(*key, record)) continue;
    if (key->flag != nullptr) record.*key->flag = false;
    if (key->text != nullptr) (record.*key->text).clear();
  }
  const std::u16string base = ImportedKey(record);
  for (const ListSetting& list : ListSettings()) list.import(registry, base, record);
}

}  // namespace ombrisk
