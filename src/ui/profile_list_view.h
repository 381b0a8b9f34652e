// The main window's profile list (LV1 of TMAIN_FORM): the listed profiles as
// a model, drawn on demand by a virtual list view, sorted by a clicked
// column, searched by typed letters, every other row shaded.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <vector>

#include "core/profile_list.h"
#include "core/row_model.h"
#include "core/text_comparer.h"
#include "ui/list_view.h"

namespace ombrisk {

class ProfileListView {
 public:
  ~ProfileListView();
  // Takes the list view: its columns, and the release images as its small
  // images.
  // Takes over the list, with the release images drawn for the DPI.
  void Attach(HWND view, const CaseMapping& mapping, int dpi);
  // The release images drawn for another DPI.
  void Rescale(int dpi);
  const ListView& View() const { return view_; }
  const std::vector<ListedProfile>& Rows() const { return rows_.Rows(); }
  const ListedProfile& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int RowCount() const { return static_cast<int>(rows_.Size()); }
  void SetLineColor(COLORREF color) { lineColor_ = color; }

  // The rows of the first show; the first one selected.
  void Assign(std::vector<ListedProfile> rows);
  // A new row at the end, or a changed one in its place; the selection stays.
  void Append(ListedProfile row);
  void Replace(int row, ListedProfile profile);
  // The row goes; no other row is selected.
  void Erase(int row);
  // LV1ColumnClick: sorts by the column, the selection staying with its row.
  void ColumnClick(int column);

  // The list's drawing and search requests (custom draw, texts and images,
  // typed letters); 0 for any other notification.
  LRESULT Notify(NMHDR* header) const;

 private:
  ListView view_;
  const CaseMapping* mapping_ = nullptr;
  HIMAGELIST images_ = nullptr;  // IL2
  COLORREF lineColor_ = 0;
  RowModel<ListedProfile> rows_{3};  // Sort_Column and the columns' tags
};

}  // namespace ombrisk
