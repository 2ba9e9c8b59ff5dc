// The log's arithmetic, bit for bit, and the log sheet run on a 30-row console (its
// volumes and the 25-row sheet are checked in a terminal, end to end).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "log_arithmetic.h"
#include "log_volume_screen.h"
#include "support/layer_fixture.h"
#include "support/typing.h"

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

class LogScreenTest : public LayerTest {
 protected:
  LogScreenTest() : LayerTest(80, 30) {}
};

TEST_F(LogScreenTest, TheSheetScrollsUpToShowLines12To40) {
  type_text(console_, "10\r40\r");
  log_volume_screen();
  EXPECT_EQ(row(1), std::string(25, ' ') + "DWA  PIWA !!!");
  EXPECT_EQ(row(3), "Automatyczny Pieniomat do Drewna");
  EXPECT_EQ(row(29), std::string(35, '_'));
  EXPECT_EQ(row(30), "");
  EXPECT_EQ(cursor(), Place(30, 1));
  EXPECT_EQ(row(28),
            "Jezeli chcesz sko\xA4"
            "czyc Naci\x98nij Esc");
  EXPECT_EQ(attribute_at(28, 1) & 0x0F, 12);
  EXPECT_EQ(attribute_at(1, 26) & 0x0F, 13);
}

}  // namespace
}  // namespace textscreen::testing
