#pragma once

namespace ombrisk {

// Runs the message loop until the main window's destruction posts WM_QUIT.
void RunMessageLoop();

}  // namespace ombrisk
