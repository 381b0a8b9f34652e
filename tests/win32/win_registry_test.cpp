#include "win32/win_registry.h"

#include "contract/registry_contract.h"
#include "support/win_test_support.h"
#include "win32/wide.h"

namespace ombrisk {
namespace {

using testing::SetRegistryValue;

class WinRegistryUnderTest : public contract::RegistryUnderTest {
 public:
  std::unique_ptr<Registry> NewRegistry() override { return std::make_unique<WinRegistry>(); }
  void SetDword(std::u16string_view path, std::u16string_view name, std::uint32_t value) override {
    SetRegistryValue(HKEY_CURRENT_USER, SubKey(path), Wide(name), REG_DWORD, &value, sizeof value);
  }
  void SetExpandString(std::u16string_view path, std::u16string_view name, std::u16string_view text) override {
    const std::wstring data = Wide(text);
    SetRegistryValue(HKEY_CURRENT_USER, SubKey(path), Wide(name), REG_EXPAND_SZ, data.c_str(),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  void SetStringWithNul(std::u16string_view path, std::u16string_view name, std::u16string_view before,
                        std::u16string_view after) override {
    std::wstring data = Wide(before);
    data += L'\0';
    data += Wide(after);
    SetRegistryValue(HKEY_CURRENT_USER, SubKey(path), Wide(name), REG_SZ, data.c_str(),
                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  }
  std::u16string UncreatablePath() override {
    // Key names are limited to 255 characters.
    return contract::Scratch(std::u16string(300, u'k'));
  }
  void Clean() override { testing::RegistryCleaner{{SubKey(contract::kScratch)}}; }

 private:
  static std::wstring SubKey(std::u16string_view path) { return Wide(path.substr(1)); }
};

std::unique_ptr<contract::RegistryUnderTest> MakeWinRegistry() { return std::make_unique<WinRegistryUnderTest>(); }

const std::wstring kViewKey = L"Software\\OmbriskView";

// Where a key lands when opened raw in one view of HKEY_LOCAL_MACHINE.
bool ExistsInView(REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kViewKey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

TEST(WinRegistry, MachineKeysLiveInThe32BitView) {
  testing::RegistryCleaner cleaner{{kViewKey}};
  WinRegistry registry;
  registry.SetRootKey(RegistryRoot::LocalMachine);
  ASSERT_TRUE(registry.OpenKey(u"\\Software\\OmbriskView", true));
  registry.WriteString(u"APP", u"C:\\D7\\delphi32.exe");
  registry.CloseKey();
  EXPECT_TRUE(ExistsInView(KEY_WOW64_32KEY));
#ifdef _WIN64
  EXPECT_FALSE(ExistsInView(KEY_WOW64_64KEY)) << "the 64-bit view is not where releases 2 to 7 record themselves";
#endif
  EXPECT_TRUE(registry.DeleteKey(u"\\Software\\OmbriskView"));
  EXPECT_FALSE(ExistsInView(KEY_WOW64_32KEY));
}

TEST(WinRegistry, ValueNamesComeInTheRegistrysOwnEnumerationOrder) {
  testing::RegistryCleaner cleaner{{L"Software\\OmbriskOrder"}};
  WinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(u"\\Software\\OmbriskOrder", true));
  for (std::u16string_view name : {u"c.bpl", u"A.bpl", u"b.bpl", u"$(BDS)\\bin\\x.bpl"})
    registry.WriteString(name, u"");
  std::vector<std::u16string> enumerated;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OmbriskOrder", 0, KEY_READ | KEY_WOW64_32KEY, &key),
            ERROR_SUCCESS);
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    enumerated.push_back(FromWide(std::wstring_view(name, length)));
  }
  RegCloseKey(key);
  EXPECT_EQ(registry.GetValueNames(), enumerated);
  EXPECT_EQ(enumerated.size(), 4u);
}

TEST(WinRegistry, LongStringsAreReadWhole) {
  testing::RegistryCleaner cleaner{{L"Software\\OmbriskLong"}};
  WinRegistry registry;
  ASSERT_TRUE(registry.OpenKey(u"\\Software\\OmbriskLong", true));
  std::u16string path;
  for (int i = 0; i < 400; ++i) path += u"$(BDS)\\lib\\パス" + DecimalText(i) + u";";
  registry.WriteString(u"Search Path", path);
  EXPECT_EQ(registry.ReadString(u"Search Path"), path);
}

}  // namespace

namespace contract {
INSTANTIATE_TEST_SUITE_P(Windows, RegistryContract, ::testing::Values(&MakeWinRegistry));
}  // namespace contract

}  // namespace ombrisk
