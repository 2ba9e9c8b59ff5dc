#include "log_arithmetic.h"

namespace {
// The constants are doubles; every step runs in the 64-bit significand and only the two
// stores round to single.
constexpr double TWO = 2.0;
constexpr double HUNDRED = 100.0;
constexpr double PI_APPROXIMATION = 3.14;
}  // namespace

float log_volume(LogMeasures& m) {
  long double radius = static_cast<long double>(m.diameter) / static_cast<long double>(TWO);
  radius = radius / static_cast<long double>(HUNDRED);
  m.diameter = static_cast<float>(radius);
  long double volume = static_cast<long double>(m.diameter) * static_cast<long double>(m.diameter);
  volume = volume * static_cast<long double>(m.length);
  volume = volume * static_cast<long double>(PI_APPROXIMATION);
  return static_cast<float>(volume);
}
