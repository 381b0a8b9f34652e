// The program's entry: "/launch NAME" launches a profile without the window,
// the scripts' commands run on the console; otherwise it refuses a second instance, then runs the main window until it
// closes.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "core/command_line.h"
#include "core/startup.h"
#include "core/texts.h"
#include "ui/changes_form.h"
#include "ui/error_boundary.h"
#include "ui/main_form.h"
#include "ui/message_loop.h"
#include "ui/open_form.h"
#include "win32/console.h"
#include "win32/message_dialog.h"
#include "win32/module_path.h"
#include "win32/program_texts.h"
#include "win32/running_processes.h"
#include "win32/single_instance.h"
#include "win32/wide.h"
#include "win32/win_file_system.h"
#include "win32/win_process_starter.h"
#include "win32/win_registry.h"
#include "win32/win_text_comparer.h"

// An exception that escapes every handler ends the program as the C++
// runtime's own handler would, without its message to a console this
// program has not got; so the runtime's demangler (some 45 KB) is not
// linked in.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

using namespace ombrisk;

// The arguments after the program's name, as the C runtime split them.
std::vector<std::u16string> Arguments() {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.push_back(FromWide(__wargv[i]));
  return arguments;
}

// Runs a script's command (/apply, /export, /import), or tells its usage
// after a mistake, on the console without any window; its exit code.
int RunScriptCommand(const CommandLineRequest& request) {
  const auto toConsole = [](ConsoleStream stream) {
    return [stream](std::u16string_view text) { WriteConsoleLine(stream, text); };
  };
  if (request.kind == CommandLineRequest::Kind::Usage) {
    WriteConsoleLine(ConsoleStream::Error, texts::kUsage);
    return request.exitCode;
  }
  WinRegistryFactory registries;
  WinFileSystem files;
  WinTextComparer comparer;
  WinProcessStarter starter(nullptr);
  const ErrorReporter report = toConsole(ConsoleStream::Error);
  int exitCode = 1;
  RunHandler(report, [&] {
    CommandLineServices services{registries, files, comparer, ExecutablePath(), starter, report};
    services.tell = toConsole(ConsoleStream::Output);
    services.runningProcesses = ListRunningProcesses;
    if (request.kind == CommandLineRequest::Kind::Apply) {
      exitCode = ApplyFromCommandLine(services, request.name);
    } else if (request.kind == CommandLineRequest::Kind::Export) {
      exitCode = ExportFromCommandLine(services, FullPathName(request.file), request.names);
    } else {
      exitCode = ImportFromCommandLine(services, FullPathName(request.file));
    }
  });
  return exitCode;
}

// Runs what the command line asks for other than the window; its exit code.
int RunCommandLine(const CommandLineRequest& request) {
  using enum CommandLineRequest::Kind;
  if (request.console || request.kind == Apply || request.kind == Export || request.kind == Import) {
    return RunScriptCommand(request);
  }
  if (request.kind == CommandLineRequest::Kind::Usage) {
    ShowMessageDialog(nullptr, texts::kAppTitle, texts::kUsage,
                      MB_OK | (request.exitCode == 0 ? MB_ICONINFORMATION : MB_ICONERROR), u"");
    return request.exitCode;
  }
  // No window and no instance marker: it runs beside an open window, and
  // reads the settings file without writing it.
  WinRegistryFactory registries;
  WinFileSystem files;
  WinTextComparer comparer;
  WinProcessStarter starter(nullptr);
  int exitCode = 1;
  RunHandler(ShowErrorBox, [&] {
    CommandLineServices services{registries, files, comparer, ExecutablePath(), starter, ShowErrorBox};
    services.runningProcesses = ListRunningProcesses;
    services.confirm = [](std::u16string_view question) {
      return ShowMessageDialog(nullptr, texts::kConfirmCaption, question,
                               MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2, u"") == IDYES;
    };
    services.reviewChanges = [](std::span<const SettingChange> changes) {
      return ReviewChanges(ShowErrorBox, ShowModally, nullptr, nullptr, changes);
    };
    if (request.kind == CommandLineRequest::Kind::Open) {
      services.chooseProfile = [&](std::span<const ListedProfile> profiles, std::size_t, std::u16string_view file) {
        const ProfileStore store(files, comparer, SettingsFileName(ExecutablePath()));
        const COLORREF lineColor = LineColorFor(
            store.ReadLineColor(), [](int index) { return static_cast<std::uint32_t>(GetSysColor(index)); });
        return ChooseProfile(ShowErrorBox, ShowModally, nullptr, profiles, comparer.Mapping(), lineColor, file);
      };
      exitCode = OpenFromCommandLine(services, FullPathName(request.file));
      return;
    }
    exitCode = LaunchFromCommandLine(services, request.name, request.file.empty() ? u"" : FullPathName(request.file));
  });
  return exitCode;
}

#ifdef OMBRISK_STARTUP_TRACE
// The benchmark's build: each step's time, written beside the executable
// ("Ombrisk.trace", one "step<TAB>100-ns units since 1601" a line) as the
// program ends.
struct TraceMark {
  const char* step;
  ULONGLONG time;
};
TraceMark traceMarks[64];
LONG traceCount = 0;

void RecordMark(const char* step) {
  // Marked from the thread that reads the list too.
  const LONG index = InterlockedIncrement(&traceCount) - 1;
  if (index >= static_cast<LONG>(std::size(traceMarks))) return;
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  traceMarks[index] = {step, (ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime};
}

void StartTrace() {
  SetStartupProbe(RecordMark);
  MarkStartup("entry");
}

void EndTrace() {
  std::u16string path = ExecutablePath();
  path = path.substr(0, path.rfind(u'.')) + u".trace";
  FILE* file = _wfopen(Wide(path).c_str(), L"w");
  if (file == nullptr) return;
  for (LONG i = 0; i < std::min(traceCount, static_cast<LONG>(std::size(traceMarks))); ++i)
    std::fprintf(file, "%s\t%llu\n", traceMarks[i].step, traceMarks[i].time);
  std::fclose(file);
}
#else
void StartTrace() {}
void EndTrace() {}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  StartTrace();
  // The interface's language, or the one the settings file asks for, before
  // anything is shown.
  static const TextTable texts = [] {
    WinFileSystem files;
    WinTextComparer comparer;
    const ProfileStore store(files, comparer, SettingsFileName(ExecutablePath()));
    const std::optional<Language> chosen = store.ReadLanguage();
    return LoadTexts(chosen ? LanguageId(*chosen) : InterfaceLanguage());
  }();
  UseTexts(texts);
  MarkStartup("texts");
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  const CommandLineRequest request = ParseCommandLine(Arguments());
  if (request.kind != CommandLineRequest::Kind::Window) {
    InitCommonControlsEx(&controls);
    return RunCommandLine(request);
  }

  InstanceMarker marker(MutexName(ExecutablePath()));
  if (marker.AnotherInstanceRuns()) {
    // No window of the program exists on this path: the box has no owner.
    MessageBoxW(nullptr, Wide(texts::kAlreadyRunning).c_str(), Wide(texts::kConfirmCaption).c_str(),
                MB_ICONINFORMATION);
    return 0;
  }
  MarkStartup("instance marker");

  InitCommonControlsEx(&controls);
  MarkStartup("common controls");

  WinRegistryFactory registries;
  WinFileSystem files;
  WinTextComparer comparer;
  TMAIN_FORM::RegisterWindowClass(instance);
  TMAIN_FORM mainForm(Services{
      registries, files, comparer, ExecutablePath(), ShowErrorBox,
      [](HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags) {
        return ShowMessageDialog(owner, caption, text, flags, u"");
      },
      [](HWND owner) -> std::unique_ptr<ProcessStarter> { return std::make_unique<WinProcessStarter>(owner); }});
  MarkStartup("font");
  const bool created = RunHandler(ShowErrorBox, [&] {
    mainForm.Create();
    mainForm.Show();
  });
  if (created) {
    RunMessageLoop([&mainForm](MSG& message) { return mainForm.PreTranslateMessage(message); });
  }

  marker.Release();
  EndTrace();
  return 0;
}
