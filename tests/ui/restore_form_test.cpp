// The launch backups' dialog, and the restore the main window's command
// runs with it.
#include "ui/restore_form.h"

#include <optional>

#include "core/texts.h"
#include "ui/main_form_fixture.h"

namespace ombrisk {
namespace {

const std::vector<BackupRow> kRows{
    {u"2026/12/09 15:30:12", u"Delphi XE6 / RAD Studio XE6", u"BDS", u"XE6 nightly"},
    {u"2026/12/08 09:00:00", u"Delphi 13 Florence / RAD Studio 13 Florence", u"Fresh", u"Other"},
};

std::wstring CellText(HWND list, int row, int column) {
  wchar_t text[128] = L"";
  ListView_GetItemText(list, row, column, text, 128);
  return text;
}

void Click(TRESTORE_FORM& form, int button) {
  PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(form.Control(button)));
}

void Key(TRESTORE_FORM& form, WPARAM key) {
  PostMessageW(form.Control(TRESTORE_FORM::kLV1), WM_KEYDOWN, key, 0);
  PostMessageW(form.Control(TRESTORE_FORM::kLV1), WM_KEYUP, key, 0);
}

// Each way of closing the dialog, by mouse and by keyboard, with what it
// gives back: a row chosen, or -1.
TEST(RestoreForm, ListsTheRowsAndGivesBackTheOneChosen) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const ErrorReporter report = [](std::u16string_view message) { ADD_FAILURE() << ToUtf8(message); };
  struct Case {
    const char* what;
    std::function<void(TRESTORE_FORM&)> act;
    int result;
  };
  const Case cases[] = {
      {"Enter on the first row, selected at the start", [](TRESTORE_FORM& form) { Key(form, VK_RETURN); }, 0},
      {"the button after Down",
       [](TRESTORE_FORM& form) {
         Key(form, VK_DOWN);
         Click(form, TRESTORE_FORM::kBtnRestore);
       },
       1},
      {"Escape", [](TRESTORE_FORM& form) { Key(form, VK_ESCAPE); }, -1},
      {"Cancel", [](TRESTORE_FORM& form) { Click(form, TRESTORE_FORM::kBtnCancel); }, -1},
      {"the close box", [](TRESTORE_FORM& form) { PostMessageW(form.Handle(), WM_CLOSE, 0, 0); }, -1},
  };
  for (const Case& c : cases) {
    TRESTORE_FORM form(report, nullptr, kRows);
    form.Create(nullptr);
    const HWND list = form.Control(TRESTORE_FORM::kLV1);
    EXPECT_EQ(testing::Narrow(testing::WindowText(form.Handle())), ToUtf8(texts::kRestoreCaption));
    EXPECT_EQ(CellText(list, 1, 0), L"2026/12/08 09:00:00");
    EXPECT_EQ(CellText(list, 1, 1), L"Delphi 13 Florence / RAD Studio 13 Florence");
    EXPECT_EQ(CellText(list, 1, 2), L"Fresh");
    EXPECT_EQ(CellText(list, 1, 3), L"Other");
    EXPECT_TRUE(IsWindowEnabled(form.Control(TRESTORE_FORM::kBtnRestore)));
    c.act(form);
    const int result = form.ShowModal();
    EXPECT_EQ(result == IDOK ? form.Chosen() : -1, c.result) << c.what;
  }

  TRESTORE_FORM empty(report, nullptr, {});
  empty.Create(nullptr);
  EXPECT_FALSE(IsWindowEnabled(empty.Control(TRESTORE_FORM::kBtnRestore))) << "nothing to restore";
  Key(empty, VK_RETURN);
  PostMessageW(empty.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(empty.ShowModal(), IDCANCEL);
}

// A launch from the list, then the command on the next start: the backup
// is listed, No keeps the registry, Yes gives it back as it was; a backup
// changed by hand is refused.
TEST_F(MainForm, TheRestoreCommandPutsTheChosenBackupBackAfterAsking) {
  Install(2017);
  Settings(u"[PREF_XE6]\r\nVersion=2017\r\nPKG_Count=1\r\nPKG_PATH1=new.bpl\r\nPKG_NAME1=New\r\n");
  testing::SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0\\Disabled Packages", L"old.bpl",
                             L"Old");
  const auto dump = [] { return testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"); };
  const std::string before = dump();
  NewForm().Execute(TMAIN_FORM::AL_LAUNCH);
  ASSERT_TRUE(CloseAndWait());
  ASSERT_NE(dump(), before);

  // The dialog's rows as it shows them; Enter restores the first, selected
  // at the start.
  std::vector<BackupRow> shown;
  runModal = [&](ModalDialog& dialog) {
    const HWND list = dialog.Control(TRESTORE_FORM::kLV1);
    shown.clear();
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
      shown.push_back(BackupRow{FromWide(CellText(list, row, 0)), FromWide(CellText(list, row, 1)),
                                FromWide(CellText(list, row, 2)), FromWide(CellText(list, row, 3))});
    }
    Key(dynamic_cast<TRESTORE_FORM&>(dialog), VK_RETURN);
    return dialog.ShowModal();
  };
  TMAIN_FORM& form = NewForm();
  ClickRow(-1);
  const auto restore = [&] {
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(TMAIN_FORM::CommandId(TMAIN_FORM::AL_RESTORE), 0), 0);
  };
  restore();
  ASSERT_EQ(shown.size(), 1u) << "no row needed";
  EXPECT_EQ(shown[0].release, u"Delphi XE6 / RAD Studio XE6");
  EXPECT_EQ(shown[0].key, u"BDS");
  EXPECT_EQ(shown[0].profile, u"XE6");
  ASSERT_FALSE(dialogs.empty());
  EXPECT_EQ(dialogs.back(),
            Concat({texts::kConfirmCaption, u"|",
                    Format(texts::kRestoreQuestion, {u"Delphi XE6 / RAD Studio XE6 (BDS)", shown[0].time}), u"|"}) +
                DecimalText(MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO));
  EXPECT_NE(dump(), before) << "No restores nothing";
  answer = IDYES;
  restore();
  EXPECT_EQ(dump(), before);
  EXPECT_TRUE(errors.empty());

  const std::vector<BackupEntry> backups = ListBackups(files, FromWide(folder / L"Ombrisk.backup"));
  ASSERT_EQ(backups.size(), 1u);
  const std::wstring backup = Wide(backups[0].path);
  testing::WriteBytes(backup, testing::ReadBytes(backup) + std::string("\n\0", 2));
  restore();
  EXPECT_EQ(errors, std::vector<std::u16string>{Format(texts::kBackupRefused, {FromWide(backup)})});
}

// The fake IDE as XE6's installed IDE (Install(2017) names its file),
// started with the alternate key's switch and kept running until End.
class RunningTestIde {
 public:
  explicit RunningTestIde(const testing::TempFolder& folder, std::wstring_view key = L"TEST")
      : ide_(folder / L"ide2017.exe"),
        name_(L"OmbriskUiIde-" + std::to_wstring(GetCurrentProcessId())),
        ended_(CreateEventW(nullptr, TRUE, FALSE, name_.c_str())) {
    CopyFileW((testing::ExecutableFolder() + L"\\fake_ide.exe").c_str(), ide_.c_str(), FALSE);
    SetEnvironmentVariableW(L"OMBRISK_FAKE_IDE_RUNS", name_.c_str());
    process_.emplace(L"\"" + ide_ + L"\" -r" + std::wstring(key));
    SetEnvironmentVariableW(L"OMBRISK_FAKE_IDE_RUNS", nullptr);
  }
  ~RunningTestIde() {
    End();
    CloseHandle(ended_);
  }
  RunningTestIde(const RunningTestIde&) = delete;
  RunningTestIde& operator=(const RunningTestIde&) = delete;

  // Whether it wrote its report, as it does once it runs.
  bool Runs() const { return !testing::ReadWrittenFile(ide_ + L".txt").empty(); }
  // Tells it to end and returns its exit code once it has.
  DWORD End() {
    SetEvent(ended_);
    return process_->WaitForExit();
  }

 private:
  std::wstring ide_;
  std::wstring name_;
  HANDLE ended_;
  std::optional<testing::Process> process_;
};

// A restore of a key an IDE runs with (the key the backup records, which
// its file name shortens) is refused, the dialog staying open, until the
// IDE has ended; then it goes through.
TEST_F(MainForm, ARestoreWaitsUntilNoIdeRunsWithTheKey) {
  Install(2017);
  Settings(u"[PREF_Test]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=Team:A\r\nPKG_Count=1\r\nPKG_PATH1=x.bpl\r\n");
  NewForm().Execute(TMAIN_FORM::AL_LAUNCH);
  ASSERT_TRUE(CloseAndWait());
  RunningTestIde running(folder, L"team:a");
  ASSERT_TRUE(running.Runs());

  answer = IDYES;
  const std::u16string refusal =
      Concat(
          {texts::kErrorCaption, u"|",
           Format(texts::kIdeRunningRefusal, {u"Delphi XE6 / RAD Studio XE6", u"Software\\Embarcadero\\Team:A\\14.0"}),
           u"|"}) +
      DecimalText(MB_TASKMODAL | MB_ICONERROR | MB_OK);
  int presses = 0;
  runModal = [&](ModalDialog& dialog) {
    afterIdle = [&](HWND) {
      if (presses == 0 || (presses == 1 && !dialogs.empty() && dialogs.back() == refusal)) {
        if (presses == 1) {
          EXPECT_EQ(running.End(), 0u) << "the IDE ended";
        }
        ++presses;
        Key(dynamic_cast<TRESTORE_FORM&>(dialog), VK_RETURN);
      }
    };
    return dialog.ShowModal();
  };
  NewForm().Execute(TMAIN_FORM::AL_RESTORE);
  EXPECT_EQ(presses, 2);
  ASSERT_EQ(dialogs.size(), 3u) << "asked, refused, asked";
  EXPECT_EQ(dialogs[1], refusal);
  EXPECT_TRUE(errors.empty());
  EXPECT_NE(dialogs[0].find(u"(Team:A)"), std::u16string::npos) << "the key as the launch named it";
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero\\Team:A").find('|'), std::string::npos)
      << "restored: the launch's values are gone";
}

// Deleting the last profile of the release that uses an alternate key asks
// whether the key goes too: not while another profile uses it, No keeps
// it, Yes is refused while an IDE runs with it, then backs it up and
// deletes it.
TEST_F(MainForm, DeletingTheLastProfileOfAnAlternateKeyOffersToDeleteTheKey) {
  Install(2017);
  Settings(
      u"[PREF_a]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\n[PREF_b]\r\nVersion=2017\r\nUseAltReg=1\r\n"
      u"AltReg=test\r\n[PREF_c]\r\nVersion=2017\r\nUseAltReg=0\r\nAltReg=TEST\r\n");
  const std::wstring key = L"Software\\Embarcadero\\TEST\\14.0";
  testing::SetRegistryString(HKEY_CURRENT_USER, key + L"\\Known Packages", L"x.bpl", L"X");
  const std::string before = testing::DumpRegistryTree(HKEY_CURRENT_USER, key);
  // The key as the profile names it.
  const std::u16string question =
      Concat({texts::kConfirmCaption, u"|",
              Format(texts::kDeleteAltKeyQuestion, {u"Software\\Embarcadero\\test\\14.0"}), u"|"}) +
      DecimalText(MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
  int keyAnswer = IDNO;
  onMessage = [&] { answer = dialogs.back() == question ? keyAnswer : IDYES; };
  const auto deleteFirstRow = [&] {
    ClickRow(0);
    form_->Execute(TMAIN_FORM::AL_DELETE);
  };
  NewForm();
  deleteFirstRow();
  EXPECT_EQ(dialogs.size(), 1u) << "b uses the key too";
  deleteFirstRow();
  EXPECT_EQ(dialogs.back(), question);
  EXPECT_EQ(Column(0), std::vector<std::wstring>{L"c"}) << "No deletes the profile only";
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, key), before);

  Settings(u"[PREF_d]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\n");
  keyAnswer = IDYES;
  {
    RunningTestIde running(folder);
    ASSERT_TRUE(running.Runs());
    NewForm();
    deleteFirstRow();
    EXPECT_NE(dialogs.back().find(Format(texts::kIdeRunningRefusal,
                                         {u"Delphi XE6 / RAD Studio XE6", u"Software\\Embarcadero\\TEST\\14.0"})),
              std::u16string::npos);
    EXPECT_EQ(Column(0), std::vector<std::wstring>{L"d"}) << "refused: nothing deleted";
    EXPECT_EQ(running.End(), 0u);
  }
  deleteFirstRow();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, key), "");
  const std::vector<BackupEntry> backups = ListBackups(files, FromWide(folder / L"Ombrisk.backup"));
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].profile, u"d");
  RestoreBackup(registries, files, backups[0].path, comparer.Mapping());
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, key), before) << "the backup gives the key back";
  EXPECT_TRUE(errors.empty());
}

// A delete never reaches a key other than the one the profile names: a
// name that would reach the base key is not offered, and a key that cannot
// be deleted is told, its profile gone and its backup kept.
TEST_F(MainForm, ADeleteTouchesOnlyTheKeyTheProfileNames) {
  Install(2017);
  Settings(
      u"[PREF_Locked]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=Locked\r\n[PREF_Slash]\r\nVersion=2017\r\n"
      u"UseAltReg=1\r\nAltReg=BDS\\\r\n");
  for (const wchar_t* key : {L"Software\\Embarcadero\\BDS\\14.0", L"Software\\Embarcadero\\Locked\\14.0"}) {
    testing::SetRegistryString(HKEY_CURRENT_USER, std::wstring(key) + L"\\Known Packages", L"x.bpl", L"X");
  }
  const std::string before = testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  registries.undeletable = u"\\Software\\Embarcadero\\Locked\\14.0";
  answer = IDYES;
  NewForm();
  ClickRow(0);
  form_->Execute(TMAIN_FORM::AL_DELETE);
  ASSERT_EQ(dialogs.size(), 3u) << "the profile, the key, the error";
  EXPECT_EQ(dialogs[2], Concat({texts::kErrorCaption, u"|",
                                Format(texts::kAltKeyDeleteFailed, {u"Software\\Embarcadero\\Locked\\14.0"}), u"\n"}) +
                            SystemErrorMessage(ERROR_ACCESS_DENIED) + u"|" +
                            DecimalText(MB_TASKMODAL | MB_ICONERROR | MB_OK));
  EXPECT_EQ(Column(0), std::vector<std::wstring>{L"Slash"});
  EXPECT_EQ(ListBackups(files, FromWide(folder / L"Ombrisk.backup")).size(), 1u);

  ClickRow(0);
  form_->Execute(TMAIN_FORM::AL_DELETE);
  EXPECT_EQ(dialogs.size(), 4u) << "only the profile's question";
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(testing::DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), before);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace ombrisk
