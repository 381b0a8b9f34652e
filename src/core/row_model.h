// The rows of a list as plain values, in the order the user sees them, and
// the sort by a clicked column: each column keeps its own direction, rows
// added later are appended and a changed row stays where it is. The windows
// draw these rows; nothing is read back out of a control.
#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrisk {

// How two rows compare by a column's keys: upper case in a to z only, then
// UTF-16 code units; negative, 0 or positive.
int CompareRowKeys(std::u16string_view a, std::u16string_view b);

// Row must offer `static std::u16string_view Key(const Row&, int column)`.
template <class Row>
class RowModel {
 public:
  explicit RowModel(int columns) : directions_(static_cast<std::size_t>(columns), 0) {}

  const std::vector<Row>& Rows() const { return rows_; }
  std::size_t Size() const { return rows_.size(); }
  bool Contains(int index) const { return index >= 0 && static_cast<std::size_t>(index) < rows_.size(); }
  const Row& operator[](std::size_t index) const { return rows_[index]; }
  Row& operator[](std::size_t index) { return rows_[index]; }

  void Assign(std::vector<Row> rows) { rows_ = std::move(rows); }
  // Appends the row; returns its index.
  std::size_t Append(Row row) {
    rows_.push_back(std::move(row));
    return rows_.size() - 1;
  }
  void Erase(std::size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }

  // The click on a column header: the column's direction turns from 1 to -1
  // or from -1 to 1, any other value becomes 1; then the rows are sorted once
  // by that column's keys times the direction. Equal keys keep their order.
  // Returns the new position of each row by its old position.
  std::vector<std::size_t> ClickColumn(int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= directions_.size()) return Identity();
    sortColumn_ = column;
    int& direction = directions_[static_cast<std::size_t>(column)];
    direction = direction == 1 ? -1 : 1;
    std::vector<std::size_t> order = Identity();
    std::stable_sort(order.begin(), order.end(), [this, column, direction](std::size_t a, std::size_t b) {
      return CompareRowKeys(Row::Key(rows_[a], column), Row::Key(rows_[b], column)) * direction < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<std::size_t> moved(rows_.size());
    for (std::size_t position = 0; position < order.size(); ++position) {
      sorted.push_back(std::move(rows_[order[position]]));
      moved[order[position]] = position;
    }
    rows_ = std::move(sorted);
    return moved;
  }
  // Every direction back to "never sorted".
  void ResetSort() { std::fill(directions_.begin(), directions_.end(), 0); }
  int SortColumn() const { return sortColumn_; }
  int Direction(int column) const { return directions_[static_cast<std::size_t>(column)]; }

 private:
  std::vector<std::size_t> Identity() const {
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    return order;
  }

  std::vector<Row> rows_;
  std::vector<int> directions_;
  int sortColumn_ = 0;
};

}  // namespace ombrisk
