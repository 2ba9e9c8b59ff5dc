// The text screen on the console: view rows, locate, clears, colours, the writer's wraps
// and scrolls, the print channel, the console resize and output that is no console.
#include <gtest/gtest.h>

#include "support/layer_fixture.h"

namespace textscreen::testing {
namespace {

using ScreenTest = LayerTest;

TEST_F(ScreenTest, ViewRowsAreTakenWithinTheScreenAndLocateWithinTheViewOrKeepsThePlace) {
  screen_locate(4, 10, -1);
  EXPECT_EQ(screen_view_print(1, 30), 0);
  EXPECT_EQ(screen_view_print(5, 4), 0);
  EXPECT_EQ(cursor(), Place(4, 10));  // a refused view leaves the cursor alone
  EXPECT_EQ(screen_view_print(17, 25), 17 + (25 << 16));
  EXPECT_EQ(cursor(), Place(17, 1));
  EXPECT_EQ(screen_view_print(-1, -1), 17 + (25 << 16));  // a query stores nothing
  for (auto [r, c] : {Place(16, 1), Place(25, 81), Place(-1, 5)}) {
    EXPECT_EQ(screen_locate(r, c, -1), ERROR_ILLEGAL_CALL);
  }
  EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL);
  EXPECT_EQ(screen_locate(25, 57, -1), ERROR_NONE);
  EXPECT_EQ(last_error(), ERROR_NONE);
  EXPECT_EQ(cursor(), Place(25, 57));
  EXPECT_EQ(screen_view_print(1, 0), 1 + (25 << 16));  // 0 means the last row
  // 0 keeps a coordinate; visibility 0 hides, 1 shows, -1 keeps.
  screen_locate(5, 7, 0);
  EXPECT_FALSE(console_.buffer().cursor_visible());
  screen_locate(0, 0, 1);
  EXPECT_TRUE(console_.buffer().cursor_visible());
  EXPECT_EQ(cursor(), Place(5, 7));
  screen_locate(0, 3, -1);
  EXPECT_EQ(cursor(), Place(5, 3));
}

TEST_F(ScreenTest, TextFillingTheLastCellLeavesTheLineFeedToTheNextWrite) {
  print_at(25, 79, "ab");
  EXPECT_EQ(cursor(), Place(25, 80));
  write_text("", 0);  // nothing to write: still waiting
  EXPECT_EQ(row(25).substr(78), "ab");
  print_string(0, "c", 0);
  EXPECT_EQ(screen_rows(24, 25), (Rows{std::string(78, ' ') + "ab", "c"}));
  // A return that moves nothing leaves it waiting too.
  print_at(25, 1, std::string(80, 'x') + "\r");
  EXPECT_EQ(row(25), std::string(80, 'x'));
  write_text("y", 0);
  EXPECT_EQ(screen_rows(24, 25), (Rows{std::string(80, 'x'), "y"}));
  // A locate cancels it.
  print_at(25, 80, "e");
  print_at(1, 1, "f");
  EXPECT_EQ(row(25).substr(79), "e");
  EXPECT_EQ(row(1)[0], 'f');
}

TEST_F(ScreenTest, LineEndsOnTheBottomRowScrollAtOnceInTheCurrentColoursAndOnlyTheView) {
  screen_color(1, 2);
  // The answer is the colours before; a colour keeps its low four bits, and -1 keeps it.
  EXPECT_EQ(screen_color(17, -1), 1 + (2 << 16));
  print_at(25, 1, "last", PRINT_NEWLINE);
  EXPECT_EQ(row(24), "last");
  EXPECT_EQ(cursor_row(), 25);
  EXPECT_EQ(attribute_at(25, 40), 0x21);
  write_text("\n\nbelow", 0);
  EXPECT_EQ(row(22), "last");
  print_at(1, 1, "above");
  screen_view_print(10, 12);
  print_string(0, "one\r\ntwo\r\nthree\r\nfour", 0);
  EXPECT_EQ(screen_rows(9, 12), (Rows{"", "two", "three", "four"}));
  EXPECT_EQ(row(1), "above");
  EXPECT_EQ(row(25), "below");
  // More line ends than the view has rows simply clear it.
  write_text("\n\n\n\n\n", 0);
  EXPECT_EQ(row(10) + row(12), "");
  EXPECT_EQ(row(25), "below");
  EXPECT_EQ(cursor_row(), 12);
}

TEST_F(ScreenTest, TabsBackspacesBellsAndWrapsAtTheRightEdge) {
  print_string(0, "a\tx", 0);
  print_at(2, 8, "\ty");
  EXPECT_EQ(screen_rows(1, 2), (Rows{"a       x", "        y"}));
  print_at(3, 1, "\bab\bc\a");
  EXPECT_EQ(row(3), "ac");
  EXPECT_EQ(speaker_.tones, 1);
  EXPECT_EQ(cursor_column(), 3);
  // A run longer than the engine's run limit still arrives whole.
  print_at(5, 1, std::string(300, 'z'));
  EXPECT_EQ(screen_rows(7, 8), (Rows{std::string(80, 'z'), std::string(60, 'z')}));
  // A tab counts from where wrapped text ended, also on a screen whose width is no
  // multiple of 8.
  ASSERT_EQ(screen_width(30, 25), 0);
  print_at(1, 1, std::string(33, 'w') + "\tt");
  EXPECT_EQ(row(2), "www     t");
}

TEST_F(ScreenTest, ZonePadMovesToTheNextFourteenColumnZoneCountedFromTheLastLineEnd) {
  print_string(0, "abc\r\nde", PRINT_PAD);
  print_string(0, "f", 0);
  EXPECT_EQ(row(2), "de" + std::string(12, ' ') + "f");
  screen_locate(3, 56, -1);
  print_void(0, PRINT_PAD);
  print_string(0, "b", 0);
  EXPECT_EQ(row(3).substr(56), "b");
  screen_locate(4, 57, -1);  // past the last whole zone the pad ends the line
  print_void(0, PRINT_PAD);
  print_string(0, "c", 0);
  EXPECT_EQ(row(5), "c");
  screen_locate(6, 60, -1);
  screen_cls(1);  // clears nothing on the console, yet the pad counts from column 1 again
  EXPECT_EQ(row(5), "c");
  print_string(0, "a", PRINT_PAD);
  print_string(0, "b", 0);
  EXPECT_EQ(row(6).substr(59), "a             b");
}

TEST_F(ScreenTest, PrintMasksAndFileNumbers) {
  print_void(0, PRINT_NEWLINE);
  print_string(0, "x", PRINT_NEWLINE_ALT);
  EXPECT_EQ(cursor_row(), 3);
  print_string(3, "never", PRINT_NEWLINE);
  EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL);
  EXPECT_EQ(row(3), "");
  EXPECT_EQ(cursor_row(), 3);
}

TEST_F(ScreenTest, ResizeChangesBufferAndWindowAndTheWidthQueryResetsTheView) {
  console_.set_largest_window({132, 50});
  screen_view_print(17, 25);
  EXPECT_EQ(screen_width(0, 0), 80 + (25 << 16));
  EXPECT_EQ(screen_view_print(-1, -1), 1 + (25 << 16));
  EXPECT_EQ(cursor(), Place(1, 1));
  EXPECT_EQ(screen_width(40, 10), 0);
  EXPECT_EQ(console_.buffer().size(), (platform::CellPosition{40, 10}));
  EXPECT_EQ(screen_width(0, 0), 40 + (10 << 16));
  EXPECT_EQ(screen_view_print(1, 11), 0);
  EXPECT_EQ(screen_width(100, 40), 0);
  EXPECT_EQ(console_.buffer().window(), (platform::CellRect{0, 0, 99, 39}));
  // Sizes no console can have are refused; past the cells a console keeps, so is the buffer.
  for (auto [columns, rows] : {std::pair{2147483647, 3}, {65616, 25}, {80, 40000}}) {
    EXPECT_EQ(screen_width(columns, rows), 0);
    EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL);
    EXPECT_EQ(screen_width(0, 0), 100 + (40 << 16));
  }
  screen_width(32767, 32767);
  EXPECT_EQ(console_.buffer().size(), (platform::CellPosition{100, 40}));
}

TEST_F(ScreenTest, ABufferTallerThanTheConsoleCanShowKeepsTheScreenOnTheShownRows) {
  EXPECT_EQ(screen_width(0, 50), 0);  // this console shows at most 25 of the 50 rows
  print_string(0, "first", 0);
  screen_locate(25, 1, -1);
  for (int i = 0; i < 6; ++i) print_string(0, "y", PRINT_NEWLINE);
  // The window moved down the buffer: the text above it is moved past, not lost.
  const platform::CellRect shown = console_.buffer().window();
  EXPECT_EQ(shown.top, 6);
  EXPECT_EQ(console_.row_text(0).substr(0, 5), "first");
  EXPECT_EQ(screen_locate(1, 1, -1), ERROR_NONE);
  print_string(0, "top", 0);
  EXPECT_EQ(console_.row_text(shown.top).substr(0, 3), "top");
  EXPECT_EQ(screen_locate(25, 1, -1), ERROR_NONE);
  EXPECT_EQ(cursor_row() - 1, shown.bottom);
}

TEST_F(ScreenTest, NotAConsoleTheTextGoesUnchangedToStandardOutput) {
  console_.set_not_a_console(true);
  screen_cls(DEFAULT_MODE);
  screen_color(14, 1);
  print_string(0, "tab\there\a", PRINT_NEWLINE);
  EXPECT_EQ(screen_width(0, 0), 0);
  EXPECT_EQ(console_.raw_output(), "tab\there\a\r\n");
  // Once it is a console again, the text goes to the screen.
  console_.set_not_a_console(false);
  print_at(2, 1, "\x80");
  EXPECT_EQ(console_.raw_output(), "tab\there\a\r\n");
  EXPECT_EQ(row(2), "\x80");
}

TEST_F(ScreenTest, ACellWriteFailureDropsTheRestOfTheText) {
  console_.set_fail_cell_writes(true);
  print_string(0, "lost\r\nlost too", 0);
  console_.set_fail_cell_writes(false);
  print_string(0, "kept", 0);
  // The failed write stopped before its line end: the next text starts where it began.
  EXPECT_EQ(screen_rows(1, 2), (Rows{"kept", ""}));
}

}  // namespace
}  // namespace textscreen::testing
