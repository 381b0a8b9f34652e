// Profiles carried between settings files: exported into a file of their
// own (the settings file's format, a section "Ombrisk" first) and imported
// from one, each section as the file holds it.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue.h"
#include "core/launch_backup.h"
#include "core/profile_store.h"

namespace ombrisk {

// Writes a new file at the path, whole or not at all: "[Ombrisk]" with
// FormatVersion=1, then the sections of the named profiles in that order
// (names matched as the settings file matches sections, each once), or of
// every profile of the settings file, listed or not, without names. A name
// no profile has refuses the export (AppError kProfileNotFound); a file that
// cannot be written is AppError kSettingsWriteFailed. The number exported.
std::size_t ExportProfiles(const ProfileStore& store, std::u16string_view path,
                           std::span<const std::u16string> names = {});

// What becomes of an imported profile whose name the settings file has.
enum class ExistingProfile { Replace, LeaveOut, Cancel };

struct ImportOutcome {
  // Cancelled: nothing of the file was imported.
  bool cancelled = false;
  // The profiles added or replaced, and those left out, in the file's order.
  std::vector<std::u16string> imported;
  std::vector<std::u16string> leftOut;
  // How many of the imported are of a release that is not installed.
  std::size_t notInstalled = 0;
};

// Imports the profiles of an exported file (each name once, its first
// section): a new name is added at the end of the settings file, an existing
// one (as the file matches section names) is replaced, left out or ends
// the import as existing answers, asked before anything is written. The
// sections a replace removes are saved first into the backup folder as
// "Replaced_<time>.ini", so nothing is lost. A file without the section
// "Ombrisk", of another FormatVersion than 1 or that cannot be read is
// refused (AppError kNotProfileFile) and changes nothing.
ImportOutcome ImportProfiles(const ProfileStore& store, std::u16string_view path, const InstalledVersionSet& installed,
                             const std::function<ExistingProfile(std::u16string_view name)>& existing,
                             const BackupTime& time);

// The import's message: how many were imported, and on a line of its own
// how many of those wait for their release where any do.
std::u16string ImportMessage(const ImportOutcome& outcome);

}  // namespace ombrisk
