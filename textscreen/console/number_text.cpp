#include "console/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace textscreen::detail {
namespace {

constexpr int SHOWN_DIGITS = 7;
constexpr int WIDE_DIGITS = 17;
// The largest exponent fixed notation keeps: 7 integer digits and no fraction.
constexpr int FIXED_MAX_EXPONENT = SHOWN_DIGITS - 1;
// The smallest: 0.1 and above.
constexpr int FIXED_MIN_EXPONENT = -1;

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The exponent part of printf's "%e" text, which starts at the 'e'.
int exponent_after(const char* e) {
  const bool negative = e[1] == '-';
  int exponent = 0;
  for (const char* p = e + 2; is_digit(*p); ++p) exponent = exponent * 10 + (*p - '0');
  return negative ? -exponent : exponent;
}

// A positive finite value to 17 significant digits (ties to even): the digits and the
// decimal exponent of the first one.
struct WideDecimal {
  char digits[WIDE_DIGITS];
  int exponent;
};

WideDecimal wide_decimal(double magnitude) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*e", WIDE_DIGITS - 1, magnitude);
  // text is "d.dddddddddddddddde+xx".
  WideDecimal wide;
  wide.digits[0] = text[0];
  std::memcpy(wide.digits + 1, text + 2, WIDE_DIGITS - 1);
  wide.exponent = exponent_after(text + WIDE_DIGITS + 1);
  return wide;
}

bool is_power_of_ten(const WideDecimal& wide) {
  if (wide.digits[0] != '1') return false;
  for (int i = 1; i < WIDE_DIGITS; ++i) {
    if (wide.digits[i] != '0') return false;
  }
  return true;
}

// The decimal exponent of the value itself. The 17-digit form only overstates it when its
// rounding carried up to a power of ten, so just that case asks for the exact expansion;
// a float widened to double has at most 112 significant digits, so "%.111e" is exact.
int value_exponent(double magnitude, const WideDecimal& wide) {
  if (!is_power_of_ten(wide)) return wide.exponent;
  char text[160];
  std::snprintf(text, sizeof text, "%.111e", magnitude);
  return exponent_after(std::strchr(text, 'e'));
}

void drop_trailing_zeros(std::string& text) {
  while (text.back() == '0') text.pop_back();
}

void append_exponent(std::string& text, int exponent) {
  text.push_back('e');
  text.push_back(exponent < 0 ? '-' : '+');
  const int magnitude = std::abs(exponent);
  text.push_back(static_cast<char>('0' + magnitude / 100 % 10));
  text.push_back(static_cast<char>('0' + magnitude / 10 % 10));
  text.push_back(static_cast<char>('0' + magnitude % 10));
}

}  // namespace

std::string integer_text(int32_t value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  std::string text = value >= 0 ? " " : "";
  text.append(digits, end);
  return text;
}

std::string single_text(float value) {
  if (std::isnan(value)) return " nan";
  if (std::isinf(value)) return value > 0 ? " inf" : "-inf";
  // Negative zero shows as zero: a sign with no magnitude says nothing to the reader.
  if (value == 0) return " 0";

  const double magnitude = std::fabs(static_cast<double>(value));
  const WideDecimal wide = wide_decimal(magnitude);
  const int own_exponent = value_exponent(magnitude, wide);

  // Round the 17 digits to 7, half away from zero.
  char digits[SHOWN_DIGITS];
  std::memcpy(digits, wide.digits, SHOWN_DIGITS);
  int exponent = wide.exponent;
  if (wide.digits[SHOWN_DIGITS] >= '5') {
    int i = SHOWN_DIGITS - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits[0] = '1';
      ++exponent;
    }
  }

  // The notation follows the value's own exponent; a fixed number that carried into a new
  // decade is looked at again so that it still shows 7 significant digits at most. (No
  // float reaches that: the powers of ten 1..1e7 are floats, each more than half a 7th-digit
  // unit above the float below it.)
  const bool fixed = own_exponent >= FIXED_MIN_EXPONENT && own_exponent <= FIXED_MAX_EXPONENT &&
                     exponent <= FIXED_MAX_EXPONENT;

  std::string text = value < 0 ? "-" : " ";
  if (fixed) {
    if (exponent < 0) {
      text += "0.";
      text.append(digits, SHOWN_DIGITS);
    } else {
      text.append(digits, exponent + 1);
      text.push_back('.');
      text.append(digits + exponent + 1, FIXED_MAX_EXPONENT - exponent);
    }
    drop_trailing_zeros(text);
    if (text.back() == '.') text.pop_back();
  } else {
    text.push_back(digits[0]);
    text.push_back('.');
    text.append(digits + 1, SHOWN_DIGITS - 1);
    drop_trailing_zeros(text);
    append_exponent(text, exponent);
  }
  return text;
}

int32_t integer_from_field(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && is_space(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';

  // Past 2^31 the magnitude saturates either way, so it stops growing there.
  constexpr int64_t CAP = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (; i < field.size() && is_digit(field[i]); ++i) {
    if (magnitude <= CAP) magnitude = magnitude * 10 + (field[i] - '0');
  }
  if (negative) {
    return magnitude >= CAP ? std::numeric_limits<int32_t>::min()
                            : static_cast<int32_t>(-magnitude);
  }
  return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                         : static_cast<int32_t>(magnitude);
}

float single_from_field(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && is_space(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';

  const size_t start = i;
  while (i < field.size() && is_digit(field[i])) ++i;
  const size_t integer_digits = i - start;
  size_t fraction_digits = 0;
  if (i < field.size() && field[i] == '.') {
    const size_t fraction_start = ++i;
    while (i < field.size() && is_digit(field[i])) ++i;
    fraction_digits = i - fraction_start;
  }
  if (integer_digits + fraction_digits == 0) return 0.0f;
  const size_t mantissa_end = i;

  // The exponent counts only with at least one digit ("1e" is 1). It saturates: far past
  // the double range the direction is all that matters.
  size_t end = mantissa_end;
  long long exponent = 0;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    size_t j = i + 1;
    bool exponent_negative = false;
    if (j < field.size() && (field[j] == '+' || field[j] == '-')) {
      exponent_negative = field[j++] == '-';
    }
    if (j < field.size() && is_digit(field[j])) {
      for (; j < field.size() && is_digit(field[j]); ++j) {
        if (exponent < 1'000'000) exponent = exponent * 10 + (field[j] - '0');
      }
      if (exponent_negative) exponent = -exponent;
      end = j;
    }
  }

  // from_chars rather than strtod: the decimal point must not depend on the C locale.
  double number = 0;
  const auto result = std::from_chars(field.data() + start, field.data() + end, number);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of the double range: the place of the first non-zero digit tells which end.
    long long lead = static_cast<long long>(integer_digits) - 1;
    for (size_t k = start; k < mantissa_end; ++k) {
      if (field[k] == '.') continue;
      if (field[k] != '0') break;
      --lead;
    }
    number = lead + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }

  // Halfway between the largest float and 2^128: from there the nearest float, ties to
  // even, is infinity.
  constexpr double FLOAT_OVERFLOW = 0x1.ffffffp127;
  const float single = number >= FLOAT_OVERFLOW ? std::numeric_limits<float>::infinity()
                                                : static_cast<float>(number);
  return negative ? -single : single;
}

}  // namespace textscreen::detail
