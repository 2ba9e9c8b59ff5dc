// Both programs' start screens and farewells on the in-memory console: their texts where the
// user sees them and the colours each band and text is drawn in.
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
  explicit ProgramScreensTest(int16_t rows = 25) : LayerTest(80, rows), rows_(rows) {}

  // The distinct attributes of the cells of row r, columns first..last (1-based).
  Attributes attributes(int r, int first, int last) const {
    Attributes found;
    for (int c = first; c <= last; ++c) found.insert(attribute_at(r, c));
    return found;
  }
  // The same for the text of row r, from its first column to its last non-blank.
  Attributes attributes(int r) const { return attributes(r, 1, static_cast<int>(row(r).size())); }
  // The distinct backgrounds of every cell of rows first..last.
  Attributes backgrounds(int first, int last) const {
    Attributes found;
    for (int r = first; r <= last; ++r) {
      for (int a : attributes(r, 1, 80)) found.insert(a >> 4);
    }
    return found;
  }
  // The rows (1-based) that hold text.
  std::set<int> text_rows() const {
    std::set<int> rows;
    for (int r = 1; r <= rows_; ++r) {
      if (!row(r).empty()) rows.insert(r);
    }
    return rows;
  }

  int rows_;
};

// The start screen as met in a terminal of 30 rows, the most the program's view takes.
class TripStartTest : public ProgramScreensTest {
 protected:
  TripStartTest() : ProgramScreensTest(30) {}
};

TEST_F(TripStartTest, TitleAndHintInYellowOnAllBrown) {
  show_trip_start_screen();
  EXPECT_EQ(row(3), "Kalkulator Trasoka nacisnij enter jesli chcesz kontynuowac");
  EXPECT_EQ(row(6), " Lub ESC gdy musisz zakonczyc swoj ulubiony programik !!!");
  EXPECT_EQ(text_rows(), std::set<int>({3, 6}));
  EXPECT_EQ(attributes(3), Attributes{0x6E});
  EXPECT_EQ(attributes(6), Attributes{0x6E});
  EXPECT_EQ(backgrounds(1, 30), Attributes{6});
}

TEST_F(ProgramScreensTest, TripFarewellPaintsThreeBandsAndRingsOnce) {
  show_trip_farewell();
  EXPECT_EQ(row(9), "KONIEC PRACY  KALKULATORA !");
  EXPECT_EQ(row(23), spaced("", 56, ' ', "press any key to koniec"));
  EXPECT_EQ(row(24), "      autorzy: the textscreen authors");
  EXPECT_EQ(text_rows(), std::set<int>({9, 23, 24}));
  EXPECT_EQ(backgrounds(1, 8), Attributes{12});
  EXPECT_EQ(backgrounds(9, 16), Attributes{4});
  EXPECT_EQ(backgrounds(17, 25), Attributes{7});
  // The blink of the "!" (colour 23) is not shown: it stays white on red.
  EXPECT_EQ(attributes(9, 1, 14), Attributes{0x47});
  EXPECT_EQ(attributes(9, 15, 25), Attributes{0x4D});
  EXPECT_EQ(attribute_at(9, 27), 0x47);
  EXPECT_EQ(attributes(23, 57, 79), Attributes{0x70});
  EXPECT_EQ(attributes(24, 7, 37), Attributes{0x7D});
  EXPECT_EQ(speaker_.tones, 1);
}

TEST_F(ProgramScreensTest, LogStartInRedThenFarewellInLightCyanOnBlack) {
  show_log_start_screen();
  EXPECT_EQ(row(1), " Pieniomat do Drewna Okraglego");
  EXPECT_EQ(row(3), "Nacisnij Enter jesli chcesz kontynuowac lub ESC by zakonczyc");
  EXPECT_EQ(attributes(1), Attributes{0x04});
  EXPECT_EQ(attributes(3), Attributes{0x04});
  show_log_farewell();
  EXPECT_EQ(row(7),
            "Zako\xE4"
            "czy\x88"
            "e\x98 dzia\x88"
            "anie pieniomata!");
  EXPECT_EQ(row(9), "Program napisali autorzy textscreen");
  EXPECT_EQ(text_rows(), std::set<int>({1, 3, 7, 9}));
  EXPECT_EQ(attributes(7), Attributes{0x0B});
  EXPECT_EQ(attributes(9), Attributes{0x0B});
  EXPECT_EQ(backgrounds(1, 25), Attributes{0});
}

}  // namespace
}  // namespace textscreen::testing
