// The event policy every window shares, fed events as a backend hands them over.
#include "platform/window/window_policy.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>

#include "platform/keys.h"

namespace textscreen::platform {
namespace {

// A host that writes down what the policy told it.
class RecordingHost final : public DisplayHost {
 public:
  FrameView frame() override { return {nullptr, 0, 0, 0, 4, line_scale, nullptr, nullptr}; }
  uint8_t* key_states() override { return states.data(); }
  bool key_pressed(const WindowKeyEvent& key) override {
    said += "key " + std::to_string(key.scan_code) + ";";
    return false;
  }
  void character_typed(uint8_t character, uint16_t) override {
    said += std::string(1, static_cast<char>(character));
    --room;
  }
  int32_t key_room() override { return room; }
  void close_requested() override { said += "close;"; }
  void activation_changed(bool active) override { said += active ? "active;" : "inactive;"; }
  void display_lost() override { said += "lost;"; }

  std::array<uint8_t, 128> states{};
  std::string said;
  int32_t room = 15;
  int32_t line_scale = 1;
};

WindowKeyEvent key_with(uint16_t scan_code, uint32_t control_state) {
  WindowKeyEvent key;
  key.scan_code = scan_code;
  key.control_state = control_state;
  return key;
}

constexpr uint16_t ENTER = 0x1C;

TEST(WindowPolicy, AltEnterSwitchesTheScreenUnlessForbiddenAndNeverReachesTheProgram) {
  RecordingHost host;
  std::string unread;
  WindowPolicy policy(host, 0, unread);
  // The window's own key: the window must not act on it.
  EXPECT_TRUE(policy.key_down(key_with(ENTER, KEY_STATE_LEFT_ALT), 0));
  EXPECT_TRUE(policy.take_outcome().switch_screen);
  policy.key_down(key_with(ENTER, KEY_STATE_RIGHT_ALT | KEY_STATE_ENHANCED), 0);  // keypad
  EXPECT_TRUE(policy.take_outcome().switch_screen);
  EXPECT_FALSE(policy.take_outcome().switch_screen);  // taken once
  EXPECT_EQ(host.said, "");

  WindowPolicy fixed(host, MODE_NO_SWITCH, unread);
  EXPECT_TRUE(fixed.key_down(key_with(ENTER, KEY_STATE_LEFT_ALT), 0));
  EXPECT_FALSE(fixed.take_outcome().switch_screen);
  EXPECT_EQ(host.said, "");
  // Enter alone is the program's, with the character the window types no text for.
  fixed.key_down(key_with(ENTER, 0), '\r');
  EXPECT_EQ(host.said, "key 28;\r");
}

TEST(WindowPolicy, TextWaitsForRoomAndKeysNeedRoomForTwo) {
  RecordingHost host;
  host.room = 2;
  std::string unread;
  WindowPolicy policy(host, 0, unread);
  EXPECT_TRUE(policy.room_for_key());
  policy.text_typed("abc");
  EXPECT_EQ(host.said, "ab");
  EXPECT_EQ(unread, "c");
  host.room = 5;
  EXPECT_FALSE(policy.room_for_key());  // typed text goes first
  EXPECT_FALSE(policy.room_for_text());
  EXPECT_TRUE(policy.hand_over_text());
  EXPECT_EQ(host.said, "abc");
  host.room = 1;
  EXPECT_FALSE(policy.room_for_key());
  EXPECT_TRUE(policy.room_for_text());
}

TEST(WindowPolicy, FocusRedrawsAndKeyStatesAreReadOnlyWhileActive) {
  RecordingHost host;
  std::string unread;
  WindowPolicy policy(host, 0, unread);
  EXPECT_FALSE(policy.key_states_due());  // not active yet
  policy.mark_active();
  EXPECT_TRUE(policy.key_states_due());
  EXPECT_FALSE(policy.key_states_due());  // nothing changed since
  policy.key_up();
  EXPECT_TRUE(policy.key_states_due());

  policy.button_changed(1, true);
  policy.focus_changed(false);
  EXPECT_TRUE(policy.take_outcome().redraw);
  policy.key_up();
  EXPECT_FALSE(policy.key_states_due());
  EXPECT_EQ(policy.take_mouse().buttons, 0);  // the buttons go with the focus
  policy.focus_changed(true);
  EXPECT_TRUE(policy.key_states_due());
  policy.close_requested();
  EXPECT_EQ(host.said, "inactive;active;close;");
}

TEST(WindowPolicy, TheMouseIsInFramePixelsAndTheWheelIsReadOnce) {
  RecordingHost host;
  host.line_scale = 2;
  std::string unread;
  WindowPolicy policy(host, 0, unread);
  policy.pointer_moved(100, 301);
  policy.button_changed(4, true);
  policy.wheel_turned(1);
  policy.wheel_turned(1);
  policy.button_changed(4, false);
  int32_t x = 0, y = 0, wheel = 0, buttons = -1;
  EXPECT_EQ(policy.get_mouse(x, y, wheel, buttons), 0);
  EXPECT_EQ(std::tuple(x, y, wheel, buttons), std::tuple(100, 150, 2, 0));
  EXPECT_EQ(policy.take_mouse().wheel, 0);
  EXPECT_EQ(host.said, "");  // the mouse is the driver's own

  policy.display_lost();
  EXPECT_TRUE(policy.take_outcome().display_lost);
}

}  // namespace
}  // namespace textscreen::platform
