// The entry "Ombrisk で開く" in Explorer's context menu of the IDEs' project
// files, for the current user only (below the user's own classes key, no
// elevation): its command is the executable with /open "%1". The default
// program of those files is left as it is.
#pragma once

#include <array>
#include <string_view>

namespace ombrisk {

inline constexpr std::array<std::u16string_view, 6> kProjectExtensions{u".dproj",     u".dpr",     u".dpk",
                                                                       u".groupproj", u".bdsproj", u".bdsgroup"};

// Whether every extension's entry runs this executable.
bool ExplorerEntryRuns(std::u16string_view executable);
// Adds the entries (or points them at this executable), or removes them;
// throws AppError (kExplorerEntryFailed) when the registry refuses.
void SetExplorerEntry(std::u16string_view executable, bool present);

}  // namespace ombrisk
