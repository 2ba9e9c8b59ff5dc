// The text forms of numbers: how print_int and print_single show a value and how
// input_int and input_single read one back from a typed field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textscreen::detail {

// A blank before a value >= 0, '-' before a negative one, then the digits (2..11 bytes).
std::string integer_text(int32_t value);

// The single number form: 7 significant digits, rounded half away from zero from the
// value's 17-digit decimal form; fixed notation for 0.1 <= |v| < 10,000,000, otherwise a
// mantissa and a three-digit exponent ("1.234568e+007"). Trailing fraction zeros and a
// bare trailing point are dropped; a blank stands in front of a value that is not
// negative. +inf, -inf and NaN show as " inf", "-inf" and " nan"; negative zero as " 0".
std::string single_text(float value);

// The integer a field denotes, read as C's atoi does: leading white space, an optional
// sign, digits up to the first non-digit; 0 when there are none. Values beyond 32 bits
// saturate to INT32_MAX or INT32_MIN.
int32_t integer_from_field(std::string_view field);

// The single value a field denotes, read as C's atof does but only in the decimal form:
// leading white space, an optional sign, digits with an optional point and fraction, an
// optional exponent; no "inf", "nan" or hex forms. 0 when there is no number. The decimal
// value is taken to the nearest double, then to the nearest float; beyond the float range
// it becomes an infinity.
float single_from_field(std::string_view field);

}  // namespace textscreen::detail
