// The context menu's export and import: the profiles' file named in the
// system's save and open dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "core/catalogue.h"
#include "core/profile_store.h"
#include "ui/services.h"

namespace ombrisk {

// Exports the named profile (every profile of the settings file where none)
// into the file the user names; nothing when the dialog is cancelled.
void ExportToFile(const Services& services, const ProfileStore& store, HWND owner,
                  std::optional<std::u16string_view> name);

// Imports the file the user chooses, asking about each profile whose name
// exists, then tells how many were imported. True when the settings file
// changed, so the list is read again.
bool ImportFromFile(const Services& services, const ProfileStore& store, const InstalledVersionSet& installed,
                    HWND owner);

}  // namespace ombrisk
