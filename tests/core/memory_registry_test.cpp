#include "support/memory_registry.h"

#include "contract/registry_contract.h"

namespace ombrisk {
namespace {

class MemoryRegistryUnderTest : public contract::RegistryUnderTest {
 public:
  std::unique_ptr<Registry> NewRegistry() override { return std::make_unique<MemoryRegistry>(store_); }
  void SetDword(std::u16string_view path, std::u16string_view name, std::uint32_t value) override {
    std::string bytes;
    for (int shift : {0, 8, 16, 24}) bytes += static_cast<char>(value >> shift);
    store_.SetValue(RegistryRoot::CurrentUser, path, name, RegistryData{registry_type::kDWord, bytes});
  }
  void SetExpandString(std::u16string_view path, std::u16string_view name, std::u16string_view text) override {
    store_.SetValue(RegistryRoot::CurrentUser, path, name, StringData(text, registry_type::kExpandString));
  }
  void SetStringWithNul(std::u16string_view path, std::u16string_view name, std::u16string_view before,
                        std::u16string_view after) override {
    std::u16string text(before);
    text += u'\0';
    text += after;
    store_.SetString(RegistryRoot::CurrentUser, path, name, text);
  }
  std::u16string UncreatablePath() override {
    store_.refuseWrites = true;
    return contract::Scratch(u"Refused");
  }
  void Clean() override {
    store_.refuseWrites = false;
    store_.Delete(RegistryRoot::CurrentUser, contract::kScratch);
  }

 private:
  MemoryRegistryStore store_;
};

std::unique_ptr<contract::RegistryUnderTest> MakeMemoryRegistry() {
  return std::make_unique<MemoryRegistryUnderTest>();
}

}  // namespace

namespace contract {
INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract, ::testing::Values(&MakeMemoryRegistry));
}  // namespace contract

}  // namespace ombrisk
