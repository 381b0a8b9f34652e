#include "core/catalogue.h"

#include <algorithm>
#include <array>

namespace ombrisk {

namespace {

constexpr std::array<Release, 29> kReleases{{
    {2, u"Delphi 2", 0x1, u"Borland", u"2.0"},
    {3, u"Delphi 3 / 3.1", 0x2, u"Borland", u"3.0"},
    {4, u"Delphi 4", 0x4, u"Borland", u"4.0"},
    {5, u"Delphi 5", 0x8, u"Borland", u"5.0"},
    {6, u"Delphi 6", 0x10, u"Borland", u"6.0"},
    {7, u"Delphi 7 / 7.1", 0x20, u"Borland", u"7.0"},
    {8, u"Delphi 8", 0x40, u"Borland", u"2.0"},
    {2005, u"Delphi 2005", 0x80, u"Borland", u"3.0"},
    {2006, u"Developer Studio 2006 / Turbo Delphi ", 0x100, u"Borland", u"4.0"},
    {2007, u"Delphi 2007 / RAD Studio 2007", 0x200, u"Borland", u"5.0"},
    {2009, u"Delphi 2009 / RAD Studio 2009", 0x400, u"CodeGear", u"6.0"},
    {2010, u"Delphi 2010 / RAD Studio 2010", 0x800, u"CodeGear", u"7.0"},
    {2011, u"Delphi XE / RAD Studio XE", 0x1000, u"Embarcadero", u"8.0"},
    {2012, u"Delphi XE2 / RAD Studio XE2", 0x2000, u"Embarcadero", u"9.0"},
    {2013, u"Delphi XE3 / RAD Studio XE3", 0x4000, u"Embarcadero", u"10.0"},
    {2014, u"Delphi XE4 / RAD Studio XE4", 0x8000, u"Embarcadero", u"11.0"},
    {2015, u"Delphi XE5 / RAD Studio XE5", 0x10000, u"Embarcadero", u"12.0"},
    {2016, u"AppMethod ", 0x20000, u"Embarcadero", u"13.0"},
    {2017, u"Delphi XE6 / RAD Studio XE6", 0x40000, u"Embarcadero", u"14.0"},
    {2018, u"Delphi XE7 / RAD Studio XE7", 0x80000, u"Embarcadero", u"15.0"},
    {2019, u"Delphi XE8 / RAD Studio XE8", 0x100000, u"Embarcadero", u"16.0"},
    {2020, u"Delphi 10 Seattle / RAD Studio 10 Seattle", 0x200000, u"Embarcadero", u"17.0"},
    {2021, u"Delphi 10.1 Berlin / RAD Studio 10.1 Berlin", 0x400000, u"Embarcadero", u"18.0"},
    {2022, u"Delphi 10.2 Tokyo / RAD Studio 10.2 Tokyo", 0x800000, u"Embarcadero", u"19.0"},
    {2023, u"Delphi 10.3 Rio / RAD Studio 10.3 Rio", 0x1000000, u"Embarcadero", u"20.0"},
    {2024, u"Delphi 10.4 Sydney / RAD Studio 10.4 Sydney", 0x2000000, u"Embarcadero", u"21.0"},
    {2025, u"Delphi 11 Alexandria / RAD Studio 11 Alexandria", 0x4000000, u"Embarcadero", u"22.0"},
    {2026, u"Delphi 12 Athens / RAD Studio 12 Athens", 0x8000000, u"Embarcadero", u"23.0"},
    // The settings key numbers 24 to 36 were never used.
    {2027, u"Delphi 13 Florence / RAD Studio 13 Florence", 0x10000000, u"Embarcadero", u"37.0"},
}};

// Releases up to Delphi 7 keep one fixed key per machine; later ones a
// per-user key whose "BDS" part an alternate name may replace.
constexpr VersionCode kLastMachineWideRelease = 7;

}  // namespace

std::span<const Release> Releases() { return kReleases; }

const Release* FindRelease(VersionCode code) {
  auto it = std::find_if(kReleases.begin(), kReleases.end(), [code](const Release& r) { return r.code == code; });
  return it == kReleases.end() ? nullptr : &*it;
}

bool IsVersionInstalled(InstalledVersionSet installed, VersionCode code) {
  const Release* release = FindRelease(code);
  return release != nullptr && (installed & release->bit) != 0;
}

std::u16string IdeRegistryKey(VersionCode code, bool useAltReg, std::u16string_view altReg) {
  const Release* release = FindRelease(code);
  if (release == nullptr) return {};
  std::u16string_view base = u"BDS";
  if (code <= kLastMachineWideRelease) {
    base = u"DELPHI";
  } else if (useAltReg && !altReg.empty()) {
    base = altReg;
  }
  std::u16string key = u"\\Software\\";
  key += release->company;
  key += u'\\';
  key += base;
  key += u'\\';
  key += release->keyVersion;
  key += u'\\';
  return key;
}

int VersionImageIndex(VersionCode code) {
  if (code == 2) return 0;
  if (code == 3 || code == 4) return 1;
  if (code == 5) return 2;
  if (code == 6) return 3;
  if (code == 7) return 4;
  if (code >= 8 && code <= 2009) return 5;
  if ((code >= 2010 && code <= 2015) || code == 2017 || code == 2018 || code == 2019) return 6;
  if (code == 2016) return 7;
  if (code >= 2020 && code <= 2024) return 8;  // 10.x
  if (code == 2025) return 9;                  // 11
  if (code == 2026) return 10;                 // 12
  if (code == 2027) return 11;                 // 13
  return -1;
}

RegistryRoot InstallationRoot(VersionCode code) {
  return code <= kLastMachineWideRelease ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
}

std::u16string InstallationKey(VersionCode code) {
  std::u16string key = IdeRegistryKey(code, false, {});
  if (!key.empty()) key.pop_back();
  return key;
}

std::u16string_view ExecutableValueName(VersionCode code) {
  switch (code) {
    case 2:
      return u"Delphi 2.0";
    case 3:
      return u"Delphi 3";
    case 4:
      return u"Delphi 4";
    default:
      return u"APP";
  }
}

namespace {

// Closes the registry object's open key when the examination of a release
// ends, also when a registry error passes.
class OpenKeyGuard {
 public:
  explicit OpenKeyGuard(Registry& registry) : registry_(registry) {}
  ~OpenKeyGuard() { registry_.CloseKey(); }
  OpenKeyGuard(const OpenKeyGuard&) = delete;
  OpenKeyGuard& operator=(const OpenKeyGuard&) = delete;

 private:
  Registry& registry_;
};

}  // namespace

void DetectInstalledVersions(RegistryFactory& registries, FileSystem& files, InstalledVersionSet& installed) {
  installed = 0;
  std::unique_ptr<Registry> registry = registries.Create();
  for (auto release = kReleases.rbegin(); release != kReleases.rend(); ++release) {
    registry->SetRootKey(InstallationRoot(release->code));
    // A key exists when it opens for reading: one registry call, not two.
    if (!registry->OpenKeyReadOnly(InstallationKey(release->code))) continue;
    OpenKeyGuard guard(*registry);
    const std::u16string_view valueName = ExecutableValueName(release->code);
    if (registry->ValueExists(valueName) && files.FileExists(registry->ReadString(valueName))) {
      installed |= release->bit;
    }
  }
}

namespace {

// The installation's value of the name, unchecked; "" when the key or the
// value is missing or the code is no release.
std::u16string ReadInstallationValue(RegistryFactory& registries, VersionCode code, std::u16string_view name) {
  if (FindRelease(code) == nullptr) return {};
  std::unique_ptr<Registry> registry = registries.Create();
  registry->SetRootKey(InstallationRoot(code));
  const std::u16string key = InstallationKey(code);
  std::u16string value;
  if (registry->KeyExists(key)) {
    OpenKeyGuard guard(*registry);
    if (registry->OpenKeyReadOnly(key) && registry->ValueExists(name)) value = registry->ReadString(name);
  }
  return value;
}

}  // namespace

std::u16string GetIdeExePath(RegistryFactory& registries, VersionCode code) {
  return ReadInstallationValue(registries, code, ExecutableValueName(code));
}

std::u16string GetIde64ExePath(RegistryFactory& registries, VersionCode code) {
  return HasIde64(code) ? ReadInstallationValue(registries, code, ide::kApp64) : std::u16string();
}

bool Ide64Installed(RegistryFactory& registries, FileSystem& files, VersionCode code) {
  return files.FileExists(GetIde64ExePath(registries, code));
}

std::vector<VersionComboItem> VersionComboItems(InstalledVersionSet installed) {
  std::vector<VersionComboItem> items;
  for (auto release = kReleases.rbegin(); release != kReleases.rend(); ++release) {
    if ((installed & release->bit) != 0) items.push_back({release->label, release->code});
  }
  return items;
}

}  // namespace ombrisk
