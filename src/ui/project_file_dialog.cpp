#include "ui/project_file_dialog.h"

#include "core/editor_checks.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// The file types offered, first one selected.
constexpr wchar_t kOpenFilters[] =
    L"Delphi プロジェクトファイル\0*.dpr;*.dproj;*.proj;*.bdsproj;*.bpg;*.bdsgroup;*.groupproj\0"
    L"Delphi パッケージファイル (*.dpk)\0*.dpk\0"
    L"すべてのファイル (*.*)\0*.*\0";

}  // namespace

bool ShowOpenFileDialog(OPENFILENAMEW& dialog) { return shell::GetOpenFileNameW(&dialog) != FALSE; }

std::optional<std::u16string> ChooseProjectFile(HWND owner, std::u16string_view parameters,
                                                const FileOpenDialog& openFile) {
  const std::wstring folder = Wide(FolderPart(ParameterFile(parameters)));
  std::wstring chosen(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kOpenFilters;
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
