// Chosen screen operations on the layer over an in-memory console: writes and prints of any
// bytes, locate, view rows, colours, clears and size changes. After each: the layer addressed
// no cell outside the buffer and wrote nothing raw, the view rows lie inside the screen, the
// cursor inside the window; a write of printable bytes shows them, in the current colours,
// in the cells just before where it leaves the cursor.
//
// Input: the console's size (2..120 by 2..60, a window of fewer rows than the buffer or
// all), then operations. Sizes stay within 2..300: a screen of one row or one column (raw
// output for good) and huge sizes (overflow in screen_width) are known faults, and so is a
// size change that leaves the buffer taller than its window, which is steered around.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "console/console_state.h"
#include "fuzz_support.h"
#include "textscreen/textscreen.h"

namespace textscreen::fuzz {
namespace {

constexpr int32_t MAX_SIZE = 300;

bool printable(const std::string& text) {
  return text.find_first_of("\a\b\t\n\r") == std::string::npos;
}

// A size for screen_width: 0 keeps it; otherwise 2..`most`.
int32_t size_argument(FuzzedDataProvider& input, int32_t most) {
  const auto size = input.ConsumeIntegralInRange<int32_t>(1, most);
  return size == 1 ? 0 : size;
}

struct View {
  int32_t top;  // buffer rows
  int32_t bottom;
  int32_t width;
};

View view_of(const detail::ViewRows& rows) {
  const detail::ConsoleWindow& w = detail::console_window();
  return {w.top + rows.top, w.top + rows.bottom, w.right - w.left + 1};
}

void check_screen(Layer& layer) {
  const platform::CellBuffer& buffer = layer.console.buffer();
  FUZZ_CHECK(layer.console.refused_positions() == 0,
             "the layer addressed a cell outside the buffer");
  FUZZ_CHECK(layer.console.raw_output().empty(), "text went raw to a console");
  int32_t columns = 0;
  int32_t rows = 0;
  detail::screen_size(columns, rows);
  const detail::ViewRows view = detail::view_rows();
  FUZZ_CHECK(0 <= view.top && view.top <= view.bottom && view.bottom < rows,
             "view rows " + std::to_string(view.top) + ".." + std::to_string(view.bottom) +
                 " outside a screen of " + std::to_string(rows) + " rows");
  const detail::ConsoleWindow& w = detail::console_window();
  FUZZ_CHECK(w.top <= buffer.cursor().row && buffer.cursor().row <= w.bottom,
             "cursor row " + std::to_string(buffer.cursor().row) + " outside the window " +
                 std::to_string(w.top) + ".." + std::to_string(w.bottom));
}

// After a write of printable bytes that began inside the view: the text ends where the
// cursor stands (or one past the last cell, with the line feed pending).
void check_written(Layer& layer, const std::string& text) {
  const platform::CellBuffer& buffer = layer.console.buffer();
  const View view = view_of(detail::view_rows());
  const auto cursor = buffer.cursor();
  const int32_t end = (cursor.row - view.top) * view.width + cursor.column +
                      (detail::screen_state().pending_wrap ? 1 : 0);
  const auto length = static_cast<int32_t>(text.size());
  for (int32_t i = std::max(0, length - end); i < length; ++i) {
    const int32_t at = end - length + i;
    const platform::ConsoleCell& cell = buffer.at(static_cast<int16_t>(at % view.width),
                                                  static_cast<int16_t>(view.top + at / view.width));
    FUZZ_CHECK(cell.character == static_cast<uint8_t>(text[static_cast<size_t>(i)]) &&
                   cell.attribute == buffer.attribute(),
               "byte " + std::to_string(i) + " of a written text is not where the text ends");
  }
}

void operate(Layer& layer, FuzzedDataProvider& input) {
  int32_t columns = 0;
  int32_t rows = 0;
  detail::screen_size(columns, rows);
  switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
    case 1: {
      const std::string text = input.ConsumeRandomLengthString(MAX_SIZE);
      const int32_t mask = input.ConsumeBool() ? WRITE_FORCE : 0;
      const View view = view_of(detail::view_rows());
      const int16_t row = layer.console.buffer().cursor().row;
      const bool checkable =
          printable(text) && !detail::screen_state().pending_wrap && row >= view.top &&
          row <= view.bottom &&
          static_cast<int32_t>(text.size()) <= (view.bottom - view.top + 1) * view.width;
      FUZZ_TRACE("write_text(%s, %d)\n", quoted(text).c_str(), mask);
      write_text(text, mask);
      if (checkable) check_written(layer, text);
      break;
    }
    case 2: {
      const int32_t file = input.ConsumeIntegralInRange(0, 8) / 8;
      const std::string text = input.ConsumeRandomLengthString(80);
      const int32_t mask = input.ConsumeIntegralInRange(0, 7);
      FUZZ_TRACE("print_string(%d, %s, %d)\n", file, quoted(text).c_str(), mask);
      print_string(file, text, mask);
      break;
    }
    case 3: {
      const int32_t mask = input.ConsumeIntegralInRange(0, 7);
      if (input.ConsumeBool()) {
        const auto value = input.ConsumeIntegral<int32_t>();
        FUZZ_TRACE("print_int(0, %d, %d)\n", value, mask);
        print_int(0, value, mask);
      } else {
        const auto value = input.ConsumeFloatingPoint<float>();
        FUZZ_TRACE("print_single(0, %g, %d)\n", static_cast<double>(value), mask);
        print_single(0, value, mask);
      }
      break;
    }
    case 4: {
      const int32_t row = input.ConsumeIntegralInRange(-1, rows + 1);
      const int32_t column = input.ConsumeIntegralInRange(-1, columns + 1);
      const int32_t visibility = input.ConsumeIntegralInRange(-1, 1);
      FUZZ_TRACE("screen_locate(%d, %d, %d)\n", row, column, visibility);
      screen_locate(row, column, visibility);
      break;
    }
    case 5: {
      const int32_t top = input.ConsumeIntegralInRange(-1, rows + 1);
      const int32_t bottom = input.ConsumeIntegralInRange(-1, rows + 1);
      FUZZ_TRACE("screen_view_print(%d, %d)\n", top, bottom);
      screen_view_print(top, bottom);
      break;
    }
    case 6: {
      const int32_t foreground = input.ConsumeIntegralInRange(-1, 17);
      const int32_t background = input.ConsumeIntegralInRange(-1, 17);
      FUZZ_TRACE("screen_color(%d, %d)\n", foreground, background);
      screen_color(foreground, background);
      break;
    }
    case 7: {
      constexpr int32_t MODES[] = {DEFAULT_MODE, 0, 1, 2, 3};
      const int32_t mode = input.PickValueInArray(MODES);
      FUZZ_TRACE("screen_cls(%d)\n", mode);
      screen_cls(mode);
      break;
    }
    case 8: {
      // Known fault: a size change freezes the layer's window, which then stays behind when
      // text moves the console's window down a buffer taller than it. Steered around by
      // asking for no more rows than the console shows, and only asking for the size while
      // the buffer is taller than its window.
      const platform::CellBuffer& buffer = layer.console.buffer();
      const bool tall = buffer.size().row > buffer.window().bottom - buffer.window().top + 1;
      const int32_t most_rows = steering() ? layer.console.largest_window_size().row : MAX_SIZE;
      int32_t new_columns = size_argument(input, MAX_SIZE);
      int32_t new_rows = size_argument(input, most_rows);
      if (steering() && tall) new_columns = new_rows = 0;
      FUZZ_TRACE("screen_width(%d, %d)\n", new_columns, new_rows);
      screen_width(new_columns, new_rows);
      break;
    }
    default:
      FUZZ_TRACE("beep()\n");
      beep();
      break;
  }
}

}  // namespace
}  // namespace textscreen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace textscreen::fuzz;
  FuzzedDataProvider input(data, size);
  const auto columns = input.ConsumeIntegralInRange<int16_t>(2, 120);
  const auto rows = input.ConsumeIntegralInRange<int16_t>(2, 60);
  const auto window_rows = input.ConsumeIntegralInRange<int16_t>(0, rows);
  Layer layer(columns, rows, window_rows == 1 ? 0 : window_rows);
  // The window it has is never larger than the largest it allows.
  const int16_t shown_rows = window_rows > 1 ? window_rows : rows;
  const textscreen::platform::CellPosition largest{
      input.ConsumeIntegralInRange<int16_t>(columns, MAX_SIZE),
      input.ConsumeIntegralInRange<int16_t>(shown_rows, MAX_SIZE)};
  layer.console.set_largest_window(largest);
  FUZZ_TRACE("console %d x %d, window rows %d, largest window %d x %d\n", columns, rows,
             window_rows, largest.column, largest.row);
  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
    operate(layer, input);
    check_screen(layer);
  }
  return 0;
}
