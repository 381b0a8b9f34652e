#include "core/profile_record.h"

#include <algorithm>

#include "core/text.h"

namespace ombrisk {

void ReadIdePackages(Registry& registry, std::u16string_view base, std::vector<PackageRow>& packages) {
  if (!registry.OpenKeyReadOnly(Concat({base, ide::kKnownPackages}))) return;
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

std::optional<bool> ReadIdeDesigner(Registry& registry, std::u16string_view base) {
  if (!registry.OpenKeyReadOnly(Concat({base, ide::kFormDesign}))) return std::nullopt;
  const bool embedded = registry.ReadString(ide::kEmbeddedDesigner) != u"False";
  registry.CloseKey();
  return embedded;
}

void ImportIdeSettings(Registry& registry, ProfileRecord& record) {
  record.libraries.clear();
  record.packages.clear();
  registry.SetRootKey(RegistryRoot::CurrentUser);
  const VersionCode code = record.version;
  if (!HasPackageOptions(code)) {
    record.delphiOnly = false;
    record.noCache = false;
    record.useAltReg = false;
    record.altReg.clear();
    record.embeddedDesigner = false;
  }
  const std::u16string base = IdeRegistryKey(code, record.useAltReg, Trim(record.altReg));

  if (HasPackageOptions(code)) {
    record.embeddedDesigner = ReadIdeDesigner(registry, base).value_or(record.embeddedDesigner);
    ReadIdePackages(registry, base, record.packages);
    if (registry.OpenKeyReadOnly(Concat({base, ide::kDisabledPackages}))) {
      DisablePackages(record.packages, registry.GetValueNames());
      registry.CloseKey();
    }
  }

  for (TPlatformType platform : VersionPlatforms(code)) {
    if (!registry.OpenKeyReadOnly(Concat({base, LibraryKeyName(platform)}))) continue;
    LibraryPage& page = record.libraries.emplace_back();
    page.platform = platform;
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      const LibrarySetting& setting = LibrarySettings[row];
      if (!IsDisabledInEditor(setting, code)) page.values[row] = registry.ReadString(RegistryValueName(setting, code));
    }
    registry.CloseKey();
  }
}

}  // namespace ombrisk
