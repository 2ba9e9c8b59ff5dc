// The renderer's bytes go into a real terminal model (libvterm); after every render the model
// must show exactly the buffer: glyphs, colours, cursor position and visibility.
#include "platform/terminal/terminal_renderer.h"

#include <gtest/gtest.h>
#include <vterm.h>

#include <string>
#include <string_view>
#include <vector>

#include "support/terminal_model.h"

namespace textscreen::platform {
namespace {

constexpr int16_t COLUMNS = 80;
constexpr int16_t ROWS = 25;

struct RendererTest : ::testing::Test {
  void write(int16_t column, int16_t row, std::string_view text, uint16_t attribute) {
    std::vector<ConsoleCell> cells;
    for (char ch : text) cells.push_back({static_cast<uint8_t>(ch), attribute});
    buffer.write_cells(cells.data(), static_cast<int32_t>(cells.size()), {column, row});
  }
  // Renders into the terminal and checks that it shows the buffer; returns the bytes sent.
  std::string render() {
    std::string bytes = renderer.render(buffer);
    terminal.feed(bytes);
    EXPECT_EQ(terminal.mismatch(buffer), "");
    return bytes;
  }
  // Moves rows top..bottom up by `rows` as the console does, and tells the renderer.
  void scroll_up(int16_t top, int16_t bottom, int16_t rows, ConsoleCell fill) {
    const CellRect region{0, top, static_cast<int16_t>(buffer.size().column - 1), bottom};
    buffer.scroll_rectangle(region, &region, {0, static_cast<int16_t>(top - rows)}, fill);
    renderer.note_scroll(top, bottom, rows, fill);
  }
  // Every cell non-blank, letters and colours varying along rows and columns; then shown.
  void fill_screen() {
    for (int16_t row = 0; row < buffer.size().row; ++row) {
      for (int16_t column = 0; column < buffer.size().column; column += 20) {
        write(column, row, std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ").substr(row % 7, 20),
              static_cast<uint16_t>(0x10 * (row % 8) + 7 + column / 20));
      }
    }
    render();
  }

  CellBuffer buffer{COLUMNS, ROWS};
  TerminalRenderer renderer;
  testing::TerminalModel terminal{ROWS, COLUMNS};
};

TEST_F(RendererTest, FirstRenderPaintsAndLaterRendersSendOnlyChanges) {
  write(0, 0, "top left", 0x1F);
  buffer.set_cursor({5, 7});
  const std::string first = render();
  EXPECT_TRUE(first.starts_with("\x1b[?2026h") && first.ends_with("\x1b[?2026l"));
  EXPECT_EQ(renderer.render(buffer), "");
  // Then only changes: a printed 60-character line, cursor left after it, costs 1.2 bytes a
  // cell plus 30 bytes.
  write(4, 20, std::string(60, 'x'), 0x07);
  buffer.set_cursor({64, 20});
  EXPECT_LT(render().size(), 60 * 12 / 10 + 30);
  // One unchanged cell between two changes is re-sent rather than skipped with a move.
  write(10, 20, "a", 0x07);
  write(12, 20, "b", 0x07);
  EXPECT_NE(render().find("axb"), std::string::npos);
  // A blank leaves the foreground as it was, so re-sending a blank and then text in the
  // earlier colour needs no colour change: still cheaper than the move.
  write(11, 22, " ", 0x17);
  write(12, 22, "x", 0x1E);
  render();
  write(10, 22, "a", 0x1E);
  write(13, 22, "b", 0x1E);
  EXPECT_NE(render().find("a xb"), std::string::npos);
  // A cleared row is erased, not written out.
  write(0, 20, std::string(COLUMNS, ' '), 0x07);
  EXPECT_LT(render().size(), 40u);
  buffer.set_cursor_visible(false);
  EXPECT_EQ(render(), "\x1b[?2026h\x1b[?25l\x1b[?2026l");
  // The cursor's moves in every direction, with and without a line end in between.
  for (CellPosition p :
       {CellPosition{79, 24}, {0, 24}, {3, 2}, {40, 3}, {40, 20}, {40, 17}, {0, 0}}) {
    buffer.set_cursor(p);
    render();
  }
}

TEST_F(RendererTest, EveryAttributeAndCodePageByteRoundTrips) {
  // Text and a blank in every colour, and every code-page byte, in rows of 64 cells.
  for (int i = 0; i < 256; ++i) {
    write(i % 64, i / 64, std::string(1, static_cast<char>('a' + i % 26)), i);
    write(i % 64, i / 64 + 8, " ", i);
    write(i % 64, i / 64 + 16, std::string(1, static_cast<char>(i)), 7);
  }
  render();
}

TEST_F(RendererTest, ScrollNotesReplayOnTheTerminal) {
  fill_screen();
  scroll_up(5, 14, 2, {' ', 0x1F});
  EXPECT_LT(render().size(), 60u);
  scroll_up(0, 24, 1, {' ', 0x07});
  EXPECT_LT(render().size(), 300u);
  // Notes of one region add up to one scroll.
  scroll_up(0, 24, 1, {' ', 0x07});
  scroll_up(0, 24, 2, {' ', 0x07});
  EXPECT_NE(render().find("\x1b[3S"), std::string::npos);
  // Several notes between renders, one of more rows than its region.
  scroll_up(0, 24, 2, {' ', 0x20});
  scroll_up(20, 24, 1, {'*', 0x30});
  scroll_up(3, 6, 9, {' ', 0x40});
  render();
  // Terminals refuse a one-row scroll region, so such a scroll is left to the diff.
  scroll_up(5, 5, 1, {' ', 0x1F});
  EXPECT_EQ(render().find("\x1b[6;6r"), std::string::npos);
  // Notes that do not match what happened only cost bytes.
  renderer.note_scroll(0, 24, 3, {' ', 7});
  renderer.note_scroll(20, 30, 1, {' ', 7});
  renderer.note_scroll(4, 2, 1, {' ', 7});
  render();
}

TEST_F(RendererTest, BottomRowsResizeAndInvalidate) {
  fill_screen();
  // The bottom-right cell is written without scrolling the screen.
  write(78, 23, "$", 0x4E);
  write(79, 24, "#", 0x4E);
  buffer.set_cursor({10, 24});
  render();
  write(0, 24, std::string(80, '='), 0x2F);
  render();
  for (CellPosition size : {CellPosition{100, 30}, {100, 10}, {40, 10}}) {
    buffer.resize(size);
    terminal.resize(size.row, size.column);
    write(0, size.row - 1, "last row", 0x5A);
    render();
  }
  renderer.invalidate();
  renderer.note_scroll(0, 9, 1, {' ', 7});  // contents unknown: the repaint covers it
  terminal.feed("garbage\x1b[5;1H\x1b[1;7mmore\x1b[?25l");
  render();
}

TEST_F(RendererTest, RestoreGivesBackTheUsersScreenWithColoursResetAndTheCursorShown) {
  vterm_screen_enable_altscreen(terminal.screen(), 1);
  terminal.feed("user$ ls\r\n" + TerminalRenderer::takeover_sequence() +
                "\x1b[5;10r\x1b[31;44m\x1b[?25l\x1b[7;3Hprogram");
  terminal.feed(TerminalRenderer::restore_sequence());
  EXPECT_TRUE(terminal.cursor_visible());
  EXPECT_EQ(terminal.cell(0, 0).chars[0], U'u');
  EXPECT_EQ(terminal.cell(2, 6).chars[0], 0u);
  // With no region left and the colours reset, a line feed on the bottom row scrolls the
  // whole screen and the new row is not blue.
  terminal.feed("\x1b[25;1H\nx");
  EXPECT_EQ(terminal.cell(0, 0).chars[0], 0u);
  const VTermScreenCell x = terminal.cell(0, 24);
  EXPECT_FALSE(VTERM_COLOR_IS_INDEXED(&x.bg) && x.bg.indexed.idx == 4);
}

}  // namespace
}  // namespace textscreen::platform
