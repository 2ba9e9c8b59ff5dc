// The window's keyboard: what the window procedure does with a key going down, a typed
// character and the close box. Each runs on the window thread with the frame lock held and
// pushes into the key ring. (Activation, which clears the key states and shows every line
// again, belongs to the graphics screen.)
#pragma once

#include <cstdint>

#include "graphics/key_ring.h"
#include "platform/display_driver.h"

namespace textscreen::detail {

// What the window does with the key after the layer has seen it.
enum class WindowKeyOutcome {
  default_processing,
  // No default processing: F10 and Alt would open the window menu, and Alt+F4 would close
  // the window, which only the program decides.
  swallowed,
};

// Pushes the key's extended code, once per repeat. Keys that give a character push nothing
// here: the character arrives through `window_character`.
WindowKeyOutcome window_key_down(KeyRing& ring, const platform::WindowKeyEvent& key);

// Pushes one code page 437 byte `repeat_count` times.
void window_character(KeyRing& ring, uint8_t character, uint16_t repeat_count);

// The close box: the close key, and the window stays.
void window_close(KeyRing& ring);

}  // namespace textscreen::detail
