#include "console/console_screen.h"

#include <algorithm>

#include "console/console_state.h"
#include "console/layer_devices.h"
#include "console/screen_state.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {

using platform::CellPosition;
using platform::CellRect;
using platform::ScreenBufferInfo;

uint16_t console_attribute() {
  ScreenBufferInfo info;
  return console().read_screen_buffer_info(info) ? info.attribute : 7;
}

void console_clear(int32_t mode) {
  const ConsoleWindow& w = console_window();
  if (w.empty() || mode == 1) return;
  int32_t top = w.top;
  int32_t bottom = w.bottom;
  if (mode == DEFAULT_MODE || mode == 2) {
    ViewRows view = view_rows();
    top = w.top + view.top;
    bottom = w.top + view.bottom;
  }
  uint16_t attribute = console_attribute();
  int32_t width = w.right - w.left + 1;
  for (int32_t row = bottom; row >= top; --row) {
    CellPosition start{w.left, static_cast<int16_t>(row)};
    console().fill_characters(' ', width, start);
    console().fill_attributes(attribute, width, start);
  }
  screen_state().pending_wrap = false;
  console().set_cursor_position({w.left, static_cast<int16_t>(top)});
}

int32_t console_set_colors(int32_t foreground, int32_t background) {
  ScreenState& s = screen_state();
  int32_t previous = s.foreground + (s.background << 16);
  if (foreground >= 0) s.foreground = foreground & 15;
  if (background >= 0) s.background = background & 15;
  console().set_text_attribute(static_cast<uint16_t>(s.foreground + 16 * s.background));
  return previous;
}

int32_t console_locate(int32_t row, int32_t column, int32_t visibility) {
  const ConsoleWindow& w = console_window();
  ScreenBufferInfo info;
  bool known = console().read_screen_buffer_info(info);
  if (row <= 0) row = known ? info.cursor.row - w.top + 1 : 1;
  if (column <= 0) column = known ? info.cursor.column - w.left + 1 : 1;
  bool was_visible = false;
  console().read_cursor_visible(was_visible);
  int32_t result = (column & 255) | ((row & 255) << 8) | (was_visible ? 65536 : 0);
  CellPosition target{static_cast<int16_t>(w.left + column - 1),
                      static_cast<int16_t>(w.top + row - 1)};
  if (visibility >= 0) console().set_cursor_visible(visibility != 0);
  screen_state().pending_wrap = false;
  console().set_cursor_position(target);
  return result;
}

bool console_size_possible(int32_t columns, int32_t rows) {
  return columns <= INT16_MAX && rows <= INT16_MAX;
}

int32_t console_resize(int32_t columns, int32_t rows) {
  ConsoleState& s = console_state();
  if (console_window().empty()) return 0;
  CellPosition largest = console().largest_window_size();
  int32_t current_columns = 0;
  int32_t current_rows = 0;
  screen_size(current_columns, current_rows);
  int32_t x = columns > 0 ? columns : current_columns;
  int32_t y = rows > 0 ? rows : current_rows;
  bool changed = columns > 0 || rows > 0;
  // Both fit in 16 bits (see console_size_possible): the packing cannot overflow.
  int32_t result = x + (y << 16);
  if (changed) {
    int32_t width = std::min(x, static_cast<int32_t>(largest.column));
    int32_t height = std::min(y, static_cast<int32_t>(largest.row));
    CellRect target{0, 0, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)};
    // A console window may never be larger than its buffer: shrink it first.
    if (y < current_rows) {
      CellRect first = target;
      first.right = static_cast<int16_t>(std::min(width, current_columns) - 1);
      console().set_window_rect(first);
    } else if (x < current_columns) {
      CellRect first = target;
      first.bottom = static_cast<int16_t>(std::min(height, current_rows) - 1);
      console().set_window_rect(first);
    }
    console().set_buffer_size({static_cast<int16_t>(x), static_cast<int16_t>(y)});
    console().set_window_rect(target);
  }
  console().set_active_buffer();
  if (changed) {
    s.geometry_frozen = false;
    reread_console_window();
    s.geometry_frozen = true;
  }
  return result;
}

}  // namespace textscreen::detail
