#include "core/alternate_key.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/launch.h"
#include "core/launch_backup.h"
#include "core/running_ide.h"
#include "core/test_comparer.h"
#include "core/text.h"
#include "support/expect_app_error.h"

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

// Which key a name is, as the registry resolves it, and what the program
// may do with it: the editor's refusal, the key it may create, replace or
// delete, whether another profile's key meets it, and that an IDE started
// with the launch's switch is found using exactly that key. The file holds a
// profile "Other" of 13 Florence with the key "ｔｅｓｔ".
TEST(AlternateKey, ANameIsTheKeyTheRegistryOpens) {
  constexpr std::u16string_view kOverlaps = u"代替レジストリキー [%s] は %s の設定キーと重なるため使用できません";
  constexpr std::u16string_view kInvalid = u"代替レジストリキー名 [%s] は使用できません";
  const std::u16string longName(80, u'x');
  struct Case {
    VersionCode code;
    std::u16string_view altReg;
    std::u16string refusal;  // "" for none
    std::optional<std::u16string> path;
    KeySharing sharing = KeySharing::None;
  };
  const auto overlaps = [&](std::u16string_view name, VersionCode code) {
    return Format(kOverlaps, {name, FindRelease(code)->label});
  };
  const Case cases[] = {
      {2027, u"Team:A", u"", u"\\Software\\Embarcadero\\Team:A\\37.0"},
      {2027, u"Client/Main", u"", u"\\Software\\Embarcadero\\Client/Main\\37.0"},
      {2027, u"Foo\\Bar", u"", u"\\Software\\Embarcadero\\Foo\\Bar\\37.0"},
      {2027, u"My Key", u"", u"\\Software\\Embarcadero\\My Key\\37.0"},
      {2027, u"  Spaced\t", u"", u"\\Software\\Embarcadero\\Spaced\\37.0"},
      {2027, longName, u"", Concat({u"\\Software\\Embarcadero\\", longName, u"\\37.0"})},
      {2027, u"ＴＥＳＴ", u"", u"\\Software\\Embarcadero\\ＴＥＳＴ\\37.0", KeySharing::Same},
      {2027, u"ＴＥＳＴ\\37.0", u"", u"\\Software\\Embarcadero\\ＴＥＳＴ\\37.0\\37.0", KeySharing::Nested},
      {2027, u"Ärger", u"", u"\\Software\\Embarcadero\\Ärger\\37.0"},
      {2026, u"ｔｅｓｔ", u"", u"\\Software\\Embarcadero\\ｔｅｓｔ\\23.0"},
      {2027, u"bds", u"", std::nullopt},
      {2027, u" BDS ", u"", std::nullopt},
      {2027, u"", u"", std::nullopt},
      {7, u"Anything", u"", std::nullopt},
      {2027, u"BDS\\", Format(kInvalid, {u"BDS\\"}), std::nullopt},
      {2027, u"\\BDS", Format(kInvalid, {u"\\BDS"}), std::nullopt},
      {2027, u"BDS\\\\", Format(kInvalid, {u"BDS\\\\"}), std::nullopt},
      {2027, u"A\\\\B", Format(kInvalid, {u"A\\\\B"}), std::nullopt},
      {2027,
       u"A\x1F"
       u"B",
       Format(kInvalid, {u"A\x1F"
                         u"B"}),
       std::nullopt},
      {2027, u"A\"B", Format(kInvalid, {u"A\"B"}), std::nullopt},
      {2027, u"BDS\\37.0", overlaps(u"BDS\\37.0", 2027), std::nullopt},
      {2027, u"bds\\23.0", overlaps(u"bds\\23.0", 2026), std::nullopt},
      {2007, u"Delphi", overlaps(u"Delphi", 5), std::nullopt},
      {8, u"DELPHI", overlaps(u"DELPHI", 2), std::nullopt},
      {2007, u"Delphi\\5.0", overlaps(u"Delphi\\5.0", 5), std::nullopt},
  };
  testing::PlatformTextComparer comparer;
  const CaseMapping& mapping = comparer.Mapping();
  testing::FakeFileSystem files;
  files.contents[u"C:\\o.env"] = "\xFF\xFE" + LittleEndianBytes(
                                                  u"[PREF_Other]\r\nVersion=2027\r\nUseAltReg=1\r\nAltReg=ｔｅｓｔ\r\n"
                                                  u"[PREF_Self]\r\nVersion=2027\r\nUseAltReg=1\r\nAltReg=Self\r\n");
  const SettingsFile file(files, comparer, u"C:\\o.env");
  MemoryRegistryStore store;
  MemoryRegistryFactory registries(store);
  std::vector<RunningProcess> running;
  const ProcessLister lister = [&](std::span<const std::u16string>) { return running; };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.altReg));
    EXPECT_EQ(AlternateKeyRefusal(c.code, true, c.altReg, mapping).value_or(u""), c.refusal);
    EXPECT_FALSE(AlternateKeyRefusal(c.code, false, c.altReg, mapping)) << "not chosen";
    const std::optional<AlternateKey> key = OwnAlternateKey(c.code, true, c.altReg, mapping);
    ASSERT_EQ(key.has_value(), c.path.has_value());
    if (!key) continue;
    EXPECT_EQ(key->path, *c.path);
    EXPECT_EQ(key->base, IdeRegistryKey(c.code, false, u"").substr(0, key->base.size()));
    EXPECT_EQ(OtherProfileWithKey(file, u"Self", *key, mapping).sharing, c.sharing);
    EXPECT_EQ(OtherProfileWithKey(file, u"other", *key, mapping).sharing, KeySharing::None) << "its own profile";

    // The IDE started with the launch's switch reads the same key back.
    store.SetString(RegistryRoot::CurrentUser, InstallationKey(c.code), u"APP", u"C:\\IDE\\bds.exe");
    ProfileRecord record;
    record.useAltReg = true;
    record.altReg = c.altReg;
    const std::u16string commandLine = Concat({u"\"C:\\IDE\\bds.exe\" ", BuildIdeParameters(record)});
    EXPECT_EQ(KeyIdentity(IdeRegistryKey(c.code, true, AlternateKeyOfCommandLine(commandLine)), mapping),
              KeyIdentity(key->path, mapping));
    running = {{u"C:\\IDE\\bds.exe", commandLine}};
    EXPECT_EQ(IdeUsingKey(lister, registries, files, key->path, mapping), c.code);
    running = {{u"C:\\IDE\\bds.exe", u"bds.exe -rUnrelated"}};
    EXPECT_FALSE(IdeUsingKey(lister, registries, files, key->path, mapping));
  }
}

// The copy replaces the key by the base key with every type, byte and
// order; a backup taken before gives the old key back exactly.
TEST(AlternateKey, TheCopyIsTheBaseKeyWholeAndItsBackupUndoesIt) {
  MemoryRegistryStore store;
  MemoryRegistryFactory registries{store};
  testing::PlatformTextComparer comparer;
  const AlternateKey key = *OwnAlternateKey(2017, true, u"TEST", comparer.Mapping());
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

  WriteLaunchBackup(files, u"C:\\B", 2017, key.path, backup, BackupTime{2026, 12, 10, 9, 0, 0}, comparer.Mapping());
  RestoreBackup(registries, files, u"C:\\B\\2017_TEST_20261210-090000.reg", comparer.Mapping());
  EXPECT_EQ(testing::DumpRegistry(store, kUser, true), before);

  // A key that cannot be deleted gets nothing of the base key.
  store.undeletable = key.path;
  testing::ExpectAppError([&] { CopyBaseKey(*registries.Create(), key); },
                          u"代替レジストリキー [Software\\Embarcadero\\TEST\\14.0] を削除できませんでした\n"
                          u"アクセスが拒否されました");
  EXPECT_EQ(testing::DumpRegistry(store, kUser, true), before);
  store.undeletable.clear();

  // Without a base key nothing changes.
  store.Delete(kUser, key.base);
  const Dump withoutBase = testing::DumpRegistry(store, kUser, true);
  CopyBaseKey(*registries.Create(), key);
  EXPECT_EQ(testing::DumpRegistry(store, kUser, true), withoutBase);
}

}  // namespace
}  // namespace ombrisk
