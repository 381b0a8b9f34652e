#pragma once

#include <windows.h>

#include "core/catalogue.h"

namespace ombrisk {

// Appends one item per installed release, newest first: the label as text,
// the code as item data. The combo box is not cleared first.
void FillVersionCombo(HWND combo, const InstalledVersionSet& installed);

}  // namespace ombrisk
