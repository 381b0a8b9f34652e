#include "win32/win_process_starter.h"

#include <shellapi.h>

#include "win32/handles.h"
#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

std::uint32_t WinProcessStarter::RunAndWait(std::u16string_view commandLine, bool wait) {
  // The new process starts with the launcher's own start-up settings.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  // CreateProcessW may write into its command line: a private copy.
  std::wstring writable = Wide(commandLine);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                      &startup, &started)) {
    return 0;
  }
  const ScopedHandle process(started.hProcess);
  const ScopedHandle thread(started.hThread);
  DWORD exitCode = 0;
  if (wait) {
    WaitForSingleObject(process.Get(), INFINITE);
    GetExitCodeProcess(process.Get(), &exitCode);
  }
  return exitCode;
}

bool WinProcessStarter::RunElevated(std::u16string_view file, std::u16string_view parameters) {
  const std::wstring wideFile = Wide(file);
  const std::wstring wideParameters = Wide(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner_;
  info.lpVerb = L"runas";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  return shell::ExecuteExW(&info) != FALSE;
}

bool WinProcessStarter::Open(std::u16string_view file, std::u16string_view parameters) {
  // Values above 32 mean success.
  const HINSTANCE result =
      shell::ExecuteW(owner_, L"Open", Wide(file).c_str(), Wide(parameters).c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool WinProcessStarter::SupportsElevation() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwMajorVersion >= 6;
}

}  // namespace ombrisk
