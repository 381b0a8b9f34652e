#include "ui/profile_list_view.h"

#include "core/catalogue.h"
#include "core/texts.h"
#include "resource_ids.h"
#include "ui/controls.h"
#include "win32/wide.h"

namespace ombrisk {

ProfileListView::~ProfileListView() {
  if (images_ != nullptr) ImageList_Destroy(images_);
}

void ProfileListView::Attach(HWND view, const CaseMapping& mapping, int dpi) {
  view_ = ListView(view);
  mapping_ = &mapping;
  const int widths[] = {132, 190, 154};
  view_.AddColumns(texts::kProfileHeaders, widths);
  Rescale(dpi);
}

void ProfileListView::Rescale(int dpi) {
  const HIMAGELIST old = images_;
  images_ = LoadImageStrip(IDB_RELEASES, ImageSizeFor(dpi));
  ListView_SetImageList(view_.Handle(), images_, LVSIL_SMALL);
  if (old != nullptr) ImageList_Destroy(old);
}

void ProfileListView::Assign(std::vector<ListedProfile> rows) {
  rows_.Assign(std::move(rows));
  view_.SetRowCount(RowCount());
  if (RowCount() > 0) view_.Select(0);
}

void ProfileListView::Append(ListedProfile row) {
  rows_.Append(std::move(row));
  view_.SetRowCount(RowCount());
}

void ProfileListView::Replace(int row, ListedProfile profile) {
  rows_[static_cast<std::size_t>(row)] = std::move(profile);
  view_.RedrawRow(row);
}

void ProfileListView::Erase(int row) {
  rows_.Erase(static_cast<std::size_t>(row));
  view_.DeleteRow(row);
}

void ProfileListView::ColumnClick(int column) { view_.FollowRows(rows_.ClickColumn(column)); }

LRESULT ProfileListView::Notify(NMHDR* header) const {
  switch (header->code) {
    case NM_CUSTOMDRAW:
      // LV1AdvancedCustomDrawItem
      return ShadeEvenRows(reinterpret_cast<NMLVCUSTOMDRAW*>(header), lineColor_);
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      if (!rows_.Contains(item.iItem)) return 0;
      const ListedProfile& row = rows_[static_cast<std::size_t>(item.iItem)];
      PutItemText(item, ListedProfile::Key(row, item.iSubItem));
      if ((item.mask & LVIF_IMAGE) != 0) item.iImage = VersionImageIndex(row.code);
      return 0;
    }
    case LVN_ODFINDITEMW: {
      // Typing the first letters of a name selects the next profile so named.
      const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
      if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr) return -1;
      return FindRowByName(rows_.Rows(), FromWide(find->lvfi.psz), find->iStart, (find->lvfi.flags & LVFI_PARTIAL) != 0,
                           *mapping_);
    }
    default:
      return 0;
  }
}

}  // namespace ombrisk
