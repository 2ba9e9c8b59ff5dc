// The public screen operations: argument checks and the shared bookkeeping (view rows,
// print column) around the slots, whose console implementations run while they are empty.
#include "console/console_screen.h"
#include "console/screen_state.h"
#include "textscreen/screen.h"
#include "textscreen/textscreen.h"

namespace textscreen {

using detail::OutputBatch;
using detail::screen_state;

void screen_cls(int32_t mode) {
  OutputBatch batch;
  auto& s = screen_state();
  detail::ensure_print_channel();
  if (s.hooks.clear_screen != nullptr) {
    s.hooks.clear_screen(mode);
  } else {
    detail::console_clear(mode);
  }
  s.print_column = 0;
}

int32_t screen_color(int32_t foreground, int32_t background) {
  OutputBatch batch;
  auto& s = screen_state();
  if (s.hooks.set_colors != nullptr) return s.hooks.set_colors(foreground, background);
  return detail::console_set_colors(foreground, background);
}

int32_t screen_locate(int32_t row, int32_t column, int32_t visibility) {
  return detail::locate_with_position(row, column, visibility, nullptr);
}

int32_t screen_view_print(int32_t top, int32_t bottom) {
  OutputBatch batch;
  auto& s = screen_state();
  int32_t columns = 0;
  int32_t rows = 0;
  detail::screen_size(columns, rows);
  if (rows == 0) rows = 25;
  detail::ViewRows current = detail::view_rows();
  bool given = top >= 0 || bottom >= 0;
  if (top == 0) top = 1;
  if (top < 0) top = current.top + 1;
  if (bottom == 0) bottom = rows;
  if (bottom < 0) bottom = current.bottom + 1;
  if (top > bottom || top <= 0 || bottom <= 0 || top > rows || bottom > rows) return 0;
  if (given) {
    s.view_top = top - 1;
    s.view_bottom = bottom - 1;
    detail::view_changed();
    detail::locate_with_fallback(top, 1, -1);
  }
  return top + (bottom << 16);
}

int32_t screen_width(int32_t columns, int32_t rows) {
  OutputBatch batch;
  auto& s = screen_state();
  detail::ensure_print_channel();
  if (s.hooks.set_size == nullptr && !detail::console_size_possible(columns, rows)) {
    detail::set_error(ERROR_ILLEGAL_CALL);
    return 0;
  }
  int32_t result = s.hooks.set_size != nullptr ? s.hooks.set_size(columns, rows)
                                               : detail::console_resize(columns, rows);
  if (columns > 0) s.print_width = columns;
  screen_view_print(0, 0);
  return columns < 1 && rows < 1 ? result : 0;
}

void write_text(std::string_view bytes, int32_t write_mask) {
  OutputBatch batch;
  auto& s = screen_state();
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  auto length = static_cast<int32_t>(bytes.size());
  if (s.hooks.write_text != nullptr) {
    s.hooks.write_text(data, length, write_mask);
  } else {
    detail::console_write_text(data, length, write_mask);
  }
}

int32_t last_error() {
  return screen_state().last_error;
}

}  // namespace textscreen

namespace textscreen::detail {

int32_t locate_with_position(int32_t row, int32_t column, int32_t visibility, int32_t* position) {
  OutputBatch batch;
  auto& s = screen_state();
  int32_t columns = 0;
  int32_t rows = 0;
  screen_size(columns, rows);
  ViewRows view = view_rows();
  bool row_refused = row != 0 && (row < view.top + 1 || row > view.bottom + 1);
  bool column_refused = column != 0 && (column < 1 || column > columns);
  if (row_refused || column_refused) return set_error(ERROR_ILLEGAL_CALL);
  ensure_print_channel();
  int32_t packed = s.hooks.move_cursor != nullptr ? s.hooks.move_cursor(row, column, visibility)
                                                  : console_locate(row, column, visibility);
  if (position != nullptr) *position = packed;
  if (column != 0) s.print_column = column - 1;
  return set_error(ERROR_NONE);
}

int32_t locate_with_fallback(int32_t row, int32_t column, int32_t visibility) {
  int32_t error = screen_locate(row, column, visibility);
  if (error != ERROR_NONE) error = screen_locate(0, 0, visibility);
  return error;
}

}  // namespace textscreen::detail
