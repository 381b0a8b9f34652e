// The real Ombrisk.exe started as a user starts it: one instance per logon
// session and executable name.
#include <gtest/gtest.h>

#include "support/win_test_support.h"

namespace ombrisk {
namespace {

using namespace ombrisk::testing;

const std::wstring kMainClass = L"TMAIN_FORM";

// Ombrisk.exe copied into a scratch folder under a chosen name, so each case
// controls the marker name and leaves no settings file beside the build.
std::wstring CopyProgram(const TempFolder& folder, const std::wstring& name) {
  const std::wstring target = folder / name;
  if (!CopyFileW((ExecutableFolder() + L"\\Ombrisk.exe").c_str(), target.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy Ombrisk.exe");
  }
  return target;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

// Expects the refusal box of a second instance, presses OK and expects the
// process to end with exit code 0, having shown no main window.
void ExpectRefused(Process& second) {
  HWND box = WaitForProcessWindow(second.Id(), L"#32770", L"確認");
  ASSERT_NE(box, nullptr) << "no refusal box";
  const MessageBoxContent content = ReadMessageBox(box);
  EXPECT_EQ(content.texts, std::vector<std::wstring>{L"既に起動しています。"});
  EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_TRUE(content.hasIcon);
  EXPECT_EQ(FindProcessWindow(second.Id(), kMainClass, L""), nullptr);
  PressButton(box, IDOK);
  EXPECT_EQ(second.WaitForExit(), 0u);
}

void CloseMainWindow(Process& process) {
  HWND window = FindProcessWindow(process.Id(), kMainClass, L"");
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(process.WaitForExit(), 0u);
}

TEST(SingleInstance, SecondStartIsRefusedUntilTheFirstEnds) {
  TempFolder folder;
  TempFolder otherFolder;
  const std::wstring program = CopyProgram(folder, L"Ombrisk.exe");
  const std::wstring sameNameElsewhere = CopyProgram(otherFolder, L"Ombrisk.exe");

  Process first(Quoted(program));
  HWND mainWindow = WaitForProcessWindow(first.Id(), kMainClass, L"Ombrisk");
  ASSERT_NE(mainWindow, nullptr) << "the first instance shows its main window";

  {
    Process second(Quoted(program));
    ExpectRefused(second);
  }
  {
    Process elsewhere(Quoted(sameNameElsewhere));
    ExpectRefused(elsewhere);
  }
  EXPECT_TRUE(IsWindow(mainWindow)) << "the running instance is left alone";

  CloseMainWindow(first);
  Process again(Quoted(program));
  EXPECT_NE(WaitForProcessWindow(again.Id(), kMainClass, L"Ombrisk"), nullptr) << "runs once the first has ended";
  CloseMainWindow(again);
}

TEST(SingleInstance, CopyUnderAnotherNameRunsBeside) {
  TempFolder folder;
  Process first(Quoted(CopyProgram(folder, L"Ombrisk.exe")));
  ASSERT_NE(WaitForProcessWindow(first.Id(), kMainClass, L"Ombrisk"), nullptr);
  Process second(Quoted(CopyProgram(folder, L"Ombrisk2.exe")));
  EXPECT_NE(WaitForProcessWindow(second.Id(), kMainClass, L"Ombrisk"), nullptr);
  EXPECT_EQ(FindProcessWindow(second.Id(), L"#32770", L"確認"), nullptr);
  CloseMainWindow(second);
  CloseMainWindow(first);
}

TEST(SingleInstance, ACrashedInstanceLeavesNoMarker) {
  TempFolder folder;
  const std::wstring program = CopyProgram(folder, L"my.tool.exe");
  {
    Process crashed(Quoted(program));
    ASSERT_NE(WaitForProcessWindow(crashed.Id(), kMainClass, L"Ombrisk"), nullptr);
    crashed.Kill();
  }
  Process next(Quoted(program));
  EXPECT_NE(WaitForProcessWindow(next.Id(), kMainClass, L"Ombrisk"), nullptr);
  CloseMainWindow(next);
}

TEST(ErrorBox, RegistryErrorAtStartIsShownAndTheProgramGoesOn) {
  RegistryCleaner cleaner{{L"Software\\Embarcadero"}};
  const DWORD number = 1;
  SetRegistryValue(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0", L"APP", REG_DWORD, &number, sizeof number);
  TempFolder folder;
  Process program(Quoted(CopyProgram(folder, L"Ombrisk.exe")));
  HWND box = WaitForProcessWindow(program.Id(), L"#32770", L"Ombrisk");
  ASSERT_NE(box, nullptr) << "no error box";
  const MessageBoxContent content = ReadMessageBox(box);
  EXPECT_EQ(content.texts, std::vector<std::wstring>{L"'APP' のデータ型が不正です."});
  EXPECT_EQ(content.buttons, std::vector<std::wstring>{L"OK"});
  EXPECT_TRUE(content.hasIcon);
  HWND mainWindow = FindProcessWindow(program.Id(), kMainClass, L"Ombrisk");
  EXPECT_EQ(GetWindow(box, GW_OWNER), mainWindow) << "owned by the active window";
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_TRUE(SyncWithWindow(mainWindow)) << "the window's loop goes on";
  EXPECT_EQ(program.WaitForExit(std::chrono::milliseconds(0)), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_NE(FindProcessWindow(program.Id(), kMainClass, L"Ombrisk"), nullptr);
  CloseMainWindow(program);
}

// Closing writes the window's geometry; a settings file that cannot be
// written says so before the program ends, and keeps its bytes.
TEST(ErrorBox, ASettingsFileThatCannotBeWrittenAtCloseIsReportedAndTheProgramEnds) {
  TempFolder folder;
  const std::wstring program = CopyProgram(folder, L"Ombrisk.exe");
  const std::string stored = "\xFF\xFE[\0A\0]\0\r\0\n\0";
  WriteBytes(folder / L"Ombrisk.env", stored);
  SetFileAttributesW((folder / L"Ombrisk.env").c_str(), FILE_ATTRIBUTE_READONLY);
  Process running(Quoted(program));
  HWND window = WaitForProcessWindow(running.Id(), kMainClass, L"Ombrisk");
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND box = WaitForProcessWindow(running.Id(), L"#32770", L"Ombrisk");
  ASSERT_NE(box, nullptr) << "no error box";
  const MessageBoxContent content = ReadMessageBox(box);
  ASSERT_EQ(content.texts.size(), 1u);
  EXPECT_EQ(content.texts[0].rfind(L"ファイル \"" + (folder / L"Ombrisk.env") + L"\" を作成できません。", 0), 0u);
  EXPECT_TRUE(SyncWithWindow(box));
  EXPECT_EQ(running.WaitForExit(std::chrono::milliseconds(0)), static_cast<DWORD>(STILL_ACTIVE))
      << "the box waits for its answer";
  EXPECT_TRUE(IsWindowVisible(box));
  PressButton(box, IDOK);
  EXPECT_EQ(running.WaitForExit(), 0u);
  EXPECT_EQ(ReadBytes(folder / L"Ombrisk.env"), stored);
  EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::wstring>{L"Ombrisk.env", L"Ombrisk.exe"}));
  SetFileAttributesW((folder / L"Ombrisk.env").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace ombrisk
