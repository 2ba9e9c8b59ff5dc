// The trip's arithmetic and the trip cost screen run on the console.
#include <gtest/gtest.h>

#include <climits>

#include "support/layer_fixture.h"
#include "support/typing.h"
#include "trip_arithmetic.h"
#include "trip_cost_screen.h"

namespace textscreen::testing {
namespace {

TEST(TripArithmetic, LitresRoundToTheNearestAndHalvesToEven) {
  const std::pair<int32_t, int32_t> cases[] = {
      {250, 2},
      {350, 4},
      {315, 3},
      {1451, 15},
      {-250, -2},
      {-350, -4},
      {-51, -1},
      {INT32_MAX, 21474836},
      {INT32_MIN, -21474836},
  };
  for (auto [product, litres] : cases) EXPECT_EQ(litres_burned(product), litres) << product;
}

TEST(TripArithmetic, ProductsAndDifferencesWrapAroundAndDirectionsAboveTwoCountAsTwo) {
  EXPECT_EQ(trip_results({100000, 100000, 0, 1, 0, 0}).fare, 1410065408);
  EXPECT_EQ(wrapping_difference(INT32_MIN, 1), INT32_MAX);
  EXPECT_EQ(wrapping_product(INT32_MAX, 2), -2);
  EXPECT_EQ(clamp_directions(3), 2);
  EXPECT_EQ(clamp_directions(INT32_MAX), 2);
  EXPECT_EQ(clamp_directions(-5), -5);
}

class TripScreenTest : public LayerTest {
 protected:
  TripScreenTest() : LayerTest(80, 25) {}

  void run(const std::string& answers) {
    type_text(console_, answers);
    trip_cost_screen();
    EXPECT_EQ(console_.pending_input(), 0u);
  }
  int row_of(const std::string& text) const {
    for (int r = 1; r <= 25; ++r) {
      if (row(r).find(text) != std::string::npos) return r;
    }
    return 0;
  }
};

// The texts of this run are checked in a terminal, end to end; here their colours.
TEST_F(TripScreenTest, TheWorkedRunShowsItsResultsInTheirColours) {
  run("100\r1\r4\r2\r7\r20\r");
  EXPECT_EQ(row_of("{LECISZ"), 0);
  EXPECT_EQ(attribute_at(row_of("A ILE PALI NA STO"), 1) & 0x0F, 10);
  EXPECT_EQ(attribute_at(row_of("PRZEJECHANE"), 2) & 0x0F, 12);
  EXPECT_EQ(attribute_at(row_of("CENA ZA PRZEJAZD"), 1) & 0x0F, 14);
  EXPECT_EQ(attribute_at(row_of("SPALONE"), 2) & 0x0F, 13);
  EXPECT_EQ(attribute_at(row_of("CENA ZA PALIWO"), 1) & 0x0F, 10);
  EXPECT_EQ(attribute_at(row_of("NACISNIJ ESC"), 8) & 0x0F, 14);
  EXPECT_EQ(console_.buffer().attribute() & 0x0F, 5);
}

TEST_F(TripScreenTest, ALossBringsTheWarning) {
  run("100\r1\r4\r2\r7\r300\r");
  const int balance = row_of("DOD KOSZT");
  const int warning = row_of("{LECISZ");
  ASSERT_TRUE(balance != 0 && warning != 0);
  EXPECT_EQ(row(balance),
            "PO ODLICZENIU PALIWA I DOD KOSZT = MNIEJ WI\x8A"
            "CEJ  -156 ZL");
  EXPECT_EQ(row(warning), std::string(19, ' ') + "{LECISZ NA MINUSIE FRAJERZE}");
  EXPECT_EQ(attribute_at(warning, 20) & 0x0F, 5);
}

TEST_F(TripScreenTest, MoreThanTwoDirectionsClearsTheScreenFirst) {
  run("100\r1\r4\r3\r7\r20\r");
  EXPECT_EQ(row(4), " PRZEJECHANE  200 KM");
  EXPECT_EQ(row(1), "");
  EXPECT_EQ(row_of("PODAJ"), 0);
}

}  // namespace
}  // namespace textscreen::testing
