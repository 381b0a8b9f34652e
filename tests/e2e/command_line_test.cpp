// The real Ombrisk.exe started with "/launch NAME", and the shortcuts to
// profiles its context menu makes, with the IDE played by
// tests/helpers/fake_ide.cpp.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>

#include "core/command_line.h"
#include "core/text.h"
#include "core/texts.h"
#include "support/win_test_support.h"
#include "ui/changes_form.h"
#include "ui/open_form.h"
#include "win32/wide.h"

namespace ombrisk {
namespace {

using namespace ombrisk::testing;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }
// A file's bytes; "" while it does not exist.
std::string BytesOf(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : ReadBytes(path);
}

BOOL CALLBACK KeepList(HWND child, LPARAM found) {
  if (ClassName(child) != WC_LISTVIEWW) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// The main window's list, found through the window's children.
HWND ListOf(HWND window) {
  HWND list = nullptr;
  EnumChildWindows(window, KeepList, reinterpret_cast<LPARAM>(&list));
  return list;
}

// A folder with Ombrisk.exe and its settings file, and an XE6 installation
// whose IDE is the fake one.
class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileW((ExecutableFolder() + L"\\Ombrisk.exe").c_str(), program.c_str(), FALSE));
    CreateDirectoryW((folder / L"bin").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((ExecutableFolder() + L"\\fake_ide.exe").c_str(), ide.c_str(), FALSE));
    SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0", L"APP", ide);
  }

  void Settings(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    WriteBytes(settings, bytes);
  }

  // The fake IDE's report once it has written it, then removed; "" when it
  // did not start in the time.
  std::string TakeReport(std::chrono::milliseconds time = kStuck) {
    const std::wstring report = ide + L".txt";
    std::string text = ReadWrittenFile(report, time);
    DeleteFileW(report.c_str());
    return text;
  }

  // What a launch left: the IDE's report and the key tree it found.
  std::string LaunchOutcome() {
    const std::string report = TakeReport();
    return report.empty() ? "" : report + DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  }

  DWORD Run(const std::wstring& arguments) {
    Process process(Quoted(program) + L" " + arguments);
    return process.WaitForExit();
  }

  RegistryCleaner cleaner{{L"Software\\Embarcadero"}};
  TempFolder folder;
  const std::wstring program = folder / L"Ombrisk.exe";
  const std::wstring settings = folder / L"Ombrisk.env";
  const std::wstring ide = folder / L"bin\\bds.exe";
};

constexpr std::u16string_view kNightly =
    u"[PREF_XE6 nightly]\r\nVersion=2017\r\nDescription=夜間ビルド\r\nNoSplash=1\r\nParameters=C:\\Work\\App.dproj\r\n"
    u"PKG_PATH1=$(BDS)\\bin\\dclib200.bpl\r\nPKG_NAME1=IB\r\nPKG_Count=1\r\nSearch_Path=C:\\lib\\32\r\n"
    u"WIN64_Search_Path=C:\\lib\\64\r\n";

// "/launch" leaves what a launch from the list leaves: the same command line
// and the same keys, from a registry the IDE changed in between once the
// changes, shown as the list's launch shows them, are not taken in.
TEST_F(CommandLine, LaunchesAProfileAsTheListDoes) {
  Settings(kNightly);
  {
    Process window(Quoted(program));
    HWND main = WaitForProcessWindow(window.Id(), L"TMAIN_FORM", L"Ombrisk");
    ASSERT_NE(main, nullptr);
    PostMessageW(ListOf(main), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(window.WaitForExit(), 0u);
  }
  const std::string fromTheList = LaunchOutcome();
  ASSERT_FALSE(fromTheList.empty()) << "the list did not start the IDE";

  // The IDE emptied its library key and disabled a package of its own.
  RegistryCleaner({L"Software\\Embarcadero\\BDS\\14.0\\Library"});
  SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\14.0\\Disabled Packages", L"x.bpl", L"X");
  const std::string stored = ReadBytes(settings);
  {
    Process launch(Quoted(program) + L" -Launch \"XE6 nightly\"");
    const HWND changes = WaitForProcessWindow(launch.Id(), L"TCHANGES_FORM", L"IDE で変更された設定");
    ASSERT_NE(changes, nullptr);
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(changes, TCHANGES_FORM::kLV1)), 3) << "both search paths, x.bpl";
    PostMessageW(GetDlgItem(changes, TCHANGES_FORM::kBtnLaunch), BM_CLICK, 0, 0);
    EXPECT_EQ(launch.WaitForExit(), 0u);
  }
  EXPECT_EQ(LaunchOutcome(), fromTheList);
  EXPECT_EQ(ReadBytes(settings), stored) << "the settings file is only read";
}

// The fake IDE kept running (OMBRISK_FAKE_IDE_RUNS) until the test ends.
class RunningIde {
 public:
  RunningIde() : ended_(CreateEventW(nullptr, TRUE, FALSE, kName.c_str())) {
    SetEnvironmentVariableW(L"OMBRISK_FAKE_IDE_RUNS", kName.c_str());
  }
  ~RunningIde() {
    SetEvent(ended_);
    CloseHandle(ended_);
    SetEnvironmentVariableW(L"OMBRISK_FAKE_IDE_RUNS", nullptr);
  }
  RunningIde(const RunningIde&) = delete;
  RunningIde& operator=(const RunningIde&) = delete;

 private:
  const std::wstring kName = L"OmbriskIdeRuns-" + std::to_wstring(GetCurrentProcessId());
  HANDLE ended_;
};

// An IDE of the release running with a profile's key (a name with a blank,
// which the IDE gets quoted): /launch asks first, No the default; No leaves
// the registry, the settings file and the backups as they were and starts
// nothing, Yes launches; a profile on the base key is not asked about.
TEST_F(CommandLine, AnIdeRunningWithTheKeyIsAskedAbout) {
  Settings(
      u"[PREF_Test]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=My Key\r\nPKG_Count=0\r\n"
      u"[PREF_Base]\r\nVersion=2017\r\nPKG_Count=0\r\n");
  const RunningIde runs;
  Process running(Quoted(ide) + L" -r\"my key\"");
  ASSERT_FALSE(TakeReport().empty()) << "the IDE runs";
  const std::string registry = DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  const std::string stored = ReadBytes(settings);
  for (const int answer : {IDNO, IDYES}) {
    Process launch(Quoted(program) + L" /launch Test");
    HWND question = WaitForProcessWindow(launch.Id(), L"#32770", L"確認");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(
        ReadMessageBox(question).texts,
        std::vector<std::wstring>{L"Delphi XE6 / RAD Studio XE6 は既に実行中です (キー: "
                                  L"Software\\Embarcadero\\My Key\\14.0)。実行中の IDE は終了するときに設定を"
                                  L"書き戻すため、この起動で書き込む設定が上書きされることがあります。起動しますか？"});
    // The box is there before its thread has given a button the focus.
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    WaitUntil([&] { return GetGUIThreadInfo(GetWindowThreadProcessId(question, nullptr), &focus) && focus.hwndFocus; });
    EXPECT_EQ(focus.hwndFocus, GetDlgItem(question, IDNO)) << "No is the default";
    PressButton(question, answer);
    EXPECT_EQ(launch.WaitForExit(), answer == IDYES ? 0u : 1u);
    if (answer == IDNO) {
      EXPECT_EQ(DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), registry);
      EXPECT_EQ(ReadBytes(settings), stored);
      EXPECT_TRUE(FolderEntries(folder / L"Ombrisk.backup").empty()) << "no backup";
      EXPECT_EQ(BytesOf(ide + L".txt"), "") << "no IDE started";
    }
  }
  const std::string report = TakeReport();
  EXPECT_NE(report.find("key=\\Software\\Embarcadero\\My Key\\14.0\\"), std::string::npos) << report;
  EXPECT_NE(report.find(" /r\"My Key\""), std::string::npos) << report;
  EXPECT_EQ(Run(L"/launch Base"), 0u) << "no question for the base key";
  EXPECT_NE(TakeReport().find("key=\\Software\\Embarcadero\\BDS\\14.0\\"), std::string::npos);
}

// A profile that asks for it starts its missing alternate key from the base
// key: the IDE finds every value of the base key, packages in their order,
// under the profile's writes. Without it the key holds only the writes.
TEST_F(CommandLine, AMissingAlternateKeyStartsFromTheBaseKeyWhereTheProfileAsks) {
  Settings(
      u"[PREF_Copy]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=TEST\r\nPKG_Count=0\r\nSearch_Path=C:\\mine\r\n"
      u"AltRegInit=1\r\n[PREF_Bare]\r\nVersion=2017\r\nUseAltReg=1\r\nAltReg=BARE\r\nPKG_Count=0\r\n"
      u"Search_Path=C:\\mine\r\nAltRegInit=0\r\n");
  const std::wstring base = L"Software\\Embarcadero\\BDS\\14.0";
  for (const wchar_t* name : {L"z.bpl", L"a.bpl", L"m.bpl"}) {
    SetRegistryString(HKEY_CURRENT_USER, base + L"\\Known Packages", name, name);
  }
  SetRegistryString(HKEY_CURRENT_USER, base + L"\\Library\\Win32", L"Search Path", L"C:\\base");
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, (base + L"\\Options\\Deep").c_str(), L"Flags", REG_BINARY, "\0\1", 2),
            ERROR_SUCCESS);
  // A tree's dump with its own path left out of every line.
  const auto tree = [](const std::wstring& path) {
    std::string dump = DumpRegistryTree(HKEY_CURRENT_USER, path);
    const std::string prefix = Narrow(path);
    for (std::size_t at = dump.find(prefix); at != std::string::npos; at = dump.find(prefix, at)) {
      dump.erase(at, prefix.size());
    }
    return dump;
  };

  EXPECT_EQ(Run(L"/launch Copy"), 0u);
  const std::string report = TakeReport();
  // Wine enumerates values by name, so the order the IDE meets is the base
  // key's here; the core tests hold the copy to an order of insertion.
  EXPECT_NE(report.find("Known Packages|a.bpl=a.bpl\nKnown Packages|m.bpl=m.bpl\nKnown Packages|z.bpl=z.bpl\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("Library\\Win32|Search Path=C:\\mine\n"), std::string::npos) << "the profile's write";
  for (const wchar_t* key : {L"\\Known Packages", L"\\Options"}) {
    EXPECT_EQ(tree(L"Software\\Embarcadero\\TEST\\14.0" + std::wstring(key)), tree(base + key));
  }
  EXPECT_EQ(Run(L"/launch Bare"), 0u);
  EXPECT_EQ(TakeReport().find("Known Packages"), std::string::npos) << "only the profile's writes";
}

// Each refusal says why in the program's box and ends with its exit code;
// no main window shows.
TEST_F(CommandLine, RefusalsSayWhyAndEndWithTheirCode) {
  // Delphi 2007, whose key named "Delphi" would be Delphi 5's.
  const RegistryCleaner borland({L"Software\\Borland"});
  SetRegistryString(HKEY_CURRENT_USER, L"Software\\Borland\\BDS\\5.0", L"APP", ide);
  SetRegistryString(HKEY_CURRENT_USER, L"Software\\Borland\\Delphi\\5.0\\Library", L"Search Path", L"C:\\D5");
  Settings(std::u16string(kNightly) +
           u"[PREF_Seven]\r\nVersion=7\r\n[PREF_Old]\r\nVersion=2007\r\nUseAltReg=1\r\nAltReg=Delphi\r\n");
  const std::wstring usage = Wide(texts::kUsage);
  const auto dump = [] {
    return DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero") +
           DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Borland");
  };
  const std::string registry = dump();
  struct Case {
    std::wstring arguments;
    std::wstring text;
    DWORD exitCode;
  };
  for (const Case& c : std::initializer_list<Case>{
           {L"/launch Nope", L"プロファイル [Nope] が見つかりません.", 1},
           {L"/launch Seven", L"プロファイル [Seven] が見つかりません.", 1},
           {L"/?", usage, 0},
           {L"/bogus", usage, 1},
           {L"/launch", usage, 1},
           {L"/open", usage, 1},
           {L"/open C:\\nope\\App.dproj", L"ファイル [C:\\nope\\App.dproj] が見つかりません.", 1},
           {L"/launch \"XE6 nightly\" C:\\nope\\App.dproj", L"ファイル [C:\\nope\\App.dproj] が見つかりません.", 1},
           {L"/launch Nope C:\\nope\\App.dproj", L"ファイル [C:\\nope\\App.dproj] が見つかりません.", 1},
           {L"/launch Old", L"代替レジストリキー [Delphi] は Delphi 5 の設定キーと重なるため使用できません.", 1},
       }) {
    SCOPED_TRACE(Narrow(c.arguments));
    Process process(Quoted(program) + L" " + c.arguments);
    HWND box = WaitForProcessWindow(process.Id(), L"#32770", L"Ombrisk");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ReadMessageBox(box).texts, std::vector<std::wstring>{c.text});
    EXPECT_EQ(FindProcessWindow(process.Id(), L"TMAIN_FORM", L""), nullptr);
    PressButton(box, IDOK);
    EXPECT_EQ(process.WaitForExit(), c.exitCode);
  }
  EXPECT_EQ(TakeReport(std::chrono::seconds(1)), "") << "nothing was started";
  EXPECT_EQ(dump(), registry) << "nothing was written";
  EXPECT_TRUE(FolderEntries(folder / L"Ombrisk.backup").empty()) << "no backup";

  // A settings file another program holds against readers.
  FileHolder holder(settings, L"write", L"-");
  Process process(Quoted(program) + L" /launch \"XE6 nightly\"");
  HWND box = WaitForProcessWindow(process.Id(), L"#32770", L"Ombrisk");
  ASSERT_NE(box, nullptr);
  const std::vector<std::wstring> texts = ReadMessageBox(box).texts;
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rfind(L"ファイル " + settings + L" は開けません。", 0), 0u) << Narrow(texts[0]);
  PressButton(box, IDOK);
  EXPECT_EQ(process.WaitForExit(), 1u);
}

// The scripts' commands from a shell: what they say on its output, their
// exit codes, no window. /apply writes what a launch writes, without the
// pre-launch command or the IDE, and refuses while the IDE runs with the
// key; /export and /import carry a profile, leaving out a name that exists.
TEST_F(CommandLine, ScriptsApplyExportAndImportOnTheConsole) {
  ASSERT_TRUE(
      CopyFileW((ExecutableFolder() + L"\\exit_with.exe").c_str(), (folder / L"bin\\exit_with.exe").c_str(), FALSE));
  Settings(std::u16string(kNightly) + u"PreProcess=@$(BDS)@\\bin\\exit_with.exe 0 @$(BDS)@\\bin\\pre.txt ran\r\n");
  const std::wstring preLaunch = folder / L"bin\\pre.txt";
  using Outcome = std::pair<DWORD, std::string>;
  int started = 0;
  const auto script = [&](const std::wstring& arguments) {
    const std::wstring console = folder / (L"console" + std::to_wstring(++started) + L".txt");
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE output =
        CreateFileW(console.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(output, INVALID_HANDLE_VALUE) << GetLastError();
    Outcome outcome;
    {
      Process process(Quoted(program) + L" " + arguments, output);
      outcome.first = process.WaitForExit();
      EXPECT_EQ(FindProcessWindow(process.Id(), L"", L""), nullptr);
    }
    CloseHandle(output);
    outcome.second = ReadBytes(console);
    return outcome;
  };

  EXPECT_EQ(script(L"/apply \"XE6 nightly\""), Outcome(0, "プロファイル [XE6 nightly] を適用しました\r\n"));
  EXPECT_EQ(BytesOf(preLaunch), "") << "no pre-launch command";
  EXPECT_EQ(BytesOf(ide + L".txt"), "") << "no IDE";
  const std::string applied = DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero");
  EXPECT_EQ(Run(L"/launch \"XE6 nightly\""), 0u);
  EXPECT_FALSE(TakeReport().empty());
  EXPECT_NE(BytesOf(preLaunch), "") << "the launch runs it";
  EXPECT_EQ(DumpRegistryTree(HKEY_CURRENT_USER, L"Software\\Embarcadero"), applied) << "what the launch writes";
  {
    const RunningIde runs;
    Process running(Quoted(ide));
    ASSERT_FALSE(TakeReport().empty()) << "the IDE runs";
    EXPECT_EQ(script(L"-Apply \"XE6 nightly\""),
              Outcome(1,
                      "Delphi XE6 / RAD Studio XE6 が実行中です (キー: Software\\Embarcadero\\BDS\\14.0)。"
                      "IDE を終了してからやり直してください。\r\n"));
  }

  const std::wstring shared = folder / L"shared.ombrisk";
  EXPECT_EQ(script(L"/export " + Quoted(shared) + L" \"xe6 NIGHTLY\""),
            Outcome(0, "1 件のプロファイルをエクスポートしました\r\n"));
  EXPECT_EQ(script(L"/import " + Quoted(shared)),
            Outcome(1,
                    "0 件のプロファイルをインポートしました\r\n"
                    "プロファイル [XE6 nightly] は既にあるため、インポートしませんでした\r\n"));
  const std::string stored = ReadBytes(settings);
  DeleteFileW(settings.c_str());
  EXPECT_EQ(script(L"/import " + Quoted(shared)), Outcome(0, "1 件のプロファイルをインポートしました\r\n"));
  EXPECT_EQ(ReadBytes(settings), stored + std::string("\r\0\n\0", 4)) << "the section as it was";
  EXPECT_EQ(script(L"/import"), Outcome(2, Narrow(Wide(texts::kUsage)) + "\r\n"));
}

// "/launch NAME FILE", also as a shortcut's command line with a file that
// Explorer appends: the profile's switches, then the file, quoted where it
// holds a blank, in place of the profile's parameters; a relative file from
// the current folder. The profile stays as it was, and the project is
// remembered for it.
TEST_F(CommandLine, AFileOpensInTheProfilesSetupInPlaceOfItsParameters) {
  Settings(kNightly);
  CreateDirectoryW((folder / L"Work Dir").c_str(), nullptr);
  const std::wstring project = folder / L"Work Dir\\App.dproj";
  WriteBytes(project, "<Project/>");
  const std::string stored = ReadBytes(settings);
  const auto command = [&] {
    const std::string report = TakeReport();
    const std::size_t at = report.find("command=");
    return report.substr(at, report.find('\n', at) - at);
  };
  const std::string expected = " /ns \"" + Narrow(project) + "\"";
  EXPECT_EQ(Run(L"/launch \"XE6 nightly\" " + Quoted(project)), 0u);
  EXPECT_TRUE(command().ends_with(expected)) << "not the profile's parameters";
  EXPECT_EQ(Run(Wide(LaunchArguments(u"XE6 nightly")) + L" " + Quoted(project)), 0u);
  EXPECT_TRUE(command().ends_with(expected)) << "the shortcut's arguments and the file";
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  SetCurrentDirectoryW((folder / L"Work Dir").c_str());
  const DWORD relative = Run(L"/launch \"XE6 nightly\" App.dproj");
  SetCurrentDirectoryW(current);
  EXPECT_EQ(relative, 0u);
  EXPECT_TRUE(command().ends_with(expected)) << "the relative file made full";
  const std::string now = ReadBytes(settings);
  EXPECT_EQ(now.substr(0, stored.size()), stored);
  std::u16string added(now.size() / 2 - stored.size() / 2, u'\0');
  std::memcpy(added.data(), now.data() + stored.size(), added.size() * 2);
  EXPECT_EQ(added, u"\r\n[Projects]\r\nPROJECT_PATH1=" + FromWide(project) +
                       u"\r\nPROJECT_PROFILE1=XE6 nightly\r\nPROJECT_Count=1\r\n\r\n");
}

// "/open FILE" of an XE6 project with two XE6 profiles and one of 10.2
// Tokyo: the dialog offers the XE6 ones first and Enter launches the first
// with the file; the next /open of the file launches it without asking;
// Cancel starts nothing.
TEST_F(CommandLine, OpenChoosesTheProfileOnceAndThenRemembersIt) {
  SetRegistryString(HKEY_CURRENT_USER, L"Software\\Embarcadero\\BDS\\19.0", L"APP", ide);
  Settings(
      u"[PREF_Tokyo]\r\nVersion=2022\r\n[PREF_XE6 b]\r\nVersion=2017\r\n"
      u"[PREF_XE6 a]\r\nVersion=2017\r\nNoSplash=1\r\n");
  const std::wstring project = folder / L"App.dproj";
  const std::wstring other = folder / L"Other.dproj";
  for (const std::wstring& file : {project, other}) {
    WriteBytes(file,
               "\xEF\xBB\xBF<Project><PropertyGroup><ProjectVersion>15.4</ProjectVersion></PropertyGroup></Project>");
  }
  const std::string launched = " /ns " + Narrow(project);
  {
    Process open(Quoted(program) + L" /open " + Quoted(project));
    const HWND dialog = WaitForProcessWindow(open.Id(), L"TOPEN_FORM", L"プロファイルの選択");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ListView_GetItemCount(GetDlgItem(dialog, TOPEN_FORM::kLV1)), 3);
    PostMessageW(GetDlgItem(dialog, TOPEN_FORM::kLV1), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(open.WaitForExit(), 0u);
  }
  std::string report = TakeReport();
  EXPECT_NE(report.find("release=2017"), std::string::npos) << report;
  EXPECT_NE(report.find(launched + "\n"), std::string::npos) << "XE6 a, the first XE6 row: " << report;

  EXPECT_EQ(Run(L"/open " + Quoted(project)), 0u) << "remembered: no dialog";
  report = TakeReport();
  EXPECT_NE(report.find(launched + "\n"), std::string::npos) << report;

  Process cancelled(Quoted(program) + L" -OPEN " + Quoted(other));
  const HWND dialog = WaitForProcessWindow(cancelled.Id(), L"TOPEN_FORM", L"プロファイルの選択");
  ASSERT_NE(dialog, nullptr);
  PostMessageW(GetDlgItem(dialog, TOPEN_FORM::kBtnCancel), BM_CLICK, 0, 0);
  EXPECT_EQ(cancelled.WaitForExit(), 1u);
  EXPECT_EQ(BytesOf(ide + L".txt"), "") << "nothing started";
}

// Names with the shell's special characters, quotes, a trailing backslash
// or 300 characters arrive as they are, also while the window is open.
TEST_F(CommandLine, NamesArriveAsTheyAreWhileTheWindowIsOpen) {
  const std::u16string names[] = {u"50% \"off\" & <x> ^ | !", u"C:\\dir\\", std::u16string(300, u'長')};
  std::u16string text;
  for (const std::u16string& name : names) text += u"[PREF_" + name + u"]\r\nVersion=2017\r\n";
  Settings(text);
  Process window(Quoted(program));
  ASSERT_NE(WaitForProcessWindow(window.Id(), L"TMAIN_FORM", L"Ombrisk"), nullptr);
  const std::string stored = ReadBytes(settings);
  for (const std::u16string& name : names) {
    EXPECT_EQ(Run(Wide(LaunchArguments(name))), 0u) << ToUtf8(name);
    EXPECT_NE(TakeReport().find("release=2017"), std::string::npos) << ToUtf8(name);
  }
  HWND main = FindProcessWindow(window.Id(), L"TMAIN_FORM", L"Ombrisk");
  EXPECT_TRUE(SyncWithWindow(main)) << "the window's loop goes on";
  EXPECT_EQ(window.WaitForExit(std::chrono::milliseconds(0)), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(ReadBytes(settings), stored);
}

// A link file's fields, as the shell's link interface reads them.
std::vector<std::wstring> ReadLink(const std::wstring& path) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<std::wstring> fields;
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
    wchar_t text[1024] = L"";
    int icon = 0;
    link->GetPath(text, 1024, nullptr, 0);
    fields.emplace_back(text);
    link->GetArguments(text, 1024);
    fields.emplace_back(text);
    link->GetWorkingDirectory(text, 1024);
    fields.emplace_back(text);
    link->GetIconLocation(text, 1024, &icon);
    fields.push_back(std::wstring(text) + L"," + std::to_wstring(icon));
    link->GetDescription(text, 1024);
    fields.emplace_back(text);
  }
  if (file != nullptr) file->Release();
  if (link != nullptr) link->Release();
  CoUninitialize();
  return fields;
}

// The context menu's item on the selected row, chosen by its mnemonic while
// the menu is open.
void ChooseShortcutItem(const Process& process, HWND main) {
  // A menu of a window that is not active yet closes as soon as it opens.
  ASSERT_TRUE(ActivateWindow(main));
  PostMessageW(ListOf(main), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(ListOf(main)), -1);
  HWND menu = WaitForProcessWindow(process.Id(), L"#32768", L"");
  ASSERT_NE(menu, nullptr) << "no context menu";
  PostMessageW(menu, WM_CHAR, L's', 0);
}

// Made through the real context menu, read back through the shell, asked
// about before it is replaced, and started: the IDE starts.
TEST_F(CommandLine, AShortcutFromTheMenuStartsTheProfile) {
  Settings(kNightly);
  wchar_t desktop[MAX_PATH] = L"";
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop)));
  const std::wstring link = std::wstring(desktop) + L"\\XE6 nightly.lnk";
  DeleteFileW(link.c_str());
  struct RemoveAtEnd {
    std::wstring path;
    ~RemoveAtEnd() { DeleteFileW(path.c_str()); }
  } removeAtEnd{link};

  Process window(Quoted(program));
  HWND main = WaitForProcessWindow(window.Id(), L"TMAIN_FORM", L"Ombrisk");
  ASSERT_NE(main, nullptr);
  ChooseShortcutItem(window, main);
  ASSERT_TRUE(WaitUntil([&] { return !BytesOf(link).empty(); })) << "no shortcut";
  EXPECT_EQ(ReadLink(link), (std::vector<std::wstring>{program, L"/launch \"XE6 nightly\"", folder.Path(),
                                                       program + L",-207", L"夜間ビルド"}));

  // Answered No, the file stays; Yes replaces it.
  WriteBytes(link, "kept");
  for (const int answer : {IDNO, IDYES}) {
    ChooseShortcutItem(window, main);
    HWND question = WaitForProcessWindow(window.Id(), L"#32770", L"確認");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(ReadMessageBox(question).texts,
              std::vector<std::wstring>{L"ショートカット [XE6 nightly] は既に存在します。上書きしますか？"});
    PressButton(question, answer);
    // The command is over, the link written or not, once its question is
    // gone and the window's thread is back in its loop.
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(question); }));
    ASSERT_TRUE(SyncWithWindow(main));
    if (answer == IDNO) {
      EXPECT_EQ(ReadBytes(link), "kept");
    }
  }
  EXPECT_EQ(ReadLink(link).size(), 5u) << "replaced after Yes";

  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  start.lpFile = link.c_str();
  start.nShow = SW_SHOWNORMAL;
  ASSERT_TRUE(ShellExecuteExW(&start));
  EXPECT_NE(TakeReport().find("command=\"" + Narrow(ide) + "\" /ns C:\\Work\\App.dproj"), std::string::npos);
}

}  // namespace
}  // namespace ombrisk
