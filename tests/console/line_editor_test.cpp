// The line editor driven by keys on the in-memory console.
#include <gtest/gtest.h>

#include "console/line_input.h"
#include "support/layer_fixture.h"
#include "support/typing.h"

namespace textscreen::testing {
namespace {

using namespace platform;

class LineEditorTest : public LayerTest {
 protected:
  explicit LineEditorTest(int16_t columns = 20, int16_t rows = 5) : LayerTest(columns, rows) {}

  std::string typed_line(int32_t add_newline = 0) {
    type_text(console_, "\r");
    EXPECT_EQ(input_prompt("", 0, add_newline), ERROR_NONE);
    return detail::input_context().line;
  }
};

TEST_F(LineEditorTest, BackspaceAndDeleteTakeTheByteBeforeAndAtTheCursor) {
  type_text(console_, "\babcd\bx");  // a backspace at the start does nothing
  press_enhanced(console_, {VKEY_DELETE, VKEY_HOME, VKEY_RIGHT, VKEY_DELETE});  // the first beeps
  EXPECT_EQ(typed_line(), "acx");
  EXPECT_EQ(speaker_.tones, 1);
  EXPECT_EQ(row(1), "acx");       // the gap closed on the screen
  EXPECT_EQ(cursor_column(), 4);  // Enter leaves the cursor right after the text
}

TEST_F(LineEditorTest, EscBlanksTheTextAndReturnsToWhereItBeganAndAHiddenCursorStaysHidden) {
  screen_locate(2, 4, 0);
  type_text(console_, "hello\x1bok");
  EXPECT_EQ(typed_line(), "ok");
  EXPECT_EQ(row(2), "   ok");
  EXPECT_FALSE(console_.buffer().cursor_visible());
}

TEST_F(LineEditorTest, MovesStayInsideTheText) {
  type_text(console_, "ab");
  press_enhanced(console_, {VKEY_LEFT, VKEY_LEFT, VKEY_LEFT});  // the third finds the start
  type_text(console_, "x");
  press_enhanced(console_, {VKEY_END});
  type_text(console_, "y");
  press_enhanced(console_, {VKEY_RIGHT, VKEY_LEFT});  // Right finds the end
  type_text(console_, "z");
  EXPECT_EQ(typed_line(), "xabzy");
  EXPECT_EQ(row(1), "xabzy");
  EXPECT_EQ(cursor_column(), 6);
}

TEST_F(LineEditorTest, UpAndDownMoveByAScreenRowWithinTheText) {
  type_text(console_, std::string(25, 'a'));  // wraps after 20 columns
  press_enhanced(console_, {VKEY_UP});        // to position 5
  type_text(console_, "U");
  press_enhanced(console_, {VKEY_DOWN});  // 6 + 20 = 26 = the end
  type_text(console_, "D");
  press_enhanced(console_, {VKEY_HOME, VKEY_DOWN, VKEY_DOWN});  // the second, to 40, is refused
  type_text(console_, "M");
  EXPECT_EQ(typed_line(), "aaaaaUaaaaaaaaaaaaaaMaaaaaaD");
  EXPECT_EQ(screen_rows(), (Rows{"aaaaaUaaaaaaaaaaaaaa", "MaaaaaaD", "", "", ""}));
}

TEST_F(LineEditorTest, ARedrawPastTheLastCellScrollsAndKeepsTheCursorAfterTheInsert) {
  screen_locate(5, 1, -1);
  type_text(console_, std::string(19, 'a'));
  press_enhanced(console_, {VKEY_HOME});
  type_text(console_, "X");  // the redraw just fills the last cell: no scroll yet
  type_text(console_, "Y");  // this redraw runs past it and the screen scrolls
  type_text(console_, "Z");  // the cursor stood right after Y
  EXPECT_EQ(typed_line(), "XYZ" + std::string(19, 'a'));
  EXPECT_EQ(screen_rows(), (Rows{"", "", "", "XYZ" + std::string(17, 'a'), "aa"}));
}

TEST_F(LineEditorTest, PendingLineFeedPromptAndNewlineFlagPlaceTheLine) {
  print_at(5, 20, "z");  // fills the last cell
  type_text(console_, "q\r7\r");
  input_prompt("", 0, -1);  // with no prompt only the forced write settles the line feed
  EXPECT_EQ(input_prompt("Ile", 1, 0), ERROR_NONE);  // -1 ended the line of "q"; 0 keeps this one
  print_string(0, "a", 0);
  EXPECT_EQ(screen_rows(), (Rows{"", "", std::string(19, ' ') + "z", "q", "Ile? 7a"}));
}

TEST_F(LineEditorTest, APromptFillingTheLastCellKeepsItsLastCharacter) {
  screen_locate(5, 18, -1);
  type_text(console_, "ab\r");
  input_prompt("xyz", 0, 0);
  EXPECT_EQ(screen_rows(), (Rows{"", "", "", std::string(17, ' ') + "xyz", "ab"}));
  EXPECT_EQ(detail::input_context().line, "ab");
}

// A screen four columns wide and three rows high: one tab can fill two rows, and a short
// line can reach past the last cell.
class NarrowScreenLineEditorTest : public LineEditorTest {
 protected:
  NarrowScreenLineEditorTest() : LineEditorTest(4, 3) {}
};

TEST_F(NarrowScreenLineEditorTest, ALineThatScrollsIntoTheLastCellMovesUpWithTheScreen) {
  screen_locate(3, 1, -1);
  type_text(console_, "ab\tc");  // the tab's six blanks scroll once and end in the last cell
  EXPECT_EQ(typed_line(), "ab" + std::string(6, ' ') + "c");
  EXPECT_EQ(screen_rows(), (Rows{"ab", "", "c"}));
  EXPECT_EQ(cursor(), Place(3, 2));
}

TEST_F(NarrowScreenLineEditorTest, TheLineGrowsOnlyWhileItsStartStaysOnTheScreen) {
  screen_locate(3, 3, -1);
  type_text(console_, "abcdefghij");  // the screen scrolls twice; j would push a off the top
  press_enhanced(console_, {VKEY_HOME, VKEY_DELETE});
  type_text(console_, "\t");  // eight blanks: no room for them either
  EXPECT_EQ(typed_line(), "bcdefghi");
  EXPECT_EQ(screen_rows(), (Rows{"  bc", "defg", "hi"}));
  EXPECT_EQ(cursor_column(), 3);
  EXPECT_EQ(speaker_.tones, 0);  // refused as quietly as a move past the line's ends
}

TEST_F(NarrowScreenLineEditorTest, InAViewBelowTheTopRowTheLineStopsAtTheViewsTop) {
  print_string(0, "keep", 0);
  screen_view_print(2, 3);
  screen_locate(3, 1, -1);
  type_text(console_, "abcdefgh");  // h would push a above row 2
  EXPECT_EQ(typed_line(), "abcdefg");
  EXPECT_EQ(screen_rows(), (Rows{"keep", "abcd", "efg"}));
}

}  // namespace
}  // namespace textscreen::testing
