#include "ui/package_list.h"

namespace ombrisk {

void PackageList::Attach(HWND view, COLORREF lineColor) {
  view_ = ListView(view);
  lineColor_ = lineColor;
}

void PackageList::Assign(std::vector<PackageRow> rows) {
  rows_.Assign(std::move(rows));
  Fill();
}

void PackageList::AssignSorted(std::vector<PackageRow> rows) {
  rows_.Assign(std::move(rows));
  rows_.ResetSort();
  rows_.ClickColumn(0);
  Fill();
}

void PackageList::ColumnClick(int column) {
  const std::vector<std::size_t> moved = rows_.ClickColumn(column);
  Fill();
  view_.FollowRows(moved);
}

void PackageList::ResetSort() {
  rows_.ResetSort();
  ColumnClick(0);
}

void PackageList::Fill() {
  // One repaint however many rows; the texts come from the model as they
  // are drawn.
  filling_ = true;
  SendMessageW(view_.Handle(), WM_SETREDRAW, FALSE, 0);
  const auto count = static_cast<int>(rows_.Size());
  if (ListView_GetItemCount(view_.Handle()) != count) view_.SetCallbackRows(count);
  for (int row = 0; row < count; ++row) {
    const bool enabled = rows_[static_cast<std::size_t>(row)].enabled;
    if (view_.Checked(row) != enabled) view_.SetChecked(row, enabled);
  }
  SendMessageW(view_.Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(view_.Handle(), nullptr, TRUE);
  filling_ = false;
}

LRESULT PackageList::Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (rows_.Contains(item.iItem)) {
        PutItemText(item, PackageRow::Key(rows_[static_cast<std::size_t>(item.iItem)], item.iSubItem));
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      // A check box toggled by mouse or Space enables or disables its package.
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if (!filling_ && rows_.Contains(change->iItem) && (change->uChanged & LVIF_STATE) != 0 &&
          ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0) {
        rows_[static_cast<std::size_t>(change->iItem)].enabled =
            (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
      }
      return 0;
    }
    case NM_CUSTOMDRAW:
      return ShadeEvenRows(reinterpret_cast<NMLVCUSTOMDRAW*>(header), lineColor_);
    default:
      return 0;
  }
}

}  // namespace ombrisk
