// The main window's profile list: its rows, the search match, the search by
// typed letters and the row colour.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/row_model.h"
#include "core/text_comparer.h"

namespace ombrisk {

// A row of the list: the profile name, the release's label, the
// description, and the release.
struct ListedProfile {
  std::u16string name;
  std::u16string label;
  std::u16string description;
  VersionCode code;

  // The row's text in a column: 0 name, 1 label, 2 description.
  static std::u16string_view Key(const ListedProfile& row, int column) {
    return column == 0 ? row.name : column == 1 ? row.label : row.description;
  }
};

// Whether the text occurs, exactly as typed, in the row's name, or else in
// its label and description each followed by CR LF. An empty text matches
// nothing.
bool RowMatchesText(const ListedProfile& row, std::u16string_view text);

// The list's search by the letters typed: the first row from start on,
// wrapping around, whose name begins with the text (partial) or is the text,
// case ignored as the settings file ignores it; -1 when none is.
int FindRowByName(const std::vector<ListedProfile>& rows, std::u16string_view text, int start, bool partial,
                  const CaseMapping& mapping);

// The background of the even rows from the stored "ListViewLineColor": a
// value whose top byte is 0xFF names a system colour by its low byte; any
// other value with a top byte falls back to the default 0xFFEEDD.
inline constexpr std::int32_t kDefaultLineColor = 16772829;
std::uint32_t LineColorFor(std::int32_t stored, const std::function<std::uint32_t(int)>& systemColor);

}  // namespace ombrisk
