// Chosen cell-buffer changes rendered into a terminal model (libvterm): after every render
// the terminal shows exactly the buffer (glyphs of code page 852, colours, cursor place and
// visibility), and a second render sends nothing.
//
// Input: the buffer's size (2..120 by 2..50: a terminal of one row or one column is the known
// fault of raw output for good), then changes; a render after each group of changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/code_pages.h"
#include "platform/terminal/terminal_renderer.h"
#include "support/terminal_model.h"

namespace textscreen::fuzz {
namespace {

using platform::CellBuffer;
using platform::CellPosition;
using platform::CellRect;
using platform::ConsoleCell;

using Terminal = testing::TerminalModel;

// Few characters and colours, so that unchanged runs, blanks and equal colours are common;
// now and then any byte in any attribute.
ConsoleCell pick_cell(FuzzedDataProvider& input) {
  static constexpr uint8_t CHARACTERS[] = {' ', ' ', 0, 'a', 'Z', 0xA5, 0x03, 0xDB, 0xFF};
  static constexpr uint16_t ATTRIBUTES[] = {0x07, 0x07, 0x1F, 0x70, 0x4E, 0x8F, 0xF0};
  if (input.ConsumeIntegralInRange(0, 7) == 0) {
    return {input.ConsumeIntegral<uint8_t>(), input.ConsumeIntegral<uint16_t>()};
  }
  return {input.PickValueInArray(CHARACTERS), input.PickValueInArray(ATTRIBUTES)};
}

int16_t pick(FuzzedDataProvider& input, int low, int high) {
  return static_cast<int16_t>(input.ConsumeIntegralInRange(low, high));
}

void change(CellBuffer& buffer, platform::TerminalRenderer& renderer, Terminal& terminal,
            FuzzedDataProvider& input) {
  const CellPosition size = buffer.size();
  const CellPosition at{pick(input, 0, size.column - 1), pick(input, 0, size.row - 1)};
  switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
    case 1: {
      std::vector<ConsoleCell> cells(static_cast<size_t>(pick(input, 1, 130)));
      for (auto& c : cells) c = pick_cell(input);
      FUZZ_TRACE("write %zu cells at %d,%d\n", cells.size(), at.column, at.row);
      buffer.write_cells(cells.data(), static_cast<int32_t>(cells.size()), at);
      break;
    }
    case 2: {
      const ConsoleCell c = pick_cell(input);
      const int32_t count = pick(input, 0, 6000);
      FUZZ_TRACE("fill %d characters %d at %d,%d\n", count, c.character, at.column, at.row);
      buffer.fill_characters(c.character, count, at);
      break;
    }
    case 3: {
      const ConsoleCell c = pick_cell(input);
      const int32_t count = pick(input, 0, 6000);
      FUZZ_TRACE("fill %d attributes %d at %d,%d\n", count, c.attribute, at.column, at.row);
      buffer.fill_attributes(c.attribute, count, at);
      break;
    }
    case 4:
    case 5: {
      // Rows top..bottom up as the console scrolls them, told to the renderer.
      int16_t top = pick(input, 0, size.row - 1);
      int16_t bottom = pick(input, top, size.row - 1);
      if (input.ConsumeBool()) top = 0, bottom = static_cast<int16_t>(size.row - 1);
      const int16_t rows = pick(input, 1, size.row + 1);
      const ConsoleCell fill = pick_cell(input);
      FUZZ_TRACE("scroll rows %d..%d up %d\n", top, bottom, rows);
      const CellRect region{0, top, static_cast<int16_t>(size.column - 1), bottom};
      buffer.scroll_rectangle(region, &region, {0, static_cast<int16_t>(top - rows)}, fill);
      renderer.note_scroll(top, bottom, rows, fill);
      break;
    }
    case 6: {
      // A note that does not match what the buffer did only costs bytes.
      const int16_t top = pick(input, -1, size.row);
      const int16_t bottom = pick(input, -1, size.row);
      const int16_t rows = pick(input, -1, size.row + 1);
      FUZZ_TRACE("note a scroll of rows %d..%d up %d that did not happen\n", top, bottom, rows);
      renderer.note_scroll(top, bottom, rows, pick_cell(input));
      break;
    }
    case 7:
      FUZZ_TRACE("cursor to %d,%d\n", at.column, at.row);
      buffer.set_cursor(at);
      break;
    case 8:
      buffer.set_cursor_visible(input.ConsumeBool());
      FUZZ_TRACE("cursor visible %d\n", buffer.cursor_visible());
      break;
    default:
      if (input.ConsumeBool()) {
        const CellPosition new_size{pick(input, 2, 120), pick(input, 2, 50)};
        FUZZ_TRACE("resize to %d x %d\n", new_size.column, new_size.row);
        // As the terminal console does on a resize of its terminal.
        buffer.resize(new_size);
        terminal.resize(new_size.row, new_size.column);
        renderer.invalidate();
      } else {
        FUZZ_TRACE("invalidate\n");
        renderer.invalidate();
      }
      break;
  }
}

}  // namespace
}  // namespace textscreen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace textscreen::fuzz;
  FuzzedDataProvider input(data, size);
  const auto columns = pick(input, 2, 120);
  const auto rows = pick(input, 2, 50);
  CellBuffer buffer(columns, rows);
  textscreen::platform::TerminalRenderer renderer;
  Terminal terminal(rows, columns);
  FUZZ_TRACE("buffer %d x %d\n", columns, rows);
  for (int step = 0; step < 16 && input.remaining_bytes() > 0; ++step) {
    for (int i = pick(input, 1, 4); i > 0; --i) change(buffer, renderer, terminal, input);
    FUZZ_TRACE("render\n");
    terminal.feed(renderer.render(buffer));
    const std::string mismatch = terminal.mismatch(buffer);
    FUZZ_CHECK(mismatch.empty(), mismatch);
    FUZZ_CHECK(renderer.render(buffer).empty(), "a render with nothing changed sent bytes");
  }
  return 0;
}
