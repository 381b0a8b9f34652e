// What the windows get from outside: production passes the Windows
// implementations, tests pass recording ones where a real one would block.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/launch.h"
#include "core/registry.h"
#include "core/text_comparer.h"
#include "ui/error_boundary.h"
#include "win32/running_processes.h"

namespace ombrisk {

class ModalDialog;

// Shows a message dialog and returns the answer (ShowMessageDialog).
using MessageDialog =
    std::function<int(HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags)>;
// Makes the process starter whose starts the window owns.
using ProcessStarterFactory = std::function<std::unique_ptr<ProcessStarter>(HWND owner)>;
// Runs a created modal dialog (the editor, the backups' dialog) and returns
// how it closed.
using ModalRunner = std::function<int(ModalDialog& dialog)>;
// Shows a file-open (or file-save) dialog; false when the user cancelled it.
using FileOpenDialog = std::function<bool(OPENFILENAMEW& dialog)>;

// The production modal run: ModalDialog::ShowModal.
int ShowModally(ModalDialog& dialog);
// The system's file-open and file-save dialogs.
bool ShowOpenFileDialog(OPENFILENAMEW& dialog);
bool ShowSaveFileDialog(OPENFILENAMEW& dialog);

struct Services {
  RegistryFactory& registries;
  FileSystem& files;
  const TextComparer& comparer;
  // The running executable; the settings file lies beside it.
  std::u16string executablePath;
  ErrorReporter reportError;
  MessageDialog showMessage;
  ProcessStarterFactory processStarter;
  ModalRunner runModal = ShowModally;
  FileOpenDialog openFile = ShowOpenFileDialog;
  // Called by a modal window's loop right after its idle update, once every
  // message before it has been handled; unset in the program. Tests take
  // their next step there, so each step sees the window as a person would
  // after a pause.
  std::function<void(HWND window)> afterIdle = nullptr;
  // The running processes, among which the IDEs that use a settings key
  // are found.
  ProcessLister runningProcesses = ListRunningProcesses;
  FileOpenDialog saveFile = ShowSaveFileDialog;
};

// Asks the question with Yes and No, No the default; true for Yes.
bool AskYesNo(const Services& services, HWND owner, std::u16string_view question);

}  // namespace ombrisk
