#include "win32/shell_api.h"

namespace ombrisk::shell {

namespace {

// The function of the system library, or nullptr where it cannot be had.
template <class Function>
Function* Load(const wchar_t* library, const char* name) {
  const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module == nullptr ? nullptr
                           : reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HINSTANCE ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* folder, int show) {
  static const auto function = Load<decltype(::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  if (function == nullptr) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
  return function(owner, verb, file, parameters, folder, show);
}

BOOL ExecuteExW(SHELLEXECUTEINFOW* info) {
  static const auto function = Load<decltype(::ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  return function != nullptr && function(info);
}

HWND FindTextW(FINDREPLACEW* find) {
  static const auto function = Load<decltype(::FindTextW)>(L"comdlg32.dll", "FindTextW");
  return function == nullptr ? nullptr : function(find);
}

BOOL GetOpenFileNameW(OPENFILENAMEW* dialog) {
  static const auto function = Load<decltype(::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  return function != nullptr && function(dialog);
}

BOOL GetSaveFileNameW(OPENFILENAMEW* dialog) {
  static const auto function = Load<decltype(::GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
  return function != nullptr && function(dialog);
}

HRESULT GetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path) {
  static const auto function = Load<decltype(::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
  return function == nullptr ? E_NOTIMPL : function(owner, folder, token, flags, path);
}

void ChangeNotify(LONG event, UINT flags, const void* first, const void* second) {
  static const auto function = Load<decltype(::SHChangeNotify)>(L"shell32.dll", "SHChangeNotify");
  if (function != nullptr) function(event, flags, first, second);
}

UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size) {
  static const auto function = Load<decltype(::DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
  return function == nullptr ? 0 : function(drop, index, file, size);
}

BOOL DragQueryPoint(HDROP drop, POINT* point) {
  static const auto function = Load<decltype(::DragQueryPoint)>(L"shell32.dll", "DragQueryPoint");
  return function != nullptr && function(drop, point);
}

void DragFinish(HDROP drop) {
  static const auto function = Load<decltype(::DragFinish)>(L"shell32.dll", "DragFinish");
  if (function != nullptr) function(drop);
}

HRESULT CoInitializeEx(void* reserved, DWORD model) {
  static const auto function = Load<decltype(::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
  return function == nullptr ? E_NOTIMPL : function(reserved, model);
}

void CoUninitialize() {
  static const auto function = Load<decltype(::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
  if (function != nullptr) function();
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID wanted, void** object) {
  static const auto function = Load<decltype(::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  return function == nullptr ? E_NOTIMPL : function(type, outer, context, wanted, object);
}

}  // namespace ombrisk::shell
