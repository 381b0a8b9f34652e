// The editor's package list (LV1 of TPREF_FORM): the rows as a model, drawn
// by a list view that keeps its own check boxes (so they work by mouse and
// by Space as any list's do) and tells the model of every change; sorting
// by a clicked column and every other row shaded.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <vector>

#include "core/profile_record.h"
#include "core/row_model.h"
#include "ui/list_view.h"

namespace ombrisk {

class PackageList {
 public:
  void Attach(HWND view, COLORREF lineColor);
  const ListView& View() const { return view_; }
  const std::vector<PackageRow>& Rows() const { return rows_.Rows(); }
  int SortColumn() const { return rows_.SortColumn(); }

  // New rows, shown in their order (no sort).
  void Assign(std::vector<PackageRow> rows);
  // New rows, sorted ascending by name with both directions reset.
  void AssignSorted(std::vector<PackageRow> rows);
  // LV1ColumnClick: sorts by the column, the selection staying with its row.
  void ColumnClick(int column);
  // The package sort reset: both directions back, then sorted by name.
  void ResetSort();

  // The list's notifications but the column click; the custom-draw answer
  // for NM_CUSTOMDRAW.
  LRESULT Notify(NMHDR* header);

 private:
  // Shows the rows in their order; the check states set here are no user's.
  void Fill();

  ListView view_;
  COLORREF lineColor_ = 0;
  RowModel<PackageRow> rows_{2};
  bool filling_ = false;
};

}  // namespace ombrisk
