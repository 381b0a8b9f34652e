#include "core/profile_record.h"

#include "core/profile_store.h"
#include "core/text.h"

namespace ombrisk {

namespace {

// The IDE's packages in the registry's enumeration order, all enabled.
void ReadKnownPackages(Registry& registry, std::u16string_view base, std::vector<PackageRow>& packages) {
  if (!registry.OpenKeyReadOnly(Concat({base, u"Known Packages"}))) return;
  for (std::u16string& path : registry.GetValueNames()) {
    std::u16string name = registry.ReadString(path);
    packages.push_back(PackageRow{std::move(name), std::move(path), true});
  }
  registry.CloseKey();
}

// Unchecks each row whose path is one of the given paths, the letters a to z
// matching their upper case.
void DisablePackages(std::vector<PackageRow>& packages, const std::vector<std::u16string>& paths) {
  std::vector<std::u16string> keys;
  keys.reserve(paths.size());
  for (const std::u16string& path : paths) keys.push_back(AsciiUpper(path));
  for (PackageRow& row : packages) {
    const std::u16string key = AsciiUpper(row.path);
    for (const std::u16string& disabled : keys) {
      if (disabled == key) {
        row.enabled = false;
        break;
      }
    }
  }
}

bool ReadsDesignerAsEmbedded(Registry& registry) { return registry.ReadString(u"Embedded Designer") != u"False"; }

}  // namespace

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
    if (registry.OpenKeyReadOnly(Concat({base, u"Form Design"}))) {
      record.embeddedDesigner = ReadsDesignerAsEmbedded(registry);
      registry.CloseKey();
    }
    ReadKnownPackages(registry, base, record.packages);
    if (registry.OpenKeyReadOnly(Concat({base, u"Disabled Packages"}))) {
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

void LoadProfile(const SettingsFile& file, Registry& registry, std::u16string_view name, ProfileRecord& record) {
  const std::u16string section = ProfileSection(name);
  record.description = file.ReadString(section, u"Description", u"");
  record.delphiOnly = file.ReadBool(section, u"DelphiOnly", false);
  record.noSplash = file.ReadBool(section, u"NoSplash", false);
  record.noProject = file.ReadBool(section, u"NoProject", false);
  record.noCache = file.ReadBool(section, u"NoCache", false);
  record.useAltReg = file.ReadBool(section, u"UseAltReg", false);
  record.runAsAdmin = file.ReadBool(section, u"RunAsAdmin", false);
  record.altReg = file.ReadString(section, u"AltReg", u"");
  record.parameters = file.ReadString(section, u"Parameters", u"");

  const VersionCode code = record.version;
  if (HasPackageOptions(code)) {
    registry.SetRootKey(RegistryRoot::CurrentUser);
    const std::u16string base = IdeRegistryKey(code, record.useAltReg, record.altReg);
    if (file.ValueExists(section, u"Embedded_Designer")) {
      record.embeddedDesigner = file.ReadString(section, u"Embedded_Designer", u"True") == u"True";
    } else {
      record.embeddedDesigner = true;
      if (registry.OpenKeyReadOnly(Concat({base, u"Form Design"}))) {
        record.embeddedDesigner = ReadsDesignerAsEmbedded(registry);
        registry.CloseKey();
      }
    }

    record.packages.clear();
    ReadKnownPackages(registry, base, record.packages);
    std::vector<std::u16string> disabled;
    for (DisabledPackage& package : DisabledPackages(file, section)) {
      if (!Trim(package.path).empty()) disabled.push_back(std::move(package.path));
    }
    DisablePackages(record.packages, disabled);
  }

  for (LibraryPage& page : record.libraries) {
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      page.values[row] = file.ReadString(section, SettingsKey(page.platform, LibrarySettings[row]), u"");
    }
  }
  record.preProcess = file.ReadString(section, u"PreProcess", u"");
}

void SaveProfile(SettingsFile& file, std::u16string_view name, std::optional<std::u16string_view> replacedName,
                 const ProfileRecord& record) {
  const std::u16string section = ProfileSection(name);
  file.EraseSection(section);
  if (replacedName) file.EraseSection(ProfileSection(*replacedName));

  file.WriteInteger(section, u"Version", record.version);
  file.WriteString(section, u"Description", record.description);
  file.WriteBool(section, u"DelphiOnly", record.delphiOnly);
  file.WriteBool(section, u"NoSplash", record.noSplash);
  file.WriteBool(section, u"NoProject", record.noProject);
  file.WriteBool(section, u"NoCache", record.noCache);
  file.WriteBool(section, u"UseAltReg", record.useAltReg);
  file.WriteBool(section, u"RunAsAdmin", record.runAsAdmin);
  file.WriteString(section, u"AltReg", record.altReg);
  file.WriteString(section, u"Parameters", record.parameters);
  if (HasPackageOptions(record.version)) {
    file.WriteString(section, u"Embedded_Designer", record.embeddedDesigner ? u"True" : u"False");
    std::int32_t count = 0;
    for (const PackageRow& row : record.packages) {
      if (row.enabled) continue;
      const std::u16string number = DecimalText(++count);
      file.WriteString(section, Concat({u"PKG_PATH", number}), row.path);
      file.WriteString(section, Concat({u"PKG_NAME", number}), row.name);
    }
    file.WriteInteger(section, u"PKG_Count", count);
  }
  for (const LibraryPage& page : record.libraries) {
    for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
      file.WriteString(section, SettingsKey(page.platform, LibrarySettings[row]), page.values[row]);
    }
  }
  file.WriteString(section, u"PreProcess", record.preProcess);
}

}  // namespace ombrisk
