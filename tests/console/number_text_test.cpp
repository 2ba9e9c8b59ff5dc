// The value text forms: numbers, fields read as numbers, and the clock.
#include "console/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <utility>

#include "console/clock_text.h"

namespace textscreen::detail {
namespace {

constexpr float INF = std::numeric_limits<float>::infinity();

TEST(SingleText, ShowsSevenSignificantDigitsInTheNotationTheMagnitudeAsksFor) {
  const std::pair<float, const char*> cases[] = {
      {2.0f / 3.0f, " 0.6666667"},
      {-123.25f, "-123.25"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568e+007"},
      {0.1f, " 0.1"},
      {std::nextafter(0.1f, 0.0f), " 9.999999e-002"},
      {-0.0001234f, "-1.234e-004"},
      {1234568.5f, " 1234569"},           // half away from zero, not to even
      {0.0011516175f, " 1.151617e-003"},  // 1.1516174999997e-3: rounded from 17 digits
      {0.01f, " 1.e-002"},                // 0.0099999997 carries into the next decade
      {std::numeric_limits<float>::max(), " 3.402823e+038"},
      {std::numeric_limits<float>::denorm_min(), " 1.401298e-045"},
      {INF, " inf"},
      {-INF, "-inf"},
      {std::numeric_limits<float>::quiet_NaN(), " nan"},
      {-0.0f, " 0"},
  };
  for (auto [value, text] : cases) EXPECT_EQ(single_text(value), text) << value;
}

TEST(IntegerText, SignColumnThenDigitsAndFieldsReadLikeAtoiAndSaturate) {
  constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
  constexpr int32_t MIN = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(integer_text(0), " 0");
  EXPECT_EQ(integer_text(MAX), " 2147483647");
  EXPECT_EQ(integer_text(MIN), "-2147483648");
  EXPECT_EQ(integer_from_field("12.5"), 12);
  EXPECT_EQ(integer_from_field("abc"), 0);
  EXPECT_EQ(integer_from_field("- 3"), 0);
  EXPECT_EQ(integer_from_field("  -7x"), -7);
  EXPECT_EQ(integer_from_field("\t+3"), 3);
  EXPECT_EQ(integer_from_field("2147483648"), MAX);
  EXPECT_EQ(integer_from_field("9223372036854775808"), MAX);  // 2^63: past any 64-bit count
  EXPECT_EQ(integer_from_field("-2147483649"), MIN);
}

TEST(SingleFromField, ReadsTheDecimalFormOnlyAndOutOfRangeGoesToInfinityOrZero) {
  EXPECT_EQ(single_from_field(".5"), 0.5f);
  EXPECT_EQ(single_from_field("  -7.25x"), -7.25f);
  EXPECT_EQ(single_from_field("+1.5E+2"), 150.0f);
  EXPECT_EQ(single_from_field("1e+"), 1.0f);  // an exponent needs a digit
  EXPECT_EQ(single_from_field("inf"), 0.0f);
  EXPECT_EQ(single_from_field("0x10"), 0.0f);
  EXPECT_EQ(single_from_field("-.e5"), 0.0f);
  // Beyond the float range, beyond the double range either way, below the float range.
  EXPECT_EQ(single_from_field("1e39"), INF);
  EXPECT_EQ(single_from_field("-1e39"), -INF);
  EXPECT_EQ(single_from_field("0.01e99999"), INF);
  EXPECT_EQ(single_from_field("10e-400"), 0.0f);
  EXPECT_EQ(single_from_field("1e-50"), 0.0f);
  // Either side of halfway between the largest float and 2^128.
  EXPECT_EQ(single_from_field("3.4028235e38"), std::numeric_limits<float>::max());
  EXPECT_EQ(single_from_field("3.4028236e38"), INF);
}

TEST(ClockText, TimeAndMonthFirstDateInTwoDigitsEachAndAFourDigitYear) {
  std::tm local{};
  local.tm_hour = 9, local.tm_min = 7, local.tm_sec = 3;
  local.tm_year = 2026 - 1900, local.tm_mon = 12 - 1, local.tm_mday = 5;
  EXPECT_EQ(clock_text(local), "09:07:03");
  EXPECT_EQ(date_text(local), "12-05-2026");
  local.tm_year = 987 - 1900, local.tm_mon = 7 - 1, local.tm_mday = 4;
  EXPECT_EQ(date_text(local), "07-04-0987");
}

}  // namespace
}  // namespace textscreen::detail
