// Every row of a profile's settings, scalar and list, through the settings
// file and through a launch, for a release of each kind.
#include "core/profile_list_settings.h"

#include <gtest/gtest.h>

#include "core/fakes.h"
#include "core/profile_store.h"
#include "core/test_comparer.h"
#include "core/text.h"

namespace ombrisk {
namespace {

// A row's value in a record as text, for comparing records row by row.
// Library rows the launch does not write, or the editor does not offer,
// are left out with writtenOnly: the registry never holds them.
std::u16string RowText(const ProfileKey& key, const ProfileRecord& record, bool writtenOnly = false) {
  std::u16string text;
  switch (key.kind) {
    case KeyKind::Integer:
      return DecimalText(record.version);
    case KeyKind::Boolean:
      return record.*key.flag ? u"1" : u"0";
    case KeyKind::String:
      return record.*key.text;
    case KeyKind::TextBoolean:
      return Concat({record.holdsDesigner ? u"held " : u"", record.embeddedDesigner ? u"on" : u"off"});
    case KeyKind::Packages:
      for (const PackageRow& row : record.packages) {
        if (!row.enabled) text += Concat({row.path, u"|", row.name, u";"});
      }
      return text;
    case KeyKind::Environment:
      text = record.holdsEnvironment ? u"held " : u"";
      for (const EnvironmentVariable& variable : record.environment)
        text += Concat({variable.name, u"=", variable.value, u";"});
      return text;
    case KeyKind::Libraries:
      for (const LibraryPage& page : record.libraries) {
        for (std::size_t row = 0; row < LibrarySettings.size(); ++row) {
          const LibrarySetting& setting = LibrarySettings[row];
          if (writtenOnly &&
              (!IsWrittenAtLaunch(setting, record.version) || IsDisabledInEditor(setting, record.version))) {
            continue;
          }
          text += Concat({PlatformIniPrefix(page.platform), setting.settingsKeySuffix, u"=", page.values[row], u";"});
        }
      }
      return text;
  }
  return text;
}

// A record with a value other than the default in every row the release
// has.
ProfileRecord FullRecord(VersionCode code) {
  ProfileRecord record;
  record.version = code;
  for (const ProfileKey* key : ProfileKeys()) {
    if (key->flag != nullptr) record.*key->flag = true;
    if (key->text != nullptr) record.*key->text = Concat({key->name, u" text"});
  }
  record.useAltReg = false;  // the base key, which the import reads too
  record.ide64 = record.ide64Installed = ReleaseFacts(code).ide64;
  record.embeddedDesigner = false;
  record.packages = {{u"First", u"C:\\p\\first.bpl", false}, {u"Second", u"C:\\p\\second.bpl", false}};
  for (TPlatformType platform : VersionPlatforms(code)) {
    LibraryPage& page = record.libraries.emplace_back();
    page.platform = platform;
    for (std::size_t row = 0; row < page.values.size(); ++row) {
      page.values[row] = Concat({PlatformIniPrefix(platform), u"value ", DecimalText(static_cast<long long>(row))});
    }
  }
  record.environment = {{u"PATH", u"C:\\bpl;%PATH%"}, {u"SPACED", u" kept "}};
  return record;
}

class EveryRow : public ::testing::TestWithParam<VersionCode> {};

// Saved and read back, every row the release has is what was saved; planned
// into a launch's writes, applied and imported again, every list row is
// what the launch wrote.
TEST_P(EveryRow, RoundTripsThroughTheFileAndThroughALaunch) {
  const VersionCode code = GetParam();
  const ProfileRecord record = FullRecord(code);
  testing::FakeFileSystem files;
  testing::PlatformTextComparer comparer;
  {
    SettingsFile file(files, comparer, u"C:\\o.env");
    SaveProfile(file, u"P", std::nullopt, record);
    file.UpdateFile();
  }
  const ProfileRecord read = ReadStoredProfile(SettingsFile(files, comparer, u"C:\\o.env"), u"PREF_P");
  for (const ProfileKey* key : ProfileKeys()) {
    if (key->AppliesTo(code)) {
      EXPECT_EQ(RowText(*key, read), RowText(*key, record)) << ToUtf8(key->name);
    }
  }

  MemoryRegistryStore store;
  MemoryRegistry registry(store);
  const std::u16string base = IdeRegistryKey(code, false, u"");
  for (const PackageRow& package : record.packages) {
    store.SetString(RegistryRoot::CurrentUser, Concat({base, ide::KnownPackages(record.ide64)}), package.path,
                    package.name);
  }
  LaunchWrites writes{base, {}};
  for (const ListSetting& list : ListSettings()) list.plan(registry, read, writes);
  ApplyLaunchWrites(registry, writes);
  ProfileRecord imported;
  imported.version = code;
  imported.ide64 = imported.ide64Installed = record.ide64;
  ImportIdeSettings(registry, imported);
  imported.holdsDesigner = imported.holdsEnvironment = true;  // what an import gives the editor
  for (const ListSetting& list : ListSettings()) {
    if (list.key->AppliesTo(code)) {
      EXPECT_EQ(RowText(*list.key, imported, true), RowText(*list.key, record, true)) << ToUtf8(list.key->name);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(OfEachKind, EveryRow, ::testing::Values(7, 2007, 2017, 2027));

}  // namespace
}  // namespace ombrisk
