// The behaviour every registry implementation must show, run against the
// in-memory registry in the core tests and against the Windows registry
// under Wine, so that the core's tests and the real program agree.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "core/errors.h"
#include "core/key_identity.h"
#include "core/registry.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "support/expect_app_error.h"

namespace ombrisk::contract {

// What a contract run needs besides the registry operations themselves.
class RegistryUnderTest {
 public:
  virtual ~RegistryUnderTest() = default;
  virtual std::unique_ptr<Registry> NewRegistry() = 0;
  // Stores values the program itself never writes.
  virtual void SetDword(std::u16string_view path, std::u16string_view name, std::uint32_t value) = 0;
  virtual void SetExpandString(std::u16string_view path, std::u16string_view name, std::u16string_view text) = 0;
  // A string value whose data holds a NUL inside.
  virtual void SetStringWithNul(std::u16string_view path, std::u16string_view name, std::u16string_view before,
                                std::u16string_view after) = 0;
  // A path below the scratch key that CreateKey cannot create.
  virtual std::u16string UncreatablePath() = 0;
  // Removes the scratch key.
  virtual void Clean() = 0;
};

using RegistryUnderTestFactory = std::unique_ptr<RegistryUnderTest> (*)();

// Every contract case works below this key of HKEY_CURRENT_USER.
inline constexpr std::u16string_view kScratch = u"\\Software\\OmbriskContract";

inline std::u16string Scratch(std::u16string_view sub) {
  std::u16string path(kScratch);
  path += u'\\';
  path += sub;
  return path;
}

class RegistryContract : public ::testing::TestWithParam<RegistryUnderTestFactory> {
 protected:
  void SetUp() override {
    under_ = GetParam()();
    under_->Clean();
  }
  void TearDown() override { under_->Clean(); }

  std::unique_ptr<RegistryUnderTest> under_;
};

TEST_P(RegistryContract, CreateKeyMakesParentsAndLeavesTheOpenKeyAlone) {
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Open"), true));
  registry->CreateKey(Scratch(u"A\\B\\C\\"));
  EXPECT_TRUE(registry->KeyExists(Scratch(u"A")));
  EXPECT_TRUE(registry->KeyExists(Scratch(u"A\\B\\C")));
  EXPECT_TRUE(registry->KeyExists(Scratch(u"a\\b\\c\\")));
  registry->WriteString(u"Where", u"open");
  registry->CloseKey();
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"Open")));
  EXPECT_EQ(registry->ReadString(u"Where"), u"open");
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"A\\B\\C")));
  EXPECT_FALSE(registry->ValueExists(u"Where"));
}

TEST_P(RegistryContract, FailedOpensKeepTheOpenKey) {
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Kept"), true));
  registry->WriteString(u"Name", u"kept");
  EXPECT_FALSE(registry->OpenKeyReadOnly(Scratch(u"Missing")));
  EXPECT_FALSE(registry->OpenKey(Scratch(u"Missing"), false));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"Missing")));
  EXPECT_EQ(registry->ReadString(u"Name"), u"kept");
  EXPECT_TRUE(registry->OpenKey(Scratch(u"Made\\Deep"), true));
  EXPECT_TRUE(registry->KeyExists(Scratch(u"Made\\Deep")));
  EXPECT_FALSE(registry->ValueExists(u"Name"));
}

TEST_P(RegistryContract, StringsRoundTripAndNamesIgnoreCase) {
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Values"), true));
  registry->WriteString(u"Search Path", u"$(BDS)\\lib;C:\\ライブラリ");
  registry->WriteString(u"Empty", u"");
  registry->WriteString(u"search path", u"replaced");
  EXPECT_EQ(registry->ReadString(u"SEARCH PATH"), u"replaced");
  EXPECT_TRUE(registry->ValueExists(u"empty"));
  EXPECT_EQ(registry->ReadString(u"Empty"), u"");
  EXPECT_FALSE(registry->ValueExists(u"Missing"));
  EXPECT_EQ(registry->ReadString(u"Missing"), u"");
  registry->WriteString(u"Japanese", u"パッケージ");
  registry->CloseKey();
  EXPECT_FALSE(registry->ValueExists(u"Japanese"));
  EXPECT_EQ(registry->ReadString(u"Japanese"), u"");
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"values\\")));
  EXPECT_EQ(registry->ReadString(u"Japanese"), u"パッケージ");
}

TEST_P(RegistryContract, ReadStringTakesStringsAsStoredAndRefusesOtherTypes) {
  under_->SetExpandString(Scratch(u"Types"), u"Expand", u"%SystemRoot%\\bin");
  under_->SetDword(Scratch(u"Types"), u"Number", 7);
  under_->SetStringWithNul(Scratch(u"Types"), u"Cut", u"before", u"after");
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"Types")));
  EXPECT_EQ(registry->ReadString(u"Expand"), u"%SystemRoot%\\bin");
  EXPECT_EQ(registry->ReadString(u"Cut"), u"before");
  EXPECT_TRUE(registry->ValueExists(u"Number"));
  testing::ExpectAppError([&] { registry->ReadString(u"Number"); }, u"'Number' のデータ型が不正です");
}

TEST_P(RegistryContract, WriteStringFailsWithoutAWritableKey) {
  auto registry = under_->NewRegistry();
  testing::ExpectAppError([&] { registry->WriteString(u"Nowhere", u"x"); }, u"'Nowhere' の設定に失敗しました");
  registry->CreateKey(Scratch(u"ReadOnly"));
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"ReadOnly")));
  testing::ExpectAppError([&] { registry->WriteString(u"Locked", u"x"); }, u"'Locked' の設定に失敗しました");
  EXPECT_FALSE(registry->ValueExists(u"Locked"));
}

TEST_P(RegistryContract, CreateKeyReportsThePathItCouldNotCreate) {
  auto registry = under_->NewRegistry();
  const std::u16string path = under_->UncreatablePath();
  testing::ExpectAppError([&] { registry->CreateKey(path); }, u"キー " + path + u" の作成に失敗しました");
}

// Paths resolve as the registry resolves them, which is what KeyIdentity
// says: repeated separators skipped, names compared with case ignored over
// all of Unicode (full-width and accented letters too, one to one: "ß" is
// no "SS").
TEST_P(RegistryContract, PathsResolveAsTheKeyIdentitySays) {
  const testing::PlatformTextComparer comparer;
  const auto same = [&](std::u16string_view a, std::u16string_view b) {
    return KeyIdentity(a, comparer.Mapping()) == KeyIdentity(b, comparer.Mapping());
  };
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Ärger\\\\ＴＥＳＴ"), true));
  registry->WriteString(u"Größe Ä", u"1");
  registry->CloseKey();
  for (const std::u16string_view other : {u"ärger\\ｔｅｓｔ\\", u"\\ÄRGER\\\\\\ｔｅｓｔ"}) {
    SCOPED_TRACE(ToUtf8(other));
    EXPECT_TRUE(same(Scratch(u"Ärger\\\\ＴＥＳＴ"), Scratch(other)));
    ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(other)));
    EXPECT_EQ(registry->ReadString(u"GRÖSSE ä"), u"");
    EXPECT_EQ(registry->ReadString(u"grÖße ä"), u"1");
  }
  ASSERT_TRUE(registry->OpenKeyReadOnly(kScratch));
  EXPECT_EQ(registry->GetKeyNames(), std::vector<std::u16string>{u"Ärger"});
  registry->CreateKey(Scratch(u"Straße"));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"STRASSE")));
  EXPECT_FALSE(same(Scratch(u"Straße"), Scratch(u"STRASSE")));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"ＴＥＳＴ")));
  EXPECT_FALSE(same(Scratch(u"ＴＥＳＴ"), Scratch(u"TEST"))) << "a full-width letter is no ASCII letter";
  EXPECT_TRUE(registry->DeleteKey(Scratch(u"ärger\\ｔｅｓｔ")));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"Ärger\\ＴＥＳＴ")));
}

TEST_P(RegistryContract, DeleteKeyRemovesSubKeysAndValues) {
  auto registry = under_->NewRegistry();
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Gone\\Child\\Grandchild"), true));
  registry->WriteString(u"Deep", u"1");
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Gone"), true));
  registry->WriteString(u"Top", u"1");
  registry->CloseKey();
  EXPECT_TRUE(registry->DeleteKey(Scratch(u"Gone\\")));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"Gone")));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"Gone\\Child")));
  EXPECT_FALSE(registry->DeleteKey(Scratch(u"Gone")));
  EXPECT_TRUE(registry->KeyExists(kScratch));
  registry->CreateKey(Scratch(u"Gone"));
  ASSERT_TRUE(registry->OpenKeyReadOnly(Scratch(u"Gone")));
  EXPECT_TRUE(registry->GetValueNames().empty());
}

TEST_P(RegistryContract, ValueNamesListEveryValueOnce) {
  auto registry = under_->NewRegistry();
  EXPECT_TRUE(registry->GetValueNames().empty());
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Names"), true));
  for (std::u16string_view name : {u"zeta.bpl", u"alpha.bpl", u"$(BDS)\\bin\\dcl.bpl", u"Mid"}) {
    registry->WriteString(name, u"x");
  }
  registry->WriteString(u"MID", u"again");
  auto names = registry->GetValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"$(BDS)\\bin\\dcl.bpl", u"Mid", u"alpha.bpl", u"zeta.bpl"}));
}

// Values of every type as stored, byte for byte; deletion; sub key names.
TEST_P(RegistryContract, DataRoundTripsOfAnyTypeAndValuesAndKeysCanBeListedAndRemoved) {
  auto registry = under_->NewRegistry();
  EXPECT_EQ(registry->ReadData(u"Nothing open"), std::nullopt);
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Data\\Sub Two"), true));
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Data\\sub one"), true));
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Data"), true));
  const RegistryData values[] = {
      StringData(u"パス \"q\" \\"),
      StringData(u"%BDS%", registry_type::kExpandString),
      {registry_type::kDWord, std::string("\x2A\0\0\0", 4)},
      {registry_type::kBinary, std::string("\0\xFF\x01", 3)},
      {7, std::string("a\0\0\0\0\0", 6)},
      {registry_type::kString, std::string("odd", 3)},
      {registry_type::kBinary, ""},
  };
  for (std::size_t i = 0; i < std::size(values); ++i) registry->WriteData(Concat({u"v", DecimalText(i)}), values[i]);
  for (std::size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(registry->ReadData(Concat({u"V", DecimalText(i)})), values[i]);
  EXPECT_EQ(registry->ReadString(u"v0"), u"パス \"q\" \\");
  EXPECT_EQ(registry->ReadData(u"missing"), std::nullopt);
  registry->DeleteValue(u"V0");
  registry->DeleteValue(u"missing");
  EXPECT_FALSE(registry->ValueExists(u"v0"));
  EXPECT_EQ(registry->GetValueNames().size(), std::size(values) - 1);
  const auto read = registry->ReadValues();
  ASSERT_EQ(read.size(), std::size(values) - 1);
  for (std::size_t i = 1; i < std::size(values); ++i) {
    EXPECT_EQ(read[i - 1], std::make_pair(Concat({u"v", DecimalText(i)}), values[i])) << i;
  }
  auto keys = registry->GetKeyNames();
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, (std::vector<std::u16string>{u"Sub Two", u"sub one"}));
  registry->CloseKey();
  EXPECT_TRUE(registry->GetKeyNames().empty());
  EXPECT_TRUE(registry->ReadValues().empty());
  testing::ExpectAppError([&] { registry->DeleteValue(u"v1"); }, u"'v1' の設定に失敗しました");
}

TEST_P(RegistryContract, SwitchingTheRootClosesTheOpenKey) {
  auto registry = under_->NewRegistry();
  EXPECT_EQ(registry->RootKey(), RegistryRoot::CurrentUser);
  ASSERT_TRUE(registry->OpenKey(Scratch(u"Root"), true));
  registry->WriteString(u"Here", u"1");
  registry->SetRootKey(RegistryRoot::CurrentUser);
  EXPECT_TRUE(registry->ValueExists(u"Here"));
  registry->SetRootKey(RegistryRoot::LocalMachine);
  EXPECT_FALSE(registry->ValueExists(u"Here"));
  EXPECT_FALSE(registry->KeyExists(Scratch(u"Root")));
  registry->SetRootKey(RegistryRoot::CurrentUser);
  EXPECT_FALSE(registry->ValueExists(u"Here"));
  EXPECT_TRUE(registry->KeyExists(Scratch(u"Root")));
}

}  // namespace ombrisk::contract
