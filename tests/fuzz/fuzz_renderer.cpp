// Chosen cell-buffer changes rendered into a terminal model (libvterm): after every render
// the terminal shows exactly the buffer (glyphs of code page 852, colours, cursor place and
// visibility), and a second render sends nothing.
//
// Input: the buffer's size (2..120 by 2..50: a terminal of one row or one column is the known
// fault of raw output for good), then changes; a render after each group of changes.
#include <fuzzer/FuzzedDataProvider.h>
#include <vterm.h>

#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/code_pages.h"
#include "platform/terminal/terminal_renderer.h"

namespace textscreen::fuzz {
namespace {

using platform::CellBuffer;
using platform::CellPosition;
using platform::CellRect;
using platform::ConsoleCell;

class Terminal {
 public:
  Terminal(int rows, int columns) : vt_(vterm_new(rows, columns), &vterm_free) {
    vterm_set_utf8(vt_.get(), 1);
    screen_ = vterm_obtain_screen(vt_.get());
    callbacks_.settermprop = [](VTermProp prop, VTermValue* value, void* visible) {
      if (prop == VTERM_PROP_CURSORVISIBLE) *static_cast<bool*>(visible) = value->boolean;
      return 1;
    };
    vterm_screen_set_callbacks(screen_, &callbacks_, &cursor_visible_);
    vterm_screen_reset(screen_, 1);
  }

  void resize(int rows, int columns) { vterm_set_size(vt_.get(), rows, columns); }
  void feed(const std::string& bytes) { vterm_input_write(vt_.get(), bytes.data(), bytes.size()); }

  // The terminal shows the buffer. Its colour numbers have red and blue swapped from the
  // console's, and the foreground of a blank cannot be seen.
  void check_shows(const CellBuffer& buffer) const {
    const auto ansi = [](int bits) {
      return (bits >> 2 & 1) | (bits & 2) | (bits & 1) << 2 | (bits & 8);
    };
    const auto index = [](VTermColor c) { return VTERM_COLOR_IS_INDEXED(&c) ? c.indexed.idx : -1; };
    for (int16_t row = 0; row < buffer.size().row; ++row) {
      for (int16_t column = 0; column < buffer.size().column; ++column) {
        const ConsoleCell& want = buffer.at(column, row);
        VTermScreenCell got{};
        vterm_screen_get_cell(screen_, VTermPos{row, column}, &got);
        const char32_t glyph = platform::code_point_of(platform::CodePage::cp852, want.character);
        const char32_t shown = got.chars[0] != 0 ? got.chars[0] : U' ';
        const bool blank = glyph == U' ';
        FUZZ_CHECK(shown == glyph && index(got.bg) == ansi(want.attribute >> 4 & 0xF) &&
                       (blank || index(got.fg) == ansi(want.attribute & 0xF)) && !got.attrs.bold &&
                       !got.attrs.reverse && !got.attrs.underline,
                   "cell " + std::to_string(column) + "," + std::to_string(row) + " shows U+" +
                       std::to_string(shown) + " in " + std::to_string(index(got.fg)) + " on " +
                       std::to_string(index(got.bg)) + ", the buffer has byte " +
                       std::to_string(want.character) + " in attribute " +
                       std::to_string(want.attribute));
      }
    }
    VTermPos cursor{};
    vterm_state_get_cursorpos(vterm_obtain_state(vt_.get()), &cursor);
    FUZZ_CHECK(cursor.col == buffer.cursor().column && cursor.row == buffer.cursor().row,
               "the terminal's cursor is not the buffer's");
    FUZZ_CHECK(cursor_visible_ == buffer.cursor_visible(), "cursor visibility differs");
  }

 private:
  std::unique_ptr<VTerm, decltype(&vterm_free)> vt_;
  VTermScreen* screen_ = nullptr;
  VTermScreenCallbacks callbacks_{};
  bool cursor_visible_ = true;
};

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
    terminal.check_shows(buffer);
    FUZZ_CHECK(renderer.render(buffer).empty(), "a render with nothing changed sent bytes");
  }
  return 0;
}
