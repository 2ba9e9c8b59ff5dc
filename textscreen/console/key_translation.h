// Key translation: a console key event (character, scan code, virtual key, modifier
// state) becomes a key code, with the PC keyboard's extended codes for keys that have no
// character. The console and the graphics window share it.
#pragma once

#include <cstdint>

namespace textscreen::detail {

constexpr int32_t NO_TRANSLATION = -1;

// `unshifted` is the character the virtual key gives without modifiers.
int32_t translate_key(uint8_t character, uint16_t scan_code, uint8_t unshifted,
                      uint32_t control_state);

// Only Alt is held: an Alt bit and neither Ctrl nor Shift.
bool alt_only(uint32_t control_state);

}  // namespace textscreen::detail
