#include "support/win_test_support.h"

#include <commctrl.h>

#include "core/text.h"
#include "win32/wide.h"

#include <algorithm>
#include <stdexcept>

namespace ombrisk::testing {

TempFolder::TempFolder() {
  wchar_t base[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"ombrisk-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a temporary folder");
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void WriteBytes(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + Narrow(path));
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L"\\/"));
}

RegistryCleaner::RegistryCleaner(std::vector<std::wstring> keys) : keys_(std::move(keys)) { Clean(); }

RegistryCleaner::~RegistryCleaner() { Clean(); }

void RegistryCleaner::Clean() const {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const std::wstring& key : keys_) {
      HKEY handle = nullptr;
      if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &handle) == ERROR_SUCCESS) {
        RegDeleteTreeW(handle, nullptr);
        RegCloseKey(handle);
        RegDeleteKeyExW(root, key.c_str(), KEY_WOW64_32KEY, 0);
      }
    }
  }
}

void SetRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
                      DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot create key " + Narrow(path));
  }
  RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  SetRegistryValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

namespace {

void DumpTree(HKEY root, const std::wstring& path, std::vector<std::string>& lines) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) return;
  lines.push_back(Narrow(path));
  wchar_t name[16384];
  for (DWORD index = 0;; ++index) {
    DWORD length = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(key, index, name, &length, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::string data(size, '\0');
    length = 16384;
    RegEnumValueW(key, index, name, &length, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    std::string hex;
    for (unsigned char byte : data) {
      static const char digits[] = "0123456789abcdef";
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
    lines.push_back(Narrow(path) + "|" + Narrow(name) + "=" + std::to_string(type) + ":" + hex);
  }
  std::vector<std::wstring> children;
  for (DWORD index = 0;; ++index) {
    DWORD length = 16384;
    if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::wstring& child : children) DumpTree(root, path + L"\\" + child, lines);
}

}  // namespace

std::string DumpRegistryTree(HKEY root, const std::wstring& path) {
  std::vector<std::string> lines;
  DumpTree(root, path, lines);
  std::sort(lines.begin(), lines.end());
  std::string dump;
  for (const std::string& line : lines) dump += line + "\n";
  return dump;
}

std::wstring SourceFile(const std::wstring& relative) {
  // The project's folder as the build saw it, a Unix path: Wine's drive Z.
  std::wstring path = L"Z:" + Wide(FromUtf8(OMBRISK_SOURCE_DIR)) + L"/" + relative;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    // Wakes for the next message, or to look again at a state that no
    // message announces (a file, another process).
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool WaitForQuit(std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return true;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool SyncWithWindow(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(kStuck.count()), &result) != 0;
}

bool ActivateWindow(HWND window) {
  return WaitUntil([window] {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    return false;
  });
}

Process::Process(const std::wstring& commandLine, HANDLE output) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
  }
  // An executable a process that just ended still holds cannot start until
  // it is let go: the start is tried again until then.
  DWORD error = ERROR_SUCCESS;
  const bool started = WaitUntil([&] {
    std::wstring writable = commandLine;
    if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr, &startup,
                       &info_)) {
      return true;
    }
    error = GetLastError();
    return error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION;
  });
  if (!started || info_.hProcess == nullptr) {
    throw std::runtime_error("cannot start " + Narrow(commandLine) + " (error " + std::to_string(error) + ")");
  }
}

Process::~Process() {
  Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

DWORD Process::WaitForExit(std::chrono::milliseconds timeout) {
  WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count()));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Process::Kill() {
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
  }
}

std::u16string ListItemText(HWND view, int row, int column) {
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = static_cast<std::size_t>(
        SendMessageW(view, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < buffer.size()) return FromWide(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256];
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<std::size_t>(length));
}

namespace {

struct WindowQuery {
  DWORD processId;
  const std::wstring* className;
  const std::wstring* caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
  auto* query = reinterpret_cast<WindowQuery*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
  if (!query->className->empty() && ClassName(window) != *query->className) return TRUE;
  if (!query->caption->empty() && WindowText(window) != *query->caption) return TRUE;
  query->found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& className, const std::wstring& caption) {
  WindowQuery query{processId, &className, &caption};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForProcessWindow(DWORD processId, const std::wstring& className, const std::wstring& caption,
                          std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindProcessWindow(processId, className, caption)) != nullptr; }, timeout);
  return found;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM lParam) {
  auto* content = reinterpret_cast<MessageBoxContent*>(lParam);
  const std::wstring className = ClassName(child);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
  if (className == L"Button") {
    content->buttons.push_back(WindowText(child));
  } else if (className == L"Static") {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      content->hasIcon = content->hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (GetWindowTextLengthW(child) > 0) {
      content->texts.push_back(WindowText(child));
    }
  }
  return TRUE;
}

}  // namespace

MessageBoxContent ReadMessageBox(HWND dialog) {
  MessageBoxContent content;
  content.caption = WindowText(dialog);
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&content));
  return content;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string Narrow(std::wstring_view text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace ombrisk::testing

namespace ombrisk::testing {

FileHolder::FileHolder(const std::wstring& path, const std::wstring& access, const std::wstring& share) {
  static unsigned counter = 0;
  const std::wstring event =
      L"OmbriskHold-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  ready_ = CreateEventW(nullptr, TRUE, FALSE, event.c_str());
  process_ = std::make_unique<Process>(L"\"" + ExecutableFolder() + L"\\hold_file.exe\" \"" + path + L"\" " + access +
                                       L" " + share + L" " + event);
  if (WaitForSingleObject(ready_, 20000) != WAIT_OBJECT_0) {
    throw std::runtime_error("hold_file.exe did not open " + Narrow(path));
  }
}

FileHolder::~FileHolder() {
  process_.reset();
  CloseHandle(ready_);
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read " + Narrow(path));
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::string ReadWrittenFile(const std::wstring& path, std::chrono::milliseconds timeout) {
  std::string bytes;
  WaitUntil(
      [&] {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
        try {
          bytes = ReadBytes(path);
        } catch (const std::runtime_error&) {
          return false;  // still held by the writer
        }
        return !bytes.empty();
      },
      timeout);
  return bytes;
}

}  // namespace ombrisk::testing
