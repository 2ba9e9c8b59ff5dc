// The screen buffer of a console kept in memory: cells, cursor, attribute and the visible
// window, with the fill, write and scroll rules of a text console. MemoryConsole is this
// buffer on its own; TerminalConsole shows it on a terminal.
#pragma once

#include <vector>

#include "platform/console_device.h"

namespace textscreen::platform {

class CellBuffer {
 public:
  // The largest buffer a console can have: no extent past what a cell position holds, and
  // no more cells than a console keeps in memory (16 MiB of cells).
  static constexpr int32_t MAX_CELLS = 1 << 22;
  static bool size_allowed(CellPosition size) {
    return size.column > 0 && size.row > 0 &&
           static_cast<int32_t>(size.column) * size.row <= MAX_CELLS;
  }

  CellBuffer(int16_t columns, int16_t rows);

  CellPosition size() const { return size_; }
  const CellRect& window() const { return window_; }
  CellPosition cursor() const { return cursor_; }
  bool cursor_visible() const { return cursor_visible_; }
  uint16_t attribute() const { return attribute_; }
  const ConsoleCell& at(int16_t column, int16_t row) const;
  // Every cell, row after row. Straightens the storage first when scrolls have rotated it:
  // call it once per look at the whole buffer, not per cell.
  const std::vector<ConsoleCell>& cells() const;

  ScreenBufferInfo info(CellPosition largest_window) const;
  bool contains(CellPosition p) const;

  void set_attribute(uint16_t attribute) { attribute_ = attribute; }
  void set_cursor_visible(bool visible) { cursor_visible_ = visible; }
  bool set_cursor(CellPosition position);
  bool fill_characters(uint8_t character, int32_t count, CellPosition start);
  bool fill_attributes(uint16_t attribute, int32_t count, CellPosition start);
  bool write_cells(const ConsoleCell* cells, int32_t count, CellPosition start);
  bool scroll_rectangle(const CellRect& source, const CellRect* clip, CellPosition destination,
                        ConsoleCell fill);
  // The window must lie inside the buffer.
  bool set_window(const CellRect& window);
  // New size: contents kept from the top-left, new cells blank in attribute 7; the window
  // is clipped to the new buffer and the cursor kept inside it. False, changing nothing,
  // for a size that is not allowed.
  bool resize(CellPosition size);

 private:
  ConsoleCell& cell(int16_t column, int16_t row);
  // Runs `set` over `count` cells from `start` onwards, into the following rows.
  template <typename Setter>
  bool fill(int32_t count, CellPosition start, Setter set);

  CellPosition size_;
  CellRect window_;
  CellPosition cursor_;
  bool cursor_visible_ = true;
  uint16_t attribute_ = 7;
  // The cells of one row, wherever the row is stored.
  ConsoleCell* row_cells(int row) const;

  // Rows are stored from first_row_ on, wrapping round: a scroll of the whole buffer moves
  // no cell, only where row 0 is. cells() straightens them, hence mutable.
  mutable std::vector<ConsoleCell> cells_;
  mutable int first_row_ = 0;
};

}  // namespace textscreen::platform
