#include "graphics/graphics_slots.h"

#include "console/key_arrival.h"
#include "console/line_input.h"
#include "console/screen_state.h"
#include "graphics/graphics_keys.h"

namespace textscreen::detail {

void install_graphics_slots() {
  ScreenHooks& hooks = screen_state().hooks;
  hooks.poll_key = graphics_poll_key;
  hooks.wait_key = graphics_wait_key;
  hooks.peek_key = graphics_peek_key;
  hooks.clear_screen = graphics_clear;
  hooks.set_colors = graphics_set_colors;
  hooks.move_cursor = graphics_locate;
  hooks.set_size = graphics_set_size;
  hooks.cursor_column = graphics_cursor_column;
  hooks.cursor_row = graphics_cursor_row;
  hooks.cursor_position = graphics_cursor_position;
  hooks.screen_size = graphics_screen_size;
  hooks.write_text = graphics_write_text;
  hooks.write_wide_text = graphics_write_wide_text;
  hooks.read_text = graphics_read_text;
  hooks.key_down = graphics_key_down;
  hooks.read_mouse = graphics_read_mouse;
  hooks.move_mouse = graphics_move_mouse;
  hooks.port_read = graphics_port_read;
  hooks.port_write = graphics_port_write;
  hooks.view_changed = graphics_view_changed;
  // Line input takes the same steps on both screens: its echo and keys go through the
  // slots above.
  hooks.read_line = console_read_line;
  hooks.read_wide_line = nullptr;
  hooks.cell_at = graphics_cell_at;
  hooks.wait = graphics_wait;
  set_graphics_key_arrival(graphics_key_arrival);
}

}  // namespace textscreen::detail
