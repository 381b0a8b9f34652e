// The functions of the shell, of the common dialogs and of COM the program
// calls, loaded from the system folder when first used: the main window
// starts without those libraries and the ones they bring along (the common
// dialogs load the printing libraries). Each behaves as the system function
// of its name, and fails as it would when the library cannot be loaded.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace ombrisk::shell {

HINSTANCE ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* folder, int show);
BOOL ExecuteExW(SHELLEXECUTEINFOW* info);
HWND FindTextW(FINDREPLACEW* find);
BOOL GetOpenFileNameW(OPENFILENAMEW* dialog);
BOOL GetSaveFileNameW(OPENFILENAMEW* dialog);
HRESULT GetFolderPathW(HWND owner, int folder, HANDLE token, DWORD flags, wchar_t* path);
// Tells the shell of a change (SHChangeNotify).
void ChangeNotify(LONG event, UINT flags, const void* first, const void* second);
// Files dropped onto a window that accepts them (WS_EX_ACCEPTFILES).
UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* file, UINT size);
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

// COM, from ole32.
HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID wanted, void** object);

}  // namespace ombrisk::shell
