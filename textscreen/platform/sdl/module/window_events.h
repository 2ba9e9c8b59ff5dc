// The window procedure of the SDL drivers: SDL's events become the host's keys, close
// requests, activation and mouse changes. Runs where the driver handles its events (the
// window thread, under the frame lock; the OpenGL driver's flip).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>
#include <string>
#include <utility>

#include "platform/display_driver.h"

namespace textscreen::platform {

// What the driver itself has to do after the events of a cycle.
struct EventOutcome {
  bool switch_screen = false;  // Alt+Enter: between window and full screen
  bool redraw = false;         // every line is to be shown again
  bool refit = false;          // the drawable changed size
  // The display is gone and the host was told: the driver calls the window system no more.
  bool display_lost = false;
};

// Keys typed into a window that the layer had no room for when the window closed: the
// driver keeps them for its next window, which hands them over before its own.
struct UnreadKeys {
  std::deque<SDL_Event> events;  // key downs, key ups and text, oldest first
  std::string text;              // code page 437 text of an event already taken
};

class WindowEvents {
 public:
  WindowEvents(DisplayHost& host, int32_t flags, UnreadKeys& unread)
      : host_(host), flags_(flags), unread_(unread) {}

  // Handles the events the window system has queued, oldest first (after the keys an
  // earlier window left unread), as long as the layer has room for the keys they may give;
  // the rest wait for a later call.
  void handle_queued(EventOutcome& outcome);
  // Before the window goes: the key events still in SDL's queue go to the unread keys.
  void keep_unread_keys();
  void handle(const SDL_Event& event, EventOutcome& outcome);
  // While the window has the keyboard: the host's key-state table from SDL's, when a key
  // went down or up since the last refresh (the table changes with nothing else).
  void refresh_key_states();

  bool active() const { return active_; }
  // A new window, or one just switched to or from full screen, is brought to the front
  // and has the keyboard.
  void mark_active() { active_ = true; }
  // The pointer in frame pixels, its buttons, and the wheel steps since the last take.
  const SDL_Point& mouse() const { return frame_mouse_; }
  int32_t buttons() const { return buttons_; }
  int32_t take_wheel_steps() { return std::exchange(wheel_steps_, 0); }

 private:
  void key_down(const SDL_KeyboardEvent& key, EventOutcome& outcome);
  void text(const char* utf8);
  // Hands the host the typed characters it has room for; true when none are left over.
  bool hand_over_text();
  // Whether the layer can take every key `event` may give (an event that gives none fits).
  bool fits(const SDL_Event& event);
  void window_event(const SDL_WindowEvent& window, EventOutcome& outcome);
  void mouse_changed(int32_t wheel_steps);

  DisplayHost& host_;
  int32_t flags_;
  bool active_ = false;
  bool keys_changed_ = true;
  // The modifiers of the last key down: the text it typed comes right after it.
  uint16_t key_modifiers_ = 0;
  SDL_Point mouse_{0, 0};  // in display pixels
  SDL_Point frame_mouse_{0, 0};
  int32_t buttons_ = 0;
  int32_t wheel_steps_ = 0;
  UnreadKeys& unread_;
};

}  // namespace textscreen::platform
