// Keys from a pipe or a file in the graphics screen: they reach the window's key ring, a
// few at a time as the ring has room, and the end of the script closes the console.
#include "graphics/scripted_keys.h"

#include <gtest/gtest.h>

#include "support/graphics_fixture.h"
#include "support/typing.h"
#include "trip_cost_screen.h"

namespace textscreen::testing {
namespace {

class ScriptedKeysTest : public GraphicsTest {
 protected:
  ScriptedKeysTest() { console_.set_input_not_a_console(true); }
};

TEST_F(ScriptedKeysTest, AScriptRunsTheTripScreenWithMoreKeysThanTheRingHolds) {
  type_text(console_, "100\r1\r4\r2\r7\r20\r");
  console_.end_input();
  trip_cost_screen();
  ASSERT_TRUE(detail::graphics_screen_open());
  EXPECT_EQ(shown(13), " PRZEJECHANE  200 KM");
  EXPECT_EQ(shown(20), " PALIWA SPALONE 14  [LITRY]");
  EXPECT_EQ(console_.closes(), 0);
  // The script has ended: the next look for a key closes the console, as in the console.
  sleep_wait(-1);
  EXPECT_EQ(console_.closes(), 1);
}

TEST_F(ScriptedKeysTest, AConsolesOwnKeysStayInTheConsole) {
  console_.set_input_not_a_console(false);
  type_text(console_, "x");
  const size_t typed = console_.pending_input();
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  EXPECT_EQ(key_poll(), "");
  EXPECT_EQ(console_.pending_input(), typed);  // the console's, for when it is back
}

// Where the keys come from is the same for the whole run: a key loop does not ask the console
// again at every look (on some systems each asking is a round trip to the console's host).
TEST_F(ScriptedKeysTest, AKeyLoopAsksWhereTheKeysComeFromOnce) {
  console_.set_input_not_a_console(false);
  for (int poll = 0; poll < 50; ++poll) key_poll();
  screen_mode(12, 8, 0, 0, 0);
  ASSERT_TRUE(detail::graphics_screen_open());
  for (int poll = 0; poll < 50; ++poll) key_poll();
  sleep_wait(200);
  EXPECT_LE(console_.input_mode_reads(), 1);
}

TEST(ScriptedKeys, CharactersCrossFromTheConsolesCodePageToTheWindows) {
  const std::pair<int32_t, int32_t> cases[] = {
      {'a', 'a'},       {0xA2, 0xA2},  // ó is the same byte in both pages
      {0xA5, 'a'},                     // ą: code page 437 has only the plain letter
      {0x48FF, 0x48FF},                // Up: extended keys cross as they are
      {0, 0},                          // the ring's "no key"
  };
  for (auto [console_code, ring_code] : cases) {
    EXPECT_EQ(detail::ring_code_of_console_key(console_code), ring_code) << console_code;
  }
}

}  // namespace
}  // namespace textscreen::testing
