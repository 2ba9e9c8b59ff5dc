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
  const SingleCase cases[] = {
      {0.785f, " 0.785"},
      {0.35325f, " 0.35325"},
      {2.0f / 3.0f, " 0.6666667"},
      {3.14159265f, " 3.141593"},
      {100.0f, " 100"},
      {-2.5f, "-2.5"},
      {0.0f, " 0"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568e+007"},
      {123456789.0f, " 1.234568e+008"},
      {1e10f, " 1.e+010"},
      {0.1f, " 0.1"},
      {0.099999f, " 9.9999e-002"},
      {0.05f, " 5.e-002"},
      {-0.0001234f, "-1.234e-004"},
      {1.25600004f, " 1.256"},
      {0.0235500000417f, " 2.355e-002"},
      {0.51291907f, " 0.5129191"},
      {0.35325003f, " 0.35325"},
      {-123.25f, "-123.25"},
      {std::numeric_limits<float>::max(), " 3.402823e+038"},
      {std::numeric_limits<float>::denorm_min(), " 1.401298e-045"},
  };
  for (const auto& c : cases) EXPECT_EQ(single_text(c.value), c.text) << c.value;
}

TEST(SingleText, RoundsHalfAwayFromZero) {
  EXPECT_EQ(single_text(1234567.5f), " 1234568");
  EXPECT_EQ(single_text(1234568.5f), " 1234569");
  EXPECT_EQ(single_text(-1234568.5f), "-1234569");
  // Exact ties in exponent notation: 2^-11 and an 8-digit integer.
  EXPECT_EQ(single_text(0.00048828125f), " 4.882813e-004");
  EXPECT_EQ(single_text(12345665.0f), " 1.234567e+007");
}

TEST(SingleText, CarryIntoANewDecadeMovesTheExponent) {
  // 0.0099999997764825821 and 0.0000099999997473787516 round up to a power of ten.
  EXPECT_EQ(single_text(0.01f), " 1.e-002");
  EXPECT_EQ(single_text(-1e-5f), "-1.e-005");
  // In the fixed range every power of ten is a float and the float just below it lies more
  // than half a unit of the 7th digit away, so no fixed number carries: the typed 0.99999996
  // is the float 0.99999994, and 9999999.5 the float 10000000.
  EXPECT_EQ(single_text(0.99999996f), " 0.9999999");
  EXPECT_EQ(single_text(999999.9375f), " 999999.9");
  EXPECT_EQ(single_text(9999999.0f), " 9999999");
  EXPECT_EQ(single_text(9999999.5f), " 1.e+007");
  EXPECT_EQ(single_text(std::nextafter(0.1f, 0.0f)), " 9.999999e-002");
}

TEST(SingleText, NonFiniteValuesAndNegativeZero) {
  EXPECT_EQ(single_text(INF), " inf");
  EXPECT_EQ(single_text(-INF), "-inf");
  EXPECT_EQ(single_text(std::numeric_limits<float>::quiet_NaN()), " nan");
  EXPECT_EQ(single_text(-0.0f), " 0");
}

TEST(IntegerText, SignColumnThenDigits) {
  EXPECT_EQ(integer_text(0), " 0");
  EXPECT_EQ(integer_text(-1), "-1");
  EXPECT_EQ(integer_text(42), " 42");
  EXPECT_EQ(integer_text(std::numeric_limits<int32_t>::max()), " 2147483647");
  EXPECT_EQ(integer_text(std::numeric_limits<int32_t>::min()), "-2147483648");
}

TEST(IntegerFromField, ReadsLikeAtoiAndSaturates) {
  constexpr int32_t MAX = std::numeric_limits<int32_t>::max();
  constexpr int32_t MIN = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(integer_from_field("12.5"), 12);
  EXPECT_EQ(integer_from_field("abc"), 0);
  EXPECT_EQ(integer_from_field(""), 0);
  EXPECT_EQ(integer_from_field("-"), 0);
  EXPECT_EQ(integer_from_field("00000000004"), 4);
  EXPECT_EQ(integer_from_field("  -7x"), -7);
  EXPECT_EQ(integer_from_field("\t+3"), 3);
  EXPECT_EQ(integer_from_field("- 3"), 0);
  EXPECT_EQ(integer_from_field("2147483647"), MAX);
  EXPECT_EQ(integer_from_field("2147483648"), MAX);
  EXPECT_EQ(integer_from_field("99999999999"), MAX);
  EXPECT_EQ(integer_from_field("-2147483648"), MIN);
  EXPECT_EQ(integer_from_field("-2147483649"), MIN);
  EXPECT_EQ(integer_from_field("-9999999999"), MIN);
  EXPECT_EQ(integer_from_field("-99999999999"), MIN);
}

TEST(SingleFromField, ReadsTheDecimalFormOnly) {
  EXPECT_EQ(single_from_field("2.5e1"), 25.0f);
  EXPECT_EQ(single_from_field(""), 0.0f);
  EXPECT_EQ(single_from_field(".5"), 0.5f);
  EXPECT_EQ(single_from_field("5."), 5.0f);
  EXPECT_EQ(single_from_field("  -7.25x"), -7.25f);
  EXPECT_EQ(single_from_field("+1.5E+2"), 150.0f);
  EXPECT_EQ(single_from_field("1e"), 1.0f);
  EXPECT_EQ(single_from_field("1e+"), 1.0f);
  EXPECT_EQ(single_from_field("2E-1"), 0.2f);
  EXPECT_EQ(single_from_field("inf"), 0.0f);
  EXPECT_EQ(single_from_field("nan"), 0.0f);
  EXPECT_EQ(single_from_field("0x10"), 0.0f);
  EXPECT_EQ(single_from_field("-.e5"), 0.0f);
  EXPECT_EQ(single_from_field("0.785"), 0.785f);
}

TEST(SingleFromField, OutOfRangeGoesToInfinityOrZero) {
  EXPECT_EQ(single_from_field("1e39"), INF);
  EXPECT_EQ(single_from_field("-1e39"), -INF);
  EXPECT_EQ(single_from_field("1e999999999"), INF);
  EXPECT_EQ(single_from_field("0.01e99999"), INF);
  EXPECT_EQ(single_from_field("1e-99999999"), 0.0f);
  EXPECT_EQ(single_from_field("10e-400"), 0.0f);
  EXPECT_EQ(single_from_field("1e-50"), 0.0f);
  // Either side of halfway between the largest float and 2^128.
  EXPECT_EQ(single_from_field("3.4028235e38"), std::numeric_limits<float>::max());
  EXPECT_EQ(single_from_field("3.4028236e38"), INF);
}

// An independent reading of the single number form, built from the exact decimal value.
// A float is m * 2^p; its exact digits come from base-1e9 big integer arithmetic.
struct ExactDecimal {
  std::string digits;  // No leading zeros.
  int exponent;        // Of the first digit.
};

ExactDecimal exact_decimal(float value) {
  constexpr uint64_t LIMB = 1'000'000'000;
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  const uint32_t mantissa = biased ? (bits & 0x7FFFFF) | 0x800000 : bits & 0x7FFFFF;
  const int power = (biased ? biased : 1) - 150;

  std::array<uint32_t, 16> limbs{mantissa};  // Least significant first; mantissa < 1e9.
  size_t count = 1;
  auto multiply = [&](uint64_t factor) {
    uint64_t carry = 0;
    for (size_t i = 0; i < count; ++i) {
      const uint64_t product = limbs[i] * factor + carry;
      limbs[i] = static_cast<uint32_t>(product % LIMB);
      carry = product / LIMB;
    }
    while (carry) {
      limbs[count++] = static_cast<uint32_t>(carry % LIMB);
      carry /= LIMB;
    }
  };
  // m * 2^p for p >= 0, or m * 5^-p / 10^-p below.
  int scale = 0;
  if (power >= 0) {
    for (int left = power; left > 0; left -= 29) multiply(uint64_t{1} << std::min(left, 29));
  } else {
    scale = -power;
    for (int left = scale; left > 0; left -= 13) {
      uint64_t factor = 1;
      for (int i = 0; i < std::min(left, 13); ++i) factor *= 5;
      multiply(factor);
    }
  }
  char text[16 * 9 + 1];
  int length = std::snprintf(text, sizeof text, "%u", limbs[count - 1]);
  for (size_t i = count - 1; i-- > 0;) {
    length += std::snprintf(text + length, sizeof text - length, "%09u", limbs[i]);
  }
  return {std::string(text, length), length - 1 - scale};
}

std::string expected_single_text(float value) {
  if (value == 0) return " 0";
  const ExactDecimal exact = exact_decimal(std::fabs(value));
  std::string digits = exact.digits;
  digits.resize(std::max<size_t>(digits.size(), 18), '0');

  // 17 significant digits, ties to even.
  uint64_t wide = std::stoull(digits.substr(0, 17));
  int wide_exponent = exact.exponent;
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
  if (exact.exponent >= -1 && exact.exponent <= 6 && exponent <= 6) {
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
