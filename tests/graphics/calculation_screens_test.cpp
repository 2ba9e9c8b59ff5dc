// Both calculation screens drawn into a graphics frame in memory, their answers typed into
// the window.
#include <gtest/gtest.h>

#include "log_volume_screen.h"
#include "support/graphics_fixture.h"
#include "trip_cost_screen.h"

namespace textscreen::testing {
namespace {

class CalculationScreenTest : public GraphicsTest {
 protected:
  int row_of(const std::string& text) const {
    for (int r = 1; r <= 30; ++r) {
      if (shown(r).find(text) != std::string::npos) return r;
    }
    return 0;
  }
  int foreground_at(int column, int row) const { return shown_cell(column, row).foreground; }
};

TEST_F(CalculationScreenTest, TheTripRunsToItsResultsWithTheHeadingScrolledAway) {
  type_in_window("100\r1\r4\r2\r7\r20\r");
  trip_cost_screen();
  ASSERT_TRUE(detail::graphics_screen_open());
  // Every row of the results is the end-to-end run's check, in a terminal.
  EXPECT_EQ(shown(13), " PRZEJECHANE  200 KM");
  EXPECT_EQ(shown(20), " PALIWA SPALONE 14  [LITRY]");
  EXPECT_EQ(shown(26),
            "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WI\x8A"
            "CEJ   124 ZL");
  EXPECT_EQ(shown(29), "       NACISNIJ ESC JAK CHCESZ ZAKONCZYC");
  EXPECT_EQ(shown(30), "");
  EXPECT_EQ(row_of("KALKULATOR"), 0);
  EXPECT_EQ(row_of("{LECISZ"), 0);
  for (auto [column, row, colour] :
       {std::tuple{1, 6, 10}, {2, 13, 12}, {1, 17, 14}, {2, 20, 13}, {1, 23, 10}, {8, 29, 14}}) {
    EXPECT_EQ(foreground_at(column, row), colour) << row;
  }
  EXPECT_EQ(shown_cell(1, 13).background, 0);
  EXPECT_EQ(g().foreground, 5u);
  EXPECT_EQ(std::make_pair(g().cursor_column, g().cursor_row), std::make_pair(0, 29));
}

TEST_F(CalculationScreenTest, ALossBringsTheWarning) {
  type_in_window("100\r1\r4\r2\r7\r300\r");
  trip_cost_screen();
  const int balance = row_of("DOD KOSZT");
  const int warning = row_of("{LECISZ");
  ASSERT_TRUE(balance != 0 && warning != 0);
  EXPECT_EQ(shown(balance),
            "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WI\x8A"
            "CEJ  -156 ZL");
  EXPECT_EQ(shown(warning), std::string(19, ' ') + "{LECISZ NA MINUSIE FRAJERZE}");
  EXPECT_EQ(foreground_at(20, warning), 5);
}

TEST_F(CalculationScreenTest, MoreThanTwoDirectionsClearsTheScreenFirst) {
  type_in_window("100\r1\r4\r3\r7\r20\r");
  trip_cost_screen();
  EXPECT_EQ(shown(4), " PRZEJECHANE  200 KM");
  EXPECT_EQ(row_of("PODAJ"), 0);
}

TEST_F(CalculationScreenTest, TheLogSheetShowsItsLines12To40) {
  type_in_window("10\r40\r");
  log_volume_screen();
  EXPECT_EQ(shown(22), " 1.256Tyle fast metrow Robaczku!");
  EXPECT_EQ(shown(1), std::string(25, ' ') + "DWA  PIWA !!!");
  EXPECT_EQ(shown(3), "Automatyczny Pieniomat do Drewna");
  EXPECT_EQ(shown(28),
            "Jezeli chcesz sko\xA4"
            "czyc Naci\x98nij Esc");
  EXPECT_EQ(shown(29), std::string(35, '_'));
  EXPECT_EQ(shown(30), "");
  EXPECT_EQ(std::make_tuple(foreground_at(2, 22), foreground_at(1, 28), foreground_at(26, 1)),
            std::make_tuple(15, 12, 13));
  EXPECT_EQ(std::make_pair(g().cursor_column, g().cursor_row), std::make_pair(0, 29));
}

}  // namespace
}  // namespace textscreen::testing
