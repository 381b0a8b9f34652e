#include "ui/list_view.h"

#include <algorithm>

#include "win32/wide.h"

namespace ombrisk {

void ListView::AddColumns(std::span<const UiText> captions, std::span<const int> widths, DWORD extraStyle) const {
  ListView_SetExtendedListViewStyle(view_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | extraStyle);
  for (std::size_t column = 0; column < captions.size(); ++column) {
    std::wstring text = Wide(captions[column]);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    info.pszText = text.data();
    info.cx = widths[column];
    info.iSubItem = static_cast<int>(column);
    ListView_InsertColumn(view_, static_cast<int>(column), &info);
  }
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(view_, column); }

void ListView::SetColumnWidth(int column, int width) const {
  // Setting a column's width lays the header out again, even to its width.
  if (ColumnWidth(column) != width) ListView_SetColumnWidth(view_, column, width);
}

void ListView::RescaleColumns(int fromDpi, int toDpi) const {
  if (fromDpi <= 0 || fromDpi == toDpi) return;
  const int count = Header_GetItemCount(ListView_GetHeader(view_));
  for (int column = 0; column < count; ++column) {
    SetColumnWidth(column, MulDiv(ColumnWidth(column), toDpi, fromDpi));
  }
}

int ListView::SelectedRow() const { return ListView_GetNextItem(view_, -1, LVNI_SELECTED); }

int ListView::FocusedRow() const { return ListView_GetNextItem(view_, -1, LVNI_FOCUSED); }

void ListView::Select(int row) const {
  ListView_SetItemState(view_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ListView::FollowRows(const std::vector<std::size_t>& moved) const {
  const int selected = SelectedRow();
  const int focused = FocusedRow();
  const auto movedTo = [&moved](int row) { return static_cast<int>(moved[static_cast<std::size_t>(row)]); };
  ListView_SetItemState(view_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (focused >= 0) ListView_SetItemState(view_, movedTo(focused), LVIS_FOCUSED, LVIS_FOCUSED);
  if (selected >= 0) ListView_SetItemState(view_, movedTo(selected), LVIS_SELECTED, LVIS_SELECTED);
  InvalidateRect(view_, nullptr, FALSE);
}

void ListView::EnsureVisible(int row) const { ListView_EnsureVisible(view_, row, TRUE); }

void ListView::SetRowCount(int count) const {
  ListView_SetItemCountEx(view_, count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void ListView::SetCallbackRows(int count) const {
  ListView_DeleteAllItems(view_);
  for (int row = 0; row < count; ++row) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = LPSTR_TEXTCALLBACKW;
    ListView_InsertItem(view_, &item);
  }
}

void ListView::RedrawRow(int row) const { ListView_RedrawItems(view_, row, row); }

void ListView::DeleteRow(int row) const { ListView_DeleteItem(view_, row); }

bool ListView::Checked(int row) const { return ListView_GetCheckState(view_, row) != 0; }

void ListView::SetChecked(int row, bool checked) const { ListView_SetCheckState(view_, row, checked); }

void PutItemText(LVITEMW& item, std::u16string_view text) {
  if ((item.mask & LVIF_TEXT) == 0 || item.cchTextMax <= 0) return;
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
  std::copy_n(text.data(), length, item.pszText);
  item.pszText[length] = L'\0';
}

LRESULT ShadeEvenRows(NMLVCUSTOMDRAW* draw, COLORREF color) {
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec % 2 == 0 &&
      (draw->nmcd.uItemState & CDIS_SELECTED) == 0) {
    draw->clrTextBk = color;
  }
  return CDRF_DODEFAULT;
}

void ComboBox::Add(std::u16string_view text, std::intptr_t data) const {
  const LRESULT index = SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  if (index >= 0) SendMessageW(combo_, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

int ComboBox::Count() const { return static_cast<int>(SendMessageW(combo_, CB_GETCOUNT, 0, 0)); }

void ComboBox::Select(int index) const { SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void ComboBox::SelectData(std::intptr_t data) const {
  for (int index = 0; index < Count(); ++index) {
    if (SendMessageW(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0) == data) {
      Select(index);
      return;
    }
  }
}

std::optional<std::intptr_t> ComboBox::SelectedData() const {
  const LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
  if (index < 0) return std::nullopt;
  return SendMessageW(combo_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

}  // namespace ombrisk
