#include "win32/win_file_system.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "core/text.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrisk {

std::u16string SystemErrorMessage(unsigned long code) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string message;
  if (buffer != nullptr) {
    message = FromWide(std::wstring_view(buffer, length));
    LocalFree(buffer);
  }
  while (!message.empty() && (IsBlankOrControl(message.back()) || message.back() == u'.')) message.pop_back();
  if (message.empty()) message = u"Error " + DecimalText(static_cast<long long>(code));
  return message;
}

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The folder of a path, "." when it has none.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// Writes the bytes to a new temporary file in the target's folder and puts
// it in place of the target. False, with nothing left behind and the target
// as it was, when the folder or the target refuses.
bool ReplaceAtomically(const std::wstring& target, std::string_view bytes) {
  wchar_t temporary[MAX_PATH];
  if (GetTempFileNameW(FolderOf(target).c_str(), L"omb", 0, temporary) == 0) return false;
  bool placed = false;
  {
    ScopedHandle file(
        CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    placed = file.Valid() && WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
  }
  if (placed) {
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
      placed = MoveFileExW(temporary, target.c_str(), MOVEFILE_WRITE_THROUGH);
    } else {
      // ReplaceFileW keeps the file's attributes and access rights. The
      // backup name is ours, so no backup of the system's own is left behind.
      const std::wstring backup = std::wstring(temporary) + L".bak";
      placed =
          ReplaceFileW(target.c_str(), temporary, backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
      if (!placed && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        MoveFileExW(backup.c_str(), target.c_str(), 0);  // the old file went to the backup: put it back
      }
      DeleteFileW(backup.c_str());
    }
  }
  if (!placed) DeleteFileW(temporary);
  return placed;
}

}  // namespace

namespace {

// A view of the whole file, which keeps the file open (read and replacement
// shared) while it lives; nullptr where the file cannot be mapped.
std::shared_ptr<const char16_t> MapFile(ScopedHandle& file) {
  void* view = nullptr;
  {
    const ScopedHandle section(CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (section.Valid()) view = MapViewOfFile(section.Get(), FILE_MAP_READ, 0, 0, 0);
  }  // the view keeps the section
  if (view == nullptr) return nullptr;
  const HANDLE held = file.Release();
  return std::shared_ptr<const char16_t>(static_cast<const char16_t*>(view), [held](const char16_t* begin) {
    UnmapViewOfFile(begin);
    CloseHandle(held);
  });
}

}  // namespace

FileReadResult WinFileSystem::ReadFile(std::u16string_view path) {
  FileReadResult result;
  if (!FileExists(path)) return result;
  // Others may read the file, or replace it as the program itself does, but
  // not write into it while it is read.
  ScopedHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
    result.status = FileReadStatus::Failed;
    result.error = SystemErrorMessage(GetLastError());
    return result;
  }
  const auto byteCount = static_cast<std::size_t>(size.QuadPart);
  result.status = FileReadStatus::Read;
  // A view reads the file without filling memory of the program's own with
  // it first, which is most of what reading a large file costs.
  if (byteCount > 0) {
    if (std::shared_ptr<const char16_t> view = MapFile(file)) {
      result.content = FileBytes::ForView(std::move(view), byteCount);
      return result;
    }
  }
  result.content = FileBytes::ForSize(byteCount);
  char* out = result.content.Data();
  std::size_t done = 0;
  while (done < byteCount) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(byteCount - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), out + done, chunk, &read, nullptr)) {
      result.status = FileReadStatus::Failed;
      result.error = SystemErrorMessage(GetLastError());
      return result;
    }
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  result.content.byteCount = done;
  return result;
}

std::u16string WinFileSystem::WriteFile(std::u16string_view path, std::string_view bytes) {
  const std::wstring target = Wide(path);
  // A read-only file stays as it is, also where the system would let an
  // administrator replace it.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return SystemErrorMessage(ERROR_ACCESS_DENIED);
  }
  if (ReplaceAtomically(target, bytes)) return {};
  ScopedHandle file(
      CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid() || !WriteAll(file.Get(), bytes)) return SystemErrorMessage(GetLastError());
  return {};
}

bool WinFileSystem::FileExists(std::u16string_view path) {
  if (path.empty()) return false;
  const std::wstring name = Wide(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return true;
  // A link counts when its target can be opened and is no folder.
  const ScopedHandle target(CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!target.Valid()) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(target.Get(), &info) != 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::u16string WinFileSystem::ShortPath(std::u16string_view path) {
  const std::wstring longPath = Wide(path);
  const DWORD length = GetShortPathNameW(longPath.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring shortPath(length, L'\0');
  const DWORD written = GetShortPathNameW(longPath.c_str(), shortPath.data(), length);
  if (written == 0 || written >= length) return {};
  shortPath.resize(written);
  return FromWide(shortPath);
}

std::u16string WinFileSystem::CreateFolder(std::u16string_view path) {
  const std::wstring folder = Wide(path);
  if (CreateDirectoryW(folder.c_str(), nullptr)) return {};
  const DWORD error = GetLastError();
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
  return SystemErrorMessage(error);
}

std::vector<std::u16string> WinFileSystem::ListFiles(std::u16string_view folder) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((Wide(folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(FromWide(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

bool WinFileSystem::RemoveFile(std::u16string_view path) { return DeleteFileW(Wide(path).c_str()) != FALSE; }

}  // namespace ombrisk
