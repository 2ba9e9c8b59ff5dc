// Keys on the console: translation into key codes and key strings, Alt with keypad
// numbers, the key queue, the waits and the control events.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "console/key_queue.h"
#include "console/key_translation.h"
#include "console/layer_lifecycle.h"
#include "platform/floating_point.h"
#include "platform/keyboard_layout.h"
#include "support/layer_fixture.h"

namespace textscreen::testing {
namespace {

using namespace platform;

KeyEvent key(uint16_t vk, uint16_t scan, uint8_t character, uint32_t state = 0,
             uint16_t repeat = 1) {
  return KeyEvent{true, repeat, vk, scan, character, state};
}

using KeyboardTest = LayerTest;

TEST_F(KeyboardTest, KeysBecomeTheirKeyStrings) {
  const std::pair<KeyEvent, std::string> cases[] = {
      {key('A', 0x1E, 'a'), "a"},
      {key('A', 0x1E, 1, KEY_STATE_LEFT_CTRL), "\x01"},
      {key(VKEY_F1, 0x3B, 0), "\xFF;"},
      {key(VKEY_F1 + 3, 0x3E, 0, KEY_STATE_LEFT_ALT), "\xFFk"},
      {key(VKEY_F1, 0x3B, 0, KEY_STATE_SHIFT), "\xFFT"},
      {key(VKEY_F1 + 10, 0x57, 0, KEY_STATE_LEFT_CTRL), "\xFF\x89"},
      {key(VKEY_UP, 0x48, 0, KEY_STATE_ENHANCED), "\xFFH"},
      {key(VKEY_DELETE, 0x53, 0, KEY_STATE_ENHANCED | KEY_STATE_RIGHT_ALT), "\xFF\xA3"},
      {key(VKEY_LEFT, 0x4B, 0, KEY_STATE_ENHANCED | KEY_STATE_LEFT_CTRL), "\xFFs"},
      {key(VKEY_HOME, 0x47, 0), "\xFFG"},  // keypad Home with Num Lock off
      {key('7', 0x08, '7', KEY_STATE_LEFT_ALT), "\xFF~"},
      {key('Q', 0x10, 'q', KEY_STATE_LEFT_ALT), "\xFF\x10"},
      {key(VKEY_TAB, 0x0F, 9, KEY_STATE_SHIFT), "\xFF\x0F"},
      {key(VKEY_RETURN, 0x1C, 13, KEY_STATE_ENHANCED), "\r"},  // keypad Enter
      {key(0xBF, 0x35, '/', KEY_STATE_ENHANCED), "/"},         // keypad /
      {key(VKEY_NUMPAD0 + 7, 0x47, '7'), "7"},                 // keypad 7, Num Lock on
      {key(0, 0, 0xA5), "\xA5"},                               // a letter with no key
  };
  for (const auto& [event, expected] : cases) {
    console_.push_key(event);
    EXPECT_EQ(key_poll(), expected) << "scan " << event.scan_code;
  }
}

TEST_F(KeyboardTest, RepeatCountsAndKeyUpsDoNotAddKeys) {
  console_.push_key(key('A', 0x1E, 'a', 0, 5));
  console_.push_input({InputEventType::key, key('B', 0x30, 'b', 0, 0)});
  console_.push_input({InputEventType::mouse, {}});
  EXPECT_EQ(key_poll(), "a");
  EXPECT_EQ(key_poll(), "");
}

TEST_F(KeyboardTest, AltWithKeypadDigitsTypesTheByteOnceAltIsReleased) {
  const KeyEvent alt_up{false, 1, VKEY_MENU, 0x38, 0, 0};
  for (int digits : {65, 321}) {  // 321 & 255 is 65 as well
    for (char digit : std::to_string(digits)) {
      const uint16_t vk = VKEY_NUMPAD0 + digit - '0';
      console_.push_key(key(vk, scan_code_for_virtual_key(vk), 0, KEY_STATE_LEFT_ALT));
    }
    EXPECT_EQ(key_poll(), "");
    console_.push_input({InputEventType::key, alt_up});
    EXPECT_EQ(key_poll(), "A");
  }
}

TEST_F(KeyboardTest, TheQueueKeepsTheNewest511Keys) {
  for (int i = 0; i < 600; ++i) detail::key_queue().push(i % 200);
  EXPECT_EQ(key_poll(), std::string(1, static_cast<char>((600 - 511) % 200)));
  int taken = 1;
  while (!key_poll().empty()) ++taken;
  EXPECT_EQ(taken, 511);
}

TEST_F(KeyboardTest, AFullQueueLeavesTheRestOfTheInputInTheConsole) {
  // More keys than the queue holds, typed (or piped) before the program reads any.
  for (int i = 0; i < 1200; ++i)
    console_.push_key(key('A', 0x1E, static_cast<uint8_t>('0' + i % 10)));
  for (int i = 0; i < 1200; ++i) {
    ASSERT_EQ(key_poll(), std::string(1, static_cast<char>('0' + i % 10))) << "key " << i;
  }
  EXPECT_EQ(key_poll(), "");
}

TEST_F(KeyboardTest, WaitsLastTheirTimeUnlessAKeyEndsThem) {
  using std::chrono::milliseconds;
  // The wait, when a key comes (-1: never; 0: typed before the wait) and the time taken.
  const std::tuple<int32_t, int, int> cases[] = {
      {-1, 120, 120},    // ends the moment a key comes
      {1000, 120, 150},  // a long wait ends at the first look after the key
      {1000, -1, 1000},  // and otherwise lasts its time
      {130, 100, 130},   // the last 1-50 ms are slept without looking
      {80, 10, 80},      // a short wait is never shortened
      {0, -1, 0},       {-5, -1, 0}, {-1, 0, 0}, {5000, 0, 0},
  };
  for (auto [wait, key_after_ms, expected_ms] : cases) {
    SCOPED_TRACE(wait);
    ScriptedClock clock;
    console_.set_clock(&clock);
    detail::reset_layer({&console_, &clock, nullptr, {}});
    auto type_a = [this] { console_.push_key(key('A', 0x1E, 'a')); };
    if (key_after_ms == 0) type_a();
    if (key_after_ms > 0) clock.at(milliseconds(key_after_ms), type_a);
    sleep_wait(wait);
    EXPECT_EQ(clock.elapsed(), milliseconds(expected_ms));
    // The key that ended a wait is still there to be read.
    EXPECT_EQ(key_poll(), key_after_ms >= 0 ? "a" : "");
  }
}

TEST_F(KeyboardTest, WaitAfterTheLastKeyWasTakenNeedsANewKeyThoughOlderOnesRemain) {
  console_.push_key(key('X', 0x2D, 'x'));
  console_.push_key(key('Y', 0x15, 'y'));
  EXPECT_EQ(key_poll(), "x");
  clock_.at(std::chrono::milliseconds(120), [this] { console_.push_key(key('Z', 0x2C, 'z')); });
  sleep_wait(-1);
  EXPECT_EQ(clock_.elapsed(), std::chrono::milliseconds(120));
  EXPECT_EQ(key_poll(), "y");
}

TEST_F(KeyboardTest, TheFirstReadInstallsTheControlHandler) {
  EXPECT_EQ(console_.control_handler(), nullptr);
  sleep_wait(10);  // a short wait looks at no key, but counts as a read all the same
  ASSERT_NE(console_.control_handler(), nullptr);
  // Close, logoff and shutdown become the close key; Ctrl+C, Ctrl+Break and others are left.
  for (uint32_t event : {CONSOLE_CLOSE, CONSOLE_LOGOFF, CONSOLE_SHUTDOWN}) {
    EXPECT_TRUE(console_.raise_control_event(event));
    EXPECT_EQ(key_poll(), "\xFFk");
  }
  for (uint32_t event : std::initializer_list<uint32_t>{CONSOLE_CTRL_C, CONSOLE_CTRL_BREAK, 3}) {
    EXPECT_FALSE(console_.raise_control_event(event));
  }
  EXPECT_EQ(key_poll(), "");
}

TEST_F(KeyboardTest, PollsThatKeepFindingNothingWaitForInputAndAKeyEndsTheIdling) {
  // Four polls go by before the idling starts: the fifth and sixth wait.
  for (int poll = 0; poll < 6; ++poll) EXPECT_EQ(key_poll(), "");
  EXPECT_EQ(console_.input_waits(), 2);
  console_.push_key(key('A', 0x1E, 'a'));
  EXPECT_EQ(key_poll(), "a");  // the waiting poll still returns the key that came
  key_poll();
  EXPECT_EQ(console_.input_waits(), 3);
}

TEST_F(KeyboardTest, APollNeverWaitsWhenTheProgramDrawsBetweenPolls) {
  for (int round = 0; round < 20; ++round) {
    print_at(1, 1, "*");
    EXPECT_EQ(key_poll(), "");
  }
  EXPECT_EQ(console_.input_waits(), 0);
  // A sleep is a layer operation too: after each the idling starts over, with the fifth poll.
  for (int turn = 1; turn <= 2; ++turn) {
    sleep_wait(1);
    for (int poll = 0; poll < 5; ++poll) key_poll();
    EXPECT_EQ(console_.input_waits(), turn);
  }
}

TEST_F(KeyboardTest, TheLineEditorTakesAKeyTheMomentItComes) {
  // Typed 30 ms and then 510 ms into the wait for an answer: each is read as it comes, not
  // at the editor's next look.
  clock_.at(std::chrono::milliseconds(30), [this] { console_.push_key(key('7', 0x08, '7')); });
  clock_.at(std::chrono::milliseconds(510),
            [this] { console_.push_key(key(VKEY_RETURN, 0x1C, 13)); });
  input_prompt("", 0, 0);
  EXPECT_EQ(clock_.elapsed(), std::chrono::milliseconds(510));
  int32_t value = 0;
  input_int(value);
  EXPECT_EQ(value, 7);
}

TEST_F(KeyboardTest, TheEndOfPipedKeysClosesTheConsoleOnceEveryKeyIsTaken) {
  console_.push_key(key('A', 0x1E, 'a'));
  console_.end_input();
  EXPECT_EQ(key_poll(), "a");
  EXPECT_EQ(console_.closes(), 0);
  EXPECT_EQ(key_poll(), "");
  EXPECT_EQ(console_.closes(), 1);
  EXPECT_EQ(key_poll(), "\xFFk");  // a memory console lives on after its close
}

TEST_F(KeyboardTest, LayerInitAddsProcessedInputAndKeepsTheOtherModeBits) {
  console_.set_input_mode(0x80);
  detail::start_layer(0, nullptr);
  EXPECT_EQ(console_.input_mode(), 0x80u | INPUT_MODE_PROCESSED);
}

TEST(FloatingPoint, SetUpGivesTheExtendedControlWordWhateverWasSetBefore) {
  // 53-bit significand, rounding toward zero, every exception masked.
  const uint16_t spoiled = 0x0E7F;
  asm volatile("fldcw %0" : : "m"(spoiled));
  platform::set_extended_precision();
  EXPECT_EQ(platform::floating_point_control_word(), platform::EXTENDED_CONTROL_WORD);
  // The 64-bit significand at work: 1 + 2^-60 is kept, where a double would lose it.
  volatile long double tiny = 0x1p-60L;
  EXPECT_NE(1.0L + tiny, 1.0L);
}

}  // namespace
}  // namespace textscreen::testing
