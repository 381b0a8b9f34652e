#include "ui/version_combo.h"

#include "ui/list_view.h"

namespace ombrisk {

void FillVersionCombo(HWND combo, const InstalledVersionSet& installed) {
  for (const VersionComboItem& item : VersionComboItems(installed)) ComboBox(combo).Add(item.label, item.code);
}

}  // namespace ombrisk
