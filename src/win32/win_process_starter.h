// The launch's process starts on Windows: CreateProcessW for the pre-launch
// command, the shell's "Open" and "runas" verbs for the IDE.
#pragma once

#include <windows.h>

#include "core/launch.h"

namespace ombrisk {

class WinProcessStarter : public ProcessStarter {
 public:
  // The window that owns the shell's starts (and any message it shows).
  explicit WinProcessStarter(HWND owner) : owner_(owner) {}

  std::uint32_t RunAndWait(std::u16string_view commandLine, bool wait) override;
  bool RunElevated(std::u16string_view file, std::u16string_view parameters) override;
  bool Open(std::u16string_view file, std::u16string_view parameters) override;
  bool SupportsElevation() override;

 private:
  HWND owner_;
};

}  // namespace ombrisk
