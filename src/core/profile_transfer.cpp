#include "core/profile_transfer.h"

#include <algorithm>
#include <optional>

#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

namespace {

constexpr std::int32_t kFormat = 1;

// The profiles' sections of a file in its order, each name once.
std::vector<std::u16string> ProfileSections(const SettingsFile& file, const CaseMapping& mapping) {
  std::vector<std::u16string> sections;
  for (std::u16string& section : file.ReadSections()) {
    if (!section.starts_with(keys::kProfilePrefix)) continue;
    const auto same = [&](const std::u16string& taken) { return mapping.Equal(taken, section); };
    if (std::none_of(sections.begin(), sections.end(), same)) sections.push_back(std::move(section));
  }
  return sections;
}

// The exported file, or nothing where it is no such file.
std::unique_ptr<SettingsFile> ReadExported(const ProfileStore& store, std::u16string_view path) {
  try {
    auto file = std::make_unique<SettingsFile>(store.Files(), store.Comparer(), std::u16string(path));
    const std::optional<std::int32_t> format =
        ParseInteger(file->ReadString(keys::kExportSection, keys::kFormatVersion, u""));
    if (!file->SectionExists(keys::kExportSection) || format != kFormat) return nullptr;
    return file;
  } catch (const AppError&) {
    return nullptr;
  }
}

void WriteReplaced(const ProfileStore& store, const SettingsFile& replaced, const BackupTime& time) {
  WriteBackupFile(store.Files(), BackupFolder(store.Path()), u"Replaced", time, u".ini", replaced.FileContent());
}

}  // namespace

std::size_t ExportProfiles(const ProfileStore& store, std::u16string_view path, std::span<const std::u16string> names) {
  const std::unique_ptr<SettingsFile> settings = store.Open();
  const CaseMapping& mapping = store.Comparer().Mapping();
  const std::vector<std::u16string> profiles = ProfileSections(*settings, mapping);
  std::vector<std::u16string> sections = names.empty() ? profiles : std::vector<std::u16string>{};
  for (std::u16string_view name : names) {
    const std::u16string section = ProfileSection(name);
    const auto same = [&](const std::u16string& other) { return mapping.Equal(other, section); };
    const auto found = std::find_if(profiles.begin(), profiles.end(), same);
    if (found == profiles.end()) throw AppError(Format(texts::kProfileNotFound, {name}));
    if (std::none_of(sections.begin(), sections.end(), same)) sections.push_back(*found);
  }
  SettingsFile exported(store.Files(), store.Comparer(), u"");
  exported.WriteInteger(keys::kExportSection, keys::kFormatVersion, kFormat);
  for (const std::u16string& section : sections) exported.CopySection(*settings, section);
  if (const std::u16string error = store.Files().WriteFile(path, exported.FileContent()); !error.empty()) {
    throw AppError(Format(texts::kSettingsWriteFailed, {path, error}));
  }
  return sections.size();
}

ImportOutcome ImportProfiles(const ProfileStore& store, std::u16string_view path, const InstalledVersionSet& installed,
                             const std::function<ExistingProfile(std::u16string_view name)>& existing,
                             const BackupTime& time) {
  const std::unique_ptr<SettingsFile> source = ReadExported(store, path);
  if (!source) throw AppError(Format(texts::kNotProfileFile, {path}));
  const std::unique_ptr<SettingsFile> settings = store.Open();
  const CaseMapping& mapping = store.Comparer().Mapping();

  ImportOutcome outcome;
  std::vector<std::u16string> taken, replaced;
  for (std::u16string& section : ProfileSections(*source, mapping)) {
    const std::u16string_view name = std::u16string_view(section).substr(keys::kProfilePrefix.size());
    if (settings->SectionExists(section)) {
      switch (existing(name)) {
        case ExistingProfile::Cancel:
          outcome = {};
          outcome.cancelled = true;
          return outcome;
        case ExistingProfile::LeaveOut:
          outcome.leftOut.emplace_back(name);
          continue;
        case ExistingProfile::Replace:
          replaced.push_back(section);
          break;
      }
    }
    outcome.imported.emplace_back(name);
    taken.push_back(std::move(section));
  }

  // Every section of a replaced name goes, so that none of them answers for
  // the imported one; the backup holds them all.
  SettingsFile backup(store.Files(), store.Comparer(), u"");
  for (const std::u16string& section : replaced) {
    while (settings->SectionExists(section)) {
      backup.CopySection(*settings, section);
      settings->EraseSection(section);
    }
  }
  if (!replaced.empty()) WriteReplaced(store, backup, time);
  for (const std::u16string& section : taken) {
    settings->CopySection(*source, section);
    if (!IsVersionInstalled(installed, source->ReadInteger(section, profile_keys::kVersion.name, 0))) {
      ++outcome.notInstalled;
    }
  }
  if (!taken.empty()) settings->UpdateFile();
  return outcome;
}

std::u16string ImportMessage(const ImportOutcome& outcome) {
  std::u16string message = Format(texts::kImported, {DecimalText(static_cast<long long>(outcome.imported.size()))});
  if (outcome.notInstalled > 0) {
    message += Concat(
        {u"\r\n", Format(texts::kImportedNotInstalled, {DecimalText(static_cast<long long>(outcome.notInstalled))})});
  }
  return message;
}

}  // namespace ombrisk
