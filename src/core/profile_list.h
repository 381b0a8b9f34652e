// The main window's profile list and its stored geometry: which profiles are
// listed and in what order, how rows compare when a column is clicked, the
// row colour, and the "MainForm" section.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/settings_file.h"
#include "core/text_comparer.h"

namespace ombrisk {

// A row of the list: the profile name, the release's label, the
// description, and the release.
struct ListedProfile {
  std::u16string name;
  std::u16string label;
  std::u16string description;
  VersionCode code;
};

// The profiles of installed releases: section names sorted by the locale's
// case-insensitive comparison, those beginning with "PREF_" (exactly so)
// whose "Version" is an installed release.
std::vector<ListedProfile> ListProfiles(const SettingsFile& file, InstalledVersionSet installed,
                                        const TextComparer& comparer);

// How two rows compare by a column's keys: upper case in a to z only, then
// UTF-16 code units; negative, 0 or positive.
int CompareRowKeys(std::u16string_view a, std::u16string_view b);

// The background of the even rows from the stored "ListViewLineColor": a
// value whose top byte is 0xFF names a system colour by its low byte; any
// other value with a top byte falls back to the default 0xFFEEDD.
inline constexpr std::int32_t kDefaultLineColor = 16772829;
std::uint32_t LineColorFor(std::int32_t stored, const std::function<std::uint32_t(int)>& systemColor);

// The main window's stored geometry.
struct MainFormGeometry {
  std::int32_t windowState = 0;  // 0 normal, 1 minimised, 2 maximised
  std::int32_t clientWidth = 512;
  std::int32_t clientHeight = 320;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::array<int, 3> columnWidths{132, 190, 154};
};

// Reads "MainForm". The defaults of Left and Top centre the window on a
// screen of the size, given the frame a window adds to its client area.
MainFormGeometry ReadMainFormGeometry(const SettingsFile& file, int screenWidth, int screenHeight, int frameWidth,
                                      int frameHeight);
// Writes the six keys of "MainForm" in their order.
void WriteMainFormGeometry(SettingsFile& file, const MainFormGeometry& geometry);

}  // namespace ombrisk
