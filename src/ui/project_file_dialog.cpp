#include "ui/project_file_dialog.h"

#include "core/editor_checks.h"
#include "core/texts.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// The file types offered, first one selected.
std::wstring OpenFilters() {
  return FileDialogFilter({{texts::kProjectFilesFilter, u"*.dpr;*.dproj;*.proj;*.bdsproj;*.bpg;*.bdsgroup;*.groupproj"},
                           {texts::kPackageFilesFilter, u"*.dpk"},
                           {texts::kAllFilesFilter, u"*.*"}});
}

}  // namespace

std::wstring FileDialogFilter(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> types) {
  std::wstring filter;
  for (const auto& [caption, patterns] : types) filter += Wide(caption) + L'\0' + Wide(patterns) + L'\0';
  return filter + L'\0';
}

bool ShowOpenFileDialog(OPENFILENAMEW& dialog) { return shell::GetOpenFileNameW(&dialog) != FALSE; }

std::optional<std::u16string> ChooseProjectFile(HWND owner, std::u16string_view parameters,
                                                const FileOpenDialog& openFile) {
  const std::wstring folder = Wide(FolderPart(ParameterFile(parameters)));
  std::wstring chosen(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  const std::wstring filters = OpenFilters();
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = chosen.data();
  dialog.nMaxFile = static_cast<DWORD>(chosen.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  // The program's current folder stays where it was, whatever is browsed.
  dialog.Flags =
      OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!openFile(dialog)) return std::nullopt;
  chosen.resize(chosen.find(L'\0'));
  return FromWide(chosen);
}

}  // namespace ombrisk
