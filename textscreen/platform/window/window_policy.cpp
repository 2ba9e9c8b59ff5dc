#include "platform/window/window_policy.h"

#include <utility>

#include "platform/keys.h"

namespace textscreen::platform {
namespace {

// Enter's set-1 scan code: the main Enter and, extended, the keypad's.
constexpr uint16_t ENTER_SCAN_CODE = 0x1C;
constexpr uint32_t EITHER_ALT = KEY_STATE_LEFT_ALT | KEY_STATE_RIGHT_ALT;

}  // namespace

bool WindowPolicy::hand_over_text() {
  size_t handed = 0;
  while (handed < unread_text_.size() && host_.key_room() > 0) {
    host_.character_typed(static_cast<uint8_t>(unread_text_[handed++]), 1);
  }
  unread_text_.erase(0, handed);
  return unread_text_.empty();
}

EventOutcome WindowPolicy::take_outcome() {
  return std::exchange(outcome_, EventOutcome{});
}

bool WindowPolicy::key_states_due() {
  if (!active_ || !keys_changed_) return false;
  keys_changed_ = false;
  return true;
}

void WindowPolicy::mark_active() {
  active_ = true;
  keys_changed_ = true;
}

int32_t WindowPolicy::get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons) {
  const MouseState mouse = take_mouse();
  x = mouse.x;
  y = mouse.y;
  wheel = mouse.wheel;
  buttons = mouse.buttons;
  return 0;
}

MouseState WindowPolicy::take_mouse() {
  const MouseState mouse = mouse_;
  mouse_.wheel = 0;
  return mouse;
}

// A key gives at most an extended key and a character the window types no text for.
bool WindowPolicy::room_for_key() {
  return unread_text_.empty() && host_.key_room() >= 2;
}

// Text that finds too little room waits in the unread text.
bool WindowPolicy::room_for_text() {
  return unread_text_.empty() && host_.key_room() >= 1;
}

bool WindowPolicy::key_down(const WindowKeyEvent& key, uint8_t untexted) {
  keys_changed_ = true;
  if (key.scan_code == ENTER_SCAN_CODE && (key.control_state & EITHER_ALT) != 0) {
    // The window's own key, never the program's, also where switching is forbidden.
    switch_requested();
    return true;
  }
  const bool window_leaves_it = host_.key_pressed(key);
  if (untexted != 0) host_.character_typed(untexted, 1);
  return window_leaves_it;
}

void WindowPolicy::switch_requested() {
  if ((flags_ & MODE_NO_SWITCH) == 0) outcome_.switch_screen = true;
}

void WindowPolicy::text_typed(std::string_view code_page_437) {
  unread_text_ += code_page_437;
  hand_over_text();
}

void WindowPolicy::focus_changed(bool focused) {
  active_ = focused;
  keys_changed_ = true;
  mouse_.buttons = 0;
  host_.activation_changed(focused);
  outcome_.redraw = true;
}

void WindowPolicy::pointer_moved(int32_t x, int32_t y) {
  window_x_ = x;
  window_y_ = y;
  place_mouse();
}

void WindowPolicy::button_changed(int32_t button_bit, bool down) {
  if (down) {
    mouse_.buttons |= button_bit;
  } else {
    mouse_.buttons &= ~button_bit;
  }
}

void WindowPolicy::wheel_turned(int32_t steps) {
  mouse_.wheel += steps;
}

void WindowPolicy::display_lost() {
  outcome_.display_lost = true;
  host_.display_lost();
}

void WindowPolicy::place_mouse() {
  const int32_t line_scale = host_.frame().line_scale;
  mouse_.x = window_x_;
  mouse_.y = window_y_ / (line_scale > 0 ? line_scale : 1);
}

}  // namespace textscreen::platform
