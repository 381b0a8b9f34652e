#include "core/profile_list.h"

#include <algorithm>

#include "core/text.h"

namespace ombrisk {

std::vector<ListedProfile> ListProfiles(const SettingsFile& file, InstalledVersionSet installed,
                                        const TextComparer& comparer) {
  std::vector<std::u16string> sections = file.ReadSections();
  std::stable_sort(sections.begin(), sections.end(), [&comparer](const std::u16string& a, const std::u16string& b) {
    return comparer.CompareIgnoringCase(a, b) < 0;
  });
  std::vector<ListedProfile> rows;
  for (const std::u16string& section : sections) {
    if (!section.starts_with(u"PREF_")) continue;
    const VersionCode code = file.ReadInteger(section, u"Version", 0);
    if (!IsVersionInstalled(installed, code)) continue;
    rows.push_back(ListedProfile{section.substr(5), std::u16string(FindRelease(code)->label),
                                 file.ReadString(section, u"Description", u""), code});
  }
  return rows;
}

bool RowMatchesText(const ListedProfile& row, std::u16string_view text) {
  if (text.empty()) return false;
  return row.name.find(text) != std::u16string::npos ||
         Concat({row.label, u"\r\n", row.description, u"\r\n"}).find(text) != std::u16string::npos;
}

int FindRowByName(const std::vector<ListedProfile>& rows, std::u16string_view text, int start, bool partial,
                  const CaseMapping& mapping) {
  const auto count = static_cast<int>(rows.size());
  if (count == 0) return -1;
  if (start < 0 || start >= count) start = 0;
  for (int step = 0; step < count; ++step) {
    const int index = (start + step) % count;
    const std::u16string_view name = rows[static_cast<std::size_t>(index)].name;
    if (partial ? name.size() >= text.size() && mapping.Equal(name.substr(0, text.size()), text)
                : mapping.Equal(name, text)) {
      return index;
    }
  }
  return -1;
}

std::uint32_t LineColorFor(std::int32_t stored, const std::function<std::uint32_t(int)>& systemColor) {
  const auto value = static_cast<std::uint32_t>(stored);
  if ((value >> 24) == 0xFF) return systemColor(static_cast<int>(value & 0xFF));
  if ((value >> 24) != 0) return static_cast<std::uint32_t>(kDefaultLineColor);
  return value;
}

MainFormGeometry ReadMainFormGeometry(const SettingsFile& file, int screenWidth, int screenHeight, int frameWidth,
                                      int frameHeight) {
  MainFormGeometry geometry;
  geometry.windowState = file.ReadInteger(u"MainForm", u"WindowState", 0);
  geometry.clientWidth = file.ReadInteger(u"MainForm", u"ClientWidth", 512);
  geometry.clientHeight = file.ReadInteger(u"MainForm", u"ClientHeight", 320);
  geometry.left = file.ReadInteger(u"MainForm", u"Left", (screenWidth - (geometry.clientWidth + frameWidth)) / 2);
  geometry.top = file.ReadInteger(u"MainForm", u"Top", (screenHeight - (geometry.clientHeight + frameHeight)) / 2);
  const std::vector<int> widths =
      ParseWidthList(file.ReadString(u"MainForm", u"ListViewColumnWidths", u"132,190,154"), 3, 100);
  std::copy(widths.begin(), widths.end(), geometry.columnWidths.begin());
  return geometry;
}

void WriteMainFormGeometry(SettingsFile& file, const MainFormGeometry& geometry) {
  file.WriteInteger(u"MainForm", u"ClientWidth", geometry.clientWidth);
  file.WriteInteger(u"MainForm", u"ClientHeight", geometry.clientHeight);
  file.WriteInteger(u"MainForm", u"WindowState", geometry.windowState);
  file.WriteInteger(u"MainForm", u"Top", geometry.top);
  file.WriteInteger(u"MainForm", u"Left", geometry.left);
  file.WriteString(u"MainForm", u"ListViewColumnWidths", WidthListText(geometry.columnWidths));
}

}  // namespace ombrisk
