// The US keyboard as a console describes its keys: which virtual key and scan code type a
// character, and which character a virtual key gives without modifiers.
#pragma once

#include <cstdint>

namespace textscreen::platform {

struct KeyPlacement {
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;
  bool shift = false;  // the character needs Shift
};

// The key that types an ASCII character (32-126, plus 8, 9, 13 and 27); false when none does.
bool key_for_character(uint8_t character, KeyPlacement& placement);

// The character the key gives with no modifier held (lower-case letters), 0 when none.
uint8_t unshifted_character(uint16_t virtual_key);

// The character the key gives with Shift held (capital letters), 0 when none.
uint8_t shifted_character(uint16_t virtual_key);

// The set-1 scan code of a virtual key, 0 when unknown.
uint16_t scan_code_for_virtual_key(uint16_t virtual_key);

}  // namespace textscreen::platform
