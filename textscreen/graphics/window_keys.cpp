#include "graphics/window_keys.h"

#include "console/key_translation.h"
#include "platform/keys.h"

namespace textscreen::detail {
namespace {

using namespace platform;

constexpr uint32_t MODIFIER_KEYS = KEY_STATE_SHIFT | KEY_STATE_LEFT_CTRL | KEY_STATE_RIGHT_CTRL |
                                   KEY_STATE_LEFT_ALT | KEY_STATE_RIGHT_ALT;

// The modifier set a console key event would carry for this key.
uint32_t console_control_state(const WindowKeyEvent& key) {
  return (key.control_state & MODIFIER_KEYS) | (key.extended ? uint32_t{KEY_STATE_ENHANCED} : 0u);
}

}  // namespace

WindowKeyOutcome window_key_down(KeyRing& ring, const WindowKeyEvent& key) {
  int32_t code =
      translate_key(key.character, key.scan_code, key.unshifted, console_control_state(key));
  if (code > 255) {
    for (uint16_t i = 0; i < key.repeat_count; ++i) ring.push(code);
  }
  if (key.virtual_key == VKEY_F10 || key.virtual_key == VKEY_MENU || code == CLOSE_KEY) {
    return WindowKeyOutcome::swallowed;
  }
  return WindowKeyOutcome::default_processing;
}

void window_character(KeyRing& ring, uint8_t character, uint16_t repeat_count) {
  for (uint16_t i = 0; i < repeat_count; ++i) ring.push(character);
}

void window_close(KeyRing& ring) {
  ring.push(CLOSE_KEY);
}

}  // namespace textscreen::detail
