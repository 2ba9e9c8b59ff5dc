// Numbers into their texts and back, and typed lines into the input fields.
// - The integer text is a blank or '-', then the digits, and reads back as the
// same value.
// - The single text has at most 7 significant digits, exponent form exactly
// outside
//   0.1 <= |v| < 10,000,000, and reads back as the value to within its 7
//   digits.
// - A field reads as atoi and atof (strtoll and strtod on its decimal form)
// read it.
// - Fields are read one after another: each takes at least one byte until the
// line is used
//   up, stays within its limit, sets no error, and the read position stays
//   inside the line.
//
// Input: a float's bits, an int's bits, the typed line, then the choice of
// reader for each field (input_int, input_single or read_field with a limit).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <string>

#include "console/line_input.h"
#include "console/number_text.h"
#include "fuzz_support.h"
#include "textscreen/textscreen.h"

using namespace textscreen;
using namespace textscreen::fuzz;

static void check_single_text(float value) {
  const std::string text = detail::single_text(value);
  const auto what = [&](const std::string& part) {
    return "single text \"" + text + "\" of " + std::to_string(value) + ": " + part;
  };
  FUZZ_CHECK(text.size() >= 2 && text.size() <= 14, what("length"));
  if (!std::isfinite(value)) return;
  FUZZ_CHECK(text[0] == (value < 0 ? '-' : ' '), what("sign"));
  const double magnitude = std::fabs(static_cast<double>(value));
  if (magnitude == 0) return;
  FUZZ_CHECK((text.find('e') == std::string::npos) == (magnitude >= 0.1 && magnitude < 1e7),
             what("notation"));
  const std::string mantissa = text.substr(0, text.find('e'));
  FUZZ_CHECK(std::ranges::count_if(mantissa.substr(mantissa.find_first_of("123456789")),
                                   [](char c) { return c >= '0' && c <= '9'; }) <= 7,
             what("more than 7 digits"));
  const float back = detail::single_from_field(text);
  const double ulp = std::nextafter(std::fabs(value), INFINITY) - std::fabs(value);
  FUZZ_CHECK(std::fabs(static_cast<double>(back) - static_cast<double>(value)) <=
                 5.000001e-7 * magnitude + ulp,
             what("reads back as ") + std::to_string(back));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  check_single_text(std::bit_cast<float>(input.ConsumeIntegral<uint32_t>()));
  const auto value = input.ConsumeIntegral<int32_t>();
  const std::string number = detail::integer_text(value);
  FUZZ_CHECK(number.size() >= 2 && number.size() <= 11 && number[0] == (value < 0 ? '-' : ' ') &&
                 detail::integer_from_field(number) == value,
             "integer text \"" + number + "\" of " + std::to_string(value));

  // The library stops at a NUL, and reads a float only up to what the decimal
  // form allows, so it sees no "inf", "nan" or hex.
  const std::string line = input.ConsumeRandomLengthString(200);
  const std::string text(line.c_str());
  const auto wide =
      std::clamp<long long>(std::strtoll(text.c_str(), nullptr, 10), INT32_MIN, INT32_MAX);
  FUZZ_CHECK(detail::integer_from_field(line) == wide,
             "integer_from_field differs from strtoll on \"" + line + "\"");
  const std::string decimal = text.substr(0, text.find_first_not_of(" \t\n\v\f\r+-.eE0123456789"));
  const auto expected = static_cast<float>(std::strtod(decimal.c_str(), nullptr));
  const float got = detail::single_from_field(line);
  FUZZ_CHECK(std::bit_cast<uint32_t>(got) == std::bit_cast<uint32_t>(expected),
             "single_from_field differs from strtod on \"" + line + "\": " + std::to_string(got) +
                 " against " + std::to_string(expected));

  Layer layer(80, 25);
  detail::InputContext& context = detail::input_context();
  context.line = line;
  const auto length = static_cast<int32_t>(line.size());
  for (int field = 0; field < 64 && context.position < length; ++field) {
    const int32_t before = context.position;
    const int reader = input.ConsumeIntegralInRange(0, 3);
    int32_t whole = 0;
    float single = 0;
    if (reader == 0) input_int(whole);
    if (reader == 1) input_single(single);
    if (reader >= 2) {
      const int32_t max = input.ConsumeIntegralInRange(1, 40);
      FUZZ_CHECK(std::ssize(detail::read_field(max, input.ConsumeBool())) <= max,
                 "field longer than its limit");
    }
    FUZZ_CHECK(last_error() == ERROR_NONE, "reading a field set an error");
    FUZZ_CHECK(context.position > before && context.position <= length,
               "field read did not move on through the line");
  }
  return 0;
}
