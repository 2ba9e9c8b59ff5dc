// SDL's events handed to the window's event sink (the event policy): keys as a console
// window reports them, typed text as code page 437, the window's close, focus, exposure
// and size, the mouse, and a loss of the display. Key and text events wait in SDL's queue
// while the sink has no room for them. Shared by the SDL window backend (on the window
// thread) and the OpenGL driver (in its flip); one pump per driver, kept from one window to
// the next.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>

#include "platform/window/window_backend.h"

namespace textscreen::platform {

class SdlEventPump {
 public:
  // Handles the queued events, oldest first (after the keys an earlier window left
  // unread), up to the first key or text event the sink has no room for.
  PumpResult pump(WindowEventSink& sink);
  // Before the window goes: the key and text events still queued are kept for the next
  // window.
  void keep_unread_keys();
  // The 128-entry key-state table from SDL's keyboard state.
  void read_key_states(uint8_t* key_states);
  // Whether the window's drawable changed size since the last call.
  bool take_resized();

 private:
  bool fits(const SDL_Event& event, WindowEventSink& sink) const;
  void handle(const SDL_Event& event, WindowEventSink& sink);
  void key_down(const SDL_KeyboardEvent& key, WindowEventSink& sink);
  void window_event(const SDL_WindowEvent& window, WindowEventSink& sink);

  std::deque<SDL_Event> unread_;  // key downs, key ups and text, oldest first
  // The modifiers of the last key down: the text it typed comes right after it.
  uint16_t key_modifiers_ = 0;
  bool resized_ = false;
};

}  // namespace textscreen::platform
