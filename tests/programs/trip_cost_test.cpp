// The trip's arithmetic (its screen runs in tests/graphics/calculation_screens_test.cpp).
#include <gtest/gtest.h>

#include <climits>

#include "trip_arithmetic.h"

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

}  // namespace
}  // namespace textscreen::testing
