#include "console/print_channel.h"

#include <string>

#include "console/screen_state.h"
#include "textscreen/printing.h"
#include "textscreen/textscreen.h"

namespace textscreen::detail {
namespace {

void pad_to_next_zone() {
  ScreenState& s = screen_state();
  int32_t next = ((s.print_column + PRINT_ZONE_WIDTH) / PRINT_ZONE_WIDTH) * PRINT_ZONE_WIDTH + 1;
  if (s.print_width >= PRINT_ZONE_WIDTH && next > s.print_width - PRINT_ZONE_WIDTH) next = 1;
  if (next <= s.print_column + 1) {
    print_item_text("\r\n");
  } else {
    print_item_text(std::string(static_cast<size_t>(next - s.print_column - 1), ' '));
  }
}

}  // namespace

void print_item_text(std::string_view bytes) {
  if (bytes.empty()) return;
  ScreenState& s = screen_state();
  ensure_print_channel();
  write_text(bytes, 0);
  // The column counts from the last line end (a plain loop: find_last_of looks each byte up
  // in its set with a call of its own, a tenth of a printed line's time).
  size_t after_line_end = bytes.size();
  while (after_line_end > 0 && bytes[after_line_end - 1] != '\r' &&
         bytes[after_line_end - 1] != '\n') {
    --after_line_end;
  }
  if (after_line_end == 0) {
    s.print_column += static_cast<int32_t>(bytes.size());
  } else {
    s.print_column = static_cast<int32_t>(bytes.size() - after_line_end);
  }
  if (s.print_width != 0) s.print_column %= s.print_width;
}

void apply_print_mask(int32_t mask) {
  if ((mask & (PRINT_NEWLINE | PRINT_NEWLINE_ALT)) != 0) {
    print_item_text("\r\n");
  } else if ((mask & PRINT_PAD) != 0) {
    pad_to_next_zone();
  }
}

bool open_print_file(int32_t file_number) {
  if (file_number == SCREEN_FILE) return true;
  set_error(ERROR_ILLEGAL_CALL);
  return false;
}

}  // namespace textscreen::detail

namespace textscreen {

void print_string(int32_t file_number, std::string_view text, int32_t mask) {
  detail::OutputBatch batch;
  if (!detail::open_print_file(file_number)) return;
  detail::print_item_text(text);
  detail::apply_print_mask(mask);
}

void print_void(int32_t file_number, int32_t mask) {
  detail::OutputBatch batch;
  if (!detail::open_print_file(file_number)) return;
  detail::apply_print_mask(mask);
}

}  // namespace textscreen
