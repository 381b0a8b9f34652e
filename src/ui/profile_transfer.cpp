#include "ui/profile_transfer.h"

#include <string>

#include "core/command_line.h"
#include "core/profile_transfer.h"
#include "core/text.h"
#include "core/texts.h"
#include "ui/project_file_dialog.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

constexpr std::u16string_view kExtension = u"ombrisk";
// The longest shortcut-like file name offered for a profile's export.
constexpr std::size_t kOfferedNameLength = 100;

// Asks for the profiles' file in the dialog, offering the name; its path, or
// nothing when cancelled.
std::optional<std::u16string> ChooseProfilesFile(const FileOpenDialog& dialog, HWND owner, std::u16string_view offered,
                                                 DWORD flags) {
  // The filter's caption and pattern, each ended by a NUL, and a NUL more.
  const std::wstring filter =
      Wide(Concat({texts::kProfileFileFilter, std::u16string(1, u'\0'), u"*.", kExtension, std::u16string(2, u'\0')}));
  const std::wstring extension = Wide(kExtension);
  std::wstring chosen = Wide(offered);
  chosen.resize(32768, L'\0');
  OPENFILENAMEW file{};
  file.lStructSize = sizeof file;
  file.hwndOwner = owner;
  file.lpstrFilter = filter.c_str();
  file.nFilterIndex = 1;
  file.lpstrFile = chosen.data();
  file.nMaxFile = static_cast<DWORD>(chosen.size());
  file.lpstrDefExt = extension.c_str();
  // The program's current folder stays where it was, whatever is browsed.
  file.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR | flags;
  if (!dialog(file)) return std::nullopt;
  chosen.resize(chosen.find(L'\0'));
  return FromWide(chosen);
}

}  // namespace

bool ShowSaveFileDialog(OPENFILENAMEW& dialog) { return shell::GetSaveFileNameW(&dialog) != FALSE; }

void ExportToFile(const Services& services, const ProfileStore& store, HWND owner,
                  std::optional<std::u16string_view> name) {
  const std::u16string offered = name ? ShortcutFileName(*name, kOfferedNameLength) : std::u16string(texts::kAppTitle);
  const std::optional<std::u16string> path = ChooseProfilesFile(services.saveFile, owner, offered, OFN_OVERWRITEPROMPT);
  if (!path) return;
  const std::u16string named = name ? std::u16string(*name) : u"";
  ExportProfiles(store, *path, name ? std::span<const std::u16string>(&named, 1) : std::span<const std::u16string>{});
}

bool ImportFromFile(const Services& services, const ProfileStore& store, const InstalledVersionSet& installed,
                    HWND owner) {
  const std::optional<std::u16string> path = ChooseProfilesFile(services.openFile, owner, u"", OFN_FILEMUSTEXIST);
  if (!path) return false;
  const ImportOutcome outcome = ImportProfiles(
      store, *path, installed,
      [&](std::u16string_view name) {
        switch (services.showMessage(owner, texts::kConfirmCaption, Format(texts::kImportReplaceQuestion, {name}),
                                     MB_TASKMODAL | MB_ICONQUESTION | MB_YESNOCANCEL)) {
          case IDYES:
            return ExistingProfile::Replace;
          case IDNO:
            return ExistingProfile::LeaveOut;
          default:
            return ExistingProfile::Cancel;
        }
      },
      LocalTimeNow());
  if (outcome.cancelled) return false;
  services.showMessage(owner, texts::kAppTitle, ImportMessage(outcome), MB_TASKMODAL | MB_ICONINFORMATION | MB_OK);
  return !outcome.imported.empty();
}

}  // namespace ombrisk
