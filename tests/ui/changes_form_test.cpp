// What the IDE or an installer changed in the key since a profile's last
// launch, shown by the dialog at the next launch from the list and taken
// into the profile as chosen.
#include "ui/changes_form.h"

#include "core/launch_backup.h"
#include "core/texts.h"
#include "support/layout_checks.h"
#include "ui/main_form_fixture.h"

namespace ombrisk {
namespace {

const std::wstring kKey = L"Software\\Embarcadero\\BDS\\14.0\\";

std::wstring RegistryText(const std::wstring& key, const std::wstring& name) {
  wchar_t text[256] = L"";
  DWORD size = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, (kKey + key).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return L"(none)";
  }
  return text;
}

// What an installer and the IDE do between two launches: a library path
// added, a package disabled, a variable added.
void ChangeAsAnInstallerWould() {
  testing::SetRegistryString(HKEY_CURRENT_USER, kKey + L"Library\\Win32", L"Search Path", L"C:\\Lib;C:\\Installer");
  testing::SetRegistryString(HKEY_CURRENT_USER, kKey + L"Disabled Packages", L"failed.bpl", L"Failed");
  testing::SetRegistryString(HKEY_CURRENT_USER, kKey + L"Environment Variables", L"NEW", L"1");
}

class Changes : public MainForm {
 protected:
  // Launches the list's profile with the dialog answered by the button, the
  // rows unchecked first; the rows as shown, or none when no dialog came.
  std::vector<std::vector<std::wstring>> Launch(int button, std::vector<int> unchecked = {}) {
    std::vector<std::vector<std::wstring>> shown;
    runModal = [&](ModalDialog& dialog) {
      EXPECT_EQ(testing::ClassName(dialog.Handle()), L"TCHANGES_FORM");
      EXPECT_EQ(testing::LayoutProblems(dialog.Handle()), std::vector<std::string>{});
      const HWND list = dialog.Control(TCHANGES_FORM::kLV1);
      for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        std::vector<std::wstring> cells{ListView_GetCheckState(list, row) ? L"checked" : L"unchecked"};
        for (int column = 0; column < 3; ++column) {
          wchar_t text[256] = L"";
          ListView_GetItemText(list, row, column, text, 256);
          cells.emplace_back(text);
        }
        shown.push_back(cells);
      }
      for (const int row : unchecked) ListView_SetCheckState(list, row, FALSE);
      PostMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(dialog.Control(button)));
      return dialog.ShowModal();
    };
    NewForm().Execute(TMAIN_FORM::AL_LAUNCH);
    return shown;
  }
};

TEST_F(Changes, TheDialogListsWhatChangedAndTheChoiceDecidesWhatTheIdeFinds) {
  Install(2017);
  Settings(u"[PREF_P]\r\nVersion=2017\r\nSearch_Path=C:\\Lib\r\nENV_NAME1=X\r\nENV_VALUE1=1\r\nENV_Count=1\r\n");
  EXPECT_TRUE(Launch(IDCANCEL).empty()) << "the first launch into the key";
  ASSERT_TRUE(CloseAndWait());
  starts.clear();
  ChangeAsAnInstallerWould();
  const std::string changed = testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  const std::u16string stored = SettingsText();

  // Cancel: nothing written or started, and the window stays.
  const std::vector<std::vector<std::wstring>> rows{
      {L"checked", Wide(Format(texts::kChangedPackage, {u"Failed"})), Wide(texts::kPackageEnabled),
       Wide(texts::kPackageDisabled)},
      {L"checked", Wide(Format(texts::kChangedLibrary, {u"Win32", PlainCaption(texts::kLibraryLabels[0])})), L"C:\\Lib",
       L"C:\\Lib;C:\\Installer"},
      {L"checked", Wide(Format(texts::kChangedVariable, {u"NEW"})), Wide(texts::kValueMissing), L"1"},
  };
  EXPECT_EQ(Launch(TCHANGES_FORM::kBtnCancel), rows);
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), changed);
  EXPECT_EQ(SettingsText(), stored);
  EXPECT_TRUE(starts.empty());
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  ASSERT_TRUE(CloseAndWait());

  // Taken in without the variable: the profile holds the two others, and so
  // does the key the IDE reads.
  EXPECT_EQ(Launch(TCHANGES_FORM::kBtnTakeIn, {2}), rows);
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(starts.size(), 1u);
  const std::u16string text = SettingsText();
  EXPECT_NE(text.find(u"Search_Path=C:\\Lib;C:\\Installer\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"PKG_PATH1=failed.bpl\r\nPKG_NAME1=Failed\r\nPKG_Count=1\r\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u"NEW"), std::u16string::npos);
  EXPECT_EQ(RegistryText(L"Library\\Win32", L"Search Path"), L"C:\\Lib;C:\\Installer");
  EXPECT_EQ(RegistryText(L"Disabled Packages", L"failed.bpl"), L"Failed");
  EXPECT_EQ(RegistryText(L"Environment Variables", L"NEW"), L"(none)");

  // Launched as stored: the key is the profile's again, and the launch's
  // backup holds what the installer wrote.
  testing::SetRegistryString(HKEY_CURRENT_USER, kKey + L"Library\\Win32", L"Search Path", L"C:\\Other");
  EXPECT_EQ(Launch(TCHANGES_FORM::kBtnLaunch).size(), 1u);
  ASSERT_TRUE(CloseAndWait());
  EXPECT_EQ(RegistryText(L"Library\\Win32", L"Search Path"), L"C:\\Lib;C:\\Installer");
  const std::vector<BackupEntry> backups = ListBackups(files, FromWide(folder / L"Ombrisk.backup"));
  ASSERT_FALSE(backups.empty());
  RestoreBackup(registries, files, backups.front().path, comparer.Mapping());
  EXPECT_EQ(RegistryText(L"Library\\Win32", L"Search Path"), L"C:\\Other");
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace ombrisk
