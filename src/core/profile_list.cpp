#include "core/profile_list.h"

#include <algorithm>

#include "core/text.h"

namespace ombrisk {

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

}  // namespace ombrisk
