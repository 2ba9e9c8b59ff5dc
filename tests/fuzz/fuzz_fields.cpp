// Typed lines into the input fields, and numbers into their texts and back.
//
// Input: the typed line, then the choice of reader for each field (input_int, input_single or
// read_field with a limit); a float's bits and an int's bits come from the input's end.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "console/line_input.h"
#include "console/number_text.h"
#include "fuzz_support.h"
#include "textscreen/textscreen.h"

namespace textscreen::fuzz {
namespace {

// The integer text: a blank or '-', then the digits; read back it is the same value.
void check_integer_text(int32_t value) {
  const std::string text = detail::integer_text(value);
  FUZZ_CHECK(
      text.size() >= 2 && text.size() <= 11,
      "integer text of " + std::to_string(value) + " has length " + std::to_string(text.size()));
  FUZZ_CHECK(text[0] == (value < 0 ? '-' : ' '), "integer text sign: " + text);
  FUZZ_CHECK(detail::integer_from_field(text) == value, "integer text does not read back: " + text);
}

// The single text: at most 7 significant digits, exponent form exactly outside
// 0.1 <= |v| < 10,000,000, and read back it is the value to within its 7 digits.
void check_single_text(float value) {
  const std::string text = detail::single_text(value);
  const auto what = [&](const char* part) {
    return "single text \"" + text + "\" of " + std::to_string(value) + ": " + part;
  };
  FUZZ_CHECK(text.size() >= 2 && text.size() <= 14, what("length"));
  if (!std::isfinite(value)) return;
  FUZZ_CHECK(text[0] == (value < 0 ? '-' : ' '), what("sign"));
  const double magnitude = std::fabs(static_cast<double>(value));
  if (magnitude == 0) return;
  const bool fixed = magnitude >= 0.1 && magnitude < 1e7;
  FUZZ_CHECK((text.find('e') == std::string::npos) == fixed, what("notation"));
  const std::string mantissa = text.substr(0, text.find('e'));
  const auto first = mantissa.find_first_of("123456789");
  const auto digits = std::count_if(mantissa.begin() + static_cast<ptrdiff_t>(first),
                                    mantissa.end(), [](char c) { return c >= '0' && c <= '9'; });
  FUZZ_CHECK(digits <= 7, what("more than 7 digits"));
  const float back = detail::single_from_field(text);
  const double error = std::fabs(static_cast<double>(back) - static_cast<double>(value));
  const double ulp = std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
  FUZZ_CHECK(error <= 5.000001e-7 * magnitude + ulp, what("reads back as ") + std::to_string(back));
}

// The number forms of atoi and atof, as the C library reads them: a field is read up to
// what the decimal form allows, so the library sees no "inf", "nan" or hex.
void check_against_c_library(const std::string& field) {
  const std::string text(field.c_str());  // the library stops at a NUL
  const long long wide = std::strtoll(text.c_str(), nullptr, 10);
  const int32_t expected_int =
      static_cast<int32_t>(std::clamp<long long>(wide, INT32_MIN, INT32_MAX));
  FUZZ_CHECK(detail::integer_from_field(field) == expected_int,
             "integer_from_field differs from strtoll on \"" + field + "\"");

  const std::string decimal = text.substr(0, text.find_first_not_of(" \t\n\v\f\r+-.eE0123456789"));
  const float expected = static_cast<float>(std::strtod(decimal.c_str(), nullptr));
  const float got = detail::single_from_field(field);
  FUZZ_CHECK(std::bit_cast<uint32_t>(got) == std::bit_cast<uint32_t>(expected),
             "single_from_field differs from strtod on \"" + field + "\": " + std::to_string(got) +
                 " against " + std::to_string(expected));
}

// Fields are read one after another: each takes at least one byte until the line is used up,
// and the read position stays inside the line.
void read_fields(const std::string& line, FuzzedDataProvider& choices) {
  Layer layer(80, 25);
  detail::InputContext& context = detail::input_context();
  context.line = line;
  const auto size = static_cast<int32_t>(context.line.size());
  for (int field = 0; field < 64 && context.position < size; ++field) {
    const int32_t before = context.position;
    switch (choices.ConsumeIntegralInRange(0, 3)) {
      case 0: {
        int32_t value = 0;
        input_int(value);
        break;
      }
      case 1: {
        float value = 0;
        input_single(value);
        break;
      }
      default: {
        const int32_t max = choices.ConsumeIntegralInRange(1, 40);
        const bool is_text = choices.ConsumeBool();
        FUZZ_CHECK(static_cast<int32_t>(detail::read_field(max, is_text).size()) <= max,
                   "field longer than its limit");
      }
    }
    FUZZ_CHECK(last_error() == ERROR_NONE, "reading a field set an error");
    FUZZ_CHECK(context.position > before && context.position <= size,
               "field read did not move on through the line");
  }
}

}  // namespace
}  // namespace textscreen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace textscreen::fuzz;
  FuzzedDataProvider input(data, size);
  check_single_text(std::bit_cast<float>(input.ConsumeIntegral<uint32_t>()));
  check_integer_text(input.ConsumeIntegral<int32_t>());
  const std::string line = input.ConsumeRandomLengthString(200);
  check_against_c_library(line);
  read_fields(line, input);
  return 0;
}
