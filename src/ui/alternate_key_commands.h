// The commands that create, replace or delete an IDE's settings key besides
// a launch: the editor's copy of the base key into the alternate key, the
// deletion of a profile together with the alternate key only it used, and
// the refusal each of them (and a restore) gives while an IDE that uses the
// key runs.
#pragma once

#include <windows.h>

#include <string_view>

#include "core/alternate_key.h"
#include "core/profile_list.h"
#include "core/profile_store.h"
#include "ui/services.h"

namespace ombrisk {

// Whether an IDE runs with a settings key that is, holds or lies inside the
// key (a path below HKEY_CURRENT_USER); if so, the user is told to close it
// first.
bool RefusedWhileIdeRuns(const Services& services, HWND owner, std::u16string_view key);

// Whether 既定のキーからコピー is offered: for a key the program may copy
// into, and for a name it may not use, which the copy refuses with its
// reason.
bool CopyBaseKeyOffered(const Services& services, VersionCode code, bool chosen, std::u16string_view altReg);

// 既定のキーからコピー: replaces the profile's alternate key (as the editor
// shows it) by the base key once the user agrees where the key exists,
// after a backup of the whole key (naming the profile) beside the settings
// file. A name the key may not have, or a key that holds or lies inside
// another profile's, is refused with its reason. Whether it copied.
bool CopyBaseKeyOnRequest(const Services& services, const ProfileStore& store, HWND owner, VersionCode code,
                          std::u16string_view altReg, std::u16string_view profile);

// Deletes the profile the user agreed to delete. Where no other profile's
// key is, holds or lies inside its alternate key, and the key exists, the
// user is asked whether the key goes too; then it is saved as a backup and
// deleted after the profile (a key that cannot be deleted is told). Whether
// the profile was deleted (not while an IDE that uses the key to go runs).
bool DeleteProfileAndItsKey(const Services& services, const ProfileStore& store, HWND owner,
                            const ListedProfile& profile);

}  // namespace ombrisk
