// Helpers for the tests that run under Wine: scratch folders and files,
// registry clean-up, processes, and finding and reading windows.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ombrisk::testing {

// A new empty folder under the temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

void WriteBytes(const std::wstring& path, std::string_view bytes);
void RemoveTree(const std::wstring& path);
// The folder of the running test executable.
std::wstring ExecutableFolder();
// A file of the project's sources, by its path from the project's folder.
std::wstring SourceFile(const std::wstring& relative);

// Deletes keys below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE in the 32-bit
// view when created and again when destroyed.
class RegistryCleaner {
 public:
  explicit RegistryCleaner(std::vector<std::wstring> keys);
  ~RegistryCleaner();
  RegistryCleaner(const RegistryCleaner&) = delete;
  RegistryCleaner& operator=(const RegistryCleaner&) = delete;

 private:
  void Clean() const;
  std::vector<std::wstring> keys_;
};

// Raw registry writes in the 32-bit view, for values the program never writes.
void SetRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
                      DWORD size);
void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text);
// Every key below the path (the 32-bit view) and every value, its type and
// its bytes in hexadecimal, one per line, keys and values sorted:
//   <key>
//   <key>|<name>=<type>:<hex bytes>
std::string DumpRegistryTree(HKEY root, const std::wstring& path);

// How long a wait for a state may take before the test counts as stuck.
inline constexpr std::chrono::milliseconds kStuck = std::chrono::seconds(30);

// Dispatches the thread's pending messages.
void PumpMessages();
// Pumps messages until the condition holds or the test is stuck; true when
// it held. The condition is looked at after every message and at least
// every few milliseconds.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = kStuck);
// Pumps messages until the thread's WM_QUIT comes; false when the test is
// stuck first.
bool WaitForQuit(std::chrono::milliseconds timeout = kStuck);
// Returns once the thread of another process's window has come back to
// its message loop and handled a message sent now: whatever it was doing
// with what it had before (a command after a dialog closed) is done.
bool SyncWithWindow(HWND window);
// Brings another process's window to the foreground, as a click on it
// would, and returns once it is the active window: a menu or a key meant
// for it reaches it only then. False when it does not become so.
bool ActivateWindow(HWND window);
// The bytes of a file another process writes while holding it to itself,
// once it has let go of it with something in it; "" when that does not
// happen in time.
std::string ReadWrittenFile(const std::wstring& path, std::chrono::milliseconds timeout = kStuck);

// A started process, ended by force if still running at destruction.
class Process {
 public:
  // With an output, the process writes its standard output and error into
  // that handle (inheritable), as a shell redirects them.
  explicit Process(const std::wstring& commandLine, HANDLE output = nullptr);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  // The exit code, or STILL_ACTIVE when it did not end in time.
  DWORD WaitForExit(std::chrono::milliseconds timeout = kStuck);
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// The first visible top-level window of the process with the class name (or
// any class when empty) and the caption (or any caption when empty).
HWND FindProcessWindow(DWORD processId, const std::wstring& className, const std::wstring& caption);
// Waits for such a window; nullptr when none appeared in time.
HWND WaitForProcessWindow(DWORD processId, const std::wstring& className, const std::wstring& caption,
                          std::chrono::milliseconds timeout = kStuck);

std::wstring WindowText(HWND window);
// A list view's cell as the list shows it, however long.
std::u16string ListItemText(HWND view, int row, int column);
std::wstring ClassName(HWND window);

// What a message box shows: its static texts, its button captions, and
// whether it carries an icon.
struct MessageBoxContent {
  std::wstring caption;
  std::vector<std::wstring> texts;
  std::vector<std::wstring> buttons;
  bool hasIcon = false;
};
MessageBoxContent ReadMessageBox(HWND dialog);
// Presses the button with the id, as a click on it would.
void PressButton(HWND dialog, int id);

// Narrow text for test messages.
std::string Narrow(std::wstring_view text);

}  // namespace ombrisk::testing

namespace ombrisk::testing {

// Another program holding a file open (tests/helpers/hold_file.cpp) with the
// given access ("read" or "write") and sharing ("r", "w", "d" or "-").
class FileHolder {
 public:
  FileHolder(const std::wstring& path, const std::wstring& access, const std::wstring& share);
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

 private:
  HANDLE ready_ = nullptr;
  std::unique_ptr<Process> process_;
};

// The file names in a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);
// A whole file's bytes.
std::string ReadBytes(const std::wstring& path);

}  // namespace ombrisk::testing
