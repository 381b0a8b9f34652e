#include "core/catalogue.h"

#include <algorithm>
#include <array>

#include "core/text.h"

namespace ombrisk {

namespace {

using enum TPlatformType;

constexpr std::u16string_view kBorland = u"Borland";
constexpr std::u16string_view kCodeGear = u"CodeGear";
constexpr std::u16string_view kEmbarcadero = u"Embarcadero";

// The platforms of each family of releases, in the order of their tabs.
constexpr TPlatformType kXe2[] = {pftWin32, pftWin64, pftOSX32};
constexpr TPlatformType kXe4[] = {pftWin32, pftWin64, pftOSX32, pftiOSDevice, pftiOSSimulator};
constexpr TPlatformType kXe5[] = {pftWin32, pftWin64, pftOSX32, pftiOSDevice, pftiOSSimulator, pftAndroid32};
constexpr TPlatformType kXe8[] = {pftWin32,       pftWin64,        pftOSX32,    pftiOSDevice32,
                                  pftiOSDevice64, pftiOSSimulator, pftAndroid32};
constexpr TPlatformType kTokyo[] = {pftWin32,       pftWin64,        pftOSX32,     pftiOSDevice32,
                                    pftiOSDevice64, pftiOSSimulator, pftAndroid32, pftLinux64};
constexpr TPlatformType kRio[] = {pftWin32,       pftWin64,        pftOSX32,     pftOSX64,     pftiOSDevice32,
                                  pftiOSDevice64, pftiOSSimulator, pftAndroid32, pftAndroid64, pftLinux64};
constexpr TPlatformType kSydney[] = {pftWin32,        pftWin64,     pftOSX64,     pftiOSDevice64,
                                     pftiOSSimulator, pftAndroid32, pftAndroid64, pftLinux64};
// iOSSimulator is kept beside iOSSimARM64: whether 11 still has it is not
// certain.
constexpr TPlatformType kAlexandria[] = {pftWin32,        pftWin64,       pftOSX64,     pftOSXARM64,  pftiOSDevice64,
                                         pftiOSSimulator, pftiOSSimARM64, pftAndroid32, pftAndroid64, pftLinux64};
constexpr TPlatformType kAthens[] = {pftWin32,       pftWin64,       pftWin64x,    pftOSX64,     pftOSXARM64,
                                     pftiOSDevice64, pftiOSSimARM64, pftAndroid32, pftAndroid64, pftLinux64};

// The "ProjectVersion" values of each release's project files; a later
// version of a release may write a value of its own.
constexpr std::u16string_view k2007Projects[] = {u""};
constexpr std::u16string_view k2009Projects[] = {u"12.0"};
constexpr std::u16string_view kXeProjects[] = {u"12.2", u"12.3"};
constexpr std::u16string_view kXe2Projects[] = {u"13.4"};
constexpr std::u16string_view kXe3Projects[] = {u"14.3", u"14.4"};
constexpr std::u16string_view kXe4Projects[] = {u"14.4", u"14.6"};
constexpr std::u16string_view kXe5Projects[] = {u"15.1", u"15.3"};
constexpr std::u16string_view kXe6Projects[] = {u"15.4"};
constexpr std::u16string_view kXe7Projects[] = {u"16.0"};
constexpr std::u16string_view kXe8Projects[] = {u"17.2"};

// Delphi 2 to 7: installed for the machine, one fixed key.
constexpr Release Classic(VersionCode code, std::u16string_view label, std::u16string_view keyVersion, int image,
                          std::u16string_view executableValue = u"APP",
                          std::u16string_view searchPathValue = u"Search Path") {
  return {.code = code,
          .label = label,
          .company = kBorland,
          .keyVersion = keyVersion,
          .image = image,
          .executableValue = executableValue,
          .searchPathValue = searchPathValue,
          .machineWide = true};
}

// What a release from Delphi 8 on has besides packages and a key per user.
enum StudioTraits : unsigned {
  kDesigner = 1,      // the embedded designer option (up to 10.4 Sydney)
  kEditions = 2,      // editions with platforms of their own (from XE7)
  kIde64 = 4,         // a 64-bit IDE beside the 32-bit one (from 12 Athens)
  kMsBuild = 8,       // builds with MSBuild (from 2007)
  kBdsProjects = 16,  // makes .bdsproj and .bdsgroup files (2005, 2006)
};

constexpr Release Studio(VersionCode code, std::u16string_view label, std::u16string_view company,
                         std::u16string_view keyVersion, int image, unsigned traits,
                         std::span<const TPlatformType> platforms = {},
                         std::span<const std::u16string_view> projectVersions = {}) {
  return {.code = code,
          .label = label,
          .company = company,
          .keyVersion = keyVersion,
          .image = image,
          .platforms = platforms,
          .packages = true,
          .designer = (traits & kDesigner) != 0,
          .ide64 = (traits & kIde64) != 0,
          .msbuild = (traits & kMsBuild) != 0,
          .onlyKnownPlatforms = (traits & kEditions) != 0,
          .projectVersions = projectVersions,
          .bdsProjects = (traits & kBdsProjects) != 0};
}

constexpr std::array<Release, 29> kReleases{{
    Classic(2, u"Delphi 2", u"2.0", 0, u"Delphi 2.0", u"SearchPath"),
    Classic(3, u"Delphi 3 / 3.1", u"3.0", 1, u"Delphi 3", u"SearchPath"),
    Classic(4, u"Delphi 4", u"4.0", 1, u"Delphi 4"),
    Classic(5, u"Delphi 5", u"5.0", 2),
    Classic(6, u"Delphi 6", u"6.0", 3),
    Classic(7, u"Delphi 7 / 7.1", u"7.0", 4),
    Studio(8, u"Delphi 8", kBorland, u"2.0", 5, kDesigner),
    Studio(2005, u"Delphi 2005", kBorland, u"3.0", 5, kDesigner | kBdsProjects),
    Studio(2006, u"Developer Studio 2006 / Turbo Delphi ", kBorland, u"4.0", 5, kDesigner | kBdsProjects),
    Studio(2007, u"Delphi 2007 / RAD Studio 2007", kBorland, u"5.0", 5, kDesigner | kMsBuild, {}, k2007Projects),
    Studio(2009, u"Delphi 2009 / RAD Studio 2009", kCodeGear, u"6.0", 5, kDesigner | kMsBuild, {}, k2009Projects),
    Studio(2010, u"Delphi 2010 / RAD Studio 2010", kCodeGear, u"7.0", 6, kDesigner | kMsBuild, {}, k2009Projects),
    Studio(2011, u"Delphi XE / RAD Studio XE", kEmbarcadero, u"8.0", 6, kDesigner | kMsBuild, {}, kXeProjects),
    Studio(2012, u"Delphi XE2 / RAD Studio XE2", kEmbarcadero, u"9.0", 6, kDesigner | kMsBuild, kXe2, kXe2Projects),
    Studio(2013, u"Delphi XE3 / RAD Studio XE3", kEmbarcadero, u"10.0", 6, kDesigner | kMsBuild, kXe2, kXe3Projects),
    Studio(2014, u"Delphi XE4 / RAD Studio XE4", kEmbarcadero, u"11.0", 6, kDesigner | kMsBuild, kXe4, kXe4Projects),
    Studio(2015, u"Delphi XE5 / RAD Studio XE5", kEmbarcadero, u"12.0", 6, kDesigner | kMsBuild, kXe5, kXe5Projects),
    Studio(2016, u"AppMethod ", kEmbarcadero, u"13.0", 7, kDesigner | kMsBuild, kXe5),
    Studio(2017, u"Delphi XE6 / RAD Studio XE6", kEmbarcadero, u"14.0", 6, kDesigner | kMsBuild, kXe5, kXe6Projects),
    // XE7 and XE8 share the XE releases' image.
    Studio(2018, u"Delphi XE7 / RAD Studio XE7", kEmbarcadero, u"15.0", 6, kDesigner | kEditions | kMsBuild, kXe5,
           kXe7Projects),
    Studio(2019, u"Delphi XE8 / RAD Studio XE8", kEmbarcadero, u"16.0", 6, kDesigner | kEditions | kMsBuild, kXe8,
           kXe8Projects),
    Studio(2020, u"Delphi 10 Seattle / RAD Studio 10 Seattle", kEmbarcadero, u"17.0", 8,
           kDesigner | kEditions | kMsBuild, kXe8),
    Studio(2021, u"Delphi 10.1 Berlin / RAD Studio 10.1 Berlin", kEmbarcadero, u"18.0", 8,
           kDesigner | kEditions | kMsBuild, kXe8),
    Studio(2022, u"Delphi 10.2 Tokyo / RAD Studio 10.2 Tokyo", kEmbarcadero, u"19.0", 8,
           kDesigner | kEditions | kMsBuild, kTokyo),
    Studio(2023, u"Delphi 10.3 Rio / RAD Studio 10.3 Rio", kEmbarcadero, u"20.0", 8, kDesigner | kEditions | kMsBuild,
           kRio),
    Studio(2024, u"Delphi 10.4 Sydney / RAD Studio 10.4 Sydney", kEmbarcadero, u"21.0", 8,
           kDesigner | kEditions | kMsBuild, kSydney),
    Studio(2025, u"Delphi 11 Alexandria / RAD Studio 11 Alexandria", kEmbarcadero, u"22.0", 9, kEditions | kMsBuild,
           kAlexandria),
    Studio(2026, u"Delphi 12 Athens / RAD Studio 12 Athens", kEmbarcadero, u"23.0", 10, kEditions | kIde64 | kMsBuild,
           kAthens),
    // The settings key numbers 24 to 36 were never used.
    Studio(2027, u"Delphi 13 Florence / RAD Studio 13 Florence", kEmbarcadero, u"37.0", 11,
           kEditions | kIde64 | kMsBuild, kAthens),
}};

// What a code that is no release has: nothing.
constexpr Release kNoRelease{.code = 0, .label = u"", .company = u"", .keyVersion = u"", .image = -1};

std::size_t PlaceOf(VersionCode code) {
  return static_cast<std::size_t>(
      std::find_if(kReleases.begin(), kReleases.end(), [code](const Release& r) { return r.code == code; }) -
      kReleases.begin());
}

}  // namespace

std::span<const Release> Releases() { return kReleases; }

const Release* FindRelease(VersionCode code) {
  const std::size_t place = PlaceOf(code);
  return place < kReleases.size() ? &kReleases[place] : nullptr;
}

const Release& ReleaseFacts(VersionCode code) {
  const Release* release = FindRelease(code);
  return release != nullptr ? *release : kNoRelease;
}

void InstalledVersionSet::Add(VersionCode code) {
  const std::size_t place = PlaceOf(code);
  if (place >= kReleases.size()) return;
  if (installed_.size() <= place) installed_.resize(kReleases.size());
  installed_[place] = true;
}

bool InstalledVersionSet::Contains(VersionCode code) const {
  const std::size_t place = PlaceOf(code);
  return place < installed_.size() && installed_[place];
}

bool InstalledVersionSet::Empty() const {
  return std::find(installed_.begin(), installed_.end(), true) == installed_.end();
}

std::vector<VersionCode> InstalledVersionSet::Codes() const {
  std::vector<VersionCode> codes;
  for (std::size_t place = 0; place < installed_.size(); ++place) {
    if (installed_[place]) codes.push_back(kReleases[place].code);
  }
  return codes;
}

bool IsVersionInstalled(const InstalledVersionSet& installed, VersionCode code) { return installed.Contains(code); }

std::u16string IdeRegistryKey(VersionCode code, bool useAltReg, std::u16string_view altReg) {
  const Release* release = FindRelease(code);
  if (release == nullptr) return {};
  std::u16string_view base = u"BDS";
  if (release->machineWide) {
    base = u"DELPHI";
  } else if (useAltReg && !Trim(altReg).empty()) {
    base = Trim(altReg);
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

int VersionImageIndex(VersionCode code) { return ReleaseFacts(code).image; }

RegistryRoot InstallationRoot(VersionCode code) {
  return ReleaseFacts(code).machineWide ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
}

std::u16string InstallationKey(VersionCode code) {
  std::u16string key = IdeRegistryKey(code, false, {});
  if (!key.empty()) key.pop_back();
  return key;
}

std::u16string_view ExecutableValueName(VersionCode code) { return ReleaseFacts(code).executableValue; }

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
  installed = {};
  std::unique_ptr<Registry> registry = registries.Create();
  for (auto release = kReleases.rbegin(); release != kReleases.rend(); ++release) {
    registry->SetRootKey(InstallationRoot(release->code));
    // A key exists when it opens for reading: one registry call, not two.
    if (!registry->OpenKeyReadOnly(InstallationKey(release->code))) continue;
    OpenKeyGuard guard(*registry);
    const std::u16string_view valueName = ExecutableValueName(release->code);
    if (registry->ValueExists(valueName) && files.FileExists(registry->ReadString(valueName))) {
      installed.Add(release->code);
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
  return ReleaseFacts(code).ide64 ? ReadInstallationValue(registries, code, ide::kApp64) : std::u16string();
}

bool Ide64Installed(RegistryFactory& registries, FileSystem& files, VersionCode code) {
  return files.FileExists(GetIde64ExePath(registries, code));
}

std::vector<VersionComboItem> VersionComboItems(const InstalledVersionSet& installed) {
  std::vector<VersionComboItem> items;
  for (auto release = kReleases.rbegin(); release != kReleases.rend(); ++release) {
    if (installed.Contains(release->code)) items.push_back({release->label, release->code});
  }
  return items;
}

}  // namespace ombrisk
