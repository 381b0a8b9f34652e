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

// Whether an IDE of the release runs with the key (its name below the
// company, "" for the base key); if so, the user is told to close it first.
bool RefusedWhileIdeRuns(const Services& services, HWND owner, VersionCode code, std::u16string_view keyName);

// 既定のキーからコピー: replaces the alternate key by the base key once the
// user agrees where the key exists, after a backup of the whole key (naming
// the profile) beside the settings file. Whether it copied.
bool CopyBaseKeyOnRequest(const Services& services, const ProfileStore& store, HWND owner, VersionCode code,
                          const AlternateKey& key, std::u16string_view profile);

// Deletes the profile the user agreed to delete. Where it was the last
// profile of its release that used its alternate key, and the key exists,
// the user is asked whether the key goes too; then it is saved as a backup
// and deleted after the profile. Whether the profile was deleted (not while
// an IDE that uses the key to go runs).
bool DeleteProfileAndItsKey(const Services& services, const ProfileStore& store, HWND owner,
                            const ListedProfile& profile);

}  // namespace ombrisk
