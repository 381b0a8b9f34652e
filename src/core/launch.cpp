#include "core/launch.h"

#include <algorithm>
#include <optional>

#include "core/alternate_key.h"
#include "core/editor_checks.h"
#include "core/errors.h"
#include "core/profile_launch_record.h"
#include "core/profile_list_settings.h"
#include "core/profile_projects.h"
#include "core/profile_store.h"
#include "core/text.h"
#include "core/texts.h"

namespace ombrisk {

std::u16string BuildIdeParameters(const ProfileRecord& record) {
  std::u16string result;
  for (const ProfileKey* key : ProfileKeys()) {
    if (key->ideSwitch.empty() || !(record.*key->flag)) continue;
    result += key->ideSwitch;
    // The argument as the IDE splits its command line: a name with a blank
    // in quotes, which the IDE removes.
    if (key->switchArgument != nullptr) result += QuotedWhenBlank(Trim(record.*key->switchArgument));
    result += u' ';
  }
  result += Trim(record.parameters);
  return result;
}

namespace {

// Everything of the path up to and including its last "\" or ":", without
// one trailing "\".
std::u16string_view ParentFolder(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\:");
  std::u16string_view folder = separator == std::u16string_view::npos ? u"" : path.substr(0, separator + 1);
  if (folder.ends_with(u'\\')) folder.remove_suffix(1);
  return folder;
}

// Replaces every occurrence of the macro, found left to right without regard
// to the case of a to z; inserted text is not searched again.
std::u16string ReplaceMacro(std::u16string_view text, std::u16string_view macro, std::u16string_view replacement) {
  const std::u16string upperText = AsciiUpper(text);
  const std::u16string upperMacro = AsciiUpper(macro);
  std::u16string result;
  std::size_t from = 0;
  for (std::size_t at = upperText.find(upperMacro); at != std::u16string::npos; at = upperText.find(upperMacro, from)) {
    result += text.substr(from, at - from);
    result += replacement;
    from = at + macro.size();
  }
  result += text.substr(from);
  return result;
}

}  // namespace

std::u16string ExpandPreProcessMacros(std::u16string_view text, std::u16string_view exePath, FileSystem& files) {
  const std::u16string shortFolder = files.ShortPath(ParentFolder(ParentFolder(exePath)));
  return ReplaceMacro(ReplaceMacro(text, u"@$(DELPHI)@", shortFolder), u"@$(BDS)@", shortFolder);
}

namespace {

// What a launch writes, each list setting's writes in turn: the
// disabled-packages key replaced by the profile's list, the designer
// setting, the library values and the environment variables' key replaced
// by the profile's.
LaunchWrites PlanLaunchWrites(Registry& registry, const ProfileRecord& stored) {
  LaunchWrites writes{IdeRegistryKey(stored.version, stored.useAltReg, stored.altReg), {}};
  for (const ListSetting& list : ListSettings()) list.plan(registry, stored, writes);
  return writes;
}

// Whether the user is asked where a launch would ask, or the writes are
// refused there (an apply, which no one watches).
enum class Asking { User, Refuse };

// An IDE that runs with the profile's key would write its settings back
// over the launch's when it closes: the user is asked first. A copy of the
// base key into the key it would undo whole: that launch is refused until
// the IDE has ended.
bool MayWriteBesideRunningIdes(const LaunchServices& services, std::u16string_view settingsKey, bool copies,
                               Asking asking) {
  const CaseMapping& mapping = services.store.Comparer().Mapping();
  const std::optional<VersionCode> running =
      IdeUsingKey(services.runningProcesses, services.registries, services.store.Files(), settingsKey, mapping);
  if (!running) return true;
  const std::u16string_view label = FindRelease(*running)->label;
  const std::u16string key = ShownKey(settingsKey);
  if (copies || asking == Asking::Refuse) throw AppError(Format(texts::kIdeRunningRefusal, {label, key}));
  return services.confirm && services.confirm(Format(texts::kIdeRunningQuestion, {label, key}));
}

// Where the IDE changed in the key what the profile's own last launch wrote
// there, the user chooses: the chosen changes taken into the profile (saved
// in the file, and launched), the profile launched as stored, or nothing
// (false). A key that is not there holds no changes.
bool ReviewIdeChanges(const LaunchServices& services, const LaunchRecords& records, Registry& registry,
                      SettingsFile& file, std::u16string_view settingsKey, std::u16string_view profileName,
                      ProfileRecord& stored, Asking asking) {
  const CaseMapping& mapping = services.store.Comparer().Mapping();
  const std::optional<LaunchRecord> last = records.Read(settingsKey);
  if (!last || !mapping.Equal(last->profile, profileName) || !registry.KeyExists(settingsKey)) return true;
  const std::vector<SettingChange> changes = ChangesSinceLaunch(registry, settingsKey, last->written, mapping);
  if (changes.empty()) return true;
  if (asking == Asking::Refuse) {
    std::u16string refusal(texts::kChangesRefusal);
    for (const SettingChange& change : changes) {
      const ChangeTexts shown = change.setting->describe(change);
      refusal += Concat({u"\r\n", shown.setting, u": ", shown.written, u" → ", shown.now});
    }
    throw AppError(refusal);
  }
  const ChangesAnswer answer = services.reviewChanges ? services.reviewChanges(changes) : ChangesAnswer{};
  if (answer.choice == ChangesAnswer::Choice::Cancel) return false;
  if (answer.choice == ChangesAnswer::Choice::TakeIn) {
    std::vector<SettingChange> taken;
    for (std::size_t at = 0; at < changes.size() && at < answer.taken.size(); ++at) {
      if (answer.taken[at]) taken.push_back(changes[at]);
    }
    // Saved as the editor saves a profile: the stored one with the changes.
    ProfileRecord saved = ReadStoredProfile(file, ProfileSection(profileName));
    TakeInChanges(taken, mapping, saved);
    SaveProfile(file, profileName, std::nullopt, saved);
    file.UpdateFile();
    TakeInChanges(taken, mapping, stored);
  }
  return true;
}

// The backup (after the copy of the base key into a missing alternate key
// where the profile asks for it), then the registry writes, with the settings
// file and the registry object released when they end, also when an error
// passes. A profile whose alternate key may not be used is refused before
// anything else. Returns the profile's stored values the rest of the launch
// uses.
std::optional<ProfileRecord> WriteProfileToRegistry(const LaunchServices& services, VersionCode code,
                                                    std::u16string_view profileName, Asking asking) {
  const std::unique_ptr<SettingsFile> file = services.store.Open();
  const std::u16string section = ProfileSection(profileName);
  // A profile the file cannot find would read as every default and empty
  // every library path of the IDE: it is not launched.
  if (!file->SectionExists(section)) throw AppError(Format(texts::kProfileNotFound, {profileName}));

  ProfileRecord stored = ReadStoredProfile(*file, section);
  stored.version = code;
  const CaseMapping& mapping = services.store.Comparer().Mapping();
  CheckAlternateKey(code, stored.useAltReg, stored.altReg, mapping);
  const std::unique_ptr<Registry> registry = services.registries.Create();
  // The 64-bit IDE, where the profile chose it and it is installed.
  stored.ide64 = stored.ide64 && Ide64Installed(services.registries, services.store.Files(), code);
  // A missing alternate key starts from the user's setup. The backup then
  // gives back the key as it was, none, which also undoes the writes.
  const std::optional<AlternateKey> own = OwnAlternateKey(code, stored.useAltReg, stored.altReg, mapping);
  const bool copies = stored.altRegInit && own && !registry->KeyExists(own->path) && registry->KeyExists(own->base);
  if (copies) CheckNotNested(*file, profileName, *own, mapping);
  const std::u16string settingsKey = IdeRegistryKey(code, stored.useAltReg, stored.altReg);
  if (!MayWriteBesideRunningIdes(services, settingsKey, copies, asking)) return std::nullopt;
  const LaunchRecords records(services.store.Files(), services.store.Comparer(), services.store.Path());
  if (!copies && !ReviewIdeChanges(services, records, *registry, *file, settingsKey, profileName, stored, asking)) {
    return std::nullopt;
  }

  const std::u16string folder = BackupFolder(services.store.Path());
  if (copies) {
    WriteLaunchBackup(services.store.Files(), folder, code, own->path, WholeKeyBackup(*registry, *own, profileName),
                      services.clock(), mapping);
    CopyBaseKey(*registry, *own);
  }
  const LaunchWrites writes = PlanLaunchWrites(*registry, stored);
  if (!copies) {
    WriteLaunchBackup(services.store.Files(), folder, code, writes.settingsKey,
                      CaptureBeforeLaunch(*registry, writes, profileName), services.clock(), mapping);
  }
  records.Write(settingsKey, profileName, stored);
  ApplyLaunchWrites(*registry, writes);
  return stored;
}

}  // namespace

void CheckLaunchFile(FileSystem& files, std::u16string_view file) {
  if (!file.empty() && !files.FileExists(file)) throw AppError(Format(texts::kFileNotFound, {file}));
}

void ApplyProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName) {
  WriteProfileToRegistry(services, code, profileName, Asking::Refuse);
}

LaunchResult LaunchProfile(const LaunchServices& services, VersionCode code, std::u16string_view profileName) {
  CheckLaunchFile(services.store.Files(), services.file);
  const std::optional<ProfileRecord> written = WriteProfileToRegistry(services, code, profileName, Asking::User);
  if (!written) return LaunchResult{{}, false, true};
  const ProfileRecord& stored = *written;

  services.processPendingMessages();
  if (!stored.preProcess.empty()) {
    services.processes.RunAndWait(
        ExpandPreProcessMacros(stored.preProcess, GetIdeExePath(services.registries, code), services.store.Files()),
        true);
  }
  services.processPendingMessages();

  ProfileRecord started = stored;
  if (!services.file.empty()) started.parameters = QuotedWhenBlank(services.file);
  const std::u16string parameters = BuildIdeParameters(started);
  // The executable is read again: the pre-launch command may have changed it.
  LaunchResult result;
  result.executable =
      stored.ide64 ? GetIde64ExePath(services.registries, code) : GetIdeExePath(services.registries, code);
  const std::u16string quoted = Concat({u"\"", result.executable, u"\""});
  if (services.processes.SupportsElevation() && stored.runAsAdmin) {
    result.started = services.processes.RunElevated(quoted, parameters);
  } else {
    result.started = services.processes.Open(quoted, parameters);
  }
  // Remembered once the IDE has the file; a settings file that cannot be
  // written is told with the window still there.
  if (result.started && !services.file.empty() && services.rememberFile) {
    const std::unique_ptr<SettingsFile> file = services.store.Open();
    RememberProject(*file, services.file, profileName, services.store.Comparer().Mapping());
    file->UpdateFile();
  }
  services.closeWindow();
  return result;
}

}  // namespace ombrisk
