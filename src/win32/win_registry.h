// The registry operations on the Windows registry. Every key is opened in the
// 32-bit view (KEY_WOW64_32KEY), where the IDE releases record themselves,
// so the x86_64 and the i686 builds see the same keys.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace ombrisk {

class WinRegistry : public Registry {
 public:
  WinRegistry() = default;
  ~WinRegistry() override;
  WinRegistry(const WinRegistry&) = delete;
  WinRegistry& operator=(const WinRegistry&) = delete;

  RegistryRoot RootKey() const override { return root_; }
  void SetRootKey(RegistryRoot root) override;
  bool KeyExists(std::u16string_view path) override;
  bool OpenKeyReadOnly(std::u16string_view path) override;
  bool OpenKey(std::u16string_view path, bool create) override;
  void CreateKey(std::u16string_view path) override;
  bool DeleteKey(std::u16string_view path) override;
  bool ValueExists(std::u16string_view name) override;
  std::u16string ReadString(std::u16string_view name) override;
  void WriteString(std::u16string_view name, std::u16string_view text) override;
  std::vector<std::u16string> GetValueNames() override;
  std::vector<std::u16string> GetKeyNames() override;
  std::optional<RegistryData> ReadData(std::u16string_view name) override;
  std::vector<std::pair<std::u16string, RegistryData>> ReadValues() override;
  void WriteData(std::u16string_view name, const RegistryData& data) override;
  void DeleteValue(std::u16string_view name) override;
  void CloseKey() override;

 private:
  HKEY RootHandle() const;
  void ReplaceOpenKey(HKEY key);

  RegistryRoot root_ = RegistryRoot::CurrentUser;
  HKEY openKey_ = nullptr;
};

class WinRegistryFactory : public RegistryFactory {
 public:
  std::unique_ptr<Registry> Create() override { return std::make_unique<WinRegistry>(); }
};

}  // namespace ombrisk
