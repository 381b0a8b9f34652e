#include "ui/list_sort.h"

#include "core/profile_list.h"
#include "ui/controls.h"

namespace ombrisk {

void ColumnSort::Click(HWND view, int column) {
  if (column < 0 || column >= static_cast<int>(tags_.size())) return;
  view_ = view;
  column_ = column;
  int& tag = tags_[static_cast<std::size_t>(column)];
  tag = tag == 1 ? -1 : 1;
  ListView_SortItemsEx(view, Compare, reinterpret_cast<LPARAM>(this));
}

void ColumnSort::Reset() {
  for (int& tag : tags_) tag = 0;
}

int CALLBACK ColumnSort::Compare(LPARAM first, LPARAM second, LPARAM sort) {
  const auto* self = reinterpret_cast<const ColumnSort*>(sort);
  return CompareRowKeys(ListItemText(self->view_, static_cast<int>(first), self->column_),
                        ListItemText(self->view_, static_cast<int>(second), self->column_)) *
         self->Tag(self->column_);
}

LRESULT ShadeEvenRows(NMLVCUSTOMDRAW* draw, COLORREF color) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec % 2 == 0 &&
      (draw->nmcd.uItemState & CDIS_SELECTED) == 0) {
    draw->clrTextBk = color;
  }
  return CDRF_DODEFAULT;
}

}  // namespace ombrisk
