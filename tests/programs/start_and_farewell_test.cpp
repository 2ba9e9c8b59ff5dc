// Both programs' start screens and farewells on the in-memory console: the colours each band
// and text is drawn in. The texts, and which rows alone hold them, are the end-to-end runs'
// check, in a real terminal.
#include <gtest/gtest.h>

#include <set>

#include "log_start_and_farewell.h"
#include "support/layer_fixture.h"
#include "trip_start_and_farewell.h"

namespace textscreen::testing {
namespace {

using Attributes = std::set<int>;

class ProgramScreensTest : public LayerTest {
 protected:
  // 30 rows, the most tripcost's start screen takes.
  ProgramScreensTest() : LayerTest(80, 30) {}

  // The distinct attributes of the cells of row r, columns first..last (1-based); by default
  // those of its text, up to its last non-blank.
  Attributes attributes(int r, int first = 1, int last = 0) const {
    Attributes found;
    if (last == 0) last = static_cast<int>(row(r).size());
    for (int c = first; c <= last; ++c) found.insert(attribute_at(r, c));
    return found;
  }
  // The distinct backgrounds of every cell of rows first..last.
  Attributes backgrounds(int first, int last) const {
    Attributes found;
    for (int r = first; r <= last; ++r) {
      for (int a : attributes(r, 1, 80)) found.insert(a >> 4);
    }
    return found;
  }
};

TEST_F(ProgramScreensTest, TripStartScreenIsYellowOnAllBrown) {
  show_trip_start_screen();
  EXPECT_EQ(attributes(3), Attributes{0x6E});
  EXPECT_EQ(attributes(6), Attributes{0x6E});
  EXPECT_EQ(backgrounds(1, 30), Attributes{6});
}

TEST_F(ProgramScreensTest, TripFarewellPaintsThreeBandsAndRingsOnce) {
  show_trip_farewell();
  EXPECT_EQ(backgrounds(1, 8), Attributes{12});
  EXPECT_EQ(backgrounds(9, 16), Attributes{4});
  EXPECT_EQ(backgrounds(17, 25), Attributes{7});
  EXPECT_EQ(backgrounds(26, 30), Attributes{12});
  // The blink of the "!" (colour 23) is not shown: it stays white on red.
  EXPECT_EQ(attributes(9, 1, 14), Attributes{0x47});
  EXPECT_EQ(attributes(9, 15, 25), Attributes{0x4D});
  EXPECT_EQ(attribute_at(9, 27), 0x47);
  EXPECT_EQ(attributes(23, 57), Attributes{0x70});
  EXPECT_EQ(attributes(24, 7), Attributes{0x7D});
  EXPECT_EQ(speaker_.tones, 1);
}

TEST_F(ProgramScreensTest, LogStartInRedThenFarewellInLightCyanOnBlack) {
  show_log_start_screen();
  EXPECT_EQ(attributes(1), Attributes{0x04});
  EXPECT_EQ(attributes(3), Attributes{0x04});
  show_log_farewell();
  EXPECT_EQ(attributes(7), Attributes{0x0B});
  EXPECT_EQ(attributes(9), Attributes{0x0B});
  EXPECT_EQ(backgrounds(1, 30), Attributes{0});
}

}  // namespace
}  // namespace textscreen::testing
