// The window's keyboard: the key ring, its key strings, what the window procedure pushes
// for keys, characters and the close box, and the waits of a graphics screen.
#include "graphics/key_ring.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "console/timed_wait.h"
#include "graphics/ring_key_string.h"
#include "graphics/window_keys.h"
#include "platform/keyboard_layout.h"
#include "support/scripted_clock.h"

namespace textscreen::detail {
namespace {

using namespace platform;
using std::chrono::milliseconds;
using testing::ScriptedClock;

// Everything the ring holds, as the key polls would read it.
std::string poll_all(KeyRing& ring) {
  std::string keys;
  while (!ring.empty()) keys += ring_key_string(ring.pop());
  return keys;
}

TEST(KeyRing, SixteenKeysLeaveTheLastFifteenInOrder) {
  for (int32_t start : {0, 5}) {  // from the first slot, and wrapping round the end
    SCOPED_TRACE(start);
    KeyRing ring;
    for (int32_t i = 0; i < start; ++i) ring.push('x');
    poll_all(ring);
    for (int32_t code = 'a'; code < 'a' + 16; ++code) ring.push(code);
    EXPECT_EQ(poll_all(ring), "bcdefghijklmnop");
    EXPECT_EQ(ring.pop(), 0);
  }
}

TEST(KeyRing, KeyStrings) {
  const std::pair<int32_t, std::string> cases[] = {
      {0, ""},        {13, "\r"},     {27, "\x1B"},   {0x48FF, "\xFFH"}, {CLOSE_KEY, "\xFFk"},
      {256, "\xFFk"}, {257, "\xFFH"}, {267, "\xFF;"}, {276, "\xFF\x44"}, {300, "\xFF\x44"},
  };
  for (const auto& [code, expected] : cases) EXPECT_EQ(ring_key_string(code), expected) << code;
}

WindowKeyEvent key(uint16_t vk, uint16_t scan, uint8_t c, uint32_t state = 0, bool extended = false,
                   uint16_t repeat = 1) {
  return {vk, scan, extended, repeat, state, c, unshifted_character(vk)};
}

TEST(WindowKeys, KeysGoingDownPushOnlyExtendedCodes) {
  constexpr uint16_t VKEY_F4 = VKEY_F1 + 3;
  const auto passed_on = WindowKeyOutcome::default_processing;
  const auto swallowed = WindowKeyOutcome::swallowed;
  const std::tuple<WindowKeyEvent, std::string, WindowKeyOutcome> cases[] = {
      // Characters come as character messages.
      {key('A', 0x1E, 'a'), "", passed_on},
      {key(VKEY_DOWN, 0x50, 0, 0, true, 3), "\xFFP\xFFP\xFFP", passed_on},
      {key(VKEY_UP, 0x48, 0, KEY_STATE_LEFT_ALT, true), "\xFF\x98", passed_on},
      {key(VKEY_UP, 0x48, 0, KEY_STATE_LEFT_ALT), "", passed_on},  // the keypad's Up
      // The window menu and closing are the program's business.
      {key(VKEY_F10, 0x44, 0), "\xFF\x44", swallowed},
      {key(VKEY_MENU, 0x38, 0, KEY_STATE_LEFT_ALT), "", swallowed},
      {key(VKEY_F4, 0x3E, 0, KEY_STATE_LEFT_ALT), "\xFFk", swallowed},
  };
  for (const auto& [event, pushed, outcome] : cases) {
    SCOPED_TRACE(::testing::PrintToString(pushed));
    KeyRing ring;
    EXPECT_EQ(window_key_down(ring, event), outcome);
    EXPECT_EQ(poll_all(ring), pushed);
  }
}

TEST(WindowKeys, CharactersRepeatAndTheCloseBoxGivesTheCloseKey) {
  KeyRing ring;
  window_character(ring, 'x', 3);
  window_character(ring, 'y', 0);
  window_close(ring);
  EXPECT_EQ(poll_all(ring), "xxx\xFFk");
}

TEST(KeyRing, AKeyTypedBeforeAWaitEndsItAtOnceUnlessItWasRead) {
  KeyRing ring;
  ScriptedClock clock;
  auto take_key_ready = [&] { return ring.take_key_ready(); };
  auto sleep = [&](int32_t ms) { clock.sleep_for(milliseconds(ms)); };
  ring.push('a');
  timed_wait(-1, sleep, sleep, take_key_ready);
  EXPECT_EQ(clock.elapsed(), milliseconds(0));
  EXPECT_EQ(ring.pop(), 'a');
  ring.push('b');
  ring.push('c');
  ring.pop();
  clock.at(milliseconds(70), [&] { ring.push('d'); });
  timed_wait(-1, sleep, sleep, take_key_ready);  // 'c' is still there, but came before the pop
  EXPECT_EQ(clock.elapsed(), milliseconds(100));
  EXPECT_EQ(poll_all(ring), "cd");
}

}  // namespace
}  // namespace textscreen::detail
