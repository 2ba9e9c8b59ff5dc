#include "platform/cell_buffer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace textscreen::platform {

// Cells are moved with memmove.
static_assert(std::is_trivially_copyable_v<ConsoleCell>);

CellBuffer::CellBuffer(int16_t columns, int16_t rows)
    : size_{columns, rows},
      window_{0, 0, static_cast<int16_t>(columns - 1), static_cast<int16_t>(rows - 1)},
      cells_(static_cast<size_t>(columns) * rows) {}

ConsoleCell* CellBuffer::row_cells(int row) const {
  int stored = row + first_row_;
  if (stored >= size_.row) stored -= size_.row;
  return cells_.data() + static_cast<ptrdiff_t>(stored) * size_.column;
}

const ConsoleCell& CellBuffer::at(int16_t column, int16_t row) const {
  return row_cells(row)[column];
}

ConsoleCell& CellBuffer::cell(int16_t column, int16_t row) {
  return row_cells(row)[column];
}

const std::vector<ConsoleCell>& CellBuffer::cells() const {
  if (first_row_ != 0) {
    std::rotate(cells_.begin(), cells_.begin() + static_cast<ptrdiff_t>(first_row_) * size_.column,
                cells_.end());
    first_row_ = 0;
  }
  return cells_;
}

ScreenBufferInfo CellBuffer::info(CellPosition largest_window) const {
  return ScreenBufferInfo{size_, cursor_, attribute_, window_, largest_window};
}

bool CellBuffer::contains(CellPosition p) const {
  return p.column >= 0 && p.row >= 0 && p.column < size_.column && p.row < size_.row;
}

bool CellBuffer::set_cursor(CellPosition position) {
  if (!contains(position)) return false;
  cursor_ = position;
  return true;
}

template <typename Setter>
bool CellBuffer::fill(int32_t count, CellPosition start, Setter set) {
  if (!contains(start)) return false;
  int64_t left = std::max(count, 0);
  for (int row = start.row, column = start.column; left > 0 && row < size_.row; ++row, column = 0) {
    const int64_t n = std::min<int64_t>(left, size_.column - column);
    ConsoleCell* cells = row_cells(row) + column;
    for (int64_t i = 0; i < n; ++i) set(cells[i]);
    left -= n;
  }
  return true;
}

bool CellBuffer::fill_characters(uint8_t character, int32_t count, CellPosition start) {
  return fill(count, start, [character](ConsoleCell& c) { c.character = character; });
}

bool CellBuffer::fill_attributes(uint16_t attribute, int32_t count, CellPosition start) {
  return fill(count, start, [attribute](ConsoleCell& c) { c.attribute = attribute; });
}

bool CellBuffer::write_cells(const ConsoleCell* cells, int32_t count, CellPosition start) {
  if (!contains(start)) return false;
  const int32_t n = std::min<int32_t>(count, size_.column - start.column);
  if (n > 0) std::copy_n(cells, n, row_cells(start.row) + start.column);
  return true;
}

bool CellBuffer::scroll_rectangle(const CellRect& source, const CellRect* clip,
                                  CellPosition destination, ConsoleCell fill) {
  // Rectangles here are inclusive and in int, so that moved edges cannot overflow.
  struct Span {
    int left, top, right, bottom;
    bool empty() const { return left > right || top > bottom; }
    bool operator==(const Span&) const = default;
  };
  auto inside = [](const Span& a, const Span& b) {
    return Span{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  };
  const int columns = size_.column;
  const Span whole{0, 0, columns - 1, size_.row - 1};
  const Span src = inside({source.left, source.top, source.right, source.bottom}, whole);
  if (src.empty()) return false;
  const Span cl =
      clip != nullptr ? inside({clip->left, clip->top, clip->right, clip->bottom}, whole) : whole;
  // Every source cell moves by (dx, dy), measured from the source as given, not as clipped.
  const int dx = destination.column - source.left;
  const int dy = destination.row - source.top;
  // Where moved cells land: the moved source inside the clip. Each lands on a cell the fill
  // would otherwise take or leave alone, so the moves go first (reading only old cells, in
  // memmove's order) and the fill then takes the rest of the source inside the clip.
  const Span to = inside({src.left + dx, src.top + dy, src.right + dx, src.bottom + dy}, cl);
  auto place = [&](int column, int row) { return row_cells(row) + column; };
  const int rows = size_.row;
  // The whole buffer up by -dy rows, as text scrolls: every row is either moved up to row
  // 0 onwards or, at the bottom, filled. Then the rows change places in storage alone.
  const bool whole_rows_up = dx == 0 && dy < 0 && -dy < rows && src.left == 0 &&
                             src.right == columns - 1 && src.bottom == rows - 1 &&
                             src.top <= std::min(-dy, rows + dy) && cl == whole;
  if (whole_rows_up) {
    first_row_ = (first_row_ - dy) % rows;
    for (int row = rows + dy; row < rows; ++row) std::fill_n(place(0, row), columns, fill);
    return true;
  }
  if (!to.empty()) {
    const size_t width = static_cast<size_t>(to.right - to.left + 1);
    if (dy <= 0) {
      // Upwards (or along the row): the top row first, so no row is read after it is written.
      for (int row = to.top; row <= to.bottom; ++row) {
        std::memmove(place(to.left, row), place(to.left - dx, row - dy),
                     width * sizeof(ConsoleCell));
      }
    } else {
      for (int row = to.bottom; row >= to.top; --row) {
        std::memmove(place(to.left, row), place(to.left - dx, row - dy),
                     width * sizeof(ConsoleCell));
      }
    }
  }
  // The uncovered part of the source inside the clip: per row, what lies left and right of
  // the landed cells, or the whole row's stretch on rows they do not reach.
  const Span uncovered = inside(src, cl);
  if (!uncovered.empty()) {
    for (int row = uncovered.top; row <= uncovered.bottom; ++row) {
      if (to.empty() || row < to.top || row > to.bottom) {
        std::fill(place(uncovered.left, row), place(uncovered.right + 1, row), fill);
        continue;
      }
      const int left_end = std::min(uncovered.right, to.left - 1);
      if (uncovered.left <= left_end) {
        std::fill(place(uncovered.left, row), place(left_end + 1, row), fill);
      }
      const int right_start = std::max(uncovered.left, to.right + 1);
      if (right_start <= uncovered.right) {
        std::fill(place(right_start, row), place(uncovered.right + 1, row), fill);
      }
    }
  }
  return true;
}

bool CellBuffer::set_window(const CellRect& window) {
  if (window.left < 0 || window.top < 0 || window.right >= size_.column ||
      window.bottom >= size_.row || window.left > window.right || window.top > window.bottom) {
    return false;
  }
  window_ = window;
  return true;
}

bool CellBuffer::resize(CellPosition size) {
  if (!size_allowed(size)) return false;
  std::vector<ConsoleCell> fresh(static_cast<size_t>(size.column) * size.row);
  const auto kept_columns = static_cast<size_t>(std::min(size.column, size_.column));
  for (int16_t r = 0; r < std::min(size.row, size_.row); ++r) {
    std::copy_n(&at(0, r), kept_columns, &fresh[static_cast<size_t>(r) * size.column]);
  }
  cells_ = std::move(fresh);
  first_row_ = 0;
  size_ = size;
  window_.right = std::min<int16_t>(window_.right, static_cast<int16_t>(size.column - 1));
  window_.bottom = std::min<int16_t>(window_.bottom, static_cast<int16_t>(size.row - 1));
  window_.left = std::min(window_.left, window_.right);
  window_.top = std::min(window_.top, window_.bottom);
  cursor_.column = std::min<int16_t>(cursor_.column, static_cast<int16_t>(size.column - 1));
  cursor_.row = std::min<int16_t>(cursor_.row, static_cast<int16_t>(size.row - 1));
  return true;
}

}  // namespace textscreen::platform
