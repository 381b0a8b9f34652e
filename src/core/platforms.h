// Target platforms of the releases and the twelve library path settings:
// every registry value name, settings key and gate that depends on them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/platform_type.h"

namespace ombrisk {

// In the order in which the editor shows the tabs and the launch writes keys.
using TPlatformTypes = std::vector<TPlatformType>;

// The release's platforms (Release::platforms); pftNone alone for a release
// that keeps its library settings in one key without a platform, and for a
// value that is no release.
TPlatformTypes VersionPlatforms(VersionCode code);
// Whether the launch writes a platform's library key only where it exists
// or the profile holds a value for it (Release::onlyKnownPlatforms).
bool WritesOnlyKnownPlatforms(VersionCode code);
// "\Win64" and so on; "" for pftNone and any value outside the enumeration.
std::u16string_view PlatformKeySuffix(TPlatformType platform);
// "Library" followed by the platform's key suffix.
std::u16string LibraryKeyName(TPlatformType platform);
// "WIN64_" and so on; "" for pftNone, pftWin32 and any other value.
std::u16string_view PlatformIniPrefix(TPlatformType platform);
// The search path's registry value name (Release::searchPathValue):
// "SearchPath" up to release 3, "Search Path" after it.
std::u16string_view SearchPathValueName(VersionCode code);

// The editor's library tab of a platform: caption and image (0 Windows,
// 1 OS X, 2 Linux, 3 iOS, 4 Android); "Win32" and 0 for pftNone and any
// value outside the enumeration.
std::u16string_view PlatformTabCaption(TPlatformType platform);
int PlatformTabImage(TPlatformType platform);

// A library path setting (its label is texts::kLibraryLabels' of its row).
struct LibrarySetting {
  // Empty for the search path, whose name depends on the release.
  std::u16string_view registryValueName;
  std::u16string_view settingsKeySuffix;
  // The editor disables the row when the code is at most this number.
  std::optional<VersionCode> editorDisabledUpTo;
  // The launch writes the row when the code is at least this number.
  std::optional<VersionCode> launchWrittenFrom;
};

// The twelve settings, in the order of the editor's rows and the launch's writes.
extern const std::array<LibrarySetting, 12> LibrarySettings;

bool IsDisabledInEditor(const LibrarySetting& setting, VersionCode code);
bool IsWrittenAtLaunch(const LibrarySetting& setting, VersionCode code);
// The registry value name of the setting for the release.
std::u16string_view RegistryValueName(const LibrarySetting& setting, VersionCode code);
// The profile's settings key of the setting on a platform's tab.
std::u16string SettingsKey(TPlatformType platform, const LibrarySetting& setting);

}  // namespace ombrisk
