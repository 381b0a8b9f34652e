// The target platforms a release's IDE builds for, numbered as the settings
// file and the editor's tabs know them.
#pragma once

#include <cstdint>

namespace ombrisk {

enum class TPlatformType : std::uint8_t {
  pftNone,
  pftWin32,
  pftWin64,
  pftOSX32,
  pftOSX64,
  pftLinux32,
  pftLinux64,
  pftiOSDevice,
  pftiOSSimulator,
  pftAndroid32,
  // Platforms of the releases after XE6, after the first ten so that no
  // stored ordinal changes.
  pftOSXARM64,
  pftiOSDevice32,
  pftiOSDevice64,
  pftiOSSimARM64,
  pftAndroid64,
  pftWin64x,
};

}  // namespace ombrisk
