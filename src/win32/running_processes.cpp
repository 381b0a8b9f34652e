#include "win32/running_processes.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <optional>

#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// NtQueryInformationProcess's class for the command line (Windows 8.1 on):
// a UNICODE_STRING followed by its text.
constexpr ULONG kProcessCommandLineInformation = 60;
struct UnicodeString {
  USHORT length;
  USHORT maximumLength;
  PWSTR buffer;
};
using QueryProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

QueryProcess QueryInformation() {
  static const QueryProcess query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  return query;
}

// Reads the command line from the process's parameters block, where systems
// without the class above keep it: the process environment block names the
// block, which holds the command line as a UNICODE_STRING.
std::optional<std::u16string> CommandLineFromParameters(HANDLE process, QueryProcess query) {
  struct BasicInformation {
    void* reserved1;
    void* peb;
    void* reserved2[4];
  } basic{};
  ULONG length = 0;
  if (query(process, 0, &basic, sizeof basic, &length) < 0 || basic.peb == nullptr) return std::nullopt;
  // The offsets of the block in the environment block and of the command
  // line in the block, for this process's pointer size.
  constexpr std::size_t kParametersAt = sizeof(void*) == 8 ? 0x20 : 0x10;
  constexpr std::size_t kCommandLineAt = sizeof(void*) == 8 ? 0x70 : 0x40;
  void* parameters = nullptr;
  UnicodeString text{};
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kParametersAt, &parameters, sizeof parameters,
                         &read) ||
      !ReadProcessMemory(process, static_cast<char*>(parameters) + kCommandLineAt, &text, sizeof text, &read)) {
    return std::nullopt;
  }
  std::wstring line(text.length / sizeof(wchar_t), L'\0');
  if (!line.empty() && !ReadProcessMemory(process, text.buffer, line.data(), text.length, &read)) return std::nullopt;
  return FromWide(line);
}

std::optional<std::u16string> CommandLineOf(HANDLE process) {
  const QueryProcess query = QueryInformation();
  if (query == nullptr) return std::nullopt;
  std::vector<unsigned char> buffer(4096);
  for (int tries = 0; tries < 4; ++tries) {
    ULONG needed = 0;
    const LONG status =
        query(process, kProcessCommandLineInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status >= 0) {
      const auto* text = reinterpret_cast<const UnicodeString*>(buffer.data());
      return FromWide(std::wstring_view(text->buffer, text->length / sizeof(wchar_t)));
    }
    if (needed <= buffer.size()) break;
    buffer.resize(needed);
  }
  return CommandLineFromParameters(process, query);
}

std::u16string ExecutableOf(HANDLE process) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    auto size = static_cast<DWORD>(path.size());
    if (QueryFullProcessImageNameW(process, 0, path.data(), &size))
      return FromWide(std::wstring_view(path.data(), size));
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::vector<RunningProcess> ListRunningProcesses(std::span<const std::u16string> executables) {
  std::vector<DWORD> ids(1024);
  DWORD bytes = 0;
  while (EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes) &&
         bytes == ids.size() * sizeof(DWORD)) {
    ids.resize(ids.size() * 2);
  }
  ids.resize(bytes / sizeof(DWORD));
  std::vector<RunningProcess> processes;
  for (const DWORD id : ids) {
    if (id == 0 || id == GetCurrentProcessId()) continue;
    HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, id);
    const bool readable = opened != nullptr;
    if (!readable) opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    const ScopedHandle process(opened);
    if (!process.Valid()) continue;
    std::u16string executable = ExecutableOf(process.Get());
    const std::u16string_view path = executable;
    if (executable.empty() || !MayRun(path.substr(path.find_last_of(u'\\') + 1), executables)) continue;
    processes.push_back({std::move(executable), readable ? CommandLineOf(process.Get()) : std::nullopt});
  }
  return processes;
}

}  // namespace ombrisk
