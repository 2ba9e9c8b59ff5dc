// Numbers and the clock printed or handed back as text.
#include "console/clock_text.h"
#include "console/layer_devices.h"
#include "console/number_text.h"
#include "console/print_channel.h"
#include "console/screen_state.h"
#include "textscreen/printing.h"
#include "textscreen/textscreen.h"

namespace textscreen {
namespace {

bool has_newline(int32_t mask) {
  return (mask & (PRINT_NEWLINE | PRINT_NEWLINE_ALT)) != 0;
}

}  // namespace

void print_int(int32_t file_number, int32_t value, int32_t mask) {
  detail::OutputBatch batch;
  if (!detail::open_print_file(file_number)) return;
  std::string text = detail::integer_text(value);
  // The line end travels in the same text as the number.
  if (has_newline(mask)) text += "\r\n";
  detail::print_item_text(text);
  if ((mask & PRINT_PAD) != 0) detail::apply_print_mask(PRINT_PAD);
}

void print_single(int32_t file_number, float value, int32_t mask) {
  detail::OutputBatch batch;
  if (!detail::open_print_file(file_number)) return;
  detail::print_item_text(detail::single_text(value));
  detail::apply_print_mask(mask);
}

std::string time_string() {
  return detail::clock_text(detail::clock().local_time());
}

std::string date_string() {
  return detail::date_text(detail::clock().local_time());
}

}  // namespace textscreen
