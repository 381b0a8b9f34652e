#include "win32/console.h"

#include <windows.h>

#include <string>

#include "core/text.h"

namespace ombrisk {

namespace {

// The handle the stream writes to: the one given at the start, else the
// console of the starting process, attached once (a program of the
// windows' subsystem gets none of its own).
HANDLE StreamHandle(ConsoleStream stream) {
  const DWORD which = stream == ConsoleStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
  const HANDLE given = GetStdHandle(which);
  if (given != nullptr && given != INVALID_HANDLE_VALUE) return given;
  static const HANDLE console = [] {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return INVALID_HANDLE_VALUE;
    return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  }();
  return console;
}

}  // namespace

void WriteConsoleLine(ConsoleStream stream, std::u16string_view text) {
  const HANDLE handle = StreamHandle(stream);
  if (handle == INVALID_HANDLE_VALUE) return;
  const std::u16string line = Concat({text, u"\r\n"});
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return;
  }
  const std::string bytes = ToUtf8(line);
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace ombrisk
