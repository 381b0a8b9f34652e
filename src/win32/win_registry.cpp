#include "win32/win_registry.h"

#include <utility>

#include "core/errors.h"
#include "core/key_identity.h"
#include "core/text.h"
#include "core/texts.h"
#include "win32/handles.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"

namespace ombrisk {

namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

// The path relative to the root: leading and trailing "\" removed.
std::wstring SubKey(std::u16string_view path) {
  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == u'\\') ++first;
  while (last > first && path[last - 1] == u'\\') --last;
  return Wide(path.substr(first, last - first));
}

}  // namespace

WinRegistry::~WinRegistry() { CloseKey(); }

HKEY WinRegistry::RootHandle() const {
  return root_ == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

void WinRegistry::ReplaceOpenKey(HKEY key) {
  CloseKey();
  openKey_ = key;
}

void WinRegistry::SetRootKey(RegistryRoot root) {
  if (root != root_) {
    CloseKey();
    root_ = root;
  }
}

bool WinRegistry::KeyExists(std::u16string_view path) {
  ScopedKey key;
  return RegOpenKeyExW(RootHandle(), SubKey(path).c_str(), 0, KEY_READ | kView, key.Receive()) == ERROR_SUCCESS;
}

bool WinRegistry::OpenKeyReadOnly(std::u16string_view path) {
  ScopedKey key;
  if (RegOpenKeyExW(RootHandle(), SubKey(path).c_str(), 0, KEY_READ | kView, key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  ReplaceOpenKey(key.Release());
  return true;
}

bool WinRegistry::OpenKey(std::u16string_view path, bool create) {
  ScopedKey key;
  const std::wstring subKey = SubKey(path);
  const REGSAM access = KEY_READ | KEY_WRITE | kView;
  const LSTATUS status =
      create ? RegCreateKeyExW(RootHandle(), subKey.c_str(), 0, nullptr, 0, access, nullptr, key.Receive(), nullptr)
             : RegOpenKeyExW(RootHandle(), subKey.c_str(), 0, access, key.Receive());
  if (status != ERROR_SUCCESS) return false;
  ReplaceOpenKey(key.Release());
  return true;
}

void WinRegistry::CreateKey(std::u16string_view path) {
  ScopedKey key;
  if (RegCreateKeyExW(RootHandle(), SubKey(path).c_str(), 0, nullptr, 0, KEY_WRITE | kView, nullptr, key.Receive(),
                      nullptr) != ERROR_SUCCESS) {
    throw AppError(Format(texts::kRegistryCreateKeyFailed, {path}));
  }
}

bool WinRegistry::DeleteKey(std::u16string_view path) {
  const std::wstring subKey = SubKey(path);
  if (subKey.empty()) return false;
  // Empty the key first, in the 32-bit view, then remove the key itself.
  ScopedKey key;
  LSTATUS status =
      RegOpenKeyExW(RootHandle(), subKey.c_str(), 0,
                    DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | kView, key.Receive());
  if (status == ERROR_FILE_NOT_FOUND) return false;
  if (status == ERROR_SUCCESS) {
    status = RegDeleteTreeW(key.Get(), nullptr);
    RegCloseKey(key.Release());
  }
  if (status == ERROR_SUCCESS) status = RegDeleteKeyExW(RootHandle(), subKey.c_str(), kView, 0);
  if (status != ERROR_SUCCESS) throw AppError(KeyDeleteFailedMessage(path, SystemErrorMessage(status)));
  return true;
}

bool WinRegistry::ValueExists(std::u16string_view name) {
  if (openKey_ == nullptr) return false;
  return RegQueryValueExW(openKey_, Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::u16string WinRegistry::ReadString(std::u16string_view name) {
  if (openKey_ == nullptr) return {};
  const std::wstring valueName = Wide(name);
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(openKey_, valueName.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return {};
  if (status != ERROR_SUCCESS) throw AppError(Format(texts::kRegistryReadFailed, {name}));
  if (size == 0) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(Format(texts::kRegistryInvalidType, {name}));
  std::wstring buffer;
  do {
    buffer.resize(size / sizeof(wchar_t) + 1);
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status =
        RegQueryValueExW(openKey_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  } while (status == ERROR_MORE_DATA);
  if (status != ERROR_SUCCESS) throw AppError(Format(texts::kRegistryReadFailed, {name}));
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw AppError(Format(texts::kRegistryInvalidType, {name}));
  buffer.resize(size / sizeof(wchar_t));
  return FromWide(std::wstring_view(buffer.c_str()));
}

void WinRegistry::WriteString(std::u16string_view name, std::u16string_view text) {
  const std::wstring data = Wide(text);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  if (openKey_ == nullptr || RegSetValueExW(openKey_, Wide(name).c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) != ERROR_SUCCESS) {
    throw AppError(Format(texts::kRegistryWriteFailed, {name}));
  }
}

namespace {

// The names of the key's sub keys or values, in enumeration order.
std::vector<std::u16string> EnumeratedNames(HKEY key, bool subKeys) {
  std::vector<std::u16string> names;
  if (key == nullptr) return names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, subKeys ? &count : nullptr, subKeys ? &longest : nullptr,
                       nullptr, subKeys ? nullptr : &count, subKeys ? nullptr : &longest, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return names;
  }
  std::wstring buffer(longest + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS status = subKeys
                               ? RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                               : RegEnumValueW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) break;
    names.push_back(FromWide(std::wstring_view(buffer.data(), length)));
  }
  return names;
}

}  // namespace

std::vector<std::u16string> WinRegistry::GetValueNames() { return EnumeratedNames(openKey_, false); }

std::vector<std::u16string> WinRegistry::GetKeyNames() { return EnumeratedNames(openKey_, true); }

std::optional<RegistryData> WinRegistry::ReadData(std::u16string_view name) {
  if (openKey_ == nullptr) return std::nullopt;
  const std::wstring valueName = Wide(name);
  RegistryData data;
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(openKey_, valueName.c_str(), nullptr, &type, nullptr, &size);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    data.bytes.resize(size);
    status = RegQueryValueExW(openKey_, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.bytes.data()),
                              &size);
    if (status == ERROR_SUCCESS) {
      data.bytes.resize(size);
      data.type = type;
      return data;
    }
  }
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  throw AppError(Format(texts::kRegistryReadFailed, {name}));
}

std::vector<std::pair<std::u16string, RegistryData>> WinRegistry::ReadValues() {
  std::vector<std::pair<std::u16string, RegistryData>> values;
  DWORD count = 0;
  DWORD longestName = 0;
  DWORD longestData = 0;
  if (openKey_ == nullptr) return values;
  if (RegQueryInfoKeyW(openKey_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
    throw AppError(Format(texts::kRegistryReadFailed, {u""}));
  }
  // One call a value: its name, type and bytes. A value that grew since the
  // key was asked grows the buffers.
  std::wstring name(longestName + 1, L'\0');
  std::string bytes(longestData, '\0');
  for (DWORD index = 0; index < count;) {
    auto nameLength = static_cast<DWORD>(name.size());
    auto size = static_cast<DWORD>(bytes.size());
    DWORD type = 0;
    const LSTATUS status = RegEnumValueW(openKey_, index, name.data(), &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA && size > bytes.size()) {
      bytes.resize(size);
      continue;
    }
    if (status == ERROR_MORE_DATA && name.size() < 32768) {
      name.resize(32768);  // the longest name a value may have, and its NUL
      continue;
    }
    if (status != ERROR_SUCCESS) {
      throw AppError(Format(texts::kRegistryReadFailed, {FromWide(std::wstring_view(name.data(), nameLength))}));
    }
    values.emplace_back(FromWide(std::wstring_view(name.data(), nameLength)),
                        RegistryData{type, bytes.substr(0, size)});
    ++index;
  }
  return values;
}

void WinRegistry::WriteData(std::u16string_view name, const RegistryData& data) {
  if (openKey_ == nullptr ||
      RegSetValueExW(openKey_, Wide(name).c_str(), 0, data.type, reinterpret_cast<const BYTE*>(data.bytes.data()),
                     static_cast<DWORD>(data.bytes.size())) != ERROR_SUCCESS) {
    throw AppError(Format(texts::kRegistryWriteFailed, {name}));
  }
}

void WinRegistry::DeleteValue(std::u16string_view name) {
  if (openKey_ == nullptr) throw AppError(Format(texts::kRegistryWriteFailed, {name}));
  const LSTATUS status = RegDeleteValueW(openKey_, Wide(name).c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    throw AppError(Format(texts::kRegistryWriteFailed, {name}));
  }
}

void WinRegistry::CloseKey() {
  if (openKey_ != nullptr) {
    RegCloseKey(openKey_);
    openKey_ = nullptr;
  }
}

}  // namespace ombrisk
