// What both profile-related lists do alike: sort by a clicked column, each
// column keeping its own direction, and shade every other row.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <vector>

namespace ombrisk {

class ColumnSort {
 public:
  explicit ColumnSort(int columns) : tags_(static_cast<std::size_t>(columns), 0) {}

  // The click on a column header: the column's direction turns from 1 to -1
  // or from -1 to 1, and any other value becomes 1 (so the first click sorts
  // ascending); then the rows are sorted once by that column's keys (upper
  // case in a to z only, then UTF-16 code units) times the direction.
  void Click(HWND view, int column);
  // Every direction back to "not yet used".
  void Reset();
  int Column() const { return column_; }
  int Tag(int column) const { return tags_[static_cast<std::size_t>(column)]; }

 private:
  // The lists' LV1Compare.
  static int CALLBACK Compare(LPARAM first, LPARAM second, LPARAM sort);

  HWND view_ = nullptr;
  int column_ = 0;
  std::vector<int> tags_;
};

// The custom-draw answer that gives the even rows (the first, third ...) the
// colour as background, unless selected; default drawing goes on.
LRESULT ShadeEvenRows(NMLVCUSTOMDRAW* draw, COLORREF color);

}  // namespace ombrisk
