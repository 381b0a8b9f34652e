// What the windows get from outside: production passes the Windows
// implementations, tests pass recording ones where a real one would block.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/launch.h"
#include "core/registry.h"
#include "core/text_comparer.h"
#include "ui/error_boundary.h"

namespace ombrisk {

class TPREF_FORM;

// Shows a message dialog and returns the answer (ShowMessageDialog).
using MessageDialog =
    std::function<int(HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags)>;
// Makes the process starter whose starts the window owns.
using ProcessStarterFactory = std::function<std::unique_ptr<ProcessStarter>(HWND owner)>;
// Runs the profile editor modally and returns how it closed: IDOK or
// IDCANCEL.
using ModalRunner = std::function<int(TPREF_FORM& dialog)>;
// Shows a file-open dialog; false when the user cancelled it.
using FileOpenDialog = std::function<bool(OPENFILENAMEW& dialog)>;

// A row of the launch backups' dialog: its cells.
struct BackupRow {
  std::u16string time, release, key, profile;
};
// Shows the launch backups modally; the index of the one to restore, or -1.
using BackupChooser = std::function<int(HWND owner, std::span<const BackupRow> rows, const ErrorReporter& reportError)>;

// The production modal run: TPREF_FORM::ShowModal.
int ShowModally(TPREF_FORM& dialog);
// The system's file-open dialog.
bool ShowOpenFileDialog(OPENFILENAMEW& dialog);
// The launch backups' dialog (TRESTORE_FORM).
int ChooseBackupModally(HWND owner, std::span<const BackupRow> rows, const ErrorReporter& reportError);

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
  BackupChooser chooseBackup = ChooseBackupModally;
  // Called by a modal window's loop right after its idle update, once every
  // message before it has been handled; unset in the program. Tests take
  // their next step there, so each step sees the window as a person would
  // after a pause.
  std::function<void(HWND window)> afterIdle = nullptr;
};

}  // namespace ombrisk
