// Holds a file open the way another program might, until it is ended.
//   hold_file.exe PATH ACCESS SHARE EVENT
// ACCESS is "read" or "write"; SHARE is any of "r", "w", "d" (read, write,
// delete sharing) or "-" for none. EVENT is a named event (manual reset)
// set once the file is open; whoever waits for it may make it before or
// after. Exit code 2 when the file cannot be opened.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) return 1;
  const std::wstring access = argv[2];
  const std::wstring share = argv[3];
  DWORD shareMode = 0;
  if (share.find(L'r') != std::wstring::npos) shareMode |= FILE_SHARE_READ;
  if (share.find(L'w') != std::wstring::npos) shareMode |= FILE_SHARE_WRITE;
  if (share.find(L'd') != std::wstring::npos) shareMode |= FILE_SHARE_DELETE;
  const DWORD desired = access == L"write" ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  HANDLE file = CreateFileW(argv[1], desired, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, argv[4]);
  if (ready != nullptr) SetEvent(ready);
  Sleep(INFINITE);
  return 0;
}
