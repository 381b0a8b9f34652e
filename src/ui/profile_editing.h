// EditProfile: Add, Edit and Copy of the main window. What goes into the
// editor (the caller's side of TPREF_FORM), its modal run, and the save of
// what OK accepted.
#pragma once

#include <windows.h>

#include <optional>
#include <span>

#include "core/profile_list.h"
#include "core/profile_record.h"
#include "core/profile_store.h"
#include "ui/services.h"

namespace ombrisk {

// What the editing needs of the main window.
struct ProfileEditing {
  const Services& services;
  const ProfileStore& store;
  InstalledVersionSet installed;
  COLORREF lineColor;
  HWND owner;
};

// Runs the editor for a new profile (prmAdd), a change of the profile of
// the source row (prmEdit) or a new one made from it (prmCopy); the rows are
// the list's, whose names the profile must not repeat. Saves what OK
// accepted and returns its row; nothing when nothing was saved. The editor
// is released on every path; an error on the way is reported first.
std::optional<ListedProfile> EditProfile(const ProfileEditing& editing, TPrefMode mode, int sourceRow,
                                         std::span<const ListedProfile> rows);

}  // namespace ombrisk
