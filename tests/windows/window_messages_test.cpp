// The Windows window's messages, made up here, as the window thread's events: no window is
// needed.
#include "platform/windows/window_messages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/keys.h"

namespace textscreen::testing {
namespace {

using platform::WindowKeyEvent;

// Records what the messages gave; says the window must leave F10 and Alt+F4 alone, as the
// layer does.
struct RecordingSink final : platform::WindowEventSink {
  bool room_for_key() override { return true; }
  bool room_for_text() override { return true; }
  bool key_down(const WindowKeyEvent& key, uint8_t) override {
    keys.push_back(key);
    return key.virtual_key == VK_F10 || (key.virtual_key == VK_F4 && (key.control_state & 3) != 0);
  }
  void key_up() override { ++key_ups; }
  void text_typed(std::string_view text) override { typed += text; }
  void close_requested() override { ++closes; }
  void switch_requested() override { ++switches; }
  void focus_changed(bool focused) override { focus.push_back(focused); }
  void redraw_needed() override {}
  void pointer_moved(int32_t x, int32_t y) override { pointer = {x, y}; }
  void button_changed(int32_t bit, bool down) override {
    buttons = down ? buttons | bit : buttons & ~bit;
  }
  void wheel_turned(int32_t steps) override { wheel += steps; }
  void display_lost() override {}

  std::vector<WindowKeyEvent> keys;
  int key_ups = 0;
  std::string typed;
  int closes = 0;
  int switches = 0;
  std::vector<bool> focus;
  std::pair<int32_t, int32_t> pointer{-1, -1};
  int32_t buttons = 0;
  int32_t wheel = 0;
};

LPARAM key_lparam(int scan, bool extended, int repeat = 1) {
  return static_cast<LPARAM>(repeat | scan << 16 | (extended ? 1 << 24 : 0));
}

TEST(WindowMessages, ModifiersComeFromTheKeyboardStateAndTheExtendedBit) {
  BYTE keyboard[256] = {};
  EXPECT_EQ(platform::modifier_state(keyboard, false), 0u);
  keyboard[VK_SHIFT] = 0x80;
  keyboard[VK_RSHIFT] = 0x80;
  EXPECT_EQ(platform::modifier_state(keyboard, true),
            platform::KEY_STATE_SHIFT | platform::KEY_STATE_ENHANCED);
  BYTE right_alt[256] = {};  // AltGr: the system holds Ctrl and Alt with the right Alt
  right_alt[VK_CONTROL] = right_alt[VK_LCONTROL] = right_alt[VK_MENU] = right_alt[VK_RMENU] = 0x80;
  EXPECT_EQ(platform::modifier_state(right_alt, false), platform::KEY_STATE_LEFT_CTRL |
                                                            platform::KEY_STATE_LEFT_ALT |
                                                            platform::KEY_STATE_RIGHT_ALT);

  const WindowKeyEvent up =
      platform::window_key_event(VK_UP, key_lparam(0x48, true, 3), keyboard, 0, 0);
  EXPECT_EQ(up.scan_code, 0x48);
  EXPECT_TRUE(up.extended);
  EXPECT_EQ(up.repeat_count, 3);
  EXPECT_EQ(up.virtual_key, VK_UP);
}

TEST(WindowMessages, KeysCharactersAndTheWindowsOwnKeys) {
  RecordingSink sink;
  platform::WindowMessageState state{true, 640, 480};
  const BYTE keyboard[256] = {};
  const WindowKeyEvent f10 =
      platform::window_key_event(VK_F10, key_lparam(0x44, false), keyboard, 0, 0);
  // F10 would open the window's menu: the window leaves it alone.
  EXPECT_TRUE(platform::handle_window_message(WM_SYSKEYDOWN, VK_F10, key_lparam(0x44, false), f10,
                                              state, sink)
                  .handled);
  const WindowKeyEvent a =
      platform::window_key_event('A', key_lparam(0x1E, false), keyboard, 'a', 'a');
  EXPECT_FALSE(
      platform::handle_window_message(WM_KEYDOWN, 'A', key_lparam(0x1E, false), a, state, sink)
          .handled);
  ASSERT_EQ(sink.keys.size(), 2u);
  EXPECT_EQ(sink.keys[1].character, 'a');

  // Typed characters go on as code page 437, as many times as the key repeated.
  platform::handle_window_message(WM_CHAR, L'a', 2, {}, state, sink);
  platform::handle_window_message(WM_CHAR, 0x0105, 1, {}, state, sink);  // ą: 437 lacks it
  platform::handle_window_message(WM_CHAR, 0x00E9, 1, {}, state, sink);  // é
  EXPECT_EQ(sink.typed, "aaa\x82");

  // Alt's menu keys never reach the window's menu; a window without the keyboard leaves
  // system keys to the system.
  EXPECT_TRUE(platform::handle_window_message(WM_SYSCHAR, L'x', 1, {}, state, sink).handled);
  EXPECT_TRUE(platform::handle_window_message(WM_SYSKEYUP, VK_MENU, 0, {}, state, sink).handled);
  state.active = false;
  EXPECT_FALSE(
      platform::handle_window_message(WM_SYSKEYDOWN, 'X', key_lparam(0x2D, false), a, state, sink)
          .handled);
  EXPECT_EQ(sink.keys.size(), 2u);
}

TEST(WindowMessages, CloseFocusPaintMaximiseAndTheMouse) {
  RecordingSink sink;
  platform::WindowMessageState state{false, 640, 480};
  EXPECT_TRUE(platform::handle_window_message(WM_CLOSE, 0, 0, {}, state, sink).handled);
  EXPECT_EQ(sink.closes, 1);  // and the window stays
  platform::handle_window_message(WM_ACTIVATEAPP, TRUE, 0, {}, state, sink);
  EXPECT_TRUE(state.active);
  platform::handle_window_message(WM_ACTIVATEAPP, FALSE, 0, {}, state, sink);
  EXPECT_EQ(sink.focus, (std::vector<bool>{true, false}));
  EXPECT_TRUE(platform::handle_window_message(WM_PAINT, 0, 0, {}, state, sink).repaint);

  // The maximise box switches while the program has the keyboard; other sizes are the system's.
  EXPECT_FALSE(
      platform::handle_window_message(WM_SIZE, SIZE_MAXIMIZED, 0, {}, state, sink).handled);
  state.active = true;
  EXPECT_FALSE(
      platform::handle_window_message(WM_SIZE, SIZE_MINIMIZED, 0, {}, state, sink).handled);
  EXPECT_EQ(sink.switches, 0);
  EXPECT_TRUE(platform::handle_window_message(WM_SIZE, SIZE_MAXIMIZED, 0, {}, state, sink).handled);
  EXPECT_EQ(sink.switches, 1);
  state.active = false;

  platform::handle_window_message(WM_MOUSEMOVE, 0, MAKELPARAM(100, 37), {}, state, sink);
  EXPECT_EQ(sink.pointer, (std::pair<int32_t, int32_t>{100, 37}));
  platform::handle_window_message(WM_RBUTTONDOWN, 0, 0, {}, state, sink);
  platform::handle_window_message(WM_LBUTTONDOWN, 0, 0, {}, state, sink);
  platform::handle_window_message(WM_RBUTTONUP, 0, 0, {}, state, sink);
  EXPECT_EQ(sink.buttons, 1);
  platform::handle_window_message(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0,
                                  {}, state, sink);
  EXPECT_EQ(sink.wheel, -1);
}

}  // namespace
}  // namespace textscreen::testing
