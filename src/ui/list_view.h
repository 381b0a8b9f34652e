// Thin wrappers over the list view and the combo box: what the windows do
// with them, without their messages spelled out at every use.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/ui_text.h"

namespace ombrisk {

class ListView {
 public:
  explicit ListView(HWND view = nullptr) : view_(view) {}
  HWND Handle() const { return view_; }

  // Report columns with the captions and widths, whole-row selection and
  // double buffering; extraStyle adds check boxes, for instance.
  void AddColumns(std::span<const UiText> captions, std::span<const int> widths, DWORD extraStyle = 0) const;
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width) const;
  // Every column's width taken from one DPI to another, as the window's
  // other lengths are on a move to a monitor of another scale.
  void RescaleColumns(int fromDpi, int toDpi) const;

  int SelectedRow() const;
  int FocusedRow() const;
  // Selects the row and gives it the focus rectangle.
  void Select(int row) const;
  // After the rows moved (a sort: the new position of each by its old
  // one), the selection and the focus rectangle stand on their rows again.
  void FollowRows(const std::vector<std::size_t>& moved) const;
  void EnsureVisible(int row) const;

  // A list whose rows are the window's (owner data): their number.
  void SetRowCount(int count) const;
  // A list whose rows ask the window for their texts: that many rows.
  void SetCallbackRows(int count) const;
  void RedrawRow(int row) const;
  void DeleteRow(int row) const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked) const;

 private:
  HWND view_;
};

// Answers a list view's request for a cell's text (LVN_GETDISPINFO): as
// much of the text as its buffer holds.
void PutItemText(LVITEMW& item, std::u16string_view text);

// The custom-draw answer that gives the even rows (the first, third ...) the
// colour as background, unless selected; default drawing goes on.
LRESULT ShadeEvenRows(NMLVCUSTOMDRAW* draw, COLORREF color);

class ComboBox {
 public:
  explicit ComboBox(HWND combo = nullptr) : combo_(combo) {}
  HWND Handle() const { return combo_; }

  // Appends an item with the text and the data.
  void Add(std::u16string_view text, std::intptr_t data) const;
  int Count() const;
  void Select(int index) const;
  // Selects the first item with the data; nothing when none has it.
  void SelectData(std::intptr_t data) const;
  // The data of the selected item; none when no item is selected.
  std::optional<std::intptr_t> SelectedData() const;

 private:
  HWND combo_;
};

}  // namespace ombrisk
