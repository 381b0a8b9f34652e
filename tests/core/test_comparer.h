// The text comparer of the platform the core tests run on: the system's own
// under Windows, the portable one elsewhere.
#pragma once

#ifdef _WIN32
#include "win32/win_text_comparer.h"
namespace ombrisk::testing {
using PlatformTextComparer = WinTextComparer;
}
#else
#include "core/text_comparer.h"
namespace ombrisk::testing {
using PlatformTextComparer = PortableTextComparer;
}
#endif
