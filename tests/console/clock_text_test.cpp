#include "console/clock_text.h"

#include <gtest/gtest.h>

namespace textscreen::detail {
namespace {

std::tm moment(int year, int month, int day, int hour, int minute, int second) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  return local;
}

TEST(ClockText, TimeAndMonthFirstDateInTwoDigitsEachAndAFourDigitYear) {
  EXPECT_EQ(clock_text(moment(2026, 12, 5, 9, 7, 3)), "09:07:03");
  EXPECT_EQ(date_text(moment(2026, 12, 5, 9, 7, 3)), "12-05-2026");
  EXPECT_EQ(date_text(moment(987, 7, 4, 0, 0, 0)), "07-04-0987");
}

}  // namespace
}  // namespace textscreen::detail
