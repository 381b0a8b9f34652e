// A shortcut to a profile on the user's desktop: a double-click starts the
// profile's IDE without the list.
#pragma once

#include <windows.h>

#include "core/profile_list.h"
#include "ui/services.h"

namespace ombrisk {

// Writes "NAME.lnk" on the desktop, starting this program with /launch
// "NAME" in its own folder, with the release's icon and the profile's
// description. Asks before it replaces a file of that name; AppError when
// the shortcut cannot be written.
void CreateProfileShortcut(const Services& services, HWND owner, const ListedProfile& profile);

}  // namespace ombrisk
