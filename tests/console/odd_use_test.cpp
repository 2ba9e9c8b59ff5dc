// What careless or hostile use does to the layer: sizes no console can have, output that is
// no console for a moment, bytes that read as an end, returns that move nothing.
#include <gtest/gtest.h>

#include "console/line_input.h"
#include "support/layer_fixture.h"

namespace textscreen::testing {
namespace {

class OddUseTest : public LayerTest {};

TEST_F(OddUseTest, SizesNoConsoleCanHaveAreRefusedAndChangeNothing) {
  for (auto [columns, rows] : {std::pair{2147483647, 3}, {65616, 25}, {80, 40000}}) {
    EXPECT_EQ(screen_width(columns, rows), 0);
    EXPECT_EQ(last_error(), ERROR_ILLEGAL_CALL);
    EXPECT_EQ(screen_width(0, 0), 80 + (25 << 16));
  }
  // Within 16 bits but past the cells a console keeps: the console refuses the buffer.
  screen_width(32767, 32767);
  EXPECT_EQ(console_.buffer().size(), (platform::CellPosition{80, 25}));
}

TEST_F(OddUseTest, OutputThatWasNoConsoleForAMomentIsAConsoleAgain) {
  console_.set_not_a_console(true);
  print_string(0, "raw", 0);
  console_.set_not_a_console(false);
  screen_locate(2, 1, -1);
  print_string(0, "\x80", 0);
  EXPECT_EQ(console_.raw_output(), "raw");
  EXPECT_EQ(row(2), "\x80");
}

TEST_F(OddUseTest, AByte255EndsTheFieldAndWhatFollowsIsTheNext) {
  detail::input_context() = {
      "\xFF"
      "5",
      0};
  int32_t first = -1;
  int32_t second = -1;
  input_int(first);
  input_int(second);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 5);
}

TEST_F(OddUseTest, AReturnThatMovesNothingLeavesTheLastRowPending) {
  screen_locate(25, 1, -1);
  write_text(std::string(80, 'x') + "\r", 0);
  EXPECT_EQ(row(25), std::string(80, 'x'));
  write_text("y", 0);
  EXPECT_EQ(row(24), std::string(80, 'x'));
  EXPECT_EQ(row(25), "y");
}

}  // namespace
}  // namespace textscreen::testing
