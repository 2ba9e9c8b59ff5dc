// Chosen screen operations on the layer over an in-memory console: writes and prints of any
// bytes, locate, view rows, colours, clears and size changes. After each: the layer addressed
// no cell outside the buffer and wrote nothing raw, the view rows lie inside the screen, the
// cursor inside the window; a write of printable bytes shows them, in the current colours,
// in the cells just before where it leaves the cursor.
//
// Input: the console's size (2..120 by 2..60, a window of fewer rows than the buffer or
// all), the largest window it allows (up to 300), then operations; screen_width asks for
// sizes up to past what a console can have. A console of one row or one column is no text
// screen (the layer writes to it raw, as to a file), so no console here is one.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <tuple>

#include "console/console_state.h"
#include "fuzz_support.h"
#include "textscreen/textscreen.h"

using namespace textscreen;
using namespace textscreen::fuzz;

constexpr int32_t MAX_SIZE = 300;
constexpr int32_t LARGER_THAN_ANY_CONSOLE = 1 << 20;

// The view's top and bottom as buffer rows, and its width.
static std::tuple<int32_t, int32_t, int32_t> view() {
  const detail::ConsoleWindow& w = detail::console_window();
  const detail::ViewRows rows = detail::view_rows();
  return {w.top + rows.top, w.top + rows.bottom, w.right - w.left + 1};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto in = [&](int32_t low, int32_t high) {
    return input.ConsumeIntegralInRange(low, high);
  };
  const auto columns = static_cast<int16_t>(in(2, 120)), rows = static_cast<int16_t>(in(2, 60));
  const auto window_rows = static_cast<int16_t>(in(0, rows));
  Layer layer(columns, rows, window_rows == 1 ? 0 : window_rows);
  const platform::CellBuffer& buffer = layer.console.buffer();
  // The largest window it allows is never smaller than the one it has.
  const auto largest_columns = static_cast<int16_t>(in(columns, MAX_SIZE));
  layer.console.set_largest_window(
      {largest_columns, static_cast<int16_t>(in(window_rows > 1 ? window_rows : rows, MAX_SIZE))});
  int resizes = 0;
  for (int step = 0;; ++step) {
    layer.check_clean();
    int32_t screen_columns = 0, screen_rows = 0;
    detail::screen_size(screen_columns, screen_rows);
    const detail::ViewRows view_rows = detail::view_rows();
    const detail::ConsoleWindow& w = detail::console_window();
    const int16_t row = buffer.cursor().row;
    FUZZ_CHECK(0 <= view_rows.top && view_rows.top <= view_rows.bottom &&
                   view_rows.bottom < screen_rows && w.top <= row && row <= w.bottom,
               "view rows " + std::to_string(view_rows.top) + ".." +
                   std::to_string(view_rows.bottom) + " of a screen of " +
                   std::to_string(screen_rows) + " rows, cursor row " + std::to_string(row) +
                   " of the window " + std::to_string(w.top) + ".." + std::to_string(w.bottom));
    if (step == 64 || input.remaining_bytes() == 0) return 0;
    // Arguments in braces are taken from the input in the order written.
    const int32_t op = in(0, 9);
    if (op <= 1) {
      const std::string text = input.ConsumeRandomLengthString(MAX_SIZE);
      const int32_t mask = input.ConsumeBool() ? WRITE_FORCE : 0;
      const auto [top, bottom, width] = view();
      const bool checkable = text.find_first_of("\a\b\t\n\r") == std::string::npos &&
                             !detail::screen_state().pending_wrap && top <= row && row <= bottom &&
                             static_cast<int32_t>(text.size()) <= (bottom - top + 1) * width;
      write_text(text, mask);
      // The text ends where the cursor stands (or one past it, with the line feed pending).
      const auto [top_now, bottom_now, width_now] = view();
      const int32_t end = (buffer.cursor().row - top_now) * width_now + buffer.cursor().column +
                          detail::screen_state().pending_wrap;
      if (checkable) layer.check_before(text, end, top_now, width_now, true);
    }
    if (op == 2)
      std::apply(print_string,
                 std::tuple{in(0, 8) / 8, input.ConsumeRandomLengthString(80), in(0, 7)});
    if (op == 3) {
      const int32_t mask = in(0, 7);
      input.ConsumeBool() ? print_int(0, input.ConsumeIntegral<int32_t>(), mask)
                          : print_single(0, input.ConsumeFloatingPoint<float>(), mask);
    }
    if (op == 4)
      std::apply(screen_locate,
                 std::tuple{in(-1, screen_rows + 1), in(-1, screen_columns + 1), in(-1, 1)});
    if (op == 5)
      std::apply(screen_view_print, std::tuple{in(-1, screen_rows + 1), in(-1, screen_rows + 1)});
    if (op == 6) std::apply(screen_color, std::tuple{in(-1, 17), in(-1, 17)});
    if (op == 7) screen_cls(input.PickValueInArray({DEFAULT_MODE, 0, 1, 2, 3}));
    // Resizes cost the most time and a few per input reach every path they have.
    if (op == 8 && ++resizes <= 4) {
      // A size of 1 asks for 0, which keeps it.
      const int32_t most = input.ConsumeBool() ? MAX_SIZE : LARGER_THAN_ANY_CONSOLE;
      const auto [new_columns, new_rows] = std::tuple{in(1, most), in(1, most)};
      screen_width(new_columns == 1 ? 0 : new_columns, new_rows == 1 ? 0 : new_rows);
    }
    if (op == 9) beep();
  }
}
