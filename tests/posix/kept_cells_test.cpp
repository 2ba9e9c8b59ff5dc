// A terminal dragged smaller and back gets its cells back, in rows and in columns, and a
// place it never showed comes back blank.
#include "platform/terminal/kept_cells.h"

#include <gtest/gtest.h>

namespace textscreen::platform {
namespace {

TEST(KeptCells, ATerminalGrownBackShowsWhatItShowedBefore) {
  CellBuffer buffer(4, 3);
  for (int16_t r = 0; r < 3; ++r) {
    for (int16_t c = 0; c < 4; ++c) {
      const ConsoleCell cell{static_cast<uint8_t>('a' + r * 4 + c), static_cast<uint16_t>(r + 1)};
      buffer.write_cells(&cell, 1, {c, r});
    }
  }
  KeptCells kept;
  ASSERT_TRUE(kept.resize(buffer, {2, 2}));
  ASSERT_TRUE(kept.resize(buffer, {3, 2}));  // one column back while still two rows high
  ASSERT_TRUE(kept.resize(buffer, {5, 4}));
  for (int16_t r = 0; r < 4; ++r) {
    for (int16_t c = 0; c < 5; ++c) {
      const ConsoleCell shown = r < 3 && c < 4 ? ConsoleCell{static_cast<uint8_t>('a' + r * 4 + c),
                                                             static_cast<uint16_t>(r + 1)}
                                               : ConsoleCell{};
      EXPECT_EQ(buffer.at(c, r), shown) << "column " << c << ", row " << r;
    }
  }
  EXPECT_FALSE(kept.resize(buffer, {0, 4}));
  EXPECT_EQ(buffer.size(), (CellPosition{5, 4}));
}

}  // namespace
}  // namespace textscreen::platform
