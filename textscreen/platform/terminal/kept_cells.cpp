#include "platform/terminal/kept_cells.h"

#include <algorithm>

namespace textscreen::platform {

bool KeptCells::resize(CellBuffer& buffer, CellPosition size) {
  if (!CellBuffer::size_allowed(size)) return false;
  const CellPosition old_size = buffer.size();
  const auto columns = std::max(columns_, old_size.column);
  const auto rows = std::max(rows_, old_size.row);
  if (columns != columns_ || rows != rows_) {
    std::vector<ConsoleCell> grown(static_cast<size_t>(columns) * rows);
    for (int16_t r = 0; r < rows_; ++r) {
      std::copy_n(cells_.begin() + r * columns_, columns_, grown.begin() + r * columns);
    }
    cells_ = std::move(grown);
    columns_ = columns;
    rows_ = rows;
  }
  for (int16_t r = 0; r < old_size.row; ++r) {
    std::copy_n(&buffer.at(0, r), old_size.column, cells_.begin() + r * columns_);
  }
  buffer.resize(size);
  // Only the cells outside the old size are new: the rows below it, and the columns to its
  // right in the rows it had.
  const auto known_columns = std::min(size.column, columns_);
  for (int16_t r = 0; r < std::min(size.row, rows_); ++r) {
    const int16_t from = r < old_size.row ? old_size.column : 0;
    if (from < known_columns) {
      buffer.write_cells(&cells_[static_cast<size_t>(r) * columns_ + from], known_columns - from,
                         {from, r});
    }
  }
  return true;
}

}  // namespace textscreen::platform
