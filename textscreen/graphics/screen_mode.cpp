#include "textscreen/screen_mode.h"

#include "console/screen_state.h"
#include "graphics/graphics_screen.h"
#include "graphics/mode_table.h"
#include "textscreen/textscreen.h"

namespace textscreen {
namespace {

// The text view becomes all rows of the new screen and the print column starts again; the
// cursor goes home only on a graphics screen, the console's stays where it is.
void reset_text_view() {
  auto& s = detail::screen_state();
  int32_t columns = 0;
  int32_t rows = 0;
  detail::screen_size(columns, rows);
  s.view_top = 0;
  s.view_bottom = (rows == 0 ? 25 : rows) - 1;
  detail::view_changed();
  if (detail::graphics_screen_open()) detail::locate_with_fallback(1, 1, -1);
  s.print_column = 0;
}

}  // namespace

void screen_mode(int32_t mode, int32_t depth, int32_t pages, int32_t flags, int32_t refresh) {
  detail::OutputBatch batch;
  auto& s = detail::screen_state();
  if (!detail::mode_exists(mode)) {
    detail::set_error(ERROR_ILLEGAL_CALL);
    return;
  }
  if (pages <= 0) pages = 1;
  detail::close_graphics_screen();
  if (mode == detail::CONSOLE_MODE) {
    s.hooks = {};
  } else if (!detail::open_graphics_screen(mode, depth, pages, flags, refresh)) {
    // The program carries on in the console.
    s.hooks = {};
    detail::set_error(ERROR_ILLEGAL_CALL);
    return;
  }
  if (flags != detail::MODE_CLOSE_ONLY) reset_text_view();
  detail::set_error(ERROR_NONE);
}

}  // namespace textscreen
