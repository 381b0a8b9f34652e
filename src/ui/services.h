// What the windows get from outside: production passes the Windows
// implementations, tests pass recording ones where a real one would block.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/file_system.h"
#include "core/launch.h"
#include "core/registry.h"
#include "core/text_comparer.h"
#include "ui/error_boundary.h"

namespace ombrisk {

// Shows a message dialog and returns the answer (ShowMessageDialog).
using MessageDialog =
    std::function<int(HWND owner, std::u16string_view caption, std::u16string_view text, unsigned flags)>;
// Makes the process starter whose starts the window owns.
using ProcessStarterFactory = std::function<std::unique_ptr<ProcessStarter>(HWND owner)>;

struct Services {
  RegistryFactory& registries;
  FileSystem& files;
  const TextComparer& comparer;
  // The running executable; the settings file lies beside it.
  std::u16string executablePath;
  ErrorReporter reportError;
  MessageDialog showMessage;
  ProcessStarterFactory processStarter;
};

}  // namespace ombrisk
