#include "win32/explorer_entry.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "core/texts.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// The verb's key of an extension, below HKEY_CURRENT_USER: a verb of the
// file type whatever program the type opens with.
std::wstring VerbKey(std::u16string_view extension) {
  return L"Software\\Classes\\SystemFileAssociations\\" + Wide(extension) + L"\\shell\\Ombrisk";
}

std::wstring Command(std::u16string_view executable) { return L"\"" + Wide(executable) + L"\" /open \"%1\""; }

[[noreturn]] void ThrowFailed(LSTATUS status) {
  wchar_t text[512] = L"";
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(status), 0,
                 text, 512, nullptr);
  throw AppError(Format(texts::kExplorerEntryFailed, {Trim(FromWide(text))}));
}

void SetString(const std::wstring& key, const std::wstring& text) {
  const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, text.c_str(),
                                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  if (status != ERROR_SUCCESS) ThrowFailed(status);
}

}  // namespace

bool ExplorerEntryRuns(std::u16string_view executable) {
  const std::wstring expected = Command(executable);
  for (const std::u16string_view extension : kProjectExtensions) {
    wchar_t command[1024] = L"";
    DWORD size = sizeof command;
    if (RegGetValueW(HKEY_CURRENT_USER, (VerbKey(extension) + L"\\command").c_str(), nullptr, RRF_RT_REG_SZ, nullptr,
                     command, &size) != ERROR_SUCCESS ||
        lstrcmpiW(command, expected.c_str()) != 0) {
      return false;
    }
  }
  return true;
}

void SetExplorerEntry(std::u16string_view executable, bool present) {
  for (const std::u16string_view extension : kProjectExtensions) {
    const std::wstring key = VerbKey(extension);
    if (present) {
      SetString(key, Wide(texts::kExplorerVerb));
      SetString(key + L"\\command", Command(executable));
    } else if (const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
               status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
      ThrowFailed(status);
    } else {
      RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
  }
  // Explorer reads the file types again.
  shell::ChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace ombrisk
