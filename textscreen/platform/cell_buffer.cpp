#include "platform/cell_buffer.h"

#include <algorithm>

namespace textscreen::platform {

CellBuffer::CellBuffer(int16_t columns, int16_t rows)
    : size_{columns, rows},
      window_{0, 0, static_cast<int16_t>(columns - 1), static_cast<int16_t>(rows - 1)},
      cells_(static_cast<size_t>(columns) * rows) {}

const ConsoleCell& CellBuffer::at(int16_t column, int16_t row) const {
  return cells_[static_cast<size_t>(row) * size_.column + column];
}

ConsoleCell& CellBuffer::cell(int16_t column, int16_t row) {
  return cells_[static_cast<size_t>(row) * size_.column + column];
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
  size_t first = static_cast<size_t>(start.row) * size_.column + start.column;
  size_t last = std::min(cells_.size(), first + static_cast<size_t>(std::max(count, 0)));
  for (size_t i = first; i < last; ++i) set(cells_[i]);
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
  int32_t room = size_.column - start.column;
  int32_t n = std::min(count, room);
  for (int32_t i = 0; i < n; ++i)
    cell(static_cast<int16_t>(start.column + i), start.row) = cells[i];
  return true;
}

bool CellBuffer::scroll_rectangle(const CellRect& source, const CellRect* clip,
                                  CellPosition destination, ConsoleCell fill) {
  CellRect whole{0, 0, static_cast<int16_t>(size_.column - 1), static_cast<int16_t>(size_.row - 1)};
  CellRect src{std::max(source.left, whole.left), std::max(source.top, whole.top),
               std::min(source.right, whole.right), std::min(source.bottom, whole.bottom)};
  if (src.left > src.right || src.top > src.bottom) return false;
  CellRect cl = clip ? *clip : whole;
  cl = {std::max(cl.left, whole.left), std::max(cl.top, whole.top), std::min(cl.right, whole.right),
        std::min(cl.bottom, whole.bottom)};
  int dx = destination.column - source.left;
  int dy = destination.row - source.top;
  int width = src.right - src.left + 1;
  // Only the source is copied aside, so overlapping moves read the old cells.
  moved_.resize(static_cast<size_t>(width) * (src.bottom - src.top + 1));
  for (int r = src.top; r <= src.bottom; ++r) {
    const ConsoleCell* from = &cells_[static_cast<size_t>(r) * size_.column + src.left];
    std::copy(from, from + width, moved_.begin() + static_cast<ptrdiff_t>(r - src.top) * width);
  }
  // Uncovered source cells take the fill; then the moved cells land.
  for (int r = std::max<int>(src.top, cl.top); r <= std::min<int>(src.bottom, cl.bottom); ++r) {
    for (int c = std::max<int>(src.left, cl.left); c <= std::min<int>(src.right, cl.right); ++c) {
      cell(static_cast<int16_t>(c), static_cast<int16_t>(r)) = fill;
    }
  }
  for (int r = src.top; r <= src.bottom; ++r) {
    int tr = r + dy;
    if (tr < cl.top || tr > cl.bottom) continue;
    for (int c = src.left; c <= src.right; ++c) {
      int tc = c + dx;
      if (tc < cl.left || tc > cl.right) continue;
      cell(static_cast<int16_t>(tc), static_cast<int16_t>(tr)) =
          moved_[static_cast<size_t>(r - src.top) * width + (c - src.left)];
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
