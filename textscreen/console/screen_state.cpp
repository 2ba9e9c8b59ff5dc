#include "console/screen_state.h"

#include "console/console_state.h"
#include "console/layer_devices.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

ScreenState state;
int batch_depth = 0;
uint64_t outermost_operations = 0;

}  // namespace

ScreenState& screen_state() {
  return state;
}

int32_t set_error(int32_t error) {
  state.last_error = error;
  return error;
}

void screen_size(int32_t& columns, int32_t& rows) {
  if (state.hooks.screen_size != nullptr) {
    state.hooks.screen_size(&columns, &rows);
    return;
  }
  const ConsoleWindow& w = console_window();
  if (w.empty()) {
    columns = 80;
    rows = 25;
  } else {
    columns = w.right - w.left + 1;
    rows = w.bottom - w.top + 1;
  }
}

void cursor_position(int32_t& column, int32_t& row) {
  if (state.hooks.cursor_position != nullptr) {
    state.hooks.cursor_position(&column, &row);
    return;
  }
  platform::ScreenBufferInfo info;
  if (!console().read_screen_buffer_info(info)) {
    column = 0;
    row = 0;
    return;
  }
  const ConsoleWindow& w = console_window();
  column = info.cursor.column - w.left + 1;
  row = info.cursor.row - w.top + 1;
}

void view_changed() {
  if (state.hooks.view_changed != nullptr) {
    state.hooks.view_changed();
  } else {
    reread_console_window();
  }
}

ViewRows view_rows() {
  if (state.view_top < 0) state.view_top = 0;
  if (state.view_bottom < 0) {
    int32_t columns = 0;
    int32_t rows = 0;
    screen_size(columns, rows);
    state.view_bottom = rows == 0 ? 24 : rows - 1;
  }
  return {state.view_top, state.view_bottom};
}

static int32_t console_cursor_column() {
  platform::ScreenBufferInfo info;
  if (!console().read_screen_buffer_info(info)) return 1;
  return info.cursor.column - console_window().left + 1;
}

void ensure_print_channel() {
  if (state.print_channel_ready) return;
  int32_t columns = 0;
  int32_t rows = 0;
  screen_size(columns, rows);
  state.print_width = columns;
  int32_t column =
      state.hooks.cursor_column != nullptr ? state.hooks.cursor_column() : console_cursor_column();
  state.print_column = column - 1;
  state.print_channel_ready = true;
}

OutputBatch::OutputBatch() {
  if (batch_depth++ == 0) ++outermost_operations;
}

uint64_t OutputBatch::operations_begun() {
  return outermost_operations;
}

OutputBatch::~OutputBatch() {
  if (--batch_depth == 0) console().flush();
}

}  // namespace textscreen::detail
