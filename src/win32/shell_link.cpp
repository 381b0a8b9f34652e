#include "win32/shell_link.h"

#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
#include <shlobj.h>

#include "win32/shell_api.h"
#include "win32/wide.h"

namespace ombrisk {

namespace {

// COM on this thread for as long as it lives, where it could be had.
class ComScope {
 public:
  ComScope() : result_(shell::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    // S_FALSE too: COM was already there, and the count goes down again.
    if (SUCCEEDED(result_)) shell::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// Releases an interface at the end of its scope.
template <class Interface>
class Released {
 public:
  Released() = default;
  ~Released() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Released(const Released&) = delete;
  Released& operator=(const Released&) = delete;

  Interface* operator->() const { return pointer_; }
  void** Out() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace

std::u16string DesktopFolder() {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(shell::GetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return FromWide(path);
}

bool SaveShellLink(std::u16string_view path, const ShellLinkContent& link) {
  const ComScope com;
  Released<IShellLinkW> shellLink;
  if (FAILED(
          shell::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.Out()))) {
    return false;
  }
  Released<IPersistFile> file;
  return SUCCEEDED(shellLink->SetPath(Wide(link.target).c_str())) &&
         SUCCEEDED(shellLink->SetArguments(Wide(link.arguments).c_str())) &&
         SUCCEEDED(shellLink->SetWorkingDirectory(Wide(link.workingFolder).c_str())) &&
         SUCCEEDED(shellLink->SetIconLocation(Wide(link.iconFile).c_str(), link.iconIndex)) &&
         SUCCEEDED(shellLink->SetDescription(Wide(link.description).c_str())) &&
         SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.Out())) &&
         SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

}  // namespace ombrisk
