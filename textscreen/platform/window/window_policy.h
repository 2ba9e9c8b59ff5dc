// The event policy every window shares: what the window's events mean to the layer. Keys
// and typed text go to the host while it has room; Alt+Enter switches between window and
// full screen (never with MODE_NO_SWITCH, and never reaches the program); the close box is
// the close key; a change of focus clears the held keys and shows every line again; the
// pointer is reported in frame pixels. It also keeps the window's state the program asks
// for (the mouse) and whether the window has the keyboard: the one copy of both.
//
// Threads. The sink's operations and `hand_over_text`, `take_outcome`, `key_states_due`
// run where the driver handles its events (the window thread, or the OpenGL driver's
// `flip`); `mouse` runs on the program's thread. All of them under the frame lock, where
// the driver has one.
#pragma once

#include <cstdint>
#include <string>

#include "platform/display_driver.h"
#include "platform/window/window_backend.h"

namespace textscreen::platform {

// What the driver itself has to do after a round of events.
struct EventOutcome {
  bool switch_screen = false;  // Alt+Enter: between window and full screen
  bool redraw = false;         // every line is to be shown again
  // The display is gone and the host was told: the driver calls the window system no more.
  bool display_lost = false;
};

// The mouse as the program reads it: frame pixels, wheel steps since the last read,
// button bits (1 left, 2 right, 4 middle).
struct MouseState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t wheel = 0;
  int32_t buttons = 0;
};

class WindowPolicy final : public WindowEventSink {
 public:
  // `unread_text` holds typed bytes the host had no room for; it outlives the window, so
  // that the next window hands them over first.
  WindowPolicy(DisplayHost& host, int32_t flags, std::string& unread_text)
      : host_(host), flags_(flags), unread_text_(unread_text) {}

  // Hands the host the typed bytes it has room for; true when none are left over.
  bool hand_over_text();
  // What the events since the last take ask of the driver.
  EventOutcome take_outcome();
  // Whether the key-state table is to be read again: the window has the keyboard and a key
  // went down or up (or the focus changed) since the last time this said so.
  bool key_states_due();
  // A new window, or one just switched to or from full screen, has the keyboard.
  void mark_active();
  // The mouse, and the wheel steps counted since the last call.
  MouseState take_mouse();
  // DisplayDriver::get_mouse's answer from take_mouse: always 0, the values set.
  int32_t get_mouse(int32_t& x, int32_t& y, int32_t& wheel, int32_t& buttons);

  bool room_for_key() override;
  bool room_for_text() override;
  bool key_down(const WindowKeyEvent& key, uint8_t untexted) override;
  void key_up() override { keys_changed_ = true; }
  void text_typed(std::string_view code_page_437) override;
  void close_requested() override { host_.close_requested(); }
  void switch_requested() override;
  void focus_changed(bool focused) override;
  void redraw_needed() override { outcome_.redraw = true; }
  void pointer_moved(int32_t x, int32_t y) override;
  void button_changed(int32_t button_bit, bool down) override;
  void wheel_turned(int32_t steps) override;
  void display_lost() override;

 private:
  // The pointer in frame pixels, from where the window last saw it.
  void place_mouse();

  DisplayHost& host_;
  int32_t flags_;
  std::string& unread_text_;
  EventOutcome outcome_;
  bool active_ = false;
  bool keys_changed_ = true;
  int32_t window_x_ = 0;  // the pointer in the window's logical pixels
  int32_t window_y_ = 0;
  MouseState mouse_;
};

}  // namespace textscreen::platform
