#include "ui/version_combo.h"

#include "win32/wide.h"

namespace ombrisk {

void FillVersionCombo(HWND combo, InstalledVersionSet installed) {
  for (const VersionComboItem& item : VersionComboItems(installed)) {
    const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.label).c_str()));
    if (index >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), item.code);
  }
}

}  // namespace ombrisk
