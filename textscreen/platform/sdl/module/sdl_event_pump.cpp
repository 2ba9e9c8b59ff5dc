#include "platform/sdl/module/sdl_event_pump.h"

#include <string>
#include <utility>

#include "platform/sdl/module/display_loss.h"
#include "platform/sdl/parts/sdl_key_mapping.h"

namespace textscreen::platform {
namespace {

int32_t button_bit(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 4;
    default:
      return 0;
  }
}

}  // namespace

PumpResult SdlEventPump::pump(WindowEventSink& sink) {
  SDL_PumpEvents();
  while (!unread_.empty()) {
    if (!fits(unread_.front(), sink)) return PumpResult::keys_held;
    const SDL_Event event = unread_.front();
    unread_.pop_front();
    handle(event, sink);
  }
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    if (!fits(event, sink)) return PumpResult::keys_held;
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1) break;
    handle(event, sink);
  }
  return PumpResult::drained;
}

void SdlEventPump::keep_unread_keys() {
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_TEXTINPUT) == 1) {
    unread_.push_back(event);
  }
}

void SdlEventPump::read_key_states(uint8_t* key_states) {
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  fill_key_states(state, count, key_states);
}

bool SdlEventPump::take_resized() {
  return std::exchange(resized_, false);
}

bool SdlEventPump::fits(const SDL_Event& event, WindowEventSink& sink) const {
  switch (event.type) {
    case SDL_KEYDOWN:
      return sink.room_for_key();
    case SDL_TEXTINPUT:
      return sink.room_for_text();
    default:
      return true;
  }
}

void SdlEventPump::handle(const SDL_Event& event, WindowEventSink& sink) {
  switch (event.type) {
    case SDL_KEYDOWN:
      key_down(event.key, sink);
      break;
    case SDL_KEYUP:
      key_modifiers_ = event.key.keysym.mod;
      sink.key_up();
      break;
    case SDL_TEXTINPUT:
      if (text_counts(key_modifiers_)) sink.text_typed(code_page_437_text(event.text.text));
      break;
    case SDL_WINDOWEVENT:
      window_event(event.window, sink);
      break;
    // Only where the system asks the whole program to quit, or where the display went
    // (Wayland): the window's close is the window event.
    case SDL_QUIT:
      if (display_connection_broken()) {
        sink.display_lost();
      } else {
        sink.close_requested();
      }
      break;
    case SDL_MOUSEMOTION:
      sink.pointer_moved(event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      sink.pointer_moved(event.button.x, event.button.y);
      sink.button_changed(button_bit(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEWHEEL:
      if (event.wheel.y != 0) sink.wheel_turned(event.wheel.y > 0 ? 1 : -1);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      sink.redraw_needed();
      break;
    default:  // the window thread's wake-ups among them: they only end a wait
      break;
  }
}

void SdlEventPump::key_down(const SDL_KeyboardEvent& key, WindowEventSink& sink) {
  key_modifiers_ = key.keysym.mod;
  WindowKeyEvent event;
  if (!window_key_event(key.keysym, event)) return;
  // SDL types no text for these: the character the console would have had follows the key.
  sink.key_down(event, untexted_character(key.keysym));
}

void SdlEventPump::window_event(const SDL_WindowEvent& window, WindowEventSink& sink) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      sink.close_requested();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      sink.focus_changed(window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      sink.redraw_needed();
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      resized_ = true;
      sink.redraw_needed();
      break;
    default:
      break;
  }
}

}  // namespace textscreen::platform
