#include "core/alternate_key.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/launch_backup.h"
#include "core/test_comparer.h"
#include "core/text.h"

namespace ombrisk {
namespace {

using Dump = std::map<std::u16string, std::u16string>;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// The keys and values below a key, exactly, as "sub key|name".
Dump Below(MemoryRegistryStore& store, std::u16string_view key) {
  Dump below;
  const std::u16string prefix = std::u16string(key.substr(1)) + u"\\";
  for (const auto& [path, value] : testing::DumpRegistry(store, kUser, true)) {
    if (path.starts_with(prefix)) below[path.substr(prefix.size())] = value;
  }
  return below;
}

std::vector<std::u16string> ValueNames(MemoryRegistryStore& store, std::u16string_view key) {
  std::vector<std::u16string> names;
  for (const auto& [name, data] : store.Find(kUser, key)->values) names.push_back(name);
  return names;
}

TEST(AlternateKey, OnlyANamedKeyOtherThanTheBaseOfALaterReleaseIsOwn) {
  struct Case {
    VersionCode code;
    bool useAltReg;
    std::u16string_view altReg;
    std::optional<std::u16string_view> path;
  };
  for (const Case& c : std::initializer_list<Case>{
           {2017, true, u"TEST", u"\\Software\\Embarcadero\\TEST\\14.0"},
           {8, true, u"Mine", u"\\Software\\Borland\\Mine\\2.0"},
           {2017, false, u"TEST", std::nullopt},
           {7, true, u"TEST", std::nullopt},
           {2017, true, u"", std::nullopt},
           {2017, true, u"  ", std::nullopt},
           {2017, true, u"bds", std::nullopt},
           {2017, true, u" Bds ", std::nullopt},
       }) {
    SCOPED_TRACE(ToUtf8(c.altReg));
    const std::optional<AlternateKey> key = OwnAlternateKey(c.code, c.useAltReg, c.altReg);
    ASSERT_EQ(key.has_value(), c.path.has_value());
    if (!key) continue;
    EXPECT_EQ(key->path, *c.path);
    EXPECT_EQ(key->base, IdeRegistryKey(c.code, false, u"").substr(0, key->base.size()));
  }
}

// The copy replaces the key by the base key with every type, byte and
// order; a backup taken before gives the old key back exactly.
TEST(AlternateKey, TheCopyIsTheBaseKeyWholeAndItsBackupUndoesIt) {
  MemoryRegistryStore store;
  MemoryRegistryFactory registries{store};
  const AlternateKey key = *OwnAlternateKey(2017, true, u"TEST");
  const std::u16string packages = key.base + u"\\Known Packages";
  for (const std::u16string_view name : {u"z.bpl", u"a.bpl", u"m.bpl"}) store.SetString(kUser, packages, name, name);
  store.SetValue(kUser, key.base, u"", StringData(u"default"));
  store.SetValue(kUser, key.base, u"Binary", RegistryData{3, std::string("\0\xFF\x10", 3)});
  store.SetValue(kUser, key.base, u"Many", RegistryData{7, LittleEndianBytes(std::u16string(u"a\0b\0\0", 5))});
  store.SetValue(kUser, key.base, u"Count", RegistryData{4, std::string("\7\0\0\0", 4)});
  store.SetValue(kUser, key.base + u"\\Library\\Win32", u"Search Path", StringData(u"$(BDS)\\lib", 2));
  store.Create(kUser, key.base + u"\\Empty");
  store.SetString(kUser, key.path + u"\\Stale", u"old", u"value");
  store.SetString(kUser, key.path, u"Kept?", u"no");
  const Dump before = testing::DumpRegistry(store, kUser, true);
  testing::FakeFileSystem files;
  const RegistryScript backup = WholeKeyBackup(*registries.Create(), key, u"Setup");
  EXPECT_EQ(backup.profile, u"Setup");

  CopyBaseKey(*registries.Create(), key);
  EXPECT_EQ(Below(store, key.path), Below(store, key.base));
  EXPECT_EQ(ValueNames(store, key.path + u"\\Known Packages"),
            (std::vector<std::u16string>{u"z.bpl", u"a.bpl", u"m.bpl"}));
  EXPECT_EQ(ValueNames(store, key.path), (std::vector<std::u16string>{u"", u"Binary", u"Many", u"Count"}));

  WriteLaunchBackup(files, u"C:\\B", 2017, key.path, backup, BackupTime{2026, 12, 10, 9, 0, 0});
  RestoreBackup(registries, files, u"C:\\B\\2017_TEST_20261210-090000.reg");
  EXPECT_EQ(testing::DumpRegistry(store, kUser, true), before);

  // Without a base key nothing changes.
  store.Delete(kUser, key.base);
  const Dump withoutBase = testing::DumpRegistry(store, kUser, true);
  CopyBaseKey(*registries.Create(), key);
  EXPECT_EQ(testing::DumpRegistry(store, kUser, true), withoutBase);
}

TEST(AlternateKey, AnotherProfileUsesTheKeyWithTheSameReleaseAndNameInAnyCase) {
  struct Case {
    std::u16string_view other;
    bool uses;
  };
  for (const Case& c : std::initializer_list<Case>{
           {u"[PREF_Other]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=test\r\n", true},
           {u"[PREF_Other]\r\nVersion=2018\r\nUseAltReg=1\r\nAltReg=TEST\r\n", false},
           {u"[PREF_Other]\r\nVersion=2017\r\nUseAltReg=0\r\nAltReg=TEST\r\n", false},
           {u"[PREF_Other]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST2\r\n", false},
           {u"[PREF_SELF]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\n", false},
           {u"[Other]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\n", false},
       }) {
    SCOPED_TRACE(ToUtf8(c.other));
    testing::FakeFileSystem files;
    testing::PlatformTextComparer comparer;
    const std::u16string text = Concat({u"[PREF_Self]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\n", c.other});
    files.contents[u"C:\\o.env"] = "\xFF\xFE" + LittleEndianBytes(text);
    const SettingsFile file(files, comparer, u"C:\\o.env");
    EXPECT_EQ(AnotherProfileUsesKey(file, u"Self", 2017, *OwnAlternateKey(2017, true, u"TEST")), c.uses);
  }
}

}  // namespace
}  // namespace ombrisk
