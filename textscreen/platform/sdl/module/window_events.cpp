#include "platform/sdl/module/window_events.h"

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

void WindowEvents::handle_queued(EventOutcome& outcome) {
  SDL_PumpEvents();
  while (hand_over_text() && !unread_.events.empty() && fits(unread_.events.front())) {
    const SDL_Event event = unread_.events.front();
    unread_.events.pop_front();
    handle(event, outcome);
  }
  if (!unread_.events.empty()) return;
  SDL_Event event;
  while (hand_over_text() &&
         SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
         fits(event) &&
         SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
    handle(event, outcome);
  }
}

void WindowEvents::keep_unread_keys() {
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_KEYDOWN, SDL_TEXTINPUT) == 1) {
    unread_.events.push_back(event);
  }
}

bool WindowEvents::fits(const SDL_Event& event) {
  switch (event.type) {
    // A key gives at most an extended key and a character SDL types no text for.
    case SDL_KEYDOWN:
      return host_.key_room() >= 2;
    // Text that finds too little room waits in text_waiting_.
    case SDL_TEXTINPUT:
      return host_.key_room() >= 1;
    default:
      return true;
  }
}

bool WindowEvents::hand_over_text() {
  size_t handed = 0;
  std::string& text = unread_.text;
  while (handed < text.size() && host_.key_room() > 0) {
    host_.character_typed(static_cast<uint8_t>(text[handed++]), 1);
  }
  text.erase(0, handed);
  return text.empty();
}

void WindowEvents::handle(const SDL_Event& event, EventOutcome& outcome) {
  switch (event.type) {
    case SDL_KEYDOWN:
      key_down(event.key, outcome);
      break;
    case SDL_KEYUP:
      key_modifiers_ = event.key.keysym.mod;
      break;
    case SDL_TEXTINPUT:
      text(event.text.text);
      break;
    case SDL_WINDOWEVENT:
      window_event(event.window, outcome);
      break;
    // Only where the system asks the whole program to quit, or where the display went
    // (Wayland): the window's close is the window event above.
    case SDL_QUIT:
      if (display_connection_broken()) {
        host_.display_lost();
        outcome.display_lost = true;
      } else {
        host_.close_requested();
      }
      break;
    case SDL_MOUSEMOTION:
      mouse_ = {event.motion.x, event.motion.y};
      mouse_changed(0);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      mouse_ = {event.button.x, event.button.y};
      if (event.type == SDL_MOUSEBUTTONDOWN)
        buttons_ |= button_bit(event.button.button);
      else
        buttons_ &= ~button_bit(event.button.button);
      mouse_changed(0);
      break;
    case SDL_MOUSEWHEEL:
      mouse_changed(event.wheel.y > 0 ? 1 : event.wheel.y < 0 ? -1 : 0);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      outcome.redraw = true;
      break;
    default:
      break;
  }
}

void WindowEvents::key_down(const SDL_KeyboardEvent& key, EventOutcome& outcome) {
  key_modifiers_ = key.keysym.mod;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  if (alt && (key.keysym.scancode == SDL_SCANCODE_RETURN ||
              key.keysym.scancode == SDL_SCANCODE_KP_ENTER)) {
    // The window's own key, never the program's, also where switching is forbidden.
    if ((flags_ & MODE_NO_SWITCH) == 0) outcome.switch_screen = true;
    return;
  }
  WindowKeyEvent event;
  if (window_key_event(key.keysym, event)) host_.key_pressed(event);
  // SDL types no text for these: the character the console would have had follows the key.
  if (const uint8_t character = untexted_character(key.keysym)) host_.character_typed(character, 1);
}

void WindowEvents::text(const char* utf8) {
  if (!text_counts(key_modifiers_)) return;
  unread_.text += code_page_437_text(utf8);
  hand_over_text();
}

void WindowEvents::window_event(const SDL_WindowEvent& window, EventOutcome& outcome) {
  switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      host_.close_requested();
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      active_ = window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
      keys_changed_ = true;
      buttons_ = 0;
      host_.activation_changed(active_);
      outcome.redraw = true;
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      outcome.redraw = true;
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      outcome.refit = true;
      outcome.redraw = true;
      break;
    default:
      break;
  }
}

void WindowEvents::mouse_changed(int32_t wheel_steps) {
  const int32_t line_scale = host_.frame().line_scale;
  frame_mouse_ = {mouse_.x, mouse_.y / (line_scale > 0 ? line_scale : 1)};
  wheel_steps_ += wheel_steps;
  host_.mouse_changed(frame_mouse_.x, frame_mouse_.y, wheel_steps, buttons_);
}

void WindowEvents::refresh_key_states() {
  if (!active_ || !keys_changed_) return;
  keys_changed_ = false;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  fill_key_states(state, count, host_.key_states());
}

}  // namespace textscreen::platform
