// The log's arithmetic, bit for bit (the sheet runs in
// tests/graphics/calculation_screens_test.cpp and in a terminal, end to end).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "log_arithmetic.h"

namespace textscreen::testing {
namespace {

uint32_t bits(float f) {
  uint32_t b = 0;
  std::memcpy(&b, &f, sizeof b);
  return b;
}

float volume_of(float length, float diameter, float* radius = nullptr) {
  LogMeasures m{length, diameter};
  float v = log_volume(m);
  if (radius != nullptr) *radius = m.diameter;
  return v;
}

TEST(LogArithmetic, VolumesOfTheExamplesBitForBit) {
  // The first fails when the steps run in single precision, the second when the radius
  // is not stored as a single before it is squared.
  float radius = 0;
  EXPECT_EQ(bits(volume_of(10, 40, &radius)), bits(1.25600004f));
  EXPECT_EQ(bits(radius), bits(0.2f));
  EXPECT_EQ(bits(volume_of(5, 30)), bits(0.35325003f));
}

TEST(LogArithmetic, SignsZeroAndOverflow) {
  EXPECT_EQ(volume_of(-10, 40), -volume_of(10, 40));
  EXPECT_EQ(volume_of(10, -40), volume_of(10, 40));
  EXPECT_EQ(volume_of(0, 40), 0.0f);
  EXPECT_TRUE(std::isinf(volume_of(3e38f, 1e30f)));
}

}  // namespace
}  // namespace textscreen::testing
