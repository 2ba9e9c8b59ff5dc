// Chosen cell-buffer changes rendered into a terminal model (libvterm): after every render
// the terminal shows exactly the buffer (glyphs of code page 852, colours, cursor place and
// visibility), and a second render sends nothing.
//
// Input: the buffer's size (2..120 by 2..30: more rows only make each check slower, and a
// terminal reports at least two rows and two columns), then changes; a render after each
// group of changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "platform/terminal/terminal_renderer.h"
#include "support/terminal_model.h"

using namespace textscreen::platform;

// Few characters and colours, so that unchanged runs, blanks and equal colours are common.
constexpr uint8_t CHARACTERS[] = {' ', ' ', 0, 'a', 'Z', 0xA5, 0x03, 0xDB, 0xFF};
constexpr uint16_t ATTRIBUTES[] = {0x07, 0x07, 0x1F, 0x70, 0x4E, 0x8F, 0xF0};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto in = [&](int low, int high) {
    return static_cast<int16_t>(input.ConsumeIntegralInRange(low, high));
  };
  // Now and then any byte in any attribute.
  const auto pick_cell = [&]() -> ConsoleCell {
    if (in(0, 7) == 0) return {input.ConsumeIntegral<uint8_t>(), input.ConsumeIntegral<uint16_t>()};
    return {input.PickValueInArray(CHARACTERS), input.PickValueInArray(ATTRIBUTES)};
  };
  const int16_t columns = in(2, 120), rows = in(2, 30);
  CellBuffer buffer(columns, rows);
  TerminalRenderer renderer;
  textscreen::testing::TerminalModel terminal(rows, columns);
  for (int step = 0; step < 16 && input.remaining_bytes() > 0; ++step) {
    for (int i = in(1, 4); i > 0; --i) {
      const CellPosition size = buffer.size();
      const CellPosition at{in(0, size.column - 1), in(0, size.row - 1)};
      const int op = in(0, 9);
      if (op <= 1) {
        std::vector<ConsoleCell> cells(static_cast<size_t>(in(1, 130)));
        for (auto& c : cells) c = pick_cell();
        buffer.write_cells(cells.data(), static_cast<int32_t>(cells.size()), at);
      }
      if (op == 2 || op == 3) {
        const auto [c, count] = std::tuple{pick_cell(), in(0, 6000)};
        op == 2 ? buffer.fill_characters(c.character, count, at)
                : buffer.fill_attributes(c.attribute, count, at);
      }
      if (op == 4 || op == 5) {  // rows top..bottom up as the console scrolls them
        int16_t top = in(0, size.row - 1);
        int16_t bottom = in(top, size.row - 1);
        if (input.ConsumeBool()) top = 0, bottom = static_cast<int16_t>(size.row - 1);
        const int16_t count = in(1, size.row + 1);
        const ConsoleCell fill = pick_cell();
        const CellRect region{0, top, static_cast<int16_t>(size.column - 1), bottom};
        buffer.scroll_rectangle(region, &region, {0, static_cast<int16_t>(top - count)}, fill);
        renderer.note_scroll(top, bottom, count, fill);
      }
      if (op == 6) {  // a note that does not match what the buffer did only costs bytes
        const auto [top, bottom, count] =
            std::tuple{in(-1, size.row), in(-1, size.row), in(-1, size.row + 1)};
        renderer.note_scroll(top, bottom, count, pick_cell());
      }
      if (op == 7) buffer.set_cursor(at);
      if (op == 8) buffer.set_cursor_visible(input.ConsumeBool());
      if (op == 9 && input.ConsumeBool()) {  // as the terminal console does on a resize
        const CellPosition new_size{in(2, 120), in(2, 30)};
        buffer.resize(new_size);
        terminal.resize(new_size.row, new_size.column);
      }
      if (op == 9) renderer.invalidate();
    }
    terminal.feed(renderer.render(buffer));
    const std::string mismatch = terminal.mismatch(buffer);
    FUZZ_CHECK(mismatch.empty(), mismatch);
    FUZZ_CHECK(renderer.render(buffer).empty(), "a render with nothing changed sent bytes");
  }
  return 0;
}
