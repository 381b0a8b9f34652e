#include "win32/running_processes.h"

#include <windows.h>
// After windows.h, which it needs.
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// NtQueryInformationProcess's class for the command line (Windows 8.1 on):
// a UNICODE_STRING followed by its text.
constexpr ULONG kProcessCommandLineInformation = 60;
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
  UNICODE_STRING text{};
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kParametersAt, &parameters, sizeof parameters,
                         &read) ||
      !ReadProcessMemory(process, static_cast<char*>(parameters) + kCommandLineAt, &text, sizeof text, &read)) {
    return std::nullopt;
  }
  std::wstring line(text.Length / sizeof(wchar_t), L'\0');
  if (!line.empty() && !ReadProcessMemory(process, text.Buffer, line.data(), text.Length, &read)) return std::nullopt;
  return FromWide(line);
}

// The command line through the query that needs only limited rights
// (Windows 8.1 on), so that an elevated IDE's is read too; where the system
// lacks it, from the process's memory, which needs more rights.
std::optional<std::u16string> CommandLineOf(HANDLE process, DWORD id) {
  const QueryProcess query = QueryInformation();
  if (query == nullptr) return std::nullopt;
  std::vector<unsigned char> buffer(4096);
  for (int tries = 0; tries < 4; ++tries) {
    ULONG needed = 0;
    const LONG status =
        query(process, kProcessCommandLineInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status >= 0) {
      const auto* text = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
      return FromWide(std::wstring_view(text->Buffer, text->Length / sizeof(wchar_t)));
    }
    if (needed <= buffer.size()) break;
    buffer.resize(needed);
  }
  const ScopedHandle readable(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
  if (!readable.Valid()) return std::nullopt;
  return CommandLineFromParameters(readable.Get(), query);
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

// The process's executable and command line; nothing when it has ended or
// cannot be opened at all.
std::optional<RunningProcess> Opened(DWORD id) {
  const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!process.Valid()) return std::nullopt;
  std::u16string executable = ExecutableOf(process.Get());
  if (executable.empty()) return std::nullopt;
  return RunningProcess{std::move(executable), CommandLineOf(process.Get(), id)};
}

}  // namespace

std::vector<RunningProcess> ListRunningProcesses(std::span<const std::u16string> executables) {
  // One system call lists every process with its file name, so that only a
  // process that may be an IDE is opened and asked.
  using QuerySystem = LONG(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  static const auto query = reinterpret_cast<QuerySystem>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  std::vector<unsigned char> buffer(std::size_t{256} * 1024);
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  LONG status = kLengthMismatch;
  for (int tries = 0; query != nullptr && status == kLengthMismatch && tries < 8; ++tries) {
    ULONG needed = 0;
    status = query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch) buffer.resize(std::max<std::size_t>(needed + 64 * 1024, buffer.size() * 2));
  }
  std::vector<RunningProcess> processes;
  if (query == nullptr || status < 0) return processes;
  DWORD ownSession = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &ownSession);
  for (std::size_t at = 0;;) {
    SYSTEM_PROCESS_INFORMATION entry;
    std::memcpy(&entry, buffer.data() + at, sizeof entry);
    const auto id = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.UniqueProcessId));
    const std::wstring_view name(entry.ImageName.Buffer, entry.ImageName.Length / sizeof(wchar_t));
    // An IDE of another session (another user's desktop) writes another
    // user's settings.
    if (id != 0 && id != GetCurrentProcessId() && entry.SessionId == ownSession &&
        MayRun(FromWide(name), executables)) {
      if (auto process = Opened(id)) processes.push_back(std::move(*process));
    }
    if (entry.NextEntryOffset == 0) break;
    at += entry.NextEntryOffset;
  }
  return processes;
}

}  // namespace ombrisk
