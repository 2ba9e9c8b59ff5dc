#include "console/number_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace textscreen::detail {
namespace {

constexpr float INF = std::numeric_limits<float>::infinity();

struct SingleCase {
  float value;
  const char* text;
};

TEST(SingleText, ShowsSevenSignificantDigitsInTheNotationTheMagnitudeAsksFor) {
  // The agreement test below covers every finite value; these are the readable landmarks.
  const SingleCase cases[] = {
      {2.0f / 3.0f, " 0.6666667"},
      {100.0f, " 100"},
      {-123.25f, "-123.25"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568e+007"},
      {1e10f, " 1.e+010"},
      {0.1f, " 0.1"},
      {std::nextafter(0.1f, 0.0f), " 9.999999e-002"},
      {-0.0001234f, "-1.234e-004"},
      {1234568.5f, " 1234569"},  // half away from zero, not to even
      {0.01f, " 1.e-002"},       // 0.0099999997 carries into the next decade
      {std::numeric_limits<float>::denorm_min(), " 1.401298e-045"},
      {INF, " inf"},
      {-INF, "-inf"},
      {std::numeric_limits<float>::quiet_NaN(), " nan"},
      {-0.0f, " 0"},
  };
  for (const auto& c : cases) EXPECT_EQ(single_text(c.value), c.text) << c.value;
}

TEST(IntegerText, SignColumnThenDigits) {
  EXPECT_EQ(integer_text(0), " 0");
  EXPECT_EQ(integer_text(-1), "-1");
  EXPECT_EQ(integer_text(std::numeric_limits<int32_t>::max()), " 2147483647");
  EXPECT_EQ(integer_text(std::numeric_limits<int32_t>::min()), "-2147483648");
}

TEST(IntegerFromField, ReadsLikeAtoiAndSaturates) {
  constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
  constexpr int32_t MIN = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(integer_from_field("12.5"), 12);
  EXPECT_EQ(integer_from_field("abc"), 0);
  EXPECT_EQ(integer_from_field("-"), 0);
  EXPECT_EQ(integer_from_field("- 3"), 0);
  EXPECT_EQ(integer_from_field("  -7x"), -7);
  EXPECT_EQ(integer_from_field("\t+3"), 3);
  EXPECT_EQ(integer_from_field("2147483647"), MAX);
  EXPECT_EQ(integer_from_field("2147483648"), MAX);
  EXPECT_EQ(integer_from_field("9223372036854775808"), MAX);  // 2^63: past any 64-bit count
  EXPECT_EQ(integer_from_field("-2147483648"), MIN);
  EXPECT_EQ(integer_from_field("-2147483649"), MIN);
}

TEST(SingleFromField, ReadsTheDecimalFormOnlyAndOutOfRangeGoesToInfinityOrZero) {
  EXPECT_EQ(single_from_field(".5"), 0.5f);
  EXPECT_EQ(single_from_field("5."), 5.0f);
  EXPECT_EQ(single_from_field("  -7.25x"), -7.25f);
  EXPECT_EQ(single_from_field("+1.5E+2"), 150.0f);
  EXPECT_EQ(single_from_field("2E-1"), 0.2f);
  EXPECT_EQ(single_from_field("1e+"), 1.0f);  // an exponent needs a digit
  EXPECT_EQ(single_from_field("0.785"), 0.785f);
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

// An independent reading of the single number form, built from the exact decimal value.
// A float widened to double has at most 112 significant digits, all of them in "%.111e".
std::string expected_single_text(float value) {
  if (value == 0) return " 0";
  char exact[160];
  std::snprintf(exact, sizeof exact, "%.111e", std::fabs(static_cast<double>(value)));
  const std::string digits = exact[0] + std::string(exact + 2, 111);
  const int exact_exponent = std::stoi(std::strchr(exact, 'e') + 1);

  // 17 significant digits, ties to even.
  uint64_t wide = std::stoull(digits.substr(0, 17));
  int wide_exponent = exact_exponent;
  const bool rest_zero = digits.find_first_not_of('0', 18) == std::string::npos;
  if (digits[17] > '5' || (digits[17] == '5' && (!rest_zero || wide % 2 == 1))) ++wide;
  if (wide == 100'000'000'000'000'000) {
    wide /= 10;
    ++wide_exponent;
  }
  // 7 of those, half up.
  uint64_t shown = wide / 10'000'000'000;
  if (wide % 10'000'000'000 >= 5'000'000'000) ++shown;
  int exponent = wide_exponent;
  if (shown == 10'000'000) {
    shown /= 10;
    ++exponent;
  }

  std::string text = value < 0 ? "-" : " ";
  if (exact_exponent >= -1 && exact_exponent <= 6 && exponent <= 6) {
    const int fraction_digits = 6 - exponent;
    uint64_t unit = 1;
    for (int i = 0; i < fraction_digits; ++i) unit *= 10;
    text += std::to_string(shown / unit);
    std::string fraction;
    if (fraction_digits > 0) {
      fraction = std::to_string(shown % unit);
      fraction.insert(0, fraction_digits - fraction.size(), '0');
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text += "." + fraction;
  } else {
    std::string mantissa = std::to_string(shown);
    char buffer[16];
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    std::snprintf(buffer, sizeof buffer, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text += mantissa.substr(0, 1) + "." + mantissa.substr(1) + buffer;
  }
  return text;
}

TEST(SingleTextProperty, AgreesWithTheExactDecimalReadingOnAMillionValues) {
  std::mt19937_64 random(20261205);
  std::vector<float> values;
  values.reserve(1'000'200);

  // Any finite float, from its bit pattern.
  while (values.size() < 600'000) {
    const auto bits = static_cast<uint32_t>(random());
    if (((bits >> 23) & 0xFF) == 0xFF) continue;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
  }
  // The magnitudes programs print most, spread evenly over the decades.
  std::uniform_real_distribution<double> decade(-3.0, 9.0);
  for (int i = 0; i < 300'000; ++i) {
    const float value = static_cast<float>(std::pow(10.0, decade(random)));
    values.push_back(random() & 1 ? -value : value);
  }
  // Floats nearest to 8-digit decimals ending in 5: right at the 7-digit rounding edge.
  std::uniform_int_distribution<uint64_t> eight_digits(1'000'000, 9'999'999);
  std::uniform_int_distribution<int> scale(-12, 6);
  for (int i = 0; i < 100'000; ++i) {
    const double tie = static_cast<double>(eight_digits(random) * 10 + 5);
    values.push_back(static_cast<float>(tie * std::pow(10.0, scale(random))));
  }
  // The neighbours of every power of ten, where the exponent changes.
  for (int power = -45; power <= 38; ++power) {
    float value = static_cast<float>(std::pow(10.0, power));
    for (int i = 0; i < 4; ++i) value = std::nextafter(value, 0.0f);
    for (int i = 0; i < 9; ++i, value = std::nextafter(value, INF)) {
      if (std::isfinite(value)) values.push_back(value);
    }
  }

  int failures = 0;
  for (const float value : values) {
    const std::string expected = expected_single_text(value);
    const std::string shown = single_text(value);
    if (shown != expected && ++failures <= 10) {
      ADD_FAILURE() << "value " << std::hexfloat << value << ": shown \"" << shown
                    << "\", expected \"" << expected << "\"";
    }
  }
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace textscreen::detail
