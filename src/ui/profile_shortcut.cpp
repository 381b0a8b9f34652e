#include "ui/profile_shortcut.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/command_line.h"
#include "core/editor_checks.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "win32/shell_link.h"

namespace ombrisk {

namespace {

// The longest name a file may have, ".lnk" included.
constexpr std::size_t kLongestFileName = 255;
constexpr std::u16string_view kExtension = u".lnk";

// The program's folder, without its last "\" unless it is a drive's root.
std::u16string WorkingFolder(std::u16string_view executable) {
  std::u16string_view folder = FolderPart(executable);
  if (folder.size() > 3 && folder.ends_with(u'\\')) folder.remove_suffix(1);
  return std::u16string(folder);
}

}  // namespace

void CreateProfileShortcut(const Services& services, HWND owner, const ListedProfile& profile) {
  const std::u16string desktop = DesktopFolder();
  // The whole path stays within MAX_PATH, which every program can open.
  const std::size_t used = desktop.size() + 1 + kExtension.size() + 1;
  const std::size_t room = std::min(kLongestFileName - kExtension.size(), used < MAX_PATH ? MAX_PATH - used : 0);
  const std::u16string name = ShortcutFileName(profile.name, room);
  if (desktop.empty() || name.empty()) throw AppError(Format(texts::kShortcutFailed, {profile.name}));
  const std::u16string path = Concat({desktop, u"\\", name, kExtension});
  if (services.files.FileExists(path) &&
      services.showMessage(owner, texts::kConfirmCaption, Format(texts::kShortcutExists, {name}),
                           MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO) != IDYES) {
    return;
  }
  const std::u16string& program = services.executablePath;
  const ShellLinkContent link{program,
                              LaunchArguments(profile.name),
                              WorkingFolder(program),
                              program,
                              -(IDI_RELEASE_FIRST + std::max(VersionImageIndex(profile.code), 0)),
                              profile.description};
  if (!SaveShellLink(path, link)) throw AppError(Format(texts::kShortcutFailed, {name}));
}

}  // namespace ombrisk
