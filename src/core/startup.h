// Start-up rules that need no Windows.
#pragma once

#include <string>
#include <string_view>

namespace ombrisk {

// The single-instance marker's name: the executable's file name without its
// folder and without its last extension ("my.tool.exe" gives "my.tool").
std::u16string MutexName(std::u16string_view executablePath);

// The text of the error box: the message, with "." appended when its last
// character has a code above that of ".".
std::u16string ErrorBoxText(std::u16string_view message);

// The steps of the start, marked for the start-up benchmark's breakdown. A
// mark costs one test of a pointer unless a build for the benchmark sets a
// probe.
using StartupProbe = void (*)(const char* step);
void SetStartupProbe(StartupProbe probe);
void MarkStartup(const char* step);

}  // namespace ombrisk
