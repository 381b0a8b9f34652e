// A pre-launch command for the tests.
//   exit_with.exe CODE [FILE TEXT [EVENT]]
// Writes TEXT to FILE when given (so a caller can tell the command ran to
// its end) and exits with CODE. With EVENT it writes only once that named
// event is set, so a caller can look before the file can exist; without
// one it takes a moment first, so a caller that does not wait for its end
// finds no file.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 255;
  if (argc >= 5) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, argv[4]);
    WaitForSingleObject(go, INFINITE);
    CloseHandle(go);
  } else {
    Sleep(300);
  }
  if (argc >= 4) {
    HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 254;
    const std::wstring text = argv[3];
    DWORD written = 0;
    WriteFile(file, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  return static_cast<int>(std::wcstol(argv[1], nullptr, 10));
}
